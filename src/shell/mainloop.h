// Start-up and the main loop: the program entry, without the process.
#pragma once

// Runs start-up and the main loop until the program ends; returns the exit
// code (EndProgram unwinds to the caller of RunProgram).
int RunProgram();

// The start-up sequence (title, size, initialize, settings, font check,
// print set-up); also run again after a recall whose board 1 did not match.
void StartUp();
