#include <climits>

#include "dealing/control.h"
#include "dealing/random.h"
#include "model/model.h"
#include "support/doubles.h"

class RandomTest : public KelmoTest {};

TEST_F(RandomTest, StepsFromKnownStates) {
    G.RandomState = 0;
    EXPECT_EQ(RandomStep(), 1u >> 1);
    EXPECT_EQ(G.RandomState, 1u);
    RandomStep();
    EXPECT_EQ(G.RandomState, 134775814u);
    EXPECT_EQ(RandomStep(), 3698175007u >> 1);
    EXPECT_EQ(G.RandomState, 0xDC6DAC1Fu);

    ResetGameModel();   // program start: all ones
    EXPECT_EQ(G.RandomState, 0xFFFFFFFFu);
    RandomStep();
    EXPECT_EQ(G.RandomState, 4160191484u);
    RandomStep();
    EXPECT_EQ(G.RandomState, 866343917u);

    G.RandomState = 0;
    EXPECT_EQ(RandomUniform(), 0.0);
    EXPECT_EQ(RandomUniform(), (double)(134775814u >> 1) / 2147483648.0);
}

TEST_F(RandomTest, InRangeTakesOneStepAndOrdersItsBounds) {
    G.RandomState = 0;
    EXPECT_EQ(RandomInRange(0, 51), 0);
    EXPECT_EQ(G.RandomState, 1u);

    // (5, 2) is (2, 5), and one step is taken even for a single value.
    for (uint32_t start : {0u, 12345u, 0xFFFFFFFFu, 0x80000000u}) {
        G.RandomState = start;
        int forward = RandomInRange(2, 5);
        uint32_t after = G.RandomState;
        G.RandomState = start;
        EXPECT_EQ(RandomInRange(5, 2), forward);
        EXPECT_EQ(G.RandomState, after);
        G.RandomState = start;
        EXPECT_EQ(RandomInRange(7, 7), 7);
        EXPECT_EQ(G.RandomState, after);
    }
}

TEST_F(RandomTest, ScalingIsExactAtTheEdges) {
    EXPECT_EQ(ScaleToRange(0, 0, 51), 0);
    EXPECT_EQ(ScaleToRange(0x7FFFFFFFu, 0, 51), 51);
    // floor(k * 52 / 2^31) just below and at a step of the result.
    uint32_t k = (uint32_t)((2147483648ull * 26 + 51) / 52);   // first k giving 26
    EXPECT_EQ(ScaleToRange(k, 0, 51), 26);
    EXPECT_EQ(ScaleToRange(k - 1, 0, 51), 25);
    // The widest range needs all 64 bits.
    EXPECT_EQ(ScaleToRange(0x7FFFFFFFu, INT_MIN, INT_MAX), INT_MAX - 1);
    EXPECT_EQ(ScaleToRange(0, INT_MIN, INT_MAX), INT_MIN);
}

TEST_F(RandomTest, ReseedIsTheSinglePrecisionBitPattern) {
    RandomReseed(11299);
    EXPECT_EQ(G.RandomState, 0x46308C00u);
    EXPECT_EQ(ReseedState(43200.0), 0x4728C000u);
    EXPECT_EQ(ReseedState(43200.5), 0x4728C080u);
    EXPECT_EQ(ReseedState(0.0), 0u);
    EXPECT_EQ(ReseedState(1.0), 0x3F800000u);
    // Taken to the nearest single: 2^24 + 1 rounds to 2^24.
    EXPECT_EQ(ReseedState(16777217.0), ReseedState(16777216.0));
}

TEST_F(RandomTest, DrawGameNumberFromTheTimeOfDay) {
    clock.Set({2015, 3, 7, 12, 0, 0, 0});
    DrawGameNumber();
    EXPECT_EQ(G.GameNumber, 4016);
    EXPECT_EQ(G.RandomState, NextRandomState(0x4728C000u));

    clock.Set({2015, 3, 7, 12, 0, 0, 500});
    DrawGameNumber();
    EXPECT_EQ(G.GameNumber, 4182);
    EXPECT_EQ(G.RandomState, NextRandomState(0x4728C080u));

    // Just before midnight the number stays in 1..9999.
    clock.Set({2015, 3, 7, 23, 59, 59, 999});
    DrawGameNumber();
    EXPECT_GE(G.GameNumber, 1);
    EXPECT_LE(G.GameNumber, 9999);
}
