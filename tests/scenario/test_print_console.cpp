// The console side of the printouts: questions, copies, paper prompts,
// Esc, pauses, and runs with no printer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>

#include "console/kit.h"
#include "model/model.h"
#include "platform/files.h"
#include "printing/print.h"
#include "support/doubles.h"
#include "support/recording_printer.h"

namespace {

// Notes what row 22 shows at each finished page.
class WatchingPrinter : public RecordingPrinter {
public:
    explicit WatchingPrinter(ScriptedConsole& console) : console_(console) {}
    void EndPage() override {
        shownAtPage.push_back(console_.Text(22, 31, 25));
        RecordingPrinter::EndPage();
    }
    std::vector<std::string> shownAtPage;

private:
    ScriptedConsole& console_;
};

class PrintConsoleTest : public KelmoTest {
protected:
    void SetUp() override {
        KelmoTest::SetUp();
        P.printer = &printer;
        MakePrintGame(36);
        clock.pauses.clear();
    }
    // Exactly one job was printed, of that many pages (and that tag, if given).
    void ExpectOneJob(int pages, const std::string& tag = "") {
        ASSERT_EQ(printer.jobs.size(), 1u);
        EXPECT_EQ(printer.jobs[0].pages, pages);
        if (!tag.empty()) {
            EXPECT_EQ(printer.jobs[0].tag, tag);
        }
    }
    WatchingPrinter printer{console};
};

std::string Blank(int n) { return std::string(n, ' '); }

// ---- Handouts ----------------------------------------------------------

struct CopiesCase {
    const char* name;
    std::string keys;   // typed at the copies question
    int beeps, copies;
};

class HandoutCopiesTest : public PrintConsoleTest, public ::testing::WithParamInterface<CopiesCase> {};

TEST_P(HandoutCopiesTest, AskedAtOneAndEachCopyNumberShownThenTheRowCleared) {
    const CopiesCase& c = GetParam();
    bool promptShown = false;
    console.onReadKey = [&](ScriptedConsole& con) {
        if (con.ReadKeyCalls() == 1)
            promptShown = con.Shows(14, 31, "POST-GAME HANDOUTS", LIGHTGREEN, BLUE) &&
                          con.Shows(16, 26, "Number of copies? (1-100):   1  ", YELLOW, BLUE) &&
                          con.Column() == 55 && con.Row() == 16;
    };
    console.Type(c.keys + "YN");
    ASSERT_FALSE(Run([] { PrintHandouts(); }));
    EXPECT_TRUE(promptShown) << console.Dump();
    EXPECT_EQ(sound.Count("beep2"), c.beeps);
    ExpectOneJob(c.copies);
    ASSERT_EQ(printer.shownAtPage.size(), size_t(c.copies));
    for (int k = 0; k < c.copies; k++) {
        std::string shown = "Printing side 1, #" + std::to_string(k + 1);
        EXPECT_EQ(printer.shownAtPage[k], shown + Blank(25 - int(shown.size())));
    }
    // Five seconds after the side, then the message row is cleared.
    EXPECT_EQ(clock.pauses, std::vector<int>{5000});
    EXPECT_TRUE(console.Shows(22, 4, Blank(74)));
    EXPECT_EQ(G.AbandonFlag, 0);
}

INSTANTIATE_TEST_SUITE_P(Copies, HandoutCopiesTest,
                         ::testing::Values(CopiesCase{"EnterIsOne", KeyEnter, 0, 1},
                                           CopiesCase{"ZeroAndOneHundredAndOneRefused", "0\r101\r3\r", 2, 3},
                                           CopiesCase{"OneHundredAccepted", "100\r", 0, 100}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintConsoleTest, EscAtTheCopiesQuestionPrintsNothing) {
    console.Press(KeyEsc);
    ASSERT_FALSE(Run([] { PrintHandouts(); }));
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_TRUE(printer.jobs.empty());
    EXPECT_FALSE(console.Shows(18, 31, "Print side 1?"));
}

TEST_F(PrintConsoleTest, SideTwoAlonePrintsOnlyAfterThePaperPrompt) {
    bool promptSeen = false;
    size_t jobsAtPrompt = 99;
    console.onReadKey = [&](ScriptedConsole& c) {
        if (c.Shows(22, 17, "Load paper for side 2.  Any key when ready...", BRIGHTWHITE)) {
            promptSeen = true;
            jobsAtPrompt = printer.jobs.size();
        }
    };
    console.Type(KeyEnter + "Nyx");   // one copy, no side 1, side 2 in lower case, paper loaded
    ASSERT_FALSE(Run([] { PrintHandouts(); }));
    EXPECT_TRUE(promptSeen);
    EXPECT_EQ(jobsAtPrompt, 0u);
    ExpectOneJob(1, "150307A-handouts-side2");
    EXPECT_EQ(printer.FindText("z"), nullptr);      // no header on side 2
    EXPECT_TRUE(console.Shows(18, 4, Blank(74)));   // side 1's question blanked
    EXPECT_EQ(G.AbandonFlag, 0);
}

TEST_F(PrintConsoleTest, SideQuestionRefusesOtherKeysAndEscSkipsOnlyThatSide) {
    console.Type(KeyEnter + "q");
    console.Press(KeyEsc);           // side 1 skipped
    console.Type("7" + KeyEnter + " ");  // side 2, paper loaded
    bool cursorOnY = false;
    console.onReadKey = [&](ScriptedConsole& c) {
        if (c.ReadKeyCalls() == 2) cursorOnY = c.Row() == 18 && c.Column() == 47 && c.CursorVisible();
    };
    ASSERT_FALSE(Run([] { PrintHandouts(); }));
    EXPECT_TRUE(cursorOnY);
    EXPECT_EQ(sound.Count("beep2"), 2);
    ExpectOneJob(1, "150307A-handouts-side2");
    EXPECT_EQ(G.AbandonFlag, 0);
    EXPECT_TRUE(console.Shows(20, 31, "Print side 2?  (Y/n) ", YELLOW, BLUE));
}

// ---- Hand-records ------------------------------------------------------

TEST_F(PrintConsoleTest, EscAtTheLoadPaperPromptPrintsNothing) {
    bool prompt = false;
    console.onReadKey = [&](ScriptedConsole& c) {
        prompt = c.Shows(14, 26, "HAND-RECORDS FOR DUPLICATION", LIGHTGREEN, BLUE) &&
                 c.Shows(16, 17, "Load paper for 18 pages.  Any key when ready...", BRIGHTWHITE);
    };
    console.Press(KeyEsc);
    ASSERT_FALSE(Run([] { PrintHandRecords(); }));
    EXPECT_TRUE(prompt) << console.Dump();
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_TRUE(printer.jobs.empty());
    EXPECT_FALSE(console.Shows(18, 36, "Printing..."));
}

TEST_F(PrintConsoleTest, EscBetweenHandRecordPagesStopsAfterTheFinishedPages) {
    console.Type(" ");
    console.PressDuringWork(KeyEsc, 3);   // seen when page 4 is due
    ASSERT_FALSE(Run([] { PrintHandRecords(); }));
    EXPECT_TRUE(console.Shows(18, 36, "Printing...", LIGHTCYAN));
    ExpectOneJob(3);
    EXPECT_TRUE(printer.jobs[0].closed);
    EXPECT_FALSE(printer.jobs[0].complete);
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_EQ(clock.pauses, (std::vector<int>{500, 500, 500}));
}

TEST_F(PrintConsoleTest, OtherKeysDuringHandRecordsAreIgnored) {
    console.Type(" ");
    console.PressDuringWork("x", 2);
    ASSERT_FALSE(Run([] { PrintHandRecords(); }));
    EXPECT_EQ(printer.jobs[0].pages, 18);
    EXPECT_TRUE(printer.jobs[0].complete);
    EXPECT_EQ(G.AbandonFlag, 0);
    EXPECT_EQ(console.KeysLeft(), 0u);
    EXPECT_EQ(clock.pauses.size(), 19u);
    EXPECT_EQ(clock.pauses.back(), 6000);
}

// ---- Quick-dupe sheet --------------------------------------------------

TEST_F(PrintConsoleTest, DupeSheetShowsItsTitleWaitsAndClearsTheMessageRow) {
    ASSERT_FALSE(Run([] { PrintDupeSheet(); }));
    EXPECT_TRUE(console.Shows(14, 26, "DIRECTOR'S QUICK-DUPE SHEET", LIGHTGREEN, BLUE));
    EXPECT_TRUE(console.Shows(16, 34, "Printing...", YELLOW));
    EXPECT_TRUE(console.Shows(22, 4, Blank(74), YELLOW, BLUE));
    EXPECT_EQ(clock.pauses, std::vector<int>{5000});
    EXPECT_EQ(console.ReadKeyCalls(), 0);
    EXPECT_EQ(G.AbandonFlag, 0);
}

// A job the printer refused, or whose file could not be written, is reported
// on row 22 once, with "beep2", after each printout; a printed one is not.
TEST_F(PrintConsoleTest, AFailedJobIsReportedOnTheMessageRowByEveryPrintout) {
    const std::string reason = "Not printed, kept PRINTS/150307A-x.pdf: not accepting jobs";
    const std::string shown = " " + reason + " ";
    const int left = 4 + (74 - (int)shown.size()) / 2;
    const struct {
        const char* name;
        std::function<void()> printout;
        std::string keysBefore;   // up to the end of the job
        const char* keysAfter;
    } cases[] = {
        {"dupe", PrintDupeSheet, "", ""},
        {"handrecords", PrintHandRecords, " ", ""},
        {"handouts side 1", PrintHandouts, KeyEnter + "Y", "N"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto outcome : {JobResult::Failed, JobResult::Printed}) {
            bool failed = outcome == JobResult::Failed;
            printer.result = {outcome, failed ? reason : "PRINTS/150307A-x.pdf"};
            sound.played.clear();
            int warnings = 0;
            console.onReadKey = [&](ScriptedConsole& con) {
                if (con.Shows(22, left, shown, BRIGHTWHITE, MAGENTA)) warnings++;
            };
            console.Type(c.keysBefore + (failed ? " " : "") + c.keysAfter);
            ASSERT_FALSE(Run(c.printout));
            EXPECT_EQ(warnings, failed ? 1 : 0) << console.Dump();
            EXPECT_EQ(sound.Count("beep2"), failed ? 1 : 0);
            EXPECT_EQ(console.KeysLeft(), 0u);
            EXPECT_TRUE(console.Shows(22, 4, Blank(74)));
        }
    }
}

// ---- No job at all, and the real device with no printer -----------------

TEST_F(PrintConsoleTest, WithNoPageDeviceEveryPrintoutStillRunsItsScreensAndPauses) {
    P.printer = nullptr;
    console.Type(" ");
    ASSERT_FALSE(Run([] { PrintHandRecords(); }));
    EXPECT_EQ(clock.pauses.size(), 19u);
    console.Type(KeyEnter + "YY ");
    ASSERT_FALSE(Run([] { PrintHandouts(); }));
    ASSERT_FALSE(Run([] { PrintDupeSheet(); }));
    EXPECT_EQ(clock.pauses.size(), 19u + 3u);
    EXPECT_EQ(sound.Count("beep2"), 0);
}

// The PDF device and CUPS are the POSIX printer.
#ifndef _WIN32
class PrintNoPrinterTest : public PdfDeviceTest {
protected:
    void SetUp() override {
        PdfDeviceTest::SetUp();
        // A CUPS server that is not there: no default printer.
        setenv("CUPS_SERVER", (workDir + "/no-cups.sock").c_str(), 1);
        unsetenv("KELMO_NO_CUPS");
        unsetenv("LPDEST");
        unsetenv("PRINTER");
        MakePrintGame(24);
    }
};

// Without a printer there is no paper to load: the PDFs are the printouts,
// and each says where it went, both sides of the handouts. The first
// printout of the run says what the paper "auto" came to.
TEST_F(PrintNoPrinterTest, PrintoutsWriteTheirPdfsAndReturnWithoutAMessage) {
    const std::string locale = std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "";
    setenv("LC_ALL", "C", 1);
    console.onReadKey = [](ScriptedConsole& c) {
        EXPECT_TRUE(c.Shows(16, 17, "PDF only, no printer: 12 pages.  Any key when ready..."));
        EXPECT_TRUE(c.Shows(22, 6, "Paper auto: Letter, no printer and no paper in the locale", LIGHTCYAN));
    };
    console.Type(" ");
    ASSERT_FALSE(Run([] { PrintHandRecords(); }));
    console.onReadKey = nullptr;
    console.Type(KeyEnter + "YY");
    ASSERT_FALSE(Run([] { PrintHandouts(); }));
    EXPECT_EQ(G.MenuNote, "Saved PRINTS/150307A-handouts-side1.pdf and ...side2.pdf");
    if (locale.empty()) unsetenv("LC_ALL");
    else setenv("LC_ALL", locale.c_str(), 1);
    ASSERT_FALSE(Run([] { PrintDupeSheet(); }));
    for (const char* name : {"PRINTS/150307A-handrecords.pdf", "PRINTS/150307A-handouts-side1.pdf",
                             "PRINTS/150307A-handouts-side2.pdf", "PRINTS/150307A-dupe.pdf"}) {
        EXPECT_TRUE(std::filesystem::exists(name)) << name;
        EXPECT_EQ(ReadFile(name).rfind("%PDF-", 0), 0u) << name;
    }
    EXPECT_EQ(sound.Count("beep2"), 0);
    EXPECT_EQ(console.KeysLeft(), 0u);
    EXPECT_TRUE(console.Shows(22, 4, Blank(74)));
    // Nothing but the PDFs is left in the folder (no temporaries).
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("PRINTS"), std::filesystem::directory_iterator()), 4);
}

TEST_F(PrintNoPrinterTest, APrintsNameThatIsAFileIsReportedAndTheProgramGoesOn) {
    WriteFile("PRINTS", "not a folder");
    std::string shown;
    console.onReadKey = [&](ScriptedConsole& c) { shown = c.Text(22, 4, 74); };
    console.Type(" ");
    ASSERT_FALSE(Run([] { PrintDupeSheet(); }));
    EXPECT_NE(shown.find("Could not write the printout file " + SystemPath("PRINTS/150307A-dupe.pdf") + ": "),
              std::string::npos)
        << shown;
    EXPECT_EQ(sound.Count("beep2"), 1);
    EXPECT_EQ(ReadFile("PRINTS"), "not a folder");
}

TEST_F(PrintNoPrinterTest, EscBeforeTheFirstPageLeavesNoFile) {
    console.Type(" ");
    console.PressDuringWork(KeyEsc, 0);
    ASSERT_FALSE(Run([] { PrintHandRecords(); }));
    EXPECT_EQ(G.AbandonFlag, 1);
    EXPECT_FALSE(std::filesystem::exists("PRINTS/150307A-handrecords.pdf"));
}

#endif

}  // namespace
