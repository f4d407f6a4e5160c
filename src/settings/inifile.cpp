// Placeholder: replaced when this part is built.
#include "settings/inifile.h"

void processinifile() {}
void ReadSettingsLines() {}
bool WriteSettingsLines() { return 0; }
void WriteSettingsDefaults() {}
