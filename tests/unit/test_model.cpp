#include <filesystem>

#include "model/model.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

class ModelTest : public KelmoTest {};

TEST_F(ModelTest, BoardAttributesRepeatEverySixteenBoards) {
    // Board 17 is dealt and vulnerable like board 1; board 36 is West, both.
    EXPECT_EQ(DealerSeat(17), DealerSeat(1));
    EXPECT_EQ(VulIndex(17), VulIndex(1));
    initialize();
    EXPECT_EQ(G.DealerName[17 % 4], "NORTH");
    EXPECT_EQ(G.VulName[VulIndex(1)], "NONE");
    EXPECT_EQ(G.DealerName[36 % 4], "WEST");
    EXPECT_EQ(G.VulName[VulIndex(36)], "BOTH");
    const char* cycle[16] = {"NONE", "N-S", "E-W", "BOTH", "N-S", "E-W", "BOTH", "NONE",
                             "E-W", "BOTH", "NONE", "N-S", "BOTH", "NONE", "N-S", "E-W"};
    for (int b = 1; b <= 36; b++) EXPECT_EQ(G.VulName[VulIndex(b)], cycle[(b - 1) % 16]) << b;
}

TEST_F(ModelTest, InitializeMakesArchiveFolderAndKeepsAnExistingOne) {
    initialize();
    ASSERT_TRUE(std::filesystem::is_directory("GAMEFILE.KM"));
    WriteFile("GAMEFILE.KM/090105.KMA", "x");
    initialize();
    EXPECT_EQ(ReadFile("GAMEFILE.KM/090105.KMA"), "x");
}
