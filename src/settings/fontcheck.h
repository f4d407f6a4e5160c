// Start-up check that the suit-symbol font is installed.
#pragma once

void checkfont();
