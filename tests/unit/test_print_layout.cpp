// Layouts of the three printouts on the recording page device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <set>

#include "console/kit.h"
#include "dealing/deal.h"
#include "dealing/private.h"
#include "model/model.h"
#include "printing/diagram.h"
#include "printing/print.h"
#include "support/doubles.h"
#include "support/recording_printer.h"

namespace {

constexpr double Eps = 1e-9;
const double Any = std::nan("");   // a value left unchecked

bool IsFont(const PrintOp& op, const std::string& face, double points, int style = 0) {
    return op.font.face == face && op.font.points == points && op.font.style == style;
}

bool Near(double a, double b) { return std::abs(a - b) < Eps; }

// The op was drawn with the point `along` its width (0 left, 0.5 middle, 1
// right) at x and its top at y, in the font when a face is given; Any leaves
// a coordinate unchecked.
::testing::AssertionResult Placed(const PrintOp* op, double along, double x, double y, const std::string& face,
                                  double points, int style) {
    if (!op) return ::testing::AssertionFailure() << "not drawn";
    double ax = op->x + along * RecordingPrinter::Width(op->text, op->font);
    if ((!std::isnan(x) && std::abs(ax - x) > Eps) || (!std::isnan(y) && std::abs(op->y - y) > Eps))
        return ::testing::AssertionFailure() << "\"" << op->text << "\" at (" << ax << ", " << op->y << ")";
    if (!face.empty() && !IsFont(*op, face, points, style))
        return ::testing::AssertionFailure() << "\"" << op->text << "\" in " << op->font.face << " "
                                             << op->font.points << " style " << op->font.style;
    return ::testing::AssertionSuccess();
}
::testing::AssertionResult At(const PrintOp* op, double x, double y, const std::string& face = "",
                              double points = 0, int style = 0) {
    return Placed(op, 0, x, y, face, points, style);
}
::testing::AssertionResult Centred(const PrintOp* op, double x, double y, const std::string& face = "",
                                   double points = 0, int style = 0) {
    return Placed(op, 0.5, x, y, face, points, style);
}

double Right(const PrintOp& op) { return op.x + RecordingPrinter::Width(op.text, op.font); }

std::vector<std::string> Strings(const std::vector<PrintOp>& ops) {
    std::vector<std::string> out;
    for (const auto& op : ops) out.push_back(op.text);
    return out;
}

template <class Keep>
std::vector<PrintOp> Pick(const std::vector<PrintOp>& ops, Keep keep) {
    std::vector<PrintOp> out;
    for (const auto& op : ops)
        if (keep(op)) out.push_back(op);
    return out;
}

std::string Joined(const std::vector<PrintOp>& ops, size_t from = 0) {
    std::string text;
    for (size_t i = from; i < ops.size(); i++) text += ops[i].text;
    return text;
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
    void Handouts(bool side1, bool side2, int copies = 1) {
        if (copies == 1) console.Press(KeyEnter);
        else console.Type(std::to_string(copies) + KeyEnter);
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
    EXPECT_TRUE(IsFont(texts[0], "Some Very Long Club Font Name T", 18));   // cut to 31
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
    EXPECT_EQ(TextWidth("abc"), 0);
    DrawTextAt(1, 1, "abc");
    DrawLine(0, 0, 1, 1);
    EndPage();
    CloseJob();
    // No failure reported, nothing written, nothing reached a device held
    // from before.
    EXPECT_EQ(sound.Count("beep2"), 0);
    EXPECT_TRUE(console.Shows(22, 4, std::string(74, ' ')));
    EXPECT_TRUE(std::filesystem::is_empty("."));
    EXPECT_TRUE(printer.ops.empty());
    EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(PrintLayoutTest, JobsAreNamedByDateAndSession) {
    G.GameYear = 5, G.GameMonth = 3, G.GameDay = 7, G.SessionNumber = 4;
    EXPECT_EQ(JobTag("dupe"), "050307L-dupe");
    G.GameYear = 15, G.SessionNumber = 1;
    EXPECT_EQ(JobTag("handrecords"), "150307M-handrecords");
}

// ---- Handouts ----------------------------------------------------------

TEST(PrintWarningTest, AFailedJobsReasonIsCutAtAWordToFitRowTwentyTwo) {
    const std::string kept = "Not printed, kept PRINTS/150307A-dupe-2.pdf: ";
    const struct {
        std::string text, shown;
    } cases[] = {
        {"short", "short"},
        {std::string(72, 'x'), std::string(72, 'x')},
        {kept + "Destination \"kelmotest\" is not accepting jobs.",
         kept + "Destination \"kelmotest\"..."},
        {std::string(80, 'x'), std::string(69, 'x') + "..."},
    };
    for (const auto& c : cases) EXPECT_EQ(FitWarning(c.text), c.shown);
}

TEST_F(PrintLayoutTest, ThirtySixBoardSideOneHoldsBoardsOneToSixteenWithHeaderAndCredits) {
    MakePrintGame(36);
    Handouts(true, true);
    ASSERT_EQ(printer.jobs.size(), 2u);
    for (int side = 0; side < 2; side++) {
        EXPECT_EQ(printer.jobs[side].tag, "150307A-handouts-side" + std::to_string(side + 1));
        EXPECT_EQ(printer.jobs[side].pages, 1);
    }
    EXPECT_EQ(BoardNumbers(printer, 0, "Times New Roman", 12, 1), Range(1, 16));
    EXPECT_EQ(BoardNumbers(printer, 1, "Times New Roman", 12, 1), Range(17, 36));

    // Header only on side 1: the emblem at the header origin, the club name centred.
    EXPECT_TRUE(At(printer.FindText("z", 0), 0.02, 0.5, "Bridge", 60));
    EXPECT_TRUE(Centred(printer.FindText(G.ClubName, 0), 4, 0.52));
    EXPECT_EQ(printer.FindText("z", 1), nullptr);
    EXPECT_EQ(printer.FindText(G.ClubName, 1), nullptr);

    // The credits under board 16's row, centred on 3.95 without its blanks.
    std::string credits = CreditsText(36);
    EXPECT_EQ(credits.rfind("Pages by Arno Velik           Analyses by Sig Tarrow           ", 0), 0u);
    EXPECT_TRUE(Centred(printer.FindText(credits, 0), 3.95, 9.78, "Arial", 8));
    EXPECT_EQ(printer.FindText(credits, 1), nullptr);

    EXPECT_TRUE(At(printer.FindText("17", 1), 0.25, 0.4 + 0.06 - 0.038));   // first cell of side 2
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
    EXPECT_TRUE(At(printer.FindText(credits, 1), Any, 9.88));
    EXPECT_TRUE(At(printer.FindText("13", 1), 0.3, 0.6 + 0.0726 - 0.05));
    EXPECT_TRUE(At(printer.FindText("z", 0), Any, 0.1));
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
    auto dividers = Pick(printer.Lines(1), [](const PrintOp& op) { return op.pen == 4 && op.x == op.x2; });
    for (const auto& op : dividers) {
        EXPECT_NEAR(op.y, 0.4, Eps);
        EXPECT_NEAR(op.y2, 10.4, Eps);
    }
    ASSERT_EQ(dividers.size(), 3u);
    EXPECT_NEAR(dividers[0].x, 1.96, Eps);
    EXPECT_NEAR(dividers[2].x, 5.96, Eps);
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
    auto row = [&](double y) {
        return Pick(printer.Texts(0),
                    [&](const PrintOp& op) { return IsFont(op, "Bridge", 7) && op.x < 0.71 && Near(op.y, y); });
    };
    auto northRow = row(north), southRow = row(south);
    ASSERT_EQ(Strings(northRow), (std::vector<std::string>{"N", "7", "`", "`", "`", "`"}));
    EXPECT_NEAR(northRow[0].x, 0, Eps);
    EXPECT_NEAR(northRow[1].x, 0.14, Eps);
    for (int k = 2; k <= 5; k++) EXPECT_NEAR(northRow[k].x, 0.14 + (k - 1) * 0.11 + 0.014, Eps) << k;
    ASSERT_EQ(southRow.size(), 6u);
    EXPECT_EQ(southRow[0].text, "S");
    EXPECT_EQ(southRow[5].text, "1");
    EXPECT_NEAR(southRow[5].x, 0.14 + 4 * 0.11, Eps);

    // The header row: clubs, diamonds, hearts, spades, notrump.
    auto header = Pick(printer.Texts(0), [&](const PrintOp& op) {
        return IsFont(op, "Bridge", 8) && Near(op.y, ty + 0.023) && op.x < 0.71;
    });
    EXPECT_EQ(Joined(header), "dcban");
    const PrintOp* par = printer.FindText("Par:  ", 0);
    ASSERT_TRUE(At(par, 0.05, ty + 0.58));
    EXPECT_TRUE(At(printer.FindText(G.ParText[1], 0), Right(*par), par->y));
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
    // West's spade symbol, then the void mark one symbol gap on.
    double westX = fit.westOffset, westY = 1.7 + 0.69;
    EXPECT_FALSE(Pick(printer.Texts(0), [&](const PrintOp& op) {
                     return op.text == "a" && Near(op.x, westX) && Near(op.y, westY);
                 }).empty());
    EXPECT_TRUE(At(printer.FindText("___", 0), westX + fit.symbolGap, westY, "Bridge", 9));

    // East's spades: seven cards, each the previous x plus its width plus
    // the card gap, the first one symbol gap after the symbol.
    auto eastSpades = Pick(printer.Texts(0), [&](const PrintOp& op) {
        return Near(op.y, westY) && op.x > 1 && op.x < 2 && IsFont(op, "Bridge", 9);
    });
    ASSERT_EQ(eastSpades.size(), 8u);
    EXPECT_EQ(eastSpades[0].text, "a");
    EXPECT_EQ(Joined(eastSpades, 1), "QJT9876");
    double cardWidth = RecordingPrinter::Width("Q", eastSpades[1].font);
    EXPECT_NEAR(eastSpades[1].x - eastSpades[0].x, fit.symbolGap, Eps);
    EXPECT_NEAR(eastSpades[2].x - eastSpades[1].x, cardWidth + fit.cardGap, Eps);
    // East stands its margin short of the cell's right edge.
    double widest = RecordingPrinter::Width("QJT9876a", eastSpades[0].font);
    EXPECT_NEAR(eastSpades[0].x, 2 - (6 * fit.cardGap + widest + fit.symbolGap + fit.eastMargin), Eps);
}

TEST_F(PrintLayoutTest, FitHandsPicksTheRowOfTheTableByEastAndWestLengths) {
    const double _ = Any;
    struct Case {
        int boards, east, west, ns;
        double cardGap, symbolGap, westOffset, eastMargin;
        const char* why;
    } cases[] = {
        {36, 4, 4, 4, 0.025, 0.14, 0.06, 0.091, "EW 8: the last row, the wide East margin"},
        {36, 7, 7, 4, _, 0.14, _, 0.011, "EW 14: still the last row, the narrow margin"},
        {36, 6, 4, 4, _, _, _, 0.011, "a six-card East suit narrows the margin too"},
        {36, 11, 11, 4, 0.004, 0.09, 0.005, _, "EW 22"},
        {36, 12, 12, 1, 0.002, 0.07, _, _, "EW 24"},
        {36, 8, 8, 4, 0.025, 0.12, _, _, "EW 16"},
        {36, 4, 4, 12, 0.015, _, _, _, "12 North-South cards cap the gap"},
        {36, 0, 0, 13, 0.01, _, _, _, "13 North-South cards cap it more"},
        {36, 11, 11, 12, 0.004, _, _, _, "a smaller gap stays under the cap"},
        {36, 13, 12, 0, 0.002, _, _, _, "beyond the table the tightest row"},
        {24, 4, 4, 4, 0.02, 0.15, 0.22, 0.127, "West's longest suit below 9"},
        {24, 8, 9, 4, _, _, 0.12, _, "West 9"},
        {24, 7, 4, 4, _, _, _, 0.027, "East 7"},
        {24, 6, 13, 4, _, _, _, 0.027, "EW 19"},
        {24, 11, 11, 13, 0.02, _, 0.05, _, "no North-South cap on the 24-board sheet"},
        {24, 12, 12, 0, 0.015, 0.1, _, _, "EW 24"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.boards << " boards, " << c.east << "/" << c.west << "/" << c.ns
                                          << ": " << c.why);
        HandFit f = FitHands(c.boards, c.east, c.west, c.ns);
        auto expect = [](double got, double want, const char* name) {
            if (std::isnan(want)) return;
            EXPECT_EQ(got, want) << name;
        };
        expect(f.cardGap, c.cardGap, "card gap");
        expect(f.symbolGap, c.symbolGap, "symbol gap");
        expect(f.westOffset, c.westOffset, "West offset");
        expect(f.eastMargin, c.eastMargin, "East margin");
    }
}

TEST_F(PrintLayoutTest, HeaderDateLinesStartTogetherAndTheLongerEndsShortOfTheEdge) {
    MakePrintGame(36);
    G.GameMonth = 1;
    G.GameDay = 5;
    G.WeekdayText = "Wednesday";
    Handouts(true, false);
    const PrintOp* line1 = printer.FindText("Wednesday", 0);
    const PrintOp* line2 = printer.FindText("January 5", 0);
    ASSERT_TRUE(At(line1, Any, 0.7));
    ASSERT_TRUE(At(line2, line1->x, 0.87));
    EXPECT_EQ(line1->x, line2->x);
    EXPECT_NEAR(std::max(Right(*line1), Right(*line2)), 8 - 0.05, Eps);
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

// A private game's slips once carried its deal key: any one slip typed at a
// recall dealt the whole session before play. They carry the session and a
// check of the key instead; the director's sheet and the handouts (after
// play) keep the key.
TEST_F(HandRecordLayoutTest, APrivateGamesSlipsCarryACheckNotTheKey) {
    MakePrintGame(24);
    G.PrivateGame = 1;
    for (int i = 0; i < 16; i++) G.DealSecretBytes[i] = (uint8_t)(37 * i + 5);
    DealKeyParts parts;
    std::copy(std::begin(G.DealSecretBytes), std::end(G.DealSecretBytes), parts.secret.begin());
    parts.year = 15, parts.month = 3, parts.day = 7, parts.session = 2, parts.boards = 24;
    G.ControlString = MakeDealKey(parts);
    const std::string check = DealKeyCheck(G.DealSecretBytes);
    ASSERT_EQ(check.size(), 9u);
    Print();
    console.Type("Y");
    ASSERT_FALSE(Run([] { PrintDupeSheet(); }));
    Handouts(false, true);   // the credits of 24 boards are on side 2
    int checks = 0;
    for (const PrintOp& op : printer.Texts(0)) {
        for (size_t at = 0; at + 4 <= G.ControlString.size(); at += 5)
            EXPECT_EQ(op.text.find(G.ControlString.substr(at, 4)), std::string::npos) << op.text;
        checks += op.text == "Check " + check;
    }
    EXPECT_EQ(checks, 24);
    EXPECT_EQ(printer.Count("Private deal", 0), 24);
    EXPECT_EQ(printer.Count("Afternoon", 0), 24);
    EXPECT_EQ(printer.Count("Deal key " + G.ControlString, 1), 1);
    bool handoutsKeep = false;
    for (const PrintOp& op : printer.Texts(2)) handoutsKeep |= op.text.find(G.ControlString) != std::string::npos;
    EXPECT_TRUE(handoutsKeep);
}

TEST_F(HandRecordLayoutTest, ThirtySixBoardsMakeEighteenPagesTwoBoardsEach) {
    MakePrintGame(36);
    Print();
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].tag, "150307A-handrecords");
    EXPECT_EQ(printer.jobs[0].pages, 18);
    for (int page = 1; page <= 18; page++) {
        SCOPED_TRACE(page);
        auto texts = printer.Texts(0, page);
        auto numbers = Pick(texts, [](const PrintOp& op) { return IsFont(op, "Arial", 36); });
        ASSERT_EQ(numbers.size(), 2u);
        EXPECT_EQ(numbers[0].text, std::to_string(2 * page - 1));
        EXPECT_NEAR(numbers[0].y, 0.2, Eps);
        EXPECT_EQ(numbers[1].text, std::to_string(2 * page));
        EXPECT_NEAR(numbers[1].y, 5.45, Eps);
        // Cut marks on the upper half only, just below the upper South box.
        auto cuts = Pick(texts, [](const PrintOp& op) { return op.text == "-" && IsFont(op, "Bridge", 8); });
        ASSERT_EQ(cuts.size(), 2u);
        EXPECT_TRUE(At(&cuts[0], 0.05, 5.16));
        EXPECT_TRUE(At(&cuts[1], 7.85, 5.16));
        EXPECT_EQ(printer.Boxes(0, page).size(), 8u);   // four boxes a half
    }
    EXPECT_EQ(clock.pauses.back(), 6000);
}

TEST_F(HandRecordLayoutTest, TwentyFourAndAnOddTwentyFiveBoardsMakeTwelveAndThirteenPages) {
    struct Case {
        int boards, pages;
    } cases[] = {{24, 12}, {25, 13}};   // an odd count keeps its last board
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boards);
        printer = RecordingPrinter();
        MakePrintGame(c.boards);
        Print();
        ASSERT_EQ(printer.jobs.size(), 1u);
        EXPECT_EQ(printer.jobs[0].pages, c.pages);
        EXPECT_NE(printer.FindText(std::to_string(c.boards), 0, c.pages), nullptr);
        EXPECT_TRUE(console.Shows(16, 17,
                                  "Load paper for " + std::to_string(c.pages) + " pages.  Any key when ready...",
                                  BRIGHTWHITE));
    }
}

