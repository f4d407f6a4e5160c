// The page facility over the platform's page device, and the print fonts.
// It draws nothing on the screen: what became of a job goes back to the
// printout that asked for it.
#include <cctype>

#include "model/model.h"
#include "platform/platform.h"
#include "printing/print.h"

void OpenJob(const std::string& tag) {
    if (!P.printer) return;
    P.printer->SetPaper(G.PaperSize);
    P.printer->OpenJob(tag);
}

void SetScale(float x1, float y1, float x2, float y2) {
    if (P.printer) P.printer->SetScale(x1, y1, x2, y2);
}

int32_t MakeFont(const std::string& face, float points, int style) {
    const PrintFontDesc desc{face.substr(0, 31), points, style & 1};
    auto& made = G.MadeFonts;
    for (size_t i = 0; i < made.size(); i++)
        if (made[i].face == desc.face && made[i].points == desc.points && made[i].style == desc.style)
            return (int32_t)i + 1;
    made.push_back(desc);
    return (int32_t)made.size();
}

void SetFont(int32_t handle) {
    if (!P.printer || handle < 1 || handle > (int32_t)G.MadeFonts.size()) return;
    const PrintFontDesc& made = G.MadeFonts[handle - 1];
    P.printer->SetFont(FontDesc{made.face, made.points, made.style});
}

void SetColor(int red, int green, int blue) {
    if (P.printer) P.printer->SetColor(red, green, blue);
}

void SetPenWidth(int pixels) {
    if (P.printer) P.printer->SetPenWidth(pixels);
}

void MoveTo(double x, double y) {
    if (P.printer) P.printer->MoveTo(x, y);
}

void DrawText(const std::string& text) {
    if (P.printer && !text.empty()) P.printer->DrawText(text);
}

void NewLine() {
    if (P.printer) P.printer->NewLine();
}

void TextSize(const std::string& text, double& width, double& height) {
    width = height = 0;
    if (P.printer) P.printer->TextSize(text, width, height);
}

void LineTo(double x, double y) {
    if (P.printer) P.printer->LineTo(x, y);
}

void RoundBox(double x1, double y1, double x2, double y2, int rounding) {
    if (P.printer) P.printer->RoundBox(x1, y1, x2, y2, rounding);
}

void EndPage() {
    if (P.printer) P.printer->EndPage();
}

JobResult CloseJob(bool complete) { return P.printer ? P.printer->CloseJob(complete) : JobResult{}; }

std::string JoinPrintNotes(const std::string& first, const std::string& second) {
    if (first.empty() || second.empty()) return first.empty() ? second : first;
    // The common start, back to the last character that names nothing yet.
    size_t same = 0;
    while (same < first.size() && same < second.size() && first[same] == second[same]) same++;
    while (same > 0 && std::isalnum((unsigned char)second[same - 1])) same--;
    if (same < 8) return first + "; " + second;
    return first + " and ..." + second.substr(same);
}

std::string AutoPaperText(const PaperChoice& choice) {
    const std::string paper = PaperName(choice.paper);
    if (choice.source == PaperChoice::Printer) return "auto: " + paper + ", the printer's paper";
    if (choice.source == PaperChoice::Locale) return "auto: " + paper + ", the locale's paper";
    return "auto: " + paper + ", no printer and no paper in the locale";
}

bool PrintsOnPaper() { return P.printer && P.printer->HasPrinter(); }

std::string WhyNoPrintout() { return P.printer ? P.printer->CannotPrint() : ""; }

std::string PrintNote(const JobResult& result) {
    if (result.outcome == JobResult::Printed && !result.printer.empty())
        return "Sent to " + result.printer + (result.text.empty() ? "" : "; kept " + result.text);
    return result.text.empty() ? "" : "Saved " + result.text;
}

void CreatePrintFonts() {
    auto make = [](int face, const std::string& name, int points, int style) {
        G.PrintFonts[face][points][style] = MakeFont(name, (float)points, style);
    };
    for (int points : {7, 8, 9, 10, 16, 24, 60}) make(SuitFace, "Bridge", points, 0);
    for (int points : {6, 7, 8, 9, 11, 12, 14, 16, 28, 36}) make(ArialFace, "Arial", points, 0);
    make(CourierFace, "Courier New", 12, 0);
    make(CourierFace, "Courier New", 12, 1);
    for (int points : {9, 10, 11, 12}) make(TimesFace, "Times New Roman", points, 0);
    make(TimesFace, "Times New Roman", 12, 1);
    make(TimesFace, "Times New Roman", 14, 0);
    make(TimesFace, "Times New Roman", 14, 1);
    CreateNameFonts();
}

void CreateNameFonts() {
    G.PrintFonts[ClubFace][18][0] = MakeFont(G.ClubNameFont, 18, 0);
    G.PrintFonts[EventFace][16][0] = MakeFont(G.EventNameFont, 16, 0);
}

void UseFont(int face, int points, int style) { SetFont(G.PrintFonts[face][points][style]); }

double TextWidth(const std::string& text) {
    double width, height;
    TextSize(text, width, height);
    return width;
}

void DrawLine(double x1, double y1, double x2, double y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
}

void DrawTextAt(double x, double y, const std::string& text) {
    MoveTo(x, y);
    DrawText(text);
}

void DrawHolding(int board, int seat, int suit, double x, double y, double gap, const std::string& voidMark) {
    MoveTo(x, y);
    if (G.HandMasks[board][seat][suit] == 0) {
        DrawText(voidMark);
        return;
    }
    for (char card : G.HoldingText[board][seat][suit]) {
        std::string text(1, card);
        MoveTo(x, y);
        DrawText(text);
        x += TextWidth(text) + gap;
    }
}

void SetSuitColor(int suit) {
    if (suit == 0 || suit == 3) SetColor(25, 25, 112);
    else SetColor(220, 20, 60);
}

void SetBlack() { SetColor(0, 0, 0); }

std::string JobTag(const std::string& printout) {
    return GameDateDigits(G.GameYear, G.GameMonth, G.GameDay) + SessionLetter(G.SessionNumber) + "-" + printout;
}

std::string GameCodePrinted() {
    return G.PrivateGame == 1 && !G.ControlString.empty() ? "Deal key " + G.ControlString : G.ControlString;
}
