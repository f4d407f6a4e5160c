// Sound: the program's own wave resources, played asynchronously by name.
// Without a sound device PlaySound fails at once, and that is that.
#include <windows.h>
#include <mmsystem.h>

#include "model/text.h"
#include "platform/platform.h"

namespace {

class ResourceSound : public Sound {
public:
    void Play(const std::string& name) override {
        const std::string upper = AsciiUpper(name);
        if (upper != "BEEP2" && upper != "DONE2" && upper != "NOTIFY2") return;
        PlaySoundA(upper.c_str(), GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
    }
};

}  // namespace

Sound* MakeSystemSound() { return new ResourceSound; }
