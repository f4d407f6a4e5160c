// Placeholder: replaced when this part is built.
#include "settings/fontcheck.h"

void checkfont() {}
