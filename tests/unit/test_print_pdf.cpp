// The real page device: PDFs written by cairo, checked with poppler's
// pdftotext -bbox, pdffonts and pdfinfo.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "model/model.h"
#include "platform/pdf_printer.h"
#include "printing/print.h"
#include "shell/kit.h"
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

bool HavePoppler() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

struct Word {
    int page;
    double xMin, yMin, xMax, yMax;   // points from the page's top-left
    std::string text;
};

std::vector<Word> Words(const std::string& pdf) {
    std::string html = Capture("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    std::vector<Word> words;
    int page = 0;
    std::regex word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    size_t pos = 0;
    while (true) {
        size_t nextPage = html.find("<page ", pos);
        size_t nextWord = html.find("<word ", pos);
        if (nextWord == std::string::npos) break;
        if (nextPage != std::string::npos && nextPage < nextWord) {
            page++;
            pos = nextPage + 1;
            continue;
        }
        size_t end = html.find("</word>", nextWord);
        std::smatch m;
        std::string piece = html.substr(nextWord, end + 7 - nextWord);
        if (std::regex_match(piece, m, word))
            words.push_back({page, std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
        pos = end;
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

class PrintPdfTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        setenv("KELMO_NO_CUPS", "1", 1);
        // The font of this build, whether or not it is installed for the user.
        FcConfigAppFontAddFile(FcConfigGetCurrent(),
                               (const FcChar8*)KELMO_BUILD_DIR "/resources/fonts/bridge.ttf");
        device.reset(MakePdfPrinter());
        P.printer = device.get();
    }
    void TearDown() override {
        // KELMO_KEEP_PRINTS=folder keeps the PDFs for a look.
        if (const char* keep = std::getenv("KELMO_KEEP_PRINTS"); keep && std::filesystem::exists("PRINTS"))
            std::filesystem::copy("PRINTS", keep,
                                  std::filesystem::copy_options::recursive |
                                      std::filesystem::copy_options::overwrite_existing);
        P.printer = nullptr;
        device.reset();
        KelmoTest::TearDown();
    }
    std::unique_ptr<PageDevice> device;
};

TEST_F(PrintPdfTest, DupeSheetPutsControlNumberEventAndBoardNumbersWhereTheLayoutSays) {
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils missing";
    MakePrintGame(36);
    Run([] { PrintDupeSheet(); });
    std::string pdf = "PRINTS/150307A-dupe.pdf";
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(PageCount(pdf), 1);
    auto words = Words(pdf);

    // The control number shows as "#ddddd ddddd": two words centred on 3.95.
    auto firstHalf = G.ControlString.substr(0, G.ControlString.find(' '));
    auto lastHalf = G.ControlString.substr(G.ControlString.find(' ') + 1);
    auto a = Find(words, firstHalf), b = Find(words, lastHalf);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_NEAR((a[0].xMin + b[0].xMax) / 2, Pt(3.95), 0.5);
    EXPECT_NEAR(a[0].yMin, Pt(10.08), 0.6);

    auto event = Find(words, "TUESDAY");
    ASSERT_EQ(event.size(), 1u);
    EXPECT_NEAR(event[0].xMin, Pt(0), HalfPixel + 0.3);
    EXPECT_NEAR(event[0].yMin, Pt(0.25), 0.6);

    // Board 1 at column left + 0.93, board 10 at + 0.88, both 0.028 below
    // their row's top.
    auto one = Find(words, "1");
    ASSERT_FALSE(one.empty());
    bool found = false;
    for (const auto& w : one)
        if (std::fabs(w.xMin - Pt(0.93)) < 0.6 && std::fabs(w.yMin - Pt(1.028)) < 0.6) found = true;
    EXPECT_TRUE(found) << "board 1";
    auto ten = Find(words, "10");
    ASSERT_EQ(ten.size(), 1u);
    EXPECT_NEAR(ten[0].xMin, Pt(2 + 0.88), 0.6);
    EXPECT_NEAR(ten[0].yMin, Pt(1 + 2 + 0.028), 0.6);
}

}  // namespace
