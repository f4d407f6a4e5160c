// The paper of the printouts and its names: the one place that spells them.
#pragma once

#include <string>

// As the system says (the default printer's, else the locale's, else
// Letter), or forced by the settings.
enum class Paper { Auto, A4, Letter };

// The name the settings file and the screens give it: "auto", "A4",
// "Letter".
const char* PaperName(Paper paper);
// A name in any letter case as the paper it names; false for any other.
bool PaperOfSetting(const std::string& name, Paper& paper);
