// What every system's font list answers alike.
#include "model/text.h"
#include "platform/platform.h"

bool FamiliesHoldSuitFont(const std::vector<std::string>& families) {
    for (const std::string& family : families)
        if (AsciiLower(family) == "bridge") return true;
    return false;
}

bool FontList::HasSuitFont() { return FamiliesHoldSuitFont(Families()); }
