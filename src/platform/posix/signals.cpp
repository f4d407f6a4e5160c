#include "platform/posix/signals.h"

#include <pthread.h>

#include "platform/threads.h"

bool IsEndSignal(int sig) {
    for (int end : EndSignals)
        if (sig == end) return true;
    return false;
}

sigset_t EndSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : EndSignals) sigaddset(&set, sig);
    return set;
}

EndSignalsBlocked::EndSignalsBlocked() {
    sigset_t block = EndSignalSet();
    pthread_sigmask(SIG_BLOCK, &block, &old_);
}

EndSignalsBlocked::~EndSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }

void WithEndSignalsHeld(const std::function<void()>& work) {
    EndSignalsBlocked blocked;
    work();
}
