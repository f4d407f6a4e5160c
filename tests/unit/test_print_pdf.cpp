// The real page device: PDFs written by cairo, checked with poppler's
// pdftotext -bbox, pdffonts and pdfinfo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "console/kit.h"
#include "model/model.h"
#include "platform/posix/pdf_printer.h"
#include "printing/print.h"
#include "support/doubles.h"
#include "support/recording_printer.h"

namespace {

std::string Capture(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    return out;
}

struct Word {
    int page;
    double xMin, yMin, xMax, yMax;   // points from the page's top-left
    std::string text;
};

std::vector<Word> Words(const std::string& pdf) {
    std::string html = Capture("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    std::vector<Word> words;
    int page = 0;
    std::regex tag(R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (std::sregex_iterator m(html.begin(), html.end(), tag), end; m != end; ++m) {
        if (!(*m)[1].matched) page++;
        else words.push_back({page, std::stod((*m)[1]), std::stod((*m)[2]), std::stod((*m)[3]), std::stod((*m)[4]), (*m)[5]});
    }
    return words;
}

std::vector<Word> Find(const std::vector<Word>& words, const std::string& text, int page = 0) {
    std::vector<Word> out;
    for (const auto& w : words)
        if (w.text == text && (page == 0 || w.page == page)) out.push_back(w);
    return out;
}

int PageCount(const std::string& pdf) {
    std::string info = Capture("pdfinfo '" + pdf + "' 2>/dev/null");
    std::smatch m;
    if (std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))"))) return std::stoi(m[1]);
    return -1;
}

// Page units to PDF points: a quarter-inch margin, 72 points to the inch.
double Pt(double units) { return (units + 0.25) * 72; }
// Half a 600-dpi device pixel, in points.
constexpr double HalfPixel = 0.5 * 72 / 600;

// The one word `text` (on `page` unless 0) has its top-left at (x, y) points.
void ExpectOnlyWordAt(const std::vector<Word>& words, const std::string& text, int page, double x, double y,
                      double xTolerance = 0.6, double yTolerance = 0.6) {
    auto found = Find(words, text, page);
    ASSERT_EQ(found.size(), 1u) << text;
    EXPECT_NEAR(found[0].xMin, x, xTolerance) << text;
    EXPECT_NEAR(found[0].yMin, y, yTolerance) << text;
}

void ExpectFontsEmbedded(const std::string& pdf, std::initializer_list<const char*> names) {
    std::string fonts = Capture("pdffonts '" + pdf + "'");
    for (const char* name : names) EXPECT_NE(fonts.find(name), std::string::npos) << name << "\n" << fonts;
    EXPECT_EQ(fonts.find(" no "), std::string::npos) << "every font embedded\n" << fonts;
}

class PrintPdfTest : public PdfDeviceTest {
protected:
    void SetUp() override {
        PdfDeviceTest::SetUp();
        if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "poppler-utils missing";
        setenv("KELMO_NO_CUPS", "1", 1);
    }
    // The PDF exists with that many pages; its words.
    std::vector<Word> Written(const std::string& pdf, int pages) {
        EXPECT_TRUE(std::filesystem::exists(pdf)) << pdf;
        EXPECT_EQ(PageCount(pdf), pages) << pdf;
        return Words(pdf);
    }
};

TEST_F(PrintPdfTest, DupeSheetPutsControlNumberEventAndBoardNumbersWhereTheLayoutSays) {
    MakePrintGame(36);
    Run([] { PrintDupeSheet(); });
    auto words = Written("PRINTS/150307A-dupe.pdf", 1);

    // The control number shows as "#ddddd ddddd": two words centred on 3.95.
    auto a = Find(words, G.ControlString.substr(0, G.ControlString.find(' ')));
    auto b = Find(words, G.ControlString.substr(G.ControlString.find(' ') + 1));
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_NEAR((a[0].xMin + b[0].xMax) / 2, Pt(3.95), 0.5);
    EXPECT_NEAR(a[0].yMin, Pt(10.08), 0.6);
    ExpectOnlyWordAt(words, "TUESDAY", 0, Pt(0), Pt(0.25), HalfPixel + 0.3);

    // Board 1 at column left + 0.93, board 10 at + 0.88, both 0.028 below
    // their row's top.
    auto one = Find(words, "1");
    ASSERT_FALSE(one.empty());
    bool found = false;
    for (const auto& w : one)
        if (std::fabs(w.xMin - Pt(0.93)) < 0.6 && std::fabs(w.yMin - Pt(1.028)) < 0.6) found = true;
    EXPECT_TRUE(found) << "board 1";
    ExpectOnlyWordAt(words, "10", 0, Pt(2 + 0.88), Pt(1 + 2 + 0.028));
}

TEST_F(PrintPdfTest, HandRecordsOfThirtySixBoardsAreEighteenPagesWithBoardNumbersInPlace) {
    MakePrintGame(36);
    console.Type(" ");
    Run([] { PrintHandRecords(); });
    std::string pdf = "PRINTS/150307A-handrecords.pdf";
    auto words = Written(pdf, 18);
    // Page 18 holds boards 35 and 36, at (0.7, 0.2) and (0.7, 5.45).
    ExpectOnlyWordAt(words, "35", 18, Pt(0.7), Pt(0.2));
    ExpectOnlyWordAt(words, "36", 18, Pt(0.7), Pt(5.45));
    // The control number on both halves, left-aligned at 6.8.
    auto marks = Find(words, G.ControlString.substr(0, G.ControlString.find(' ')), 1);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_NEAR(marks[0].xMin, Pt(6.8), 0.6);
    ExpectFontsEmbedded(pdf, {"Bridge-Regular", "LiberationSans", "LiberationSerif"});
}

TEST_F(PrintPdfTest, HandoutsWriteBothSidesWithTheEventNameAndBoardsOfEachSide) {
    MakePrintGame(36);
    G.EventName = "Pairs";
    console.Press(KeyEnter);   // one copy
    console.Press(KeyEnter);   // side 1
    console.Press(KeyEnter);   // side 2
    console.Type(" ");          // paper loaded
    Run([] { PrintHandouts(); });
    auto words1 = Written("PRINTS/150307A-handouts-side1.pdf", 1);
    auto words2 = Written("PRINTS/150307A-handouts-side2.pdf", 1);
    auto event = Find(words1, "Pairs");
    ASSERT_EQ(event.size(), 1u);
    EXPECT_NEAR((event[0].xMin + event[0].xMax) / 2, Pt(4), 1.0);
    EXPECT_NEAR(event[0].yMin, Pt(0.92), 0.6);
    // Board 16 ends side 1; board 17 opens side 2 at its first cell.
    EXPECT_FALSE(Find(words1, "16").empty());
    EXPECT_TRUE(Find(words1, "17").empty());
    auto seventeen = Find(words2, "17");
    ASSERT_FALSE(seventeen.empty());
    EXPECT_NEAR(seventeen[0].xMin, Pt(0.25), 0.6);
    EXPECT_NEAR(seventeen[0].yMin, Pt(0.4 + 0.06 - 0.038), 0.6);
}

// On A4 each sheet is the Letter sheet shrunk by one scale for both axes to
// fit within A4's quarter-inch margins and centred: every word where the
// Letter page puts it, mapped so, and inside the sheet.
TEST_F(PrintPdfTest, AFourSheetsKeepTheLetterProportionsInsideTheSheet) {
    MakePrintGame(36);
    const double a4Width = 210 / 25.4 * 72, a4Height = 297 / 25.4 * 72;
    const double scale = std::min((a4Width - 36) / 576, (a4Height - 36) / 756);
    const double offX = 18 + (a4Width - 36 - 576 * scale) / 2, offY = 18 + (a4Height - 36 - 756 * scale) / 2;
    std::vector<Word> sheets[2][2];   // [Letter, A4][hand-records, handouts]
    for (int paper = 0; paper < 2; paper++) {
        G.PaperSize = paper ? Paper::A4 : Paper::Letter;
        console.Type(" ");
        Run([] { PrintHandRecords(); });
        for (int i = 0; i < 3; i++) console.Press(KeyEnter);   // one copy, both sides
        console.Type(" ");
        Run([] { PrintHandouts(); });
        const std::string suffix = paper ? "-2.pdf" : ".pdf";
        sheets[paper][0] = Written("PRINTS/150307A-handrecords" + suffix, 18);
        sheets[paper][1] = Written("PRINTS/150307A-handouts-side1" + suffix, 1);
        EXPECT_NE(Capture("pdfinfo PRINTS/150307A-handouts-side1" + suffix).find(paper ? "595.276 x 841.89" : "612 x 792"),
                  std::string::npos);
    }
    for (int sheet = 0; sheet < 2; sheet++) {
        const auto &letter = sheets[0][sheet], &a4 = sheets[1][sheet];
        ASSERT_EQ(letter.size(), a4.size());
        ASSERT_FALSE(letter.empty());
        // pdftotext may read the words in another order: each Letter word
        // has its A4 word of the same text where the mapping puts it.
        for (const Word& word : letter) {
            const double x = offX + (word.xMin - 18) * scale, y = offY + (word.yMin - 18) * scale;
            const bool mapped = std::any_of(a4.begin(), a4.end(), [&](const Word& w) {
                return w.page == word.page && w.text == word.text && std::fabs(w.xMin - x) < 0.6 &&
                       std::fabs(w.yMin - y) < 0.6;
            });
            EXPECT_TRUE(mapped) << word.text << " on page " << word.page;
        }
        for (const Word& w : a4) {
            EXPECT_GE(w.xMin, 18) << w.text;
            EXPECT_LE(w.xMax, a4Width - 18) << w.text;
            EXPECT_GE(w.yMin, 18) << w.text;
            EXPECT_LE(w.yMax, a4Height - 18) << w.text;
        }
    }
}

TEST(PaperNames, CupsAndPlainNamesOfA4AndLetter) {
    const std::pair<const char*, Paper> cases[] = {
        {"iso_a4_210x297mm", Paper::A4}, {"A4", Paper::A4}, {"na_letter_8.5x11in", Paper::Letter},
        {"Letter", Paper::Letter}, {"na_legal_8.5x14in", Paper::Auto}, {"", Paper::Auto}};
    for (const auto& [name, paper] : cases) EXPECT_EQ(PaperOfName(name), paper) << name;
}

// Every job keeps its own file: later jobs of the same game and sheet get
// "-2", "-3"..., a job ended with Esc is marked partial, and no file is ever
// replaced.
TEST_F(PrintPdfTest, EachJobKeepsItsOwnPdfAndAJobCutShortIsMarkedPartial) {
    MakePrintGame(24);
    const struct {
        bool dupe;
        int escAtPage;   // hand-records: Esc seen before this page; 0 none
        const char* file;
        int pages;
    } jobs[] = {
        {false, 0, "PRINTS/150307A-handrecords.pdf", 12},
        {false, 2, "PRINTS/150307A-handrecords-partial.pdf", 1},
        {false, 0, "PRINTS/150307A-handrecords-2.pdf", 12},
        {false, 3, "PRINTS/150307A-handrecords-partial-2.pdf", 2},
        {true, 0, "PRINTS/150307A-dupe.pdf", 1},
        {true, 0, "PRINTS/150307A-dupe-2.pdf", 1},
    };
    for (const auto& job : jobs) {
        SCOPED_TRACE(job.file);
        if (job.dupe) {
            ASSERT_FALSE(Run([] { PrintDupeSheet(); }));
        } else {
            console.Type(" ");
            if (job.escAtPage) console.PressDuringWork(KeyEsc, job.escAtPage - 1);
            ASSERT_FALSE(Run([] { PrintHandRecords(); }));
        }
        EXPECT_EQ(PageCount(job.file), job.pages);
    }
    // The earlier files are untouched, and there is nothing else.
    for (const auto& job : jobs) EXPECT_EQ(PageCount(job.file), job.pages) << job.file;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("PRINTS"), std::filesystem::directory_iterator()),
              std::size(jobs));
}

