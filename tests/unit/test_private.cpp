// Private deals: the deal key, the keyed hash under them, the evenness of
// the deals, and one game that both systems must deal alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "analysis/analysis.h"
#include "dealing/deal.h"
#include "dealing/private.h"
#include "model/model.h"
#include "model/text.h"
#include "pbn/pbn.h"
#include "platform/crypto.h"
#include "shell/mainloop.h"
#include "support/doubles.h"

namespace {

DealKeyParts Parts() {
    DealKeyParts parts;
    for (int i = 0; i < 16; i++) parts.secret[(size_t)i] = (uint8_t)(0x3C * i + 7);
    parts.year = 15, parts.month = 3, parts.day = 7, parts.session = 2, parts.boards = 36;
    return parts;
}

TEST(DealKey, ReadBackAsTypedAndEveryMistypeRefused) {
    const std::string key = MakeDealKey(Parts());
    ASSERT_EQ(key.size(), 39u);
    DealKeyParts back;
    // Typed in lower case, without its "-", with O for 0 and l for 1.
    std::string typed;
    for (char ch : key)
        if (ch != '-') typed += ch == '0' ? 'o' : ch == '1' ? 'l' : AsciiLower(std::string(1, ch))[0];
    ASSERT_TRUE(DecodeDealKey(typed, back));
    EXPECT_EQ(back.secret, Parts().secret);
    EXPECT_EQ(MakeDealKey(back), key);
    EXPECT_TRUE(LooksLikeDealKey(typed));
    EXPECT_FALSE(LooksLikeDealKey("#91722 3145X"));

    // Any one character wrong, and any two neighbours swapped.
    const std::string alphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
    int refused = 0, tried = 0;
    for (size_t at = 0; at < key.size(); at++) {
        if (key[at] == '-') continue;
        for (char other : alphabet) {
            if (other == key[at]) continue;
            std::string wrong = key;
            wrong[at] = other;
            tried++;
            refused += !DecodeDealKey(wrong, back);
        }
        size_t next = at + 1 < key.size() && key[at + 1] == '-' ? at + 2 : at + 1;
        if (next < key.size() && key[next] != key[at]) {
            std::string swapped = key;
            std::swap(swapped[at], swapped[next]);
            tried++;
            refused += !DecodeDealKey(swapped, back);
        }
    }
    EXPECT_EQ(refused, tried);
    // Too short, a U, a date that cannot be.
    DealKeyParts bad = Parts();
    bad.month = 2, bad.day = 30;
    for (const std::string& text : {key.substr(0, 38), "U" + key.substr(1), MakeDealKey(bad)})
        EXPECT_FALSE(DecodeDealKey(text, back)) << text;
}

// The keyed hash both systems take from their library: RFC 4231, case 2.
TEST(DealKey, HmacSha256OfTheStandardsExample) {
    const std::string key = "Jefe", message = "what do ya want for nothing?";
    uint8_t out[32];
    HmacSha256((const uint8_t*)key.data(), key.size(), (const uint8_t*)message.data(), message.size(), out);
    char hex[65];
    for (int i = 0; i < 32; i++) std::snprintf(hex + 2 * i, 3, "%02x", out[i]);
    EXPECT_STREQ(hex, "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
    uint8_t a[16] = {}, b[16] = {};
    ASSERT_TRUE(SystemRandomBytes(a, sizeof a) && SystemRandomBytes(b, sizeof b));
    EXPECT_NE(std::memcmp(a, b, sizeof a), 0);
}

// Over 100,000 deals every card goes to every seat equally often: a
// chi-square over the 52 x 4 counts (156 degrees of freedom) below a bound
// that a fair deal passes but for once in ten million.
TEST(DealKey, EveryCardLandsOnEverySeatEquallyOften) {
    PrivateStream stream(Parts().secret);
    constexpr int deals = 100000;
    static int counts[52][4];
    for (int d = 0; d < deals; d++) {
        uint16_t masks[4][4];
        DealPrivateBoard(stream, masks);
        for (int seat = 0; seat < 4; seat++)
            for (int suit = 0; suit < 4; suit++)
                for (int rank = 0; rank < 13; rank++)
                    if (masks[seat][suit] & (1u << rank)) counts[suit * 13 + rank][seat]++;
    }
    double chi = 0;
    const double expected = deals / 4.0;
    for (auto& card : counts)
        for (int seat = 0; seat < 4; seat++) {
            EXPECT_EQ(card[0] + card[1] + card[2] + card[3], deals);
            chi += (card[seat] - expected) * (card[seat] - expected) / expected;
        }
    EXPECT_LT(chi, 265.0);
    EXPECT_GT(chi, 80.0);   // not suspiciously even either
}

class PrivateGameTest : public KelmoTest {};

// One key's 36 boards as a PBN file: the same bytes on every system.
TEST_F(PrivateGameTest, OneKeyDealsTheSameGameOnEverySystem) {
    initialize();
    const DealKeyParts parts = Parts();
    G.PrivateGame = 1;
    std::copy(parts.secret.begin(), parts.secret.end(), std::begin(G.DealSecretBytes));
    G.GameYear = 15, G.GameMonth = 3, G.GameDay = 7, G.SessionNumber = 2, G.TotalBoards = 36;
    G.ClubName = "Keelward Club", G.EventName = "Private Pairs", G.PbnDate = "2015.03.07";
    G.ControlString = MakeDealKey(parts);
    ApplyDealingKey();
    for (int board = 1; board <= 36; board++) DealNextBoard(board);
    BuildDealTexts();
    const std::string text = PbnFileText("12-08-2026");
    const std::string path = KELMO_SOURCE_DIR "/tests/golden/private-150307A.pbn";
    const char* update = std::getenv("KELMO_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") std::ofstream(path, std::ios::binary) << text;
    std::ifstream in(path, std::ios::binary);
    std::stringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(text, golden.str()) << "KELMO_UPDATE_GOLDEN=1 rewrites " << path;

    // Imported, the file keeps its key when the key deals its boards; with
    // a board's hands changed it is analysed afresh, and said so.
    const std::string key = G.ControlString;
    G.GameSerial = 5179;
    G.PbnFilePath = "150307A.pbn";
    for (bool edited : {false, true}) {
        std::string file = text;
        for (size_t at; (at = file.find("[DoubleDummyTricks \"\"]")) != std::string::npos;)
            file.replace(at + 20, 0, std::string(20, '0'));
        if (edited) std::swap(file[file.find("[Deal \"N:") + 9], file[file.find("[Deal \"N:") + 10]);
        WriteFile("150307A.pbn", file);
        G.PrivateGame = 0;
        std::string warning;
        console.onReadKey = [&](ScriptedConsole& c) { warning = c.Text(MessageRow, 1, 80); };
        console.Type(" ");
        Run(readpbnfile);
        EXPECT_EQ(G.LoadFailed, 0);
        EXPECT_EQ(G.ControlString, edited ? "" : key);
        EXPECT_EQ(G.PrivateGame, edited ? 0 : 1);
        EXPECT_EQ(warning.find("Deals differ") != std::string::npos, edited) << warning;
    }
}

}  // namespace
