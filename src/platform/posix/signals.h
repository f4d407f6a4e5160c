// The signals that end the program (see InstallEndHandlers), and holding
// them back while a handler must not run.
#pragma once

#include <csignal>

// Ctrl+C, SIGTERM, SIGHUP and SIGQUIT: the one list of them.
inline constexpr int EndSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
bool IsEndSignal(int sig);
sigset_t EndSignalSet();

// Blocks the ending signals in this thread for as long as it lives; a
// thread started meanwhile inherits the block.
class EndSignalsBlocked {
public:
    EndSignalsBlocked();
    ~EndSignalsBlocked();
    EndSignalsBlocked(const EndSignalsBlocked&) = delete;
    EndSignalsBlocked& operator=(const EndSignalsBlocked&) = delete;

private:
    sigset_t old_;
};
