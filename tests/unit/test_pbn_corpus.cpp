// Real PBN files of other programs, read where they are kept beside the
// project (never copied into it): the games each holds, and the stored
// double-dummy tricks of every board equal to what the solver finds.
#include <gtest/gtest.h>

#include <dds/dll.h>

#include <filesystem>
#include <map>
#include <string>

#include "analysis/analysis.h"
#include "model/model.h"
#include "pbn/pbn.h"
#include "pbn/pbnscan.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

const fs::path Corpus = fs::path(KELMO_SOURCE_DIR) / ".." / "shared" / "pbn-corpus";

TEST(PbnCorpus, GamesOfEachFileAndTheirStoredTricks) {
    if (!fs::is_directory(Corpus)) GTEST_SKIP() << "no " << Corpus;
    // Boards per game; a file of 62 boards is two games.
    const std::map<std::string, std::string> games = {
        {"ben_Daylong.pbn", "8"},     {"dds_camrose-1-32.pbn", "32"},   {"dds_example.pbn", "1"},
        {"dj_HandRecord.pbn", "36"},  {"rk_butler.pbn", "28"},          {"rk_indi.pbn", "36 26"},
        {"th_correct_21.pbn", "1 1"}, {"th_three_test_records_crlf.pbn", "3"},
    };
    PrepareSolver();
    int checked = 0;
    for (const auto& [name, boards] : games) {
        SCOPED_TRACE(name);
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile((Corpus / name).string(), bytes));
        const PbnFileFound found = ScanPbnText(PbnTextFromBytes(bytes));
        std::string counts;
        for (const PbnGameFound& game : found.games)
            counts += (counts.empty() ? "" : " ") + std::to_string(game.boards.size());
        EXPECT_EQ(counts, boards);
        for (const PbnGameFound& game : found.games)
            for (const PbnBoardFound& board : game.boards) {
                if (board.tricks.size() != 20 || !DealFaultWords(board.deal).empty()) continue;
                G.TotalBoards = 1;
                G.DDTricksText[1] = board.tricks;
                DecodeDDTricksTexts();
                ddTableDealPBN deal{};
                board.deal.copy(deal.cards, sizeof deal.cards - 1);
                ddTableResults results{};
                ASSERT_EQ(CalcDDtablePBN(deal, &results), RETURN_NO_FAULT);
                for (int strain = 0; strain < 5; strain++)
                    for (int hand = 0; hand < 4; hand++)
                        EXPECT_EQ(G.DDTricks[1][hand + 1][strain < 4 ? 4 - strain : 5],
                                  results.resTable[strain][hand])
                            << "board " << board.number << " strain " << strain << " hand " << hand;
                checked++;
            }
    }
    EXPECT_GE(checked, 36);
}

}  // namespace
