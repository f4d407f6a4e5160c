// A font chosen in the settings editor reaches the next printout at once.
#include "model/model.h"
#include "printing/print.h"
#include "settings/editor.h"
#include "settings/inifile.h"
#include "support/doubles.h"
#include "support/recording_printer.h"

namespace {

class EditorPrintTest : public KelmoTest {
protected:
    RecordingPrinter printer;
};

TEST_F(EditorPrintTest, NextHandoutDrawsTheClubNameInTheNewFace) {
    MakePrintGame(36);
    WriteSettingsDefaults();
    P.printer = &printer;

    console.Type("1arial" + KeyEnter + "2Courier New Regular" + KeyEnter + "q");
    ASSERT_FALSE(Run(programsettings)) << console.Dump();
    console.Type(KeyEnter + "YN");   // one copy, side 1 only
    ASSERT_FALSE(Run(PrintHandouts)) << console.Dump();
    const PrintOp* club = printer.FindText(G.ClubName, 0);
    ASSERT_NE(club, nullptr);
    EXPECT_EQ(club->font.face, "arial");
    EXPECT_EQ(club->font.points, 18);
    EXPECT_EQ(club->font.style, 0);
    const PrintOp* event = printer.FindText(G.EventName, 0);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->font.face, "Courier New");
    EXPECT_EQ(event->font.points, 16);
}

}  // namespace
