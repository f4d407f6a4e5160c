// Game entry: the particulars of a game, asked one step at a time, each
// accepted value written at once into its header field. The last club name
// is remembered in CLUBNAME.KM when ClubNamePrompt is yes.
#pragma once

#include <string>

void EnterClubName();
// Keystroke entry of mm/dd/yy at the cursor; sets the game date, never
// validates; AbandonFlag on Esc.
void ReadDateField();
void EnterGameDate();
void EnterSession();
void EnterEventName();
void EnterBoardCount();
void ConfirmEntries();
void ConfirmDateSession();
void AskChangeNames();
// The PBN File found screen: the file, what the import changed of its game
// (a key awaited when the names are to be asked next), and the header's
// fields as the import set them.
void ShowPbnFound();
void LoadClubName();
void SaveClubName();

// Pure rules under the steps above.
// A name read from CLUBNAME.KM or an archive file, which may have been
// written by hand: trimmed and cut to the 40 characters of its field.
std::string NameFromFileText(const std::string& text);
// Session 1..4 of a key ("M", "a", ...), 0 when it names none.
int SessionOfKey(const std::string& key);
// Boards of a key at the board-count prompt ("1" 36, "2" 24), 0 for others.
int BoardsOfKey(const std::string& key);
