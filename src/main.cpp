// Kelmo: hand-record generator for duplicate-bridge clubs.
#include "platform/platform.h"
#include "shell/mainloop.h"

int main() {
    P.console = MakeTerminalConsole();
    P.clock = MakeSystemClock();
    P.sound = MakeSystemSound();
    P.fonts = MakeSystemFontList();
    P.process = MakeSystemProcess();
    P.printer = MakePdfPrinter();
    int code = RunProgram();
    delete P.console;   // restores the terminal
    return code;
}
