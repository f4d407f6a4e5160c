// A page device that records every operation in page units, with the font,
// colour and pen in force, for tests of the printouts' layouts.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/doubles.h"

struct PrintOp {
    enum Kind { Text, Line, Box, NewLine } kind = Text;
    int job = 0;    // 0-based job index
    int page = 0;   // 1-based page of that job
    double x = 0, y = 0;     // Text: top-left; Line: from; Box: first corner
    double x2 = 0, y2 = 0;   // Line: to; Box: second corner
    std::string text;
    FontDesc font;
    int red = 0, green = 0, blue = 0;
    int pen = 1;
    int rounding = 0;
    bool Black() const { return red == 0 && green == 0 && blue == 0; }
};

struct PrintJob {
    std::string tag;
    int pages = 0;       // finished pages
    bool closed = false;
    bool complete = false;   // closed after its last page
};

class RecordingPrinter : public PageDevice {
public:
    void OpenJob(const std::string& tag) override;
    void SetScale(float x1, float y1, float x2, float y2) override;
    void SetFont(const FontDesc& font) override;
    void SetColor(int red, int green, int blue) override;
    void SetPenWidth(int pixels) override { pen_ = pixels; }
    void MoveTo(double x, double y) override;
    void DrawText(const std::string& text) override;
    void NewLine() override;
    void TextSize(const std::string& text, double& width, double& height) override;
    void LineTo(double x, double y) override;
    void RoundBox(double x1, double y1, double x2, double y2, int rounding) override;
    void EndPage() override;
    JobResult CloseJob(bool complete) override;
    PaperChoice AutoPaper() override { return autoPaper; }
    bool HasPrinter() override { return printer; }
    std::string CannotPrint() override { return cannotPrint; }

    // Width of a text in a font (page units of an 8 x 10.5 scale): a fixed
    // half em per character, a quarter em for a blank.
    static double Width(const std::string& text, const FontDesc& font);
    static double Height(const FontDesc& font) { return font.points / 72.0 * 1.15; }

    // Queries.
    std::vector<PrintOp> Texts(int job = -1, int page = -1) const;
    std::vector<PrintOp> Lines(int job = -1, int page = -1) const;
    std::vector<PrintOp> Boxes(int job = -1, int page = -1) const;
    // The first text op equal to text on that job and page; null if none.
    const PrintOp* FindText(const std::string& text, int job = -1, int page = -1) const;
    int Count(const std::string& text, int job = -1, int page = -1) const;

    std::vector<PrintOp> ops;
    std::vector<PrintJob> jobs;
    std::vector<float> scale{0, 0, 8, 10.5};
    // What CloseJob reports for every job; what "auto" comes to; whether a
    // printer takes the jobs.
    JobResult result;
    PaperChoice autoPaper;
    bool printer = true;
    std::string cannotPrint;

private:
    bool Open() const { return !jobs.empty() && !jobs.back().closed; }
    PrintOp Make(PrintOp::Kind kind);
    void Record(const PrintOp& op);
    bool pageOpen_ = false;
    FontDesc font_;
    bool haveFont_ = false;
    int red_ = 0, green_ = 0, blue_ = 0, pen_ = 1;
    double x_ = 0, y_ = 0;
};

// A whole game ready to print, dealt by the game's own dealing key: club
// and event names, Saturday 7 March 2015, afternoon, deterministic
// double-dummy tricks and par texts, print fonts made. Needs KelmoTest's
// doubles installed.
void MakePrintGame(int boards);
// Double-dummy tricks used by MakePrintGame for board, seat 1..4, strain 1..5.
int PrintGameTricks(int board, int seat, int strain);

#ifndef _WIN32
// A test that prints through the real PDF device, with this build's suit
// font whether or not it is installed for the user. KELMO_KEEP_PRINTS=folder
// keeps the PDFs for a look.
class PdfDeviceTest : public KelmoTest {
protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<PageDevice> device;
};
#endif
