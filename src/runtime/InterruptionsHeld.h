#pragma once

#ifndef _WIN32
#include <signal.h>
#endif

namespace quorrel {

// While an object of this class lives, the keyboard's and the system's requests to stop the
// program (Ctrl+C, SIGTERM, SIGHUP, SIGQUIT; Ctrl+C and Ctrl+Break on Windows) wait, so that work
// which must not be left half done, like putting files in place, finishes or undoes itself first.
// Off Windows a request that came meanwhile takes effect when the object goes; Windows drops it.
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

}  // namespace quorrel
