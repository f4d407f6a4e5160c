// Placeholder: replaced when this part is built.
#include "shell/mainloop.h"

int RunProgram() { return 0; }
void StartUp() {}
