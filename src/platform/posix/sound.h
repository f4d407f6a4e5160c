// The program's own sounds: generated WAV bytes embedded in the binary.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The WAV bytes of "beep2", "done2" or "notify2" (any letter case); empty
// for an unknown name.
std::string_view SoundWave(const std::string& name);

// What a player needs from a PCM wave. False unless the bytes are a RIFF
// WAVE with a PCM "fmt " chunk and a "data" chunk inside the bytes.
struct WaveFormat {
    int channels = 0, rate = 0, bits = 0;
    const unsigned char* samples = nullptr;
    size_t bytes = 0;
};
bool ParseWave(std::string_view wave, WaveFormat& format);

// Players of the system sound still running; at most three at once.
int SoundsPlaying();
