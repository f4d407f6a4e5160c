// The main menu, the printing-options menu and the manual.
#pragma once

void MainMenu();
void PrintingOptions();
void ShowManual();
