// Start-up checks: the suit-symbol font, one copy per folder.
#pragma once

// Returns when the suit font is found; otherwise shows the SETUP ERROR
// screen, waits for a key and ends the program (exit code 1).
void checkfont();

// Returns when this copy of the program has the working folder to itself
// (see ClaimWorkingFolder); otherwise says another copy runs there, or why
// no lock could be taken, waits for a key and ends the program (exit code
// 1) with no file touched.
void checkfolder();
