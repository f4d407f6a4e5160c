// Layouts of the three printouts on the recording page device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>

#include "dealing/deal.h"
#include "model/model.h"
#include "printing/diagram.h"
#include "printing/print.h"
#include "shell/kit.h"
#include "support/doubles.h"
#include "support/recording_printer.h"

namespace {

constexpr double Eps = 1e-9;

bool IsFont(const PrintOp& op, const std::string& face, double points, int style = 0) {
    return op.font.face == face && op.font.points == points && op.font.style == style;
}

std::set<int> BoardNumbers(const RecordingPrinter& printer, int job, const std::string& face, int points,
                           int style) {
    std::set<int> numbers;
    for (const auto& op : printer.Texts(job))
        if (IsFont(op, face, points, style) && std::all_of(op.text.begin(), op.text.end(), ::isdigit))
            numbers.insert(std::stoi(op.text));
    return numbers;
}

void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); i++) EXPECT_NEAR(actual[i], expected[i], Eps) << i;
}

std::set<int> Range(int first, int last) {
    std::set<int> s;
    for (int i = first; i <= last; i++) s.insert(i);
    return s;
}

class PrintLayoutTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        P.printer = &printer;
    }
    // Prints the handout sides asked for (one copy each).
    void Handouts(bool side1, bool side2, int copies = 1) {
        if (copies == 1) console.Press(KEY_ENTER);
        else console.Type(std::to_string(copies) + KEY_ENTER);
        console.Type(side1 ? "Y" : "N");
        console.Type(side2 ? "Y" : "N");
        if (side2) console.Type(" ");
        ASSERT_FALSE(Run([] { PrintHandouts(); })) << console.Dump();
    }
    // A board's masks from texts "AKQ.JT9.876.5432" for N, E, S, W.
    void SetHands(int board, const std::string& north, const std::string& east, const std::string& south,
                  const std::string& west) {
        std::string text = "N:" + north + " " + east + " " + south + " " + west;
        ASSERT_TRUE(HandMasksFromDealText(text, G.HandMasks[board])) << text;
        SummarizeBoard(board);
    }
    RecordingPrinter printer;
};

// ---- Page facility and fonts -------------------------------------------

TEST_F(PrintLayoutTest, PrintFontsHoldExactlyTheTableAndFacesFiveAndSixComeFromTheSettings) {
    G.ClubNameFont = "Some Very Long Club Font Name That Goes On";
    G.EventNameFont = "comic sans ms";
    CreatePrintFonts();
    int made = 0;
    for (int face = 0; face <= 6; face++)
        for (int points = 0; points <= 60; points++)
            for (int style = 0; style <= 1; style++)
                if (G.PrintFonts[face][points][style] != 0) made++;
    EXPECT_EQ(made, 7 + 10 + 2 + 7 + 1 + 1);
    EXPECT_NE(G.PrintFonts[4][12][1], G.PrintFonts[4][12][0]);
    EXPECT_EQ(G.PrintFonts[4][9][1], 0);

    OpenJob("t");
    UseFont(ClubFace, 18);
    DrawTextAt(0, 0, "x");
    UseFont(EventFace, 16);
    DrawTextAt(0, 1, "y");
    UseFont(TimesFace, 14, 1);
    DrawTextAt(0, 2, "z");
    CloseJob();
    auto texts = printer.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].font.face, std::string("Some Very Long Club Font Name T"));   // cut to 31
    EXPECT_EQ(texts[0].font.points, 18);
    EXPECT_TRUE(IsFont(texts[1], "comic sans ms", 16));
    EXPECT_TRUE(IsFont(texts[2], "Times New Roman", 14, 1));
}

