// Start-up check that the suit-symbol font is installed.
#pragma once

// Returns when the suit font is found; otherwise shows the SETUP ERROR
// screen, waits for a key and ends the program (exit code 0).
void checkfont();
