// Placeholder: replaced when this part is built.
#include "shell/menus.h"

void MainMenu() {}
void PrintingOptions() {}
void ShowManual() {}
