#include "game/dealscreens.h"

#include <cstdio>
#include <initializer_list>
#include <string>

#include "console/kit.h"
#include "dealing/control.h"
#include "dealing/dates.h"
#include "dealing/deal.h"
#include "dealing/private.h"
#include "model/model.h"
#include "platform/platform.h"

namespace {

// The field of a control number or a deal key: row 15 from column 53 up to
// the frame, a key going on in row 16. Letters are taken for keys.
void ReadCodeText() {
    constexpr int column = 53, width = 25, maximum = 45;
    G.AbandonFlag = 0;
    G.InputText.clear();
    FlushKeys();
    auto locate = [](size_t at) { ConsoleLocate(15 + (int)at / width, column + (int)at % width); };
    for (;;) {
        const std::string key = ReadKey();
        if (key == KeyEsc) {
            G.AbandonFlag = 1;
            return;
        }
        if (key == KeyEnter) return;
        if (key == KeyBackspace) {
            if (G.InputText.empty()) {
                PlayNamedSound("beep2");
                continue;
            }
            G.InputText.pop_back();
            locate(G.InputText.size());
            ConsoleWrite(" ");
            locate(G.InputText.size());
            continue;
        }
        const bool letter = key.size() == 1 && ((key[0] >= 'a' && key[0] <= 'z') || (key[0] >= 'A' && key[0] <= 'Z'));
        const bool allowed = key.size() == 1 && (letter || std::string("0123456789 -").find(key[0]) != std::string::npos);
        if (!allowed || (int)G.InputText.size() >= maximum) {
            PlayNamedSound("beep2");
            continue;
        }
        locate(G.InputText.size());
        ConsoleWrite(key);
        G.InputText += key;
        locate(G.InputText.size());
    }
}

}  // namespace

void EnterControlString() {
    G.ControlString.clear();
    for (;;) {
        ConsoleColor(YELLOW, BLUE);
        ClearWorkArea();
        ConsoleLocate(15, 13);
        ConsoleWrite("Enter control string from handrecord:");
        ConsoleLocate(15, 53);
        ConsoleWrite(std::string(20, ' '));
        ConsoleLocate(15, 53);
        ConsoleColor(BRIGHTWHITE, KEEP_BACKGROUND);
        ReadCodeText();
        if (G.AbandonFlag == 1) return;

        DecodedControl decoded;
        DealKeyParts parts;
        if (LooksLikeDealKey(G.InputText)) {
            if (DecodeDealKey(G.InputText, parts)) {
                TakeDealKey(parts);
                return;
            }
        } else if (DecodeControlText(G.InputText, TodaySerial(), decoded)) {
            TakeDecodedControl(decoded);
            return;
        }
        ConsoleColor(BRIGHTWHITE, MAGENTA);
        ConsoleLocate(MessageRow, 28);
        ConsoleWrite(" Input error. Try again. ");
        PlayNamedSound("beep2");
        FlushKeys();
        ReadKey();
    }
}

void DealBoards(int first, int last, int show) {
    if (first < 1) first = 1;
    if (last > MaxBoards) last = MaxBoards;
    if (show) {
        ConsoleCursor(CURSOR_HIDE);
        ClearWorkArea();
        ConsoleColor(YELLOW, BLUE);
        ConsoleLocate(15, 27);
        ConsoleColor(LIGHTGREEN, BLUE);
        ConsoleWrite("Shuffling and dealing... ");
        ConsoleColor(BRIGHTWHITE, BLUE);
        ConsoleCursor(CURSOR_HIDE);
    }
    for (int board = first; board <= last; board++) {
        if (show) {
            char number[16];
            std::snprintf(number, sizeof number, "%2d", board);
            ConsoleLocate(0, 52);
            ConsoleWrite(number);
        }
        const int failure = DealNextBoard(board);
        if (failure != DealingGood) {
            // Nothing is dealt from a source that failed: not even the
            // boards before this one.
            G.DealingFailure = failure;
            G.DealingFailureBoard = board;
            ClearDealtHands();
            return;
        }
        Pause(40);
    }
    Pause(1000);
}

static std::string Chars(unsigned char ch, int count) { return std::string(count, (char)ch); }

static void ShowHand(int seat, int row, int column) {
    for (int suit = 0; suit < 4; suit++) {
        ConsoleLocate(row + suit, column);
        ConsoleColor(RED, BRIGHTWHITE);
        ConsoleWrite(G.SuitSymbol[suit]);
        ConsoleColor(BLACK, BRIGHTWHITE);
        ConsoleWrite(G.HoldingText[1][seat][suit]);
    }
}

