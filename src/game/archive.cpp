// Placeholder: replaced when this part is built.
#include "game/archive.h"

void MakeArchivePath() {}
void WriteArchive() {}
void LoadArchive() {}
