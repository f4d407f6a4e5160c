// The main menu, the printing-options menu and the manual.
#pragma once

#include <string>

void MainMenu();
void PrintingOptions();
void ShowManual();
// Opens the manual at path; empty text when it was not found. A missing
// file or an opener that fails is reported on row 22.
void OpenManual(const std::string& path);

// Pure rule under the menus: the choice word of an upper-cased main-menu
// key (empty text when the key is refused).
std::string MenuChoiceOfKey(const std::string& key);
