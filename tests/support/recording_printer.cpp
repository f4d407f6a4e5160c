#include "shell/mainloop.h"
#include "support/recording_printer.h"

void RecordingPrinter::OpenJob(const std::string& tag) {
    if (Open()) CloseJob(true);
    jobs.push_back(PrintJob{tag});
    pageOpen_ = false;
    haveFont_ = false;
    red_ = green_ = blue_ = 0;
    pen_ = 1;
    x_ = y_ = 0;
}

void RecordingPrinter::SetScale(float x1, float y1, float x2, float y2) { scale = {x1, y1, x2, y2}; }

void RecordingPrinter::SetFont(const FontDesc& font) {
    if (!Open()) return;
    font_ = font;
    haveFont_ = true;
}

void RecordingPrinter::SetColor(int red, int green, int blue) {
    red_ = red, green_ = green, blue_ = blue;
}

void RecordingPrinter::MoveTo(double x, double y) {
    x_ = x;
    y_ = y;
}

PrintOp RecordingPrinter::Make(PrintOp::Kind kind) {
    PrintOp op;
    op.kind = kind;
    op.job = (int)jobs.size() - 1;
    op.page = jobs.back().pages + 1;
    op.font = font_;
    op.red = red_, op.green = green_, op.blue = blue_;
    op.pen = pen_;
    op.x = x_, op.y = y_;
    return op;
}

void RecordingPrinter::Record(const PrintOp& op) {
    if (op.kind != PrintOp::NewLine) pageOpen_ = true;
    ops.push_back(op);
}

void RecordingPrinter::DrawText(const std::string& text) {
    if (!Open() || text.empty() || !haveFont_) return;
    PrintOp op = Make(PrintOp::Text);
    op.text = text;
    Record(op);
    x_ += Width(text, font_);
}

void RecordingPrinter::NewLine() {
    if (!Open()) return;
    Record(Make(PrintOp::NewLine));
    x_ = 0;
    if (haveFont_) y_ += Height(font_);
}

double RecordingPrinter::Width(const std::string& text, const FontDesc& font) {
    double ems = 0;
    for (char ch : text) ems += ch == ' ' ? 0.25 : 0.5;
    return ems * font.points / 72.0;
}

void RecordingPrinter::TextSize(const std::string& text, double& width, double& height) {
    width = height = 0;
    if (!haveFont_) return;
    width = Width(text, font_);
    height = Height(font_);
}

void RecordingPrinter::LineTo(double x, double y) {
    if (Open()) {
        PrintOp op = Make(PrintOp::Line);
        op.x2 = x, op.y2 = y;
        Record(op);
    }
    x_ = x;
    y_ = y;
}

void RecordingPrinter::RoundBox(double x1, double y1, double x2, double y2, int rounding) {
    if (!Open()) return;
    PrintOp op = Make(PrintOp::Box);
    op.x = x1, op.y = y1, op.x2 = x2, op.y2 = y2;
    op.rounding = rounding;
    Record(op);
}

void RecordingPrinter::EndPage() {
    if (!Open()) return;
    if (pageOpen_) jobs.back().pages++;
    pageOpen_ = false;
    x_ = y_ = 0;
}

JobResult RecordingPrinter::CloseJob(bool complete) {
    if (!Open()) return {};
    if (pageOpen_) jobs.back().pages++;
    pageOpen_ = false;
    jobs.back().closed = true;
    jobs.back().complete = complete;
    return result;
}

static bool Matches(const PrintOp& op, PrintOp::Kind kind, int job, int page) {
    return op.kind == kind && (job < 0 || op.job == job) && (page < 0 || op.page == page);
}

std::vector<PrintOp> RecordingPrinter::Texts(int job, int page) const {
    std::vector<PrintOp> out;
    for (const auto& op : ops)
        if (Matches(op, PrintOp::Text, job, page)) out.push_back(op);
    return out;
}

std::vector<PrintOp> RecordingPrinter::Lines(int job, int page) const {
    std::vector<PrintOp> out;
    for (const auto& op : ops)
        if (Matches(op, PrintOp::Line, job, page)) out.push_back(op);
    return out;
}

std::vector<PrintOp> RecordingPrinter::Boxes(int job, int page) const {
    std::vector<PrintOp> out;
    for (const auto& op : ops)
        if (Matches(op, PrintOp::Box, job, page)) out.push_back(op);
    return out;
}

const PrintOp* RecordingPrinter::FindText(const std::string& text, int job, int page) const {
    for (const auto& op : ops)
        if (Matches(op, PrintOp::Text, job, page) && op.text == text) return &op;
    return nullptr;
}

int RecordingPrinter::Count(const std::string& text, int job, int page) const {
    int n = 0;
    for (const auto& op : ops)
        if (Matches(op, PrintOp::Text, job, page) && op.text == text) n++;
    return n;
}

#ifndef _WIN32
#include <fontconfig/fontconfig.h>
#endif

#include <cstdlib>
#include <filesystem>

#include "dealing/control.h"
#include "dealing/dates.h"
#include "dealing/deal.h"
#include "game/dealscreens.h"
#include "model/model.h"
#include "printing/print.h"

int PrintGameTricks(int board, int seat, int strain) { return (board * 7 + seat * 5 + strain * 3) % 14; }

void MakePrintGame(int boards) {
    initialize();
    G.ClubName = "Keelward Bridge Club";
    G.EventName = "Tuesday Evening Pairs";
    G.LogoText[1] = "Bridge";
    G.LogoText[2] = "For";
    G.LogoText[3] = "Keelward";
    G.ClubNameFont = "times new roman";
    G.EventNameFont = "comic sans ms";
    G.GameMonth = 3;
    G.GameDay = 7;
    G.GameYear = 15;
    datecontrol(G.GameMonth, G.GameDay, G.GameYear);
    G.SessionNumber = 2;
    G.TotalBoards = boards;
    G.GameNumber = 4321;
    BuildControlString();
    ApplyDealingKey();
    DealBoards(1, boards, 0);
    for (int b = 1; b <= boards; b++) {
        for (int seat = 1; seat <= 4; seat++)
            for (int strain = 1; strain <= 5; strain++) G.DDTricks[b][seat][strain] = PrintGameTricks(b, seat, strain);
        G.ParText[b] = "3NT-N +" + std::to_string(400 + b);
    }
    CreatePrintFonts();
}

#ifndef _WIN32
namespace {

// Fontconfig keeps its configuration and the fonts added to it, and cairo
// its font caches, until told to let go: told so once every test has run,
// so the leak check sees only memory the program itself has lost.
class FontLibrariesLetGo : public ::testing::Environment {
    void TearDown() override { ReleaseSystemLibraries(); }
};
const ::testing::Environment* const letGo = ::testing::AddGlobalTestEnvironment(new FontLibrariesLetGo);

}  // namespace

void PdfDeviceTest::SetUp() {
    KelmoTest::SetUp();
    // Once a process: fontconfig keeps every font added, each time anew.
    static const bool added = FcConfigAppFontAddFile(FcConfigGetCurrent(),
                                                     (const FcChar8*)KELMO_BUILD_DIR "/resources/fonts/bridge.ttf");
    (void)added;
    device.reset(MakeSystemPrinter());
    P.printer = device.get();
}

void PdfDeviceTest::TearDown() {
    if (const char* keep = std::getenv("KELMO_KEEP_PRINTS"); keep && std::filesystem::is_directory("PRINTS"))
        std::filesystem::copy("PRINTS", keep,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    P.printer = nullptr;
    device.reset();
    KelmoTest::TearDown();
}
#endif
