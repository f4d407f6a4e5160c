// Placeholder: the real platform implementations replace these.
#include "platform/platform.h"

Console* MakeTerminalConsole() { return nullptr; }
Clock* MakeSystemClock() { return nullptr; }
Sound* MakeSystemSound() { return nullptr; }
FontList* MakeSystemFontList() { return nullptr; }
Process* MakeSystemProcess() { return nullptr; }
