// The settings editor.
#pragma once

void programsettings();
void editsettings();
void display();