TEST_F(PrintLayoutTest, WithoutADeviceEveryOperationDoesNothing) {
    P.printer = nullptr;
    CreatePrintFonts();
    OpenJob("t");
    UseFont(ArialFace, 12);
    double w = 1, h = 1;
    TextSize("abc", w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    DrawTextAt(1, 1, "abc");
    EndPage();
    CloseJob();
}

TEST_F(PrintLayoutTest, JobsAreNamedByDateAndSession) {
    G.GameYear = 5, G.GameMonth = 3, G.GameDay = 7, G.SessionNumber = 4;
    EXPECT_EQ(JobTag("dupe"), "050307L-dupe");
    G.GameYear = 15, G.SessionNumber = 1;
    EXPECT_EQ(JobTag("handrecords"), "150307M-handrecords");
}

// ---- Handouts ----------------------------------------------------------

TEST_F(PrintLayoutTest, ThirtySixBoardSideOneHoldsBoardsOneToSixteenWithHeaderAndCredits) {
    MakePrintGame(36);
    Handouts(true, true);
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[0].tag, "150307A-handouts-side1");
    EXPECT_EQ(printer.jobs[1].tag, "150307A-handouts-side2");
    EXPECT_EQ(printer.jobs[0].pages, 1);
    EXPECT_EQ(printer.jobs[1].pages, 1);
    EXPECT_EQ(BoardNumbers(printer, 0, "Times New Roman", 12, 1), Range(1, 16));
    EXPECT_EQ(BoardNumbers(printer, 1, "Times New Roman", 12, 1), Range(17, 36));

    // Header only on side 1: the emblem at the header origin, the club name
    // centred.
    const PrintOp* emblem = printer.FindText("z", 0);
    ASSERT_NE(emblem, nullptr);
    EXPECT_TRUE(IsFont(*emblem, "Bridge", 60));
    EXPECT_NEAR(emblem->x, 0.02, Eps);
    EXPECT_NEAR(emblem->y, 0.5, Eps);
    const PrintOp* club = printer.FindText(G.ClubName, 0);
    ASSERT_NE(club, nullptr);
    EXPECT_NEAR(club->x + RecordingPrinter::Width(G.ClubName, club->font) / 2, 4, Eps);
    EXPECT_NEAR(club->y, 0.52, Eps);
    EXPECT_EQ(printer.FindText("z", 1), nullptr);
    EXPECT_EQ(printer.FindText(G.ClubName, 1), nullptr);

    // The credits under board 16's row, centred on 3.95 without its blanks.
    std::string credits = CreditsText(36);
    const PrintOp* line = printer.FindText(credits, 0);
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(line->y, 9.78, Eps);
    EXPECT_TRUE(IsFont(*line, "Arial", 8));
    EXPECT_EQ(credits.rfind("Pages by Arno Velik           Analyses by Sig Tarrow           ", 0), 0u);
    EXPECT_NEAR(line->x + RecordingPrinter::Width(credits, line->font) / 2, 3.95, Eps);
    EXPECT_EQ(printer.FindText(credits, 1), nullptr);

    // Board 17 is the first cell of side 2.
    const PrintOp* first = printer.FindText("17", 1);
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(first->x, 0.25, Eps);
    EXPECT_NEAR(first->y, 0.4 + 0.06 - 0.038, Eps);
}

TEST_F(PrintLayoutTest, TwentyFourBoardsPutTheDatedCreditsOnSideTwo) {
    MakePrintGame(24);
    Handouts(true, true);
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(BoardNumbers(printer, 0, "Times New Roman", 14, 1), Range(1, 12));
    EXPECT_EQ(BoardNumbers(printer, 1, "Times New Roman", 14, 1), Range(13, 24));
    std::string credits = CreditsText(24);
    EXPECT_EQ(credits.rfind(G.DateText + "           Pages by", 0), 0u);
    EXPECT_EQ(printer.FindText(credits, 0), nullptr);
    const PrintOp* line = printer.FindText(credits, 1);
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(line->y, 9.88, Eps);
    const PrintOp* first = printer.FindText("13", 1);
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(first->x, 0.3, Eps);
    EXPECT_NEAR(first->y, 0.6 + 0.0726 - 0.05, Eps);
    // Header positions of the 24-board sheet.
    const PrintOp* emblem = printer.FindText("z", 0);
    ASSERT_NE(emblem, nullptr);
    EXPECT_NEAR(emblem->y, 0.1, Eps);
}

TEST_F(PrintLayoutTest, GridLinesOfEachSide) {
    MakePrintGame(36);
    Handouts(true, true);
    auto rows = [&](int job) {
        std::vector<double> ys;
        for (const auto& op : printer.Lines(job))
            if (op.pen == 4 && op.x == 0 && op.x2 == 8 && op.y == op.y2) ys.push_back(op.y);
        return ys;
    };
    ExpectNear(rows(0), {1.7, 3.7, 5.7, 7.7, 9.7});
    ExpectNear(rows(1), {0.4, 2.4, 4.4, 6.4, 8.4, 10.4});
    std::vector<double> dividers;
    for (const auto& op : printer.Lines(1))
        if (op.pen == 4 && op.x == op.x2) {
            dividers.push_back(op.x);
            EXPECT_NEAR(op.y, 0.4, Eps);
            EXPECT_NEAR(op.y2, 10.4, Eps);
        }
    ASSERT_EQ(dividers.size(), 3u);
    EXPECT_NEAR(dividers[0], 1.96, Eps);
    EXPECT_NEAR(dividers[2], 5.96, Eps);
}

