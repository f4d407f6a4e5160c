// The screens of the dealing paths: the control number or deal key typed
// from a hand-record, the progress of the deal, the check of board 1 on a
// recall and the message of a multi-site game of another date. The rules
// under them (decoding, dealing) are dealing/'s.
#pragma once

// Asks for a control number or a deal key until a good one or Esc; decodes
// it into the game date, GameNumber (or the secret), SessionNumber,
// TotalBoards and ControlString.
void EnterControlString();
// Deals boards first..last from the current generator position; a board
// whose East and West longest suits exceed 22 cards together is dealt again
// from the same stream. show: the progress line in the work area. When a
// board cannot be dealt, G.DealingFailure and G.DealingFailureBoard say
// why and where, and no board of the game keeps a hand.
void DealBoards(int first, int last, int show);
// Recall check of board 1, and the DATA IMPORT ERROR message.
void VerifyBoardOne();
void ShowDataImportError();
