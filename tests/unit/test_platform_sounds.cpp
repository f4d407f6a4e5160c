#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/posix/sound.h"
#include "support/doubles.h"

namespace {

uint32_t U32(const std::string& b, size_t at) {
    return (uint8_t)b[at] | (uint8_t)b[at + 1] << 8 | (uint8_t)b[at + 2] << 16 | (uint32_t)(uint8_t)b[at + 3] << 24;
}
uint16_t U16(const std::string& b, size_t at) { return (uint8_t)b[at] | (uint8_t)b[at + 1] << 8; }

struct Expected {
    const char* name;
    int channels;
    double seconds;
};

}  // namespace

// Read straight from the RIFF header, independent of the player's parser.
TEST(PlatformSounds, EachWaveIsPcm22050Hz16BitWithItsChannelsAndLength) {
    for (Expected e : {Expected{"beep2", 1, 0.39}, Expected{"done2", 2, 1.35}, Expected{"notify2", 1, 0.25}}) {
        SCOPED_TRACE(e.name);
        std::string wave(SoundWave(e.name));
        ASSERT_GE(wave.size(), 44u);
        EXPECT_EQ(wave.substr(0, 4), "RIFF");
        EXPECT_EQ(U32(wave, 4), wave.size() - 8);
        EXPECT_EQ(wave.substr(8, 4), "WAVE");
        EXPECT_EQ(wave.substr(12, 4), "fmt ");
        EXPECT_EQ(U32(wave, 16), 16u);
        EXPECT_EQ(U16(wave, 20), 1);   // PCM
        EXPECT_EQ(U16(wave, 22), e.channels);
        EXPECT_EQ(U32(wave, 24), 22050u);
        EXPECT_EQ(U32(wave, 28), 22050u * 2 * e.channels);
        EXPECT_EQ(U16(wave, 32), 2 * e.channels);
        EXPECT_EQ(U16(wave, 34), 16);
        EXPECT_EQ(wave.substr(36, 4), "data");
        uint32_t bytes = U32(wave, 40);
        ASSERT_EQ(bytes, wave.size() - 44);
        double seconds = bytes / (2.0 * e.channels) / 22050;
        EXPECT_NEAR(seconds, e.seconds, 0.005);

        // Audible, and no click at either end.
        int peak = 0;
        for (size_t at = 44; at + 1 < wave.size(); at += 2)
            peak = std::max(peak, std::abs((int16_t)U16(wave, at)));
        EXPECT_GT(peak, 8000);
        EXPECT_LT(std::abs((int16_t)U16(wave, 44)), 500);
        EXPECT_LT(std::abs((int16_t)U16(wave, wave.size() - 2)), 500);
    }
}

TEST(PlatformSounds, NamesMatchWithoutRegardToCase) {
    EXPECT_EQ(SoundWave("BEEP2"), SoundWave("beep2"));
    EXPECT_EQ(SoundWave("Notify2"), SoundWave("notify2"));
    EXPECT_NE(SoundWave("done2"), SoundWave("beep2"));
    EXPECT_TRUE(SoundWave("beep3").empty());
    EXPECT_TRUE(SoundWave("").empty());
}

TEST(PlatformSounds, ParserRefusesWavesThatWouldReadPastTheirEnd) {
    std::string wave(SoundWave("beep2"));
    WaveFormat format;
    ASSERT_TRUE(ParseWave(wave, format));
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.rate, 22050);
    EXPECT_EQ(format.bytes, wave.size() - 44);

    EXPECT_FALSE(ParseWave(wave.substr(0, wave.size() - 1), format));   // data cut short
    EXPECT_FALSE(ParseWave(wave.substr(0, 30), format));
    std::string noFormat = wave;
    noFormat[12] = 'x';   // "fmt " chunk unknown: data without a format
    EXPECT_FALSE(ParseWave(noFormat, format));
    std::string compressed = wave;
    compressed[20] = 2;
    EXPECT_FALSE(ParseWave(compressed, format));
}

// These machines have no sound device: every player fails at once.
TEST(PlatformSounds, AtMostThreePlayAtOnceEachEndsAndAlsaWritesNothingOnTheScreen) {
    testing::internal::CaptureStderr();
    Sound* sound = MakeSystemSound();
    int most = 0;
    for (int i = 0; i < 10; i++) {
        sound->Play("beep2");
        most = std::max(most, SoundsPlaying());
    }
    sound->Play("no such sound");
    // Players are detached; a bounded wait for them, not a timing.
    for (int i = 0; i < 1000 && SoundsPlaying() > 0; i++) usleep(10000);
    int left = SoundsPlaying();
    delete sound;
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_GE(most, 1);
    EXPECT_LE(most, 3);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(errors, "");
}
