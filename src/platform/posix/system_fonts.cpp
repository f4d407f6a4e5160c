// The installed font families, as fontconfig knows them, and where the
// suit-symbol font may lie.
#include "platform/posix/system_fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <filesystem>

#include "model/text.h"
#include "platform/files.h"

namespace fs = std::filesystem;

std::vector<std::string> SystemFontFolders = {"/usr/local/share/fonts", "/usr/share/fonts"};

std::vector<std::string> SuitFontFolders() {
    std::vector<std::string> folders;
    const std::string home = GetEnvironment("HOME");
    const std::string dataHome = GetEnvironment("XDG_DATA_HOME");
    if (!dataHome.empty())
        folders.push_back(dataHome + "/fonts");
    else if (!home.empty())
        folders.push_back(home + "/.local/share/fonts");
    if (!home.empty()) folders.push_back(home + "/.fonts");
    // The system's data folders as the desktop names them; unset, the usual
    // /usr/local/share and /usr/share.
    const std::string dataDirs = GetEnvironment("XDG_DATA_DIRS");
    if (dataDirs.empty()) {
        for (const std::string& folder : SystemFontFolders) folders.push_back(folder);
        return folders;
    }
    size_t start = 0;
    while (start <= dataDirs.size()) {
        size_t colon = dataDirs.find(':', start);
        if (colon == std::string::npos) colon = dataDirs.size();
        std::string dir = dataDirs.substr(start, colon - start);
        while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        if (!dir.empty()) folders.push_back(dir + "/fonts");
        start = colon + 1;
    }
    return folders;
}

bool FolderHoldsSuitFont(const std::string& folder) {
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec)) return false;
    // Unreadable subfolders are passed over; directory links are not
    // followed, so a loop cannot trap the search.
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (AsciiLower(it->path().filename().string()) != "bridge.ttf") continue;
        std::error_code typeError;
        if (it->is_regular_file(typeError)) return true;
    }
    return false;
}

bool SuitFontInstalled(FontList& fonts) {
    for (const std::string& folder : SuitFontFolders())
        if (FolderHoldsSuitFont(folder)) return true;
    return FamiliesHoldSuitFont(fonts.Families());
}

namespace {

class FontconfigList : public FontList {
public:
    std::vector<std::string> Families() override {
        std::vector<std::string> names;
        if (!FcInit()) return names;
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, (char*)nullptr);
        FcFontSet* set = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
        if (set) {
            for (int i = 0; i < set->nfont; i++) {
                // A face may carry several family names (e.g. localised ones).
                FcChar8* family = nullptr;
                for (int k = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, k, &family) == FcResultMatch; k++)
                    names.push_back(reinterpret_cast<const char*>(family));
            }
            FcFontSetDestroy(set);
        }
        if (objects) FcObjectSetDestroy(objects);
        if (pattern) FcPatternDestroy(pattern);
        std::sort(names.begin(), names.end());
        names.erase(std::unique(names.begin(), names.end()), names.end());
        return names;
    }

    bool HasSuitFont() override { return SuitFontInstalled(*this); }

    // The family fontconfig matches for the name must be the name itself or
    // one of the families its configuration binds to the name (strongly: the
    // metric aliases, our own for Comic Sans MS). The weak ones that follow
    // are the generic fall-backs, which any unknown name gets.
    bool TakesFace(const std::string& name) override {
        if (name.empty() || !FcInit()) return false;
        FcPattern* pattern = FcPatternCreate();
        if (!pattern) return false;
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        std::vector<std::string> bound;
        FcValue value;
        FcValueBinding binding;
        for (int i = 0; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; i++) {
            if (binding == FcValueBindingWeak) break;
            if (value.type == FcTypeString) bound.push_back(AsciiUpper(reinterpret_cast<const char*>(value.u.s)));
        }
        FcResult result;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        bool taken = false;
        FcChar8* family = nullptr;
        if (match && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch)
            taken = std::find(bound.begin(), bound.end(), AsciiUpper(reinterpret_cast<const char*>(family))) !=
                    bound.end();
        if (match) FcPatternDestroy(match);
        FcPatternDestroy(pattern);
        return taken;
    }
};

}  // namespace

FontList* MakeSystemFontList() { return new FontconfigList; }

// fontconfig finds fonts in the user's own folder by itself; fc-cache makes
// programs that are running see the new one at once.
std::vector<std::vector<std::string>> SuitFontAdvice() {
    return {{"Copy it into ", "~/.local/share/fonts", ","}, {"then run ", "fc-cache", "."}};
}
