// Sound: the embedded waves played through ALSA on a detached thread. There
// is often no sound device at all; every failure is silent and quick.
#include "platform/posix/sound.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <mutex>

#include "model/text.h"
#include "platform/platform.h"
#include "platform/threads.h"
#include "sounds_data.h"

namespace {

std::string_view View(const unsigned char* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
uint16_t Le16(const unsigned char* p) { return p[0] | p[1] << 8; }

// ALSA prints its complaints to stderr, which would land on the curses screen.
void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}

// A burst of refused keys must not pile up players.
std::atomic<int> playing{0};
constexpr int MaxPlaying = 3;

void PlayWave(std::string_view wave) {
    WaveFormat format;
    if (!ParseWave(wave, format) || format.bits != 16) return;
    snd_pcm_t* pcm = nullptr;
    // Non-blocking open: a device held by another program must not hang us.
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return;
    if (snd_pcm_nonblock(pcm, 0) < 0 ||
        snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                           format.channels, format.rate, 1, 100000) < 0) {
        snd_pcm_close(pcm);
        return;
    }
    const size_t frameBytes = 2 * format.channels;
    const unsigned char* at = format.samples;
    snd_pcm_uframes_t left = format.bytes / frameBytes;
    while (left > 0) {
        snd_pcm_sframes_t done = snd_pcm_writei(pcm, at, left);
        if (done < 0) done = snd_pcm_recover(pcm, (int)done, 1) < 0 ? -1 : 0;
        if (done < 0) break;
        at += done * frameBytes;
        left -= done;
    }
    snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
}

class AlsaSound : public Sound {
public:
    void Play(const std::string& name) override {
        std::string_view wave = SoundWave(name);
        if (wave.empty()) return;
        static std::once_flag quiet;
        std::call_once(quiet, [] { snd_lib_error_set_handler(SilentAlsaError); });
        if (playing.fetch_add(1) >= MaxPlaying) {
            playing--;
            return;
        }
        try {
            StartThread([wave] {
                PlayWave(wave);
                playing--;
            }).detach();
        } catch (...) {
            playing--;   // no thread, no sound
        }
    }
};

}  // namespace

std::string_view SoundWave(const std::string& name) {
    const std::string upper = AsciiUpper(name);
    if (upper == "BEEP2") return View(kBeep2Wave, sizeof kBeep2Wave);
    if (upper == "DONE2") return View(kDone2Wave, sizeof kDone2Wave);
    if (upper == "NOTIFY2") return View(kNotify2Wave, sizeof kNotify2Wave);
    return {};
}

bool ParseWave(std::string_view wave, WaveFormat& format) {
    format = WaveFormat{};
    const auto* p = reinterpret_cast<const unsigned char*>(wave.data());
    const size_t size = wave.size();
    if (size < 12 || wave.substr(0, 4) != "RIFF" || wave.substr(8, 4) != "WAVE") return false;
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= size) {
        std::string_view id = wave.substr(at, 4);
        size_t length = Le32(p + at + 4);
        size_t body = at + 8;
        if (length > size - body) return false;
        if (id == "fmt ") {
            if (length < 16 || Le16(p + body) != 1) return false;   // PCM only
            format.channels = Le16(p + body + 2);
            format.rate = (int)Le32(p + body + 4);
            format.bits = Le16(p + body + 14);
            haveFormat = format.channels > 0 && format.rate > 0;
        } else if (id == "data") {
            if (!haveFormat) return false;
            format.samples = p + body;
            format.bytes = length;
            return true;
        }
        at = body + length + (length & 1);
    }
    return false;
}

int SoundsPlaying() { return playing; }

Sound* MakeSystemSound() { return new AlsaSound; }