static void ShowIncompatibilityNotice() {
    static const char* const lines[3] = {
        " If the hands do not match and your typing is okay,  ",
        " then your computer hardware is somehow incompatible ",
        " with the unit that produced these hands originally. "};
    ConsoleColor(BLACK, KEEP_BACKGROUND);
    ConsoleLocate(13, 15);
    ConsoleWrite(Chars(LOWER_HALF_BLOCK, 55));
    auto row = [](int r, const std::string& framed, unsigned char shadow) {
        ConsoleLocate(r, 14);
        ConsoleColor(BLUE, YELLOW);
        ConsoleWrite(framed);
        ConsoleColor(BLACK, BLUE);
        ConsoleWrite(Chars(shadow, 1));
    };
    row(14, Chars(SGL_TOPLEFT, 1) + Chars(SGL_HORIZ, 53) + Chars(SGL_TOPRIGHT, 1), FULL_BLOCK);
    for (int i = 0; i < 3; i++)
        row(15 + i, Chars(SGL_VERT, 1) + lines[i] + Chars(SGL_VERT, 1), FULL_BLOCK);
    row(18, Chars(SGL_BOTLEFT, 1) + Chars(SGL_HORIZ, 53) + Chars(SGL_BOTRIGHT, 1), UPPER_HALF_BLOCK);
    ConsoleCursor(CURSOR_HIDE);
    ConsoleColor(YELLOW, BLUE);
    // A second "n" typed with the first must not dismiss the notice unread.
    FlushKeys();
    ReadKey();
}

void VerifyBoardOne() {
    ConsoleCursor(CURSOR_HIDE);
    ClearWorkArea();
    DrawBox(6, 40, G.LongestEast[1] + 22, 14, GREEN, BRIGHTWHITE);
    ShowHand(0, 7, 50);
    ShowHand(3, 11, 42);
    ShowHand(1, 11, 58);
    ShowHand(2, 15, 50);

    ConsoleColor(YELLOW, BLUE);
    ConsoleLocate(MessageRow, PromptColumn);
    ConsoleWrite("Does this deal match Board #1 on the handrecord?  (Y/n)");
    ConsoleCursor(CURSOR_SHOW);
    ConsoleLocate(MessageRow, 64);
    // Keys typed during the silent deal must not answer a board not yet seen.
    FlushKeys();
    for (;;) {
        std::string key = UpperKey(ReadKey());
        if (key == KeyEsc) {
            G.AbandonFlag = 1;
            return;
        }
        if (key == "Y" || key == KeyEnter) {
            G.BoardOneMatches = 1;
            return;
        }
        if (key == "N") {
            G.BoardOneMatches = 0;
            ShowIncompatibilityNotice();
            return;
        }
        PlayNamedSound("beep2");
    }
}

void ShowDataImportError() {
    ConsoleCursor(CURSOR_HIDE);
    ConsoleColor(WHITE, BLACK);
    ConsoleClear();
    DrawBox(7, 14, 54, 12, GREY, BRIGHTWHITE);
    ConsoleLocate(8, 31);
    ConsoleColor(RED, BRIGHTWHITE);
    ConsoleWrite(Chars(SGL_HORIZ, 1) + " DATA IMPORT ERROR " + Chars(SGL_HORIZ, 1));

    // Each row is a run of pieces in their own colours, all on white.
    struct Piece {
        const char* text;
        int colour;
    };
    auto line = [](int row, std::initializer_list<Piece> pieces) {
        ConsoleLocate(row, 16);
        for (const Piece& piece : pieces) {
            ConsoleColor(piece.colour, BRIGHTWHITE);
            ConsoleWrite(piece.text);
        }
    };
    line(10, {{"The ", BLUE}, {"Control Number ", RED}, {"you have entered is valid only", BLUE}});
    line(11, {{"for the ", BLUE}, {"GAME DATE", GREEN}, {", ", BLUE}, {"SESSION", GREEN},
              {", and ", BLUE}, {"TOTAL BOARDS ", GREEN}, {"shown", BLUE}});
    line(12, {{"on the screen. ", BLUE}, {"KELMO ", GREEN}, {"is unable to generate hands", BLUE}});
    line(13, {{"for a different specification.", BLUE}});
    line(15, {{"If your typing was correct, then you might need to", BLUE}});
    line(16, {{"consult with your ", BLUE}, {"Multi-Venue Coordinator ", GREEN}, {"in order", BLUE}});
    line(17, {{"to correct the problem.", BLUE}});
    PlayNamedSound("notify2");
    ReadKey();
}