TEST_F(PrintLayoutTest, ThreeCopiesAreThreeIdenticalPagesEachWithTheHeader) {
    MakePrintGame(36);
    Handouts(true, false, 3);
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].pages, 3);
    auto page1 = printer.Texts(0, 1), page3 = printer.Texts(0, 3);
    ASSERT_EQ(page1.size(), page3.size());
    for (size_t i = 0; i < page1.size(); i++) {
        EXPECT_EQ(page1[i].text, page3[i].text);
        EXPECT_EQ(page1[i].x, page3[i].x);
        EXPECT_EQ(page1[i].y, page3[i].y);
    }
    EXPECT_EQ(printer.Count("z", 0), 3);
}

TEST_F(PrintLayoutTest, DoubleDummyGridShowsTheMarkForNoContractAndSevenForAllTricks) {
    MakePrintGame(36);
    for (int strain = 1; strain <= 5; strain++) G.DDTricks[1][1][strain] = 6;   // North makes nothing
    G.DDTricks[1][1][1] = 13;                                                   // but seven clubs
    G.DDTricks[1][3][5] = 7;                                                    // South 1NT
    Handouts(true, false);
    // Board 1's cell: x0 = 0, the grid top at 1.7 + 1.29; North is the
    // first row, South the second.
    double ty = 1.7 + 1.29, north = ty + 0.03 + 0.108, south = north + 0.108;
    std::vector<PrintOp> northRow, southRow;
    for (const auto& op : printer.Texts(0))
        if (IsFont(op, "Bridge", 7) && op.x < 0.71) {
            if (std::abs(op.y - north) < Eps) northRow.push_back(op);
            if (std::abs(op.y - south) < Eps) southRow.push_back(op);
        }
    ASSERT_EQ(northRow.size(), 6u);
    EXPECT_EQ(northRow[0].text, "N");
    EXPECT_NEAR(northRow[0].x, 0, Eps);
    EXPECT_EQ(northRow[1].text, "7");
    EXPECT_NEAR(northRow[1].x, 0.14, Eps);
    for (int k = 2; k <= 5; k++) {
        EXPECT_EQ(northRow[k].text, "`");
        EXPECT_NEAR(northRow[k].x, 0.14 + (k - 1) * 0.11 + 0.014, Eps);
    }
    ASSERT_EQ(southRow.size(), 6u);
    EXPECT_EQ(southRow[0].text, "S");
    EXPECT_EQ(southRow[5].text, "1");
    EXPECT_NEAR(southRow[5].x, 0.14 + 4 * 0.11, Eps);

    // The header row: clubs, diamonds, hearts, spades, notrump.
    std::string header;
    for (const auto& op : printer.Texts(0))
        if (IsFont(op, "Bridge", 8) && std::abs(op.y - (ty + 0.023)) < Eps && op.x < 0.71) header += op.text;
    EXPECT_EQ(header, "dcban");
    const PrintOp* par = printer.FindText("Par:  ", 0);
    ASSERT_NE(par, nullptr);
    EXPECT_NEAR(par->x, 0.05, Eps);
    EXPECT_NEAR(par->y, ty + 0.58, Eps);
    const PrintOp* parText = printer.FindText(G.ParText[1], 0);
    ASSERT_NE(parText, nullptr);
    EXPECT_NEAR(parText->x, par->x + RecordingPrinter::Width("Par:  ", par->font), Eps);
    EXPECT_EQ(parText->y, par->y);
}

TEST_F(PrintLayoutTest, ColoursOnlyOnTheSuitSymbolsOfTheHands) {
    MakePrintGame(36);
    Handouts(true, false);
    for (const auto& op : printer.ops) ASSERT_TRUE(op.Black()) << op.text;

    printer = RecordingPrinter();
    G.ColorPrinting = 1;
    Handouts(true, false);
    int coloured = 0;
    for (const auto& op : printer.ops) {
        bool handSymbol = op.kind == PrintOp::Text && IsFont(op, "Bridge", 9) && op.text.size() == 1 &&
                          op.text[0] >= 'a' && op.text[0] <= 'd';
        if (!handSymbol) {
            EXPECT_TRUE(op.Black()) << op.text;
            continue;
        }
        coloured++;
        if (op.text == "a" || op.text == "d") EXPECT_TRUE(op.red == 25 && op.green == 25 && op.blue == 112);
        else EXPECT_TRUE(op.red == 220 && op.green == 20 && op.blue == 60);
    }
    EXPECT_EQ(coloured, 16 * 4 * 4);
}