TEST_F(HandRecordLayoutTest, HandBoxesShowVoidTensAndThirteenCardSuits) {
    MakePrintGame(2);
    SetHands(1, "AKQJT98765432...", ".AKQJT98765432..", "..AKQJT98765432.", "...AKQJT98765432");
    SetHands(2, "T.AKQJ.AKQJ.AKQJ", "AKQJ9.T98.T98.T9", "8765.7654.765.87", "432.32.432.65432");
    Print();
    auto texts = printer.Texts(0, 1);
    // Board 1, North box at (2.45, 0.2): spades are thirteen cards 0.07
    // apart; hearts are the void mark right after the symbol.
    auto spades = Pick(texts, [](const PrintOp& op) {
        return IsFont(op, "Bridge", 16) && Near(op.y, 0.2 + 0.34) && op.x < 5.5;
    });
    ASSERT_EQ(spades.size(), 14u);
    EXPECT_EQ(spades[0].text, "a");
    EXPECT_NEAR(spades[0].x, 2.45 + 0.15, Eps);
    EXPECT_NEAR(spades[1].x, 2.45 + 0.44, Eps);
    for (size_t i = 2; i < spades.size(); i++)
        EXPECT_NEAR(spades[i].x - spades[i - 1].x, RecordingPrinter::Width(spades[i - 1].text, spades[i - 1].font) + 0.07,
                    Eps)
            << i;
    EXPECT_EQ(Joined(spades, 1), "AKQJT98765432");
    auto drawnAt = [&](const std::string& text, double x, double y) {
        return Pick(texts, [&](const PrintOp& op) { return op.text == text && Near(op.x, x) && Near(op.y, y); });
    };
    auto voidMark = drawnAt("____", 2.45 + 0.44, 0.2 + 0.34 + 0.28);
    ASSERT_FALSE(voidMark.empty());
    EXPECT_TRUE(IsFont(voidMark.back(), "Bridge", 16));
    // Board 2 (lower half): North's single spade is the ten, as "T".
    EXPECT_FALSE(drawnAt("T", 2.45 + 0.44, 5.25 + 0.2 + 0.34).empty());
    EXPECT_EQ(printer.Count("10"), 0);
    // The box outline and the rule under the seat name.
    auto boxes = printer.Boxes(0, 1);
    ASSERT_EQ(boxes.size(), 8u);
    EXPECT_TRUE(At(&boxes[0], 2.45, 0.2));
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
    auto cross = Pick(printer.Lines(0, 1), [](const PrintOp& op) { return op.pen == 5; });
    ASSERT_EQ(cross.size(), 4u);
    EXPECT_TRUE(At(&cross[0], 4, 2.1));
    EXPECT_NEAR(cross[0].y2, 3.1, Eps);
    EXPECT_NEAR(cross[3].y, 5.25 + 2.58, Eps);
    EXPECT_TRUE(Centred(printer.FindText("^", 0, 1), 4, 1.9));
    EXPECT_TRUE(Centred(printer.FindText(G.DateText, 0, 1), 6.7, Any));
    EXPECT_TRUE(At(printer.FindText(G.ControlString, 0, 1), 6.8, 4.8));
    // The smaller "#" sits 0.065 lower than the board number.
    EXPECT_TRUE(At(printer.FindText("# ", 0, 1), Any, 0.265, "Arial", 28));
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
    ExpectNear(RowLines(), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    for (const auto& op : printer.Lines()) EXPECT_EQ(op.pen, 2);
    // Board numbers 1..9 sit 0.05 further right than 10..36.
    EXPECT_TRUE(At(printer.FindText("9"), 0.93, 3.028));
    EXPECT_TRUE(At(printer.FindText("10"), 2.88, Any));
    // The control number centred below the grid.
    EXPECT_TRUE(Centred(printer.FindText(G.ControlString), 3.95, 10.08, "Arial", 9));
    EXPECT_EQ(clock.pauses.back(), 5000);
}

TEST_F(DupeLayoutTest, TwentyFourBoardsAreSixRowsAUnitAndAHalfHigh) {
    MakePrintGame(24);
    Print();
    ExpectNear(RowLines(), {1, 2.5, 4, 5.5, 7, 8.5, 10});
    EXPECT_TRUE(At(printer.FindText(G.ControlString), Any, 10.08));
    // First digit line of board 5 (row 1): 1 + 1.5 + 0.45; the next 0.25 lower.
    auto firstDigits = Pick(printer.Texts(), [](const PrintOp& op) {
        return IsFont(op, "Arial", 12) && Near(op.x, 0.3) && op.y > 2.5 && op.y < 4;
    });
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
    // the suit symbol 0.013 lower at 0.12; the next line one spacing lower.
    double y = 1 + 0.245;
    auto texts = printer.Texts();
    auto digits = Pick(texts, [&](const PrintOp& op) { return IsFont(op, "Arial", 12) && Near(op.y, y) && op.x < 2; });
    for (size_t i = 1; i < digits.size(); i++) EXPECT_NEAR(digits[i].x - digits[i - 1].x, 0.12, Eps) << i;
    EXPECT_EQ(Joined(digits), G.DupeText[1][0]);
    auto spade = Pick(texts, [&](const PrintOp& op) {
        return op.text == "a" && Near(op.x, 0.12) && Near(op.y, y + 0.013);
    });
    ASSERT_FALSE(spade.empty());
    EXPECT_TRUE(IsFont(spade.back(), "Bridge", 10));
    EXPECT_FALSE(Pick(texts, [&](const PrintOp& op) {
                     return IsFont(op, "Arial", 12) && Near(op.x, 0.3) && Near(op.y, y + 1.0 / 6 + 0.012);
                 }).empty());
}

TEST_F(DupeLayoutTest, HeadingHasTheEventInCapitalsTheDateRightAlignedAndTwoInstructions) {
    MakePrintGame(36);
    G.EventName = "tuesday pairs";
    Print();
    EXPECT_TRUE(At(printer.FindText("TUESDAY PAIRS"), Any, Any, "Courier New", 12, 1));
    EXPECT_TRUE(Placed(printer.FindText(G.DateText), 1, 8, Any, "", 0, 0));
    const PrintOp* first = printer.FindText(std::string(18, ' ') + "Pre-sort the suits:  Ace -> Deuce");
    const PrintOp* second =
        printer.FindText(std::string(18, ' ') + "Deal the cards:  1=North  2=East  3=South  4=West");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(At(second, 0, first->y + RecordingPrinter::Height(first->font), "Courier New", 12));
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
