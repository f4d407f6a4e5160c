// The program's threads, and who stops each:
// - the main thread: the console, every screen and every file; it ends the
//   program.
// - the solver's worker (analysis.cpp): solves boards ahead of the screen;
//   started by ddanalysis, stopped and joined by StopSolving, which
//   RunProgram calls however it ends (and the tests after each test).
// - DDS's own threads, inside each call into the solver: the library
//   starts and ends them within the call.
// - a sound's thread (posix/sound.cpp): plays one wave, detached, and ends
//   with it; a cap keeps them few. Windows plays through PlaySound.
// - on Windows, the thread the system starts for a console event (Ctrl+C,
//   the window closed): it removes a half-written temporary and ends the
//   process.
// None but the main thread takes the signals that end the program: the
// threads below start with them blocked.
//
// Threads that never take the signals that end the program. The handler
// (InstallEndHandlers) must run on the main thread: it relies on the main
// thread blocking those signals while it records a temporary's name or the
// terminal's reset bytes, and a signal handed to another thread would run
// it in the middle of such a change.
#pragma once

#include <functional>
#include <thread>

// Runs `work` with the ending signals held back in this thread (taken when
// it returns), so that every thread it starts, a library's too, inherits
// the block. On Windows, which has no such signals, it just runs `work`.
void WithEndSignalsHeld(const std::function<void()>& work);

// A thread started with the ending signals blocked in it for good.
inline std::thread StartThread(std::function<void()> work) {
    std::thread thread;
    WithEndSignalsHeld([&] { thread = std::thread(std::move(work)); });
    return thread;
}
