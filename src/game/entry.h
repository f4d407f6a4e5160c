// Game entry: the particulars of a game, asked one step at a time.
#pragma once

void EnterClubName();
void EnterGameDate();
void EnterSession();
void EnterEventName();
void EnterBoardCount();
void ConfirmEntries();
void ConfirmDateSession();
void AskChangeNames();
void ShowPbnFound();
void LoadClubName();
void SaveClubName();
