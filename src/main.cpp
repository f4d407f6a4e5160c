// Kelmo: hand-record generator for duplicate-bridge clubs.
#include <cstdio>
#include <exception>

#include "platform/platform.h"
#include "shell/mainloop.h"

int main() {
    P.console = MakeTerminalConsole();
    if (!P.console) return 1;   // no usable terminal; the reason is on stderr
    P.clock = MakeSystemClock();
    P.sound = MakeSystemSound();
    P.fonts = MakeSystemFontList();
    P.process = MakeSystemProcess();
    P.printer = MakeSystemPrinter();
    int code = 0;
    const char* failure = nullptr;
    try {
        code = RunProgram();
    } catch (const ProgramExit& end) {
        code = end.code;
    } catch (const std::exception& e) {
        failure = e.what();
        code = 2;
    } catch (...) {
        failure = "unexpected failure";
        code = 2;
    }
    delete P.console;   // restores the terminal
    P.console = nullptr;
#ifdef KELMO_LEAK_CHECK
    delete P.printer;
    delete P.fonts;
    P.printer = nullptr;
    P.fonts = nullptr;
    ReleaseSystemLibraries();
#endif
    // Said only after the terminal is back, or it would be lost on the screen.
    if (failure) std::fprintf(stderr, "kelmo: %s\n", failure);
    return code;
}
