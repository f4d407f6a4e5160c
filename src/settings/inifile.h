// The settings file.
#pragma once

void processinifile();
void ReadSettingsLines();
bool WriteSettingsLines();
void WriteSettingsDefaults();
