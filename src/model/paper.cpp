#include "model/paper.h"

#include "model/text.h"

const char* PaperName(Paper paper) { return paper == Paper::A4 ? "A4" : paper == Paper::Letter ? "Letter" : "auto"; }

bool PaperOfSetting(const std::string& name, Paper& paper) {
    const std::string up = AsciiUpper(Trim(name, " \t"));
    for (Paper each : {Paper::Auto, Paper::A4, Paper::Letter})
        if (up == AsciiUpper(PaperName(each))) {
            paper = each;
            return true;
        }
    return false;
}