TEST_F(PrintLayoutTest, HandsAreDrawnCardByCardWithTheFittedGapsAndVoidMark) {
    MakePrintGame(36);
    // Board 1: West void in spades; East's longest 7, West's 6.
    SetHands(1, "AK2.K9.K9843.AK9", "QJT9876.AQJT.2.2", "543.87654.AT.QJT", ".32.QJ765.876543");
    Handouts(true, false);
    HandFit fit = FitHands(36, 7, 6, 5);
    // West's hearts start after the symbol gap with the void mark.
    double westX = fit.westOffset, westY = 1.7 + 0.69;
    const PrintOp* westSpades = nullptr;
    auto found1 = printer.Texts(0);
    for (const auto& op : found1)
        if (op.text == "a" && std::abs(op.x - westX) < Eps && std::abs(op.y - westY) < Eps) westSpades = &op;
    ASSERT_NE(westSpades, nullptr);
    const PrintOp* voidMark = printer.FindText("___", 0);
    ASSERT_NE(voidMark, nullptr);
    EXPECT_NEAR(voidMark->x, westX + fit.symbolGap, Eps);
    EXPECT_NEAR(voidMark->y, westY, Eps);
    EXPECT_TRUE(IsFont(*voidMark, "Bridge", 9));

    // East's spades: seven cards, each the previous x plus its width plus
    // the card gap, the first one symbol gap after the symbol.
    std::vector<PrintOp> eastSpades;
    for (const auto& op : printer.Texts(0))
        if (std::abs(op.y - westY) < Eps && op.x > 1 && op.x < 2 && IsFont(op, "Bridge", 9)) eastSpades.push_back(op);
    ASSERT_EQ(eastSpades.size(), 8u);
    EXPECT_EQ(eastSpades[0].text, "a");
    std::string cards;
    for (size_t i = 1; i < eastSpades.size(); i++) cards += eastSpades[i].text;
    EXPECT_EQ(cards, "QJT9876");
    double cardWidth = RecordingPrinter::Width("Q", eastSpades[1].font);
    EXPECT_NEAR(eastSpades[1].x - eastSpades[0].x, fit.symbolGap, Eps);
    EXPECT_NEAR(eastSpades[2].x - eastSpades[1].x, cardWidth + fit.cardGap, Eps);
    // East stands its margin short of the cell's right edge.
    double widest = RecordingPrinter::Width("QJT9876a", eastSpades[0].font);
    EXPECT_NEAR(eastSpades[0].x, 2 - (6 * fit.cardGap + widest + fit.symbolGap + fit.eastMargin), Eps);
}

