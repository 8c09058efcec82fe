#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#ifndef _WIN32
#include <signal.h>
#endif

namespace quorrel {

// While an object of this class lives, the keyboard's and the system's requests to stop the
// program (Ctrl+C, SIGTERM, SIGHUP, SIGQUIT; Ctrl+C and Ctrl+Break on Windows) wait, so that work
// which must not be left half done, like putting files in place, finishes or undoes itself first,
// and the locks it holds are let go. A request that comes meanwhile is kept: the work asks for it
// where stopping is safe (interruptionRequested), and the program's main ends as the request would
// have ended it once everything is tidied up and said (endAsInterruptionRequested). One object at a
// time; making one forgets a request kept before.
class InterruptionsHeld {
  public:
    InterruptionsHeld();
    InterruptionsHeld(const InterruptionsHeld&) = delete;
    InterruptionsHeld& operator=(const InterruptionsHeld&) = delete;
    ~InterruptionsHeld();

  private:
#ifndef _WIN32
    sigset_t previous_{};
#endif
};

// Thrown where held work gives way to a request to stop: nothing has been changed that is not
// undone as the exception passes.
struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("stopped by request") {}
};

// Whether a request to stop has come while interruptions were held, as users know it ("SIGTERM",
// "Ctrl+C"); nothing when none has.
std::optional<std::string> interruptionRequested();

// Waits up to `milliseconds`, less when a request to stop comes meanwhile, which is then kept;
// whether one has come. Without interruptions held a request ends the program as ever.
bool interruptionRequestedWithin(int milliseconds);

// Ends the program as the request kept would have ended it (the status a shell shows, 130 for
// Ctrl+C and 143 for SIGTERM), after everything else is done; returns when none came.
void endAsInterruptionRequested();

}  // namespace quorrel
