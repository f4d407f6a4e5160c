// Prints a known job through the GDI page device, for test_gdi_page.sh to
// measure: accented code page 437 text, text set flush right by its measured
// width, a new line, a rounded box, then a second page and a job with
// nothing drawn (which must not reach the printer). Exit code 0 when the job
// was printed; with the argument "none" (no printer), when it ended without
// anything to say; with "file-default" (the default printer makes files)
// or "no-default", when the job was kept as PRINTS/check.pdf through the
// queue kelmotest standing in for Microsoft Print to PDF (wine has none).
// With "a4" the job is printed on A4 paper, forced as the settings force it.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/gdi_printer.h"

namespace {

std::string mode;

std::vector<PrinterInfo> Printers() {
    if (mode == "file-default") return {{L"kelmotest", L"PORTPROMPT:", L"Microsoft Print To PDF", true}};
    if (mode == "no-default") return {{L"kelmotest", L"CUPS:kelmotest", L"Microsoft Print To PDF", false}};
    return SystemPrinters();
}

}  // namespace

int main(int argc, char** argv) {
    mode = argc > 1 ? argv[1] : "";
    bool none = mode == "none";
    PageDevice* printer = MakeGdiPrinter(Printers);
    if (mode == "a4") printer->SetPaper(Paper::A4);
    const FontDesc arial{"Arial", 12, 0};
    printer->OpenJob("check");
    printer->SetScale(0, 0, 8, 10.5);
    printer->SetFont(arial);
    printer->MoveTo(1, 1);
    printer->DrawText("M\x81ller \x82t\x82");
    double width, height;
    printer->TextSize("Right", width, height);
    printer->MoveTo(8 - width, 2);
    printer->DrawText("Right");
    printer->NewLine();
    printer->DrawText("Left");
    printer->SetPenWidth(3);
    printer->RoundBox(1, 5, 7, 8, 20);
    printer->EndPage();
    printer->SetFont(arial);
    printer->DrawText("Two");
    printer->EndPage();
    JobResult result = printer->CloseJob(true);
    printer->OpenJob("empty");
    printer->CloseJob(true);
    delete printer;
    // What the job came to, for the test to show when it fails.
    std::printf("outcome %d: %s\n", (int)result.outcome, result.text.c_str());
    if (none) return result.outcome != JobResult::Failed && result.text.empty() ? 0 : 1;
    if (mode == "file-default" || mode == "no-default")
        return result.outcome == JobResult::KeptOnly && result.text == "PRINTS/check.pdf" ? 0 : 1;
    return result.outcome == JobResult::Printed ? 0 : 1;
}
