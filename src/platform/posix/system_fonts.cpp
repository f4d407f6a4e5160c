// The installed font families, as fontconfig knows them.
#include <fontconfig/fontconfig.h>

#include <algorithm>

#include "platform/platform.h"

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
};

}  // namespace

FontList* MakeSystemFontList() { return new FontconfigList; }
