// The main menu, the printing-options menu and the manual.
#pragma once

#include <string>

void MainMenu();
void PrintingOptions();
void ShowManual();
// Opens the manual at path; empty text when it was not found. A missing
// file or an opener that fails is said by the next menu on row 22.
void OpenManual(const std::string& path);
// Opens a file in the web browser as Help opens the manual; what
// ("the manual", "the web page") names it in the note when it fails.
void OpenInBrowser(const std::string& path, const std::string& what);
// The printing options' "Web page": the game's page written beside its PBN
// file, row 22 saying where, and an offer to open it in the browser.
void SaveWebPage();

// Pure rule under the menus: the choice word of an upper-cased main-menu
// key (empty text when the key is refused).
std::string MenuChoiceOfKey(const std::string& key);