TEST_F(PrintLayoutTest, FitHandsPicksTheRowOfTheTableByEastAndWestLengths) {
    // 36 boards: EW 8 is the last row, with the wide East margin.
    HandFit f = FitHands(36, 4, 4, 4);
    EXPECT_EQ(f.cardGap, 0.025);
    EXPECT_EQ(f.symbolGap, 0.14);
    EXPECT_EQ(f.westOffset, 0.06);
    EXPECT_EQ(f.eastMargin, 0.091);
    // EW 14 (two 7-card suits): still the last row, but the narrow margin.
    f = FitHands(36, 7, 7, 4);
    EXPECT_EQ(f.symbolGap, 0.14);
    EXPECT_EQ(f.eastMargin, 0.011);
    // A six-card East suit alone narrows the margin too.
    EXPECT_EQ(FitHands(36, 6, 4, 4).eastMargin, 0.011);
    f = FitHands(36, 11, 11, 4);
    EXPECT_EQ(f.cardGap, 0.004);
    EXPECT_EQ(f.symbolGap, 0.09);
    EXPECT_EQ(f.westOffset, 0.005);
    f = FitHands(36, 12, 12, 1);
    EXPECT_EQ(f.cardGap, 0.002);
    EXPECT_EQ(f.symbolGap, 0.07);
    EXPECT_EQ(FitHands(36, 8, 8, 4).cardGap, 0.025);   // 16
    EXPECT_EQ(FitHands(36, 8, 8, 4).symbolGap, 0.12);
    // North-South caps: 12 cards cap at 0.015, 13 at 0.01; a smaller gap stays.
    EXPECT_EQ(FitHands(36, 4, 4, 12).cardGap, 0.015);
    EXPECT_EQ(FitHands(36, 0, 0, 13).cardGap, 0.01);
    EXPECT_EQ(FitHands(36, 11, 11, 12).cardGap, 0.004);
    // Beyond the table the tightest row applies.
    EXPECT_EQ(FitHands(36, 13, 12, 0).cardGap, 0.002);

    // 24 boards.
    f = FitHands(24, 4, 4, 4);
    EXPECT_EQ(f.cardGap, 0.02);
    EXPECT_EQ(f.symbolGap, 0.15);
    EXPECT_EQ(f.westOffset, 0.22);   // West's longest suit below 9
    EXPECT_EQ(f.eastMargin, 0.127);
    EXPECT_EQ(FitHands(24, 8, 9, 4).westOffset, 0.12);
    EXPECT_EQ(FitHands(24, 7, 4, 4).eastMargin, 0.027);
    EXPECT_EQ(FitHands(24, 6, 13, 4).eastMargin, 0.027);   // EW 19
    f = FitHands(24, 11, 11, 13);
    EXPECT_EQ(f.cardGap, 0.02);   // no North-South cap on the 24-board sheet
    EXPECT_EQ(f.westOffset, 0.05);
    f = FitHands(24, 12, 12, 0);
    EXPECT_EQ(f.cardGap, 0.015);
    EXPECT_EQ(f.symbolGap, 0.1);
}

TEST_F(PrintLayoutTest, HeaderDateLinesStartTogetherAndTheLongerEndsShortOfTheEdge) {
    MakePrintGame(36);
    G.GameMonth = 1;
    G.GameDay = 5;
    G.WeekdayText = "Wednesday";
    Handouts(true, false);
    const PrintOp* line1 = printer.FindText("Wednesday", 0);
    const PrintOp* line2 = printer.FindText("January 5", 0);
    ASSERT_NE(line1, nullptr);
    ASSERT_NE(line2, nullptr);
    EXPECT_EQ(line1->x, line2->x);
    EXPECT_NEAR(line1->y, 0.7, Eps);
    EXPECT_NEAR(line2->y, 0.87, Eps);
    double longer = std::max(RecordingPrinter::Width("Wednesday", line1->font),
                             RecordingPrinter::Width("January 5", line2->font));
    EXPECT_NEAR(line1->x + longer, 8 - 0.05, Eps);
}

TEST_F(PrintLayoutTest, AGameOfFewerBoardsLeavesTheCellsBeyondItBlank) {
    MakePrintGame(30);
    Handouts(true, true);
    EXPECT_EQ(BoardNumbers(printer, 1, "Times New Roman", 12, 1), Range(17, 30));
}

// ---- Hand-records ------------------------------------------------------

class HandRecordLayoutTest : public PrintLayoutTest {
protected:
    void Print() {
        console.Type(" ");
        ASSERT_FALSE(Run([] { PrintHandRecords(); }));
    }
};

TEST_F(HandRecordLayoutTest, ThirtySixBoardsMakeEighteenPagesTwoBoardsEach) {
    MakePrintGame(36);
    Print();
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].tag, "150307A-handrecords");
    EXPECT_EQ(printer.jobs[0].pages, 18);
    for (int page = 1; page <= 18; page++) {
        std::vector<PrintOp> numbers;
        for (const auto& op : printer.Texts(0, page))
            if (IsFont(op, "Arial", 36)) numbers.push_back(op);
        ASSERT_EQ(numbers.size(), 2u);
        EXPECT_EQ(numbers[0].text, std::to_string(2 * page - 1));
        EXPECT_NEAR(numbers[0].y, 0.2, Eps);
        EXPECT_EQ(numbers[1].text, std::to_string(2 * page));
        EXPECT_NEAR(numbers[1].y, 5.45, Eps);
        // Cut marks on the upper half only, just below the upper South box.
        std::vector<PrintOp> cuts;
        for (const auto& op : printer.Texts(0, page))
            if (op.text == "-" && IsFont(op, "Bridge", 8)) cuts.push_back(op);
        ASSERT_EQ(cuts.size(), 2u);
        EXPECT_NEAR(cuts[0].x, 0.05, Eps);
        EXPECT_NEAR(cuts[1].x, 7.85, Eps);
        EXPECT_NEAR(cuts[0].y, 5.16, Eps);
        EXPECT_NEAR(cuts[1].y, 5.16, Eps);
        // Four boxes a half.
        EXPECT_EQ(printer.Boxes(0, page).size(), 8u);
    }
    EXPECT_EQ(clock.pauses.back(), 6000);
}