// Drawing straight through the page facility, then reading the words back.
class PageFacilityPdfTest : public PrintPdfTest {
protected:
    std::vector<Word> Draw(const std::function<void()>& drawing) {
        CreatePrintFonts();
        OpenJob("facility");
        SetScale(0, 0, 8, 10.5);
        drawing();
        ::CloseJob();
        return Words("PRINTS/facility.pdf");
    }
};

TEST_F(PageFacilityPdfTest, TextAnchorsAtItsTopLeftAndContinuesAtItsTopRight) {
    double width = 0;
    auto words = Draw([&] {
        UseFont(ArialFace, 12);
        width = TextWidth("Edge");
        DrawTextAt(8 - width, 1, "Edge");
        DrawTextAt(1, 2, "Left");
        UseFont(TimesFace, 14, 1);
        DrawText("Next");   // same line, another font
        UseFont(ArialFace, 12);
        DrawTextAt(3, 3, "One");
        NewLine();
        DrawText("Two");
        UseFont(ArialFace, 36);
        DrawTextAt(3, 5, "Big");
        NewLine();
        DrawText("Below");
    });
    auto edge = Find(words, "Edge");
    ASSERT_EQ(edge.size(), 1u);
    EXPECT_NEAR(edge[0].xMax, Pt(8), 2 * HalfPixel);
    EXPECT_NEAR(edge[0].yMin, Pt(1), 2 * HalfPixel);

    auto left = Find(words, "Left");
    ASSERT_EQ(left.size(), 1u);
    EXPECT_NEAR(left[0].xMin, Pt(1), 2 * HalfPixel);
    ExpectOnlyWordAt(words, "Next", 0, left[0].xMax, left[0].yMin, 2 * HalfPixel, 2 * HalfPixel);   // tops level

    // A line down is the font's own line height: about 1.15 em for
    // Liberation Sans, three times as much at 36 points as at 12.
    auto one = Find(words, "One"), two = Find(words, "Two"), big = Find(words, "Big"),
         below = Find(words, "Below");
    ASSERT_EQ(two.size(), 1u);
    ASSERT_EQ(below.size(), 1u);
    EXPECT_NEAR(two[0].xMin, Pt(0), 2 * HalfPixel);
    double small = two[0].yMin - one[0].yMin, large = below[0].yMin - big[0].yMin;
    EXPECT_NEAR(small, 12 * 1.15, 0.3);
    EXPECT_NEAR(large, 3 * small, 0.3);
}

TEST_F(PageFacilityPdfTest, FacesResolveThroughFontconfigSubstitution) {
    Draw([] {
        UseFont(ArialFace, 12);
        DrawTextAt(0, 0, "Arial");
        UseFont(TimesFace, 12);
        DrawTextAt(0, 1, "Times");
        UseFont(CourierFace, 12, 1);
        DrawTextAt(0, 2, "Courier");
        SetFont(MakeFont("No Such Face Anywhere", 12, 0));
        DrawTextAt(0, 3, "Fallback");
        UseFont(SuitFace, 10);
        DrawTextAt(0, 4, "abcdnz^`AKQJT98765432NSEW1234567_-");
    });
    ExpectFontsEmbedded("PRINTS/facility.pdf",
                        {"LiberationSans", "LiberationSerif", "LiberationMono-Bold", "Bridge-Regular"});
}

TEST_F(PageFacilityPdfTest, EndPageThenCloseJobMakesNoEmptyPage) {
    Draw([] {
        UseFont(ArialFace, 12);
        DrawTextAt(0, 0, "page one");
        EndPage();
        DrawTextAt(0, 0, "page two");
        EndPage();
    });
    EXPECT_EQ(PageCount("PRINTS/facility.pdf"), 2);
}

}  // namespace
