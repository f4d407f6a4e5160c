// Placeholder: replaced when this part is built.
#include "game/entry.h"

void EnterClubName() {}
void EnterGameDate() {}
void EnterSession() {}
void EnterEventName() {}
void EnterBoardCount() {}
void ConfirmEntries() {}
void ConfirmDateSession() {}
void AskChangeNames() {}
void ShowPbnFound() {}
void LoadClubName() {}
void SaveClubName() {}
