// Start-up and the main loop: the program entry, without the process.
#pragma once

// Runs start-up and the main loop until the program ends; returns the exit
// code (EndProgram unwinds to the caller of RunProgram).
int RunProgram();

// Fills the model's fixed texts; makes the archive folder; sets today's
// date.
void initialize();

// The start-up sequence (title, size, initialize, settings, font check,
// print set-up); also run again after a recall whose board 1 did not match.
void StartUp();

// How a game path ended.
enum class PathResult {
    Finished,     // game ready: printing options, then the closing question
    Abandoned,    // AbandonFlag set: the quit question
    BackToMenu,   // next pass at once, no question
    Restart       // start-up again, then the next pass
};

// The four game paths, each a fixed sequence of steps.
PathResult NewGamePath();
PathResult RecallPath();
PathResult MultiSitePath();
PathResult PbnImportPath();

// One pass of the main loop: header, menu, the chosen path, printing
// options and the closing question. Returns when the next pass is to start;
// ends the program (EndProgram) when the user says so.
void MainLoopPass();

// The two questions: each returns when a new pass is to start and ends the
// program otherwise.
void ClosingQuestion();
void QuitQuestion();
