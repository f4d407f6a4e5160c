// What the printouts say on the console about their jobs, beside what
// each one asks: where a job went, or why it failed, and the paper.
#include "console/kit.h"
#include "model/model.h"
#include "platform/platform.h"
#include "printing/print.h"

void SayWhereItWent(const JobResult& result) {
    if (result.outcome == JobResult::Failed) ShowWarning(FitWarning(result.text));
    else G.MenuNote = PrintNote(result);
}

void SayPaperOnce() {
    if (G.PaperNoteSaid || G.PaperSize != Paper::Auto || !P.printer) return;
    G.PaperNoteSaid = 1;
    WriteAt(MessageRow, 6, "Paper " + AutoPaperText(P.printer->AutoPaper()), LIGHTCYAN, BLUE);
}
