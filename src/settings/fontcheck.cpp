// The checks before the program starts its menus. The suit-symbol font is
// not part of the program; without it every printout would show letters
// instead of suits. Two copies in one club folder would overwrite each
// other's settings and archives.
#include "settings/fontcheck.h"

#include "console/kit.h"
#include "model/model.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace {

void Write(const std::string& text, int fg) {
    ConsoleColor(fg, KEEP_BACKGROUND);
    ConsoleWrite(text);
}

// The empty screen with the error box and its title centred at the top.
void OpenErrorBox(const std::string& title) {
    ConsoleColor(WHITE, BLACK);
    ConsoleClear();
    DrawBox(8, 15, 52, 10, GREY, BRIGHTWHITE);
    const std::string rule(1, (char)SGL_HORIZ);
    const std::string heading = rule + " " + title + " " + rule;
    WriteAt(9, 41 - (int)heading.size() / 2, heading, RED);
}

// The box's tail: a key read after the notice sound, then the end.
[[noreturn]] void EndAfterKey(int code) {
    WriteAt(16, 36, " <any key> ", BRIGHTWHITE, MAGENTA);
    ConsoleCursor(CURSOR_HIDE);
    FlushKeys();
    PlayNamedSound("notify2");
    ReadKey();
    EndProgram(code);
}

void ShowSetupError(SuitFontState state) {
    OpenErrorBox("SETUP ERROR");
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
        int row = 13;
        for (const auto& pieces : SuitFontAdvice()) {
            ConsoleLocate(row++, 17);
            for (size_t i = 0; i < pieces.size(); i++) Write(pieces[i], i % 2 ? GREEN : BLUE);
        }
    }
}

}  // namespace

void checkfont() {
    const SuitFontState state = P.fonts ? P.fonts->CheckSuitFont() : SuitFontState::Missing;
    if (state == SuitFontState::Usable) return;
    ShowSetupError(state);
    // Not started: a script or shortcut that runs Kelmo can tell.
    EndAfterKey(1);
}

void checkfolder() {
    const FolderClaim claim = ClaimWorkingFolder();
    if (claim.outcome == FolderClaim::Claimed) return;
    if (claim.outcome == FolderClaim::HeldByAnother) {
        OpenErrorBox("ALREADY RUNNING");
        WriteAt(11, 17, "Kelmo ", GREEN);
        Write("is already running in this folder.", BLUE);
        WriteAt(13, 17, "Only one copy at a time may use a club's files.", BLUE);
        WriteAt(14, 17, "Carry on in the other copy, or close it first.", BLUE);
        EndAfterKey(1);
    }
    // Unlocked, a second copy could overwrite this one's files: no start.
    OpenErrorBox("CANNOT START");
    WriteAt(11, 17, "Kelmo ", GREEN);
    Write("cannot lock this folder (KELMO.LCK):", BLUE);
    WriteAt(12, 17, claim.reason.substr(0, 48), RED);
    WriteAt(13, 17, "Without the lock two copies could overwrite", BLUE);
    WriteAt(14, 17, "each other's files: fix this, then start again.", BLUE);
    EndAfterKey(1);
}
