// Windows has no signals to hold back: Ctrl+C and closing the window reach
// the program through its console control handler, on a thread of its own.
#include "platform/threads.h"

void WithEndSignalsHeld(const std::function<void()>& work) { work(); }
