#include <initializer_list>

#include "InterruptionsHeld.h"

namespace quorrel {

InterruptionsHeld::InterruptionsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int request : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        sigaddset(&held, request);
    }
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

InterruptionsHeld::~InterruptionsHeld() {
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace quorrel
