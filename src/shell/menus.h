// The main menu, the printing-options menu and the manual.
#pragma once

#include <string>

void MainMenu();
void PrintingOptions();
void ShowManual();

// Pure rules under the menus: the choice word of an upper-cased main-menu
// key (empty text when the key is refused), and the file:// address of an
// absolute path.
std::string MenuChoiceOfKey(const std::string& key);
std::string FileAddress(const std::string& absolutePath);
