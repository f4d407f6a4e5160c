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
