#include <time.h>

#include <csignal>
#include <cstdlib>
#include <initializer_list>

#include "InterruptionsHeld.h"

namespace quorrel {
namespace {

// The request kept, 0 for none. Requests are taken with sigtimedwait, never by a handler.
int requested = 0;
bool holding = false;

sigset_t stopRequests() {
    sigset_t requests;
    sigemptyset(&requests);
    for (const int request : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        sigaddset(&requests, request);
    }
    return requests;
}

// Takes a request that is waiting, or one that comes within `timeout`, and keeps the first;
// whether one was taken.
bool take(const timespec& timeout) {
    const sigset_t requests = stopRequests();
    const int request = sigtimedwait(&requests, nullptr, &timeout);
    if (request > 0 && requested == 0) {
        requested = request;
    }
    return request > 0;
}

}  // namespace

InterruptionsHeld::InterruptionsHeld() {
    requested = 0;
    const sigset_t requests = stopRequests();
    pthread_sigmask(SIG_BLOCK, &requests, &previous_);
    holding = true;
}

InterruptionsHeld::~InterruptionsHeld() {
    // Every request waiting is taken, so that none ends the program as the mask is restored.
    while (take(timespec{})) {
    }
    holding = false;
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

std::optional<std::string> interruptionRequested() {
    if (holding) {
        take(timespec{});
    }
    switch (requested) {
        case 0:
            return std::nullopt;
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "SIGQUIT";
    }
}

bool interruptionRequestedWithin(int milliseconds) {
    const timespec timeout{milliseconds / 1000, (milliseconds % 1000) * 1'000'000L};
    if (holding) {
        take(timeout);
    } else {
        nanosleep(&timeout, nullptr);
    }
    return requested != 0;
}

void endAsInterruptionRequested() {
    const int request = requested;
    if (request == 0) {
        return;
    }
    std::signal(request, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, request);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(request);
    // Not reached: the default action of every one of these requests ends the program.
    std::_Exit(128 + request);
}

}  // namespace quorrel
