// Placeholder: replaced when this part is built.
#include "settings/editor.h"

void programsettings() {}
void editsettings() {}
void display() {}
