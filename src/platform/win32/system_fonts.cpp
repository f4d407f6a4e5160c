// The font families installed on the display, as GDI enumerates them.
#include <windows.h>

#include <algorithm>

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/win32/win32.h"

namespace {

int CALLBACK AddFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM names) {
    // "@Name" is the vertical-writing twin of a CJK face, not a family of its own.
    if (font->lfFaceName[0] != '@' && font->lfFaceName[0] != '\0')
        reinterpret_cast<std::vector<std::string>*>(names)->push_back(font->lfFaceName);
    return 1;
}

class GdiFontList : public FontList {
public:
    std::vector<std::string> Families() override {
        std::vector<std::string> names;
        HDC screen = GetDC(nullptr);
        if (!screen) return names;
        LOGFONTA all{};
        all.lfCharSet = DEFAULT_CHARSET;   // every family once per character set
        EnumFontFamiliesExA(screen, &all, AddFamily, reinterpret_cast<LPARAM>(&names), 0);
        ReleaseDC(nullptr, screen);
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        return names;
    }

    // BRIDGE.TTF in the system font folder ("systemroot", then "windir") or
    // the user's own, else a family of that name the printer can use.
    bool HasSuitFont() override {
        for (const std::string& folder : WindowsSuitFontFolders())
            if (FileExists(folder + "\\bridge.ttf")) return true;
        return FontList::HasSuitFont();
    }
};

}  // namespace

FontList* MakeSystemFontList() { return new GdiFontList; }
