// The suit-symbol font is not part of the program; without it every
// printout would show letters instead of suits, so the program will not
// start its menus until it is installed.
#include "settings/fontcheck.h"

#include "model/model.h"
#include "platform/platform.h"
#include "shell/kit.h"

namespace {

void Write(const std::string& text, int fg) {
    ConsoleColor(fg, KEEP_BACKGROUND);
    ConsoleWrite(text);
}

void ShowSetupError(SuitFontState state) {
    ConsoleColor(WHITE, BLACK);
    ConsoleClear();
    DrawBox(8, 15, 52, 10, GREY, BRIGHTWHITE);
    const std::string rule(1, (char)SGL_HORIZ);
    WriteAt(9, 34, rule + " SETUP ERROR " + rule, RED);
    WriteAt(11, 17, "The font file ", BLUE);
    Write("BRIDGE.TTF ", GREEN);
    if (state == SuitFontState::Unusable) {
        // The file is there, but the system does not take the font in it
        // (a damaged or blocked file): installing it again is the cure.
        Write("cannot be used.", RED);
        WriteAt(13, 17, "The system finds the file but not the font.", BLUE);
        WriteAt(14, 17, "Run the ", BLUE);
        Write("Kelmo setup program", GREEN);
        Write(" again.", BLUE);
    } else {
        Write("has not been installed.", RED);
        WriteAt(13, 17, "Right-click on the filename ", BLUE);
        Write("BRIDGE.TTF", GREEN);
        Write(", ", BLUE);
        WriteAt(14, 17, "then select ", BLUE);
        Write("INSTALL", GREEN);
        Write(".", BLUE);
    }
    WriteAt(16, 36, " <any key> ", BRIGHTWHITE, MAGENTA);
    ConsoleCursor(CURSOR_HIDE);
}

}  // namespace

void checkfont() {
    const SuitFontState state = P.fonts ? P.fonts->CheckSuitFont() : SuitFontState::Missing;
    if (state == SuitFontState::Usable) return;
    ShowSetupError(state);
    FlushKeys();
    PlayNamedSound("notify2");
    ReadKey();
    EndProgram(0);
}
