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

    bool HasSuitFont() override { return CheckSuitFont() == SuitFontState::Usable; }

    // Usable means GDI lists the family "Bridge": a file in a font folder
    // is not enough (Windows before 1809, and wine, ignore fonts installed
    // for one user; a damaged file lists nothing). When GDI does not list
    // it, a copy is loaded for this sign-in session only (gone at sign-out,
    // nothing installed): the installer's copy beside the program, else a
    // BRIDGE.TTF in a font folder. Not FR_PRIVATE: GDI then lists a
    // private font, but a printer driver may print another face for it
    // (wine's does).
    SuitFontState CheckSuitFont() override {
        if (FontList::HasSuitFont()) return SuitFontState::Usable;
        std::vector<std::string> files{ProgramFolder() + "\\bridge.ttf"};
        for (const std::string& folder : WindowsSuitFontFolders()) files.push_back(folder + "\\bridge.ttf");
        bool found = false;
        for (const std::string& file : files) {
            if (!FileExists(file)) continue;
            found = true;
            if (AddFontResourceExW(WideFromUtf8(file).c_str(), 0, nullptr) > 0 && FontList::HasSuitFont())
                return SuitFontState::Usable;
        }
        return found ? SuitFontState::Unusable : SuitFontState::Missing;
    }

private:
    static std::string ProgramFolder() {
        wchar_t path[32768];
        DWORD length = GetModuleFileNameW(nullptr, path, 32768);
        if (length == 0 || length >= 32768) return ".";
        std::string folder = Utf8FromWide(std::wstring(path, length));
        size_t slash = folder.find_last_of("\\/");
        return slash == std::string::npos ? "." : folder.substr(0, slash);
    }
};

}  // namespace

FontList* MakeSystemFontList() { return new GdiFontList; }

// The installer puts the font where this user's Windows takes it.
std::vector<std::vector<std::string>> SuitFontAdvice() {
    return {{"Run the ", "Kelmo setup program", " again,"},
            {"or right-click ", "BRIDGE.TTF", " and select ", "INSTALL", "."}};
}

// GDI keeps nothing a leak checker would see.
void ReleaseSystemLibraries() {}
