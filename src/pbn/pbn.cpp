// Placeholder: replaced when this part is built.
#include "pbn/pbn.h"

void EncodeDDTricksTexts() {}
void MakePbnFilePath() {}
void writepbnfile() {}
void readpbnfile() {}
void DecodeDDTricksTexts() {}
std::string PbnFileText(const std::string& /*todayMmDdYyyy*/) { return {}; }
bool PbnStoredTricksUsable() { return false; }
