// The main menu, the printing-options menu and the manual.
#pragma once

#include <string>

void MainMenu();
void PrintingOptions();
void ShowManual();
// Opens the manual at path; empty text when it was not found. A missing
// file or an opener that fails is reported on row 22.
void OpenManual(const std::string& path);

// Pure rules under the menus: the choice word of an upper-cased main-menu
// key (empty text when the key is refused), and the file:// address of an
// absolute path.
std::string MenuChoiceOfKey(const std::string& key);
std::string FileAddress(const std::string& absolutePath);