TEST_F(HandRecordLayoutTest, TwentyFourBoardsMakeTwelvePages) {
    MakePrintGame(24);
    Print();
    EXPECT_EQ(printer.jobs[0].pages, 12);
    EXPECT_TRUE(console.Shows(16, 17, "Load paper for 12 pages.  Any key when ready...", BRIGHTWHITE));
}

TEST_F(HandRecordLayoutTest, AnOddBoardCountKeepsItsLastBoard) {
    MakePrintGame(25);
    Print();
    EXPECT_EQ(printer.jobs[0].pages, 13);
    EXPECT_NE(printer.FindText("25", 0, 13), nullptr);
    EXPECT_TRUE(console.Shows(16, 17, "Load paper for 13 pages."));
}

TEST_F(HandRecordLayoutTest, HandBoxesShowVoidTensAndThirteenCardSuits) {
    MakePrintGame(2);
    SetHands(1, "AKQJT98765432...", ".AKQJT98765432..", "..AKQJT98765432.", "...AKQJT98765432");
    SetHands(2, "T.AKQJ.AKQJ.AKQJ", "AKQJ9.T98.T98.T9", "8765.7654.765.87", "432.32.432.65432");
    Print();
    // Board 1, North box at (2.45, 0.2): spades are thirteen cards 0.07
    // apart; hearts are the void mark right after the symbol.
    std::vector<PrintOp> spades;
    for (const auto& op : printer.Texts(0, 1))
        if (IsFont(op, "Bridge", 16) && std::abs(op.y - (0.2 + 0.34)) < Eps && op.x < 5.5) spades.push_back(op);
    ASSERT_EQ(spades.size(), 14u);
    EXPECT_EQ(spades[0].text, "a");
    EXPECT_NEAR(spades[0].x, 2.45 + 0.15, Eps);
    EXPECT_NEAR(spades[1].x, 2.45 + 0.44, Eps);
    std::string cards;
    for (size_t i = 1; i < spades.size(); i++) {
        cards += spades[i].text;
        if (i > 1) {
            double step = RecordingPrinter::Width(spades[i - 1].text, spades[i - 1].font) + 0.07;
            EXPECT_NEAR(spades[i].x - spades[i - 1].x, step, Eps);
        }
    }
    EXPECT_EQ(cards, "AKQJT98765432");
    const PrintOp* voidMark = nullptr;
    auto found2 = printer.Texts(0, 1);
    for (const auto& op : found2)
        if (op.text == "____" && std::abs(op.x - (2.45 + 0.44)) < Eps && std::abs(op.y - (0.2 + 0.34 + 0.28)) < Eps)
            voidMark = &op;
    ASSERT_NE(voidMark, nullptr);
    EXPECT_TRUE(IsFont(*voidMark, "Bridge", 16));
    // Board 2 (lower half): North's single spade is the ten, as "T".
    const PrintOp* ten = nullptr;
    auto found3 = printer.Texts(0, 1);
    for (const auto& op : found3)
        if (op.text == "T" && std::abs(op.x - (2.45 + 0.44)) < Eps && std::abs(op.y - (5.25 + 0.2 + 0.34)) < Eps)
            ten = &op;
    EXPECT_NE(ten, nullptr);
    EXPECT_EQ(printer.Count("10"), 0);
    // The box outline and the rule under the seat name.
    auto boxes = printer.Boxes(0, 1);
    ASSERT_EQ(boxes.size(), 8u);
    EXPECT_NEAR(boxes[0].x, 2.45, Eps);
    EXPECT_NEAR(boxes[0].y, 0.2, Eps);
    EXPECT_NEAR(boxes[0].x2, 2.45 + 3.1, Eps);
    EXPECT_NEAR(boxes[0].y2, 0.2 + 1.46, Eps);
    EXPECT_EQ(boxes[0].rounding, 12);
    EXPECT_EQ(boxes[0].pen, 3);
    // Nothing is coloured on a hand-record, whatever the setting.
    for (const auto& op : printer.ops) EXPECT_TRUE(op.Black());
}

