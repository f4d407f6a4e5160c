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
#include <vector>

#include "analysis/analysis.h"
#include "dealing/deal.h"
#include "dealing/private.h"
#include "model/model.h"
#include "model/text.h"
#include "pbn/pbn.h"
#include "platform/crypto.h"
#include "shell/mainloop.h"
#include "support/doubles.h"
#include "support/golden.h"

namespace {

DealKeyParts Parts() {
    DealKeyParts parts;
    for (int i = 0; i < 16; i++) parts.secret[(size_t)i] = (uint8_t)(0x3C * i + 7);
    parts.year = 15, parts.month = 3, parts.day = 7, parts.session = 2, parts.boards = 36;
    return parts;
}

// Every key with one or two characters wrong: the first keys' check let
// about one in 510 of the two-character mistakes through, and such a key
// dealt another game; today's check refuses them all. The first keys still
// read back.
TEST(DealKey, TwoWrongCharactersAreAlwaysRefused) {
    const std::string alphabet = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
    DealKeyParts back, first = Parts();
    first.form = 0;
    const std::string old = MakeDealKey(first), key = MakeDealKey(Parts());
    ASSERT_EQ(old.size(), 39u);
    ASSERT_EQ(key.size(), 44u);
    ASSERT_TRUE(DecodeDealKey(old, back));
    EXPECT_EQ(back.form, 0);
    EXPECT_EQ(MakeDealKey(back), old);
    // The places of the key's characters, without the "-".
    auto places = [](const std::string& k) {
        std::vector<size_t> at;
        for (size_t i = 0; i < k.size(); i++)
            if (k[i] != '-') at.push_back(i);
        return at;
    };
    // Whether any two wrong characters pass; `all` tries every pair of
    // places with every pair of other characters.
    auto anyPasses = [&](const std::string& k, bool all) {
        const std::vector<size_t> at = places(k);
        for (size_t i = 0; i < at.size(); i++)
            for (size_t j = i + 1; j < at.size(); j++)
                for (char a : alphabet)
                    for (char b : alphabet) {
                        if (a == k[at[i]] || b == k[at[j]]) continue;
                        std::string wrong = k;
                        wrong[at[i]] = a, wrong[at[j]] = b;
                        if (DecodeDealKey(wrong, back)) return true;
                        if (!all && j > i + 3) break;
                    }
        return false;
    };
    EXPECT_TRUE(anyPasses(old, false));
    EXPECT_FALSE(anyPasses(key, true));
}

TEST(DealKey, ReadBackAsTypedAndEveryMistypeRefused) {
    const std::string key = MakeDealKey(Parts());
    ASSERT_EQ(key.size(), 44u);
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
    for (const std::string& text : {key.substr(0, 43), "U" + key.substr(1), MakeDealKey(bad)})
        EXPECT_FALSE(DecodeDealKey(text, back)) << text;
}

// The keyed hash both systems take from their library: RFC 4231, case 2.
TEST(DealKey, HmacSha256OfTheStandardsExample) {
    const std::string key = "Jefe", message = "what do ya want for nothing?";
    uint8_t out[32];
    ASSERT_TRUE(HmacSha256((const uint8_t*)key.data(), key.size(), (const uint8_t*)message.data(), message.size(), out));
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
    PrivateDealStream stream;
    ASSERT_TRUE(StartPrivateStream(stream, Parts().secret.data()));
    constexpr int deals = 100000;
    static int counts[52][4];
    for (int d = 0; d < deals; d++) {
        uint16_t masks[4][4];
        ASSERT_TRUE(DealPrivateBoard(stream, masks));
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

// One key's 36 boards as a PBN file: the same bytes on every system. The
// key is of the first form, as a club may have kept one.
TEST_F(PrivateGameTest, OneKeyDealsTheSameGameOnEverySystem) {
    initialize();
    DealKeyParts parts = Parts();
    parts.form = 0;
    G.PrivateGame = 1;
    std::copy(parts.secret.begin(), parts.secret.end(), std::begin(G.DealSecretBytes));
    G.GameYear = 15, G.GameMonth = 3, G.GameDay = 7, G.SessionNumber = 2, G.TotalBoards = 36;
    G.ClubName = "Keelward Club", G.EventName = "Private Pairs", G.PbnDate = "2015.03.07";
    G.ControlString = MakeDealKey(parts);
    ApplyDealingKey();
    for (int board = 1; board <= 36; board++) DealNextBoard(board);
    BuildDealTexts();
    const std::string text = PbnFileText("12-08-2026");
    EXPECT_TRUE(MatchesGoldenFile(text, "private-150307A.pbn"));

    // Imported, the file keeps its key when the key deals its boards; with
    // a board's hands changed it is analysed afresh, and said so.
    const std::string key = G.ControlString;
    G.GameSerial = 5179;
    G.PbnFilePath = "150307A.pbn";
    for (bool edited : {false, true}) {
        std::string file = text;
        for (size_t at; (at = file.find("[DoubleDummyTricks \"\"]")) != std::string::npos;)
            file.replace(at + 20, 0, std::string(20, '0'));
        // North's first spade and East's change hands.
        const size_t deal = file.find("[Deal \"N:");
        if (edited) std::swap(file[deal + 9], file[file.find(' ', deal + 9) + 1]);
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
