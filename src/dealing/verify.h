// Recall check of board 1 and the DATA IMPORT ERROR message.
#pragma once

void VerifyBoardOne();
void ShowDataImportError();