TEST_F(HandRecordLayoutTest, CompassCrossAndTheCentredArrowAndDate) {
    MakePrintGame(2);
    Print();
    std::vector<PrintOp> cross;
    for (const auto& op : printer.Lines(0, 1))
        if (op.pen == 5) cross.push_back(op);
    ASSERT_EQ(cross.size(), 4u);
    EXPECT_NEAR(cross[0].x, 4, Eps);
    EXPECT_NEAR(cross[0].y, 2.1, Eps);
    EXPECT_NEAR(cross[0].y2, 3.1, Eps);
    EXPECT_NEAR(cross[3].y, 5.25 + 2.58, Eps);
    const PrintOp* arrow = printer.FindText("^", 0, 1);
    ASSERT_NE(arrow, nullptr);
    EXPECT_NEAR(arrow->x + RecordingPrinter::Width("^", arrow->font) / 2, 4, Eps);
    EXPECT_NEAR(arrow->y, 1.9, Eps);
    const PrintOp* date = printer.FindText(G.DateText, 0, 1);
    ASSERT_NE(date, nullptr);
    EXPECT_NEAR(date->x + RecordingPrinter::Width(G.DateText, date->font) / 2, 6.7, Eps);
    const PrintOp* control = printer.FindText(G.ControlString, 0, 1);
    ASSERT_NE(control, nullptr);
    EXPECT_NEAR(control->x, 6.8, Eps);
    EXPECT_NEAR(control->y, 4.8, Eps);
    // The smaller "#" sits 0.065 lower than the board number.
    const PrintOp* hash = printer.FindText("# ", 0, 1);
    ASSERT_NE(hash, nullptr);
    EXPECT_NEAR(hash->y, 0.265, Eps);
    EXPECT_TRUE(IsFont(*hash, "Arial", 28));
}

// ---- Quick-dupe sheet --------------------------------------------------

class DupeLayoutTest : public PrintLayoutTest {
protected:
    void Print() { ASSERT_FALSE(Run([] { PrintDupeSheet(); })); }
    std::vector<double> RowLines() {
        std::vector<double> ys;
        for (const auto& op : printer.Lines())
            if (op.y == op.y2 && op.y >= 1) ys.push_back(op.y);
        return ys;
    }
};

TEST_F(DupeLayoutTest, ThirtySixBoardsAreNineRowsWithLinesAtEachUnit) {
    MakePrintGame(36);
    Print();
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].pages, 1);
    EXPECT_EQ(printer.jobs[0].tag, "150307A-dupe");
    std::vector<double> expected;
    for (int r = 0; r <= 9; r++) expected.push_back(1 + r);
    ExpectNear(RowLines(), expected);
    for (const auto& op : printer.Lines()) EXPECT_EQ(op.pen, 2);
    // Board numbers 1..9 sit 0.05 further right than 10..36.
    const PrintOp* nine = printer.FindText("9");
    const PrintOp* ten = printer.FindText("10");
    ASSERT_NE(nine, nullptr);
    ASSERT_NE(ten, nullptr);
    EXPECT_NEAR(nine->x, 0.93, Eps);
    EXPECT_NEAR(nine->y, 3.028, Eps);
    EXPECT_NEAR(ten->x, 2.88, Eps);
    // The control number centred below the grid.
    const PrintOp* control = printer.FindText(G.ControlString);
    ASSERT_NE(control, nullptr);
    EXPECT_NEAR(control->x + RecordingPrinter::Width(G.ControlString, control->font) / 2, 3.95, Eps);
    EXPECT_NEAR(control->y, 10.08, Eps);
    EXPECT_TRUE(IsFont(*control, "Arial", 9));
    EXPECT_EQ(clock.pauses.back(), 5000);
}

TEST_F(DupeLayoutTest, TwentyFourBoardsAreSixRowsAUnitAndAHalfHigh) {
    MakePrintGame(24);
    Print();
    ExpectNear(RowLines(), {1, 2.5, 4, 5.5, 7, 8.5, 10});
    const PrintOp* control = printer.FindText(G.ControlString);
    ASSERT_NE(control, nullptr);
    EXPECT_NEAR(control->y, 10.08, Eps);
    // First digit line of board 5 (row 1): 1 + 1.5 + 0.45; the next 0.25 lower.
    std::vector<PrintOp> firstDigits;
    for (const auto& op : printer.Texts())
        if (IsFont(op, "Arial", 12) && std::abs(op.x - 0.3) < Eps && op.y > 2.5 && op.y < 4) firstDigits.push_back(op);
    ASSERT_EQ(firstDigits.size(), 4u);
    EXPECT_NEAR(firstDigits[0].y, 2.95, Eps);
    EXPECT_NEAR(firstDigits[1].y, 3.2, Eps);
}

TEST_F(DupeLayoutTest, DigitLinesDealEveryCardOnceAndMatchTheHands) {
    MakePrintGame(36);
    Print();
    for (int b = 1; b <= 36; b++) {
        int perSeat[4] = {};
        for (int suit = 0; suit < 4; suit++) {
            const std::string& line = G.DupeText[b][suit];
            ASSERT_EQ(line.size(), 13u);
            for (int rank = 0; rank < 13; rank++) {
                int seat = line[rank] - '1';
                ASSERT_TRUE(seat >= 0 && seat < 4) << "board " << b;
                EXPECT_TRUE(G.HandMasks[b][seat][suit] & (1u << rank));
                perSeat[seat]++;
            }
        }
        for (int seat = 0; seat < 4; seat++) EXPECT_EQ(perSeat[seat], 13) << "board " << b;
    }
    // Board 1's spade line as printed: thirteen digits 0.12 apart from 0.3,
    // the suit symbol 0.013 lower at 0.12.
    double y = 1 + 0.245;
    std::string printed;
    double lastX = 0;
    for (const auto& op : printer.Texts())
        if (IsFont(op, "Arial", 12) && std::abs(op.y - y) < Eps && op.x < 2) {
            if (!printed.empty()) {
                EXPECT_NEAR(op.x - lastX, 0.12, Eps);
            }
            printed += op.text;
            lastX = op.x;
        }
    EXPECT_EQ(printed, G.DupeText[1][0]);
    const PrintOp* spade = nullptr;
    auto found4 = printer.Texts();
    for (const auto& op : found4)
        if (op.text == "a" && std::abs(op.x - 0.12) < Eps && std::abs(op.y - (y + 0.013)) < Eps) spade = &op;
    ASSERT_NE(spade, nullptr);
    EXPECT_TRUE(IsFont(*spade, "Bridge", 10));
    // Next digit line one spacing lower.
    bool hearts = false;
    for (const auto& op : printer.Texts())
        if (IsFont(op, "Arial", 12) && std::abs(op.x - 0.3) < Eps && std::abs(op.y - (y + 1.0 / 6 + 0.012)) < Eps)
            hearts = true;
    EXPECT_TRUE(hearts);
}

TEST_F(DupeLayoutTest, HeadingHasTheEventInCapitalsTheDateRightAlignedAndTwoInstructions) {
    MakePrintGame(36);
    G.EventName = "tuesday pairs";
    Print();
    const PrintOp* event = printer.FindText("TUESDAY PAIRS");
    ASSERT_NE(event, nullptr);
    EXPECT_TRUE(IsFont(*event, "Courier New", 12, 1));
    const PrintOp* date = printer.FindText(G.DateText);
    ASSERT_NE(date, nullptr);
    EXPECT_NEAR(date->x + RecordingPrinter::Width(G.DateText, date->font), 8, Eps);
    const PrintOp* first = printer.FindText(std::string(18, ' ') + "Pre-sort the suits:  Ace -> Deuce");
    const PrintOp* second =
        printer.FindText(std::string(18, ' ') + "Deal the cards:  1=North  2=East  3=South  4=West");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NEAR(second->x, 0, Eps);
    EXPECT_NEAR(second->y - first->y, RecordingPrinter::Height(first->font), Eps);
    EXPECT_TRUE(IsFont(*second, "Courier New", 12));
}

TEST_F(DupeLayoutTest, NorthHoldingEverySpadePrintsThirteenOnes) {
    uint16_t masks[4][4] = {};
    masks[0][0] = 0x1FFF;
    EXPECT_EQ(DupeLine(masks, 0), "1111111111111");
    EXPECT_EQ(DupeLine(masks, 1), std::string(13, ' '));
}

TEST_F(DupeLayoutTest, ABoardCountFromAPbnFileKeepsItsLastBoards) {
    MakePrintGame(30);
    Print();
    EXPECT_NE(printer.FindText("29"), nullptr);
    EXPECT_NE(printer.FindText("30"), nullptr);
    EXPECT_EQ(printer.FindText("31"), nullptr);
    EXPECT_EQ(RowLines().size(), 9u);   // eight rows
}

}  // namespace
