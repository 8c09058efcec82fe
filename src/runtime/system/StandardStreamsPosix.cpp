#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "StandardStreams.h"

namespace quorrel {
namespace {

// A standard descriptor the caller closed (`<&-`, `>&-`) is given /dev/null the wrong way round,
// before anything is opened: else the first file the program opens would take its number and be
// read as standard input, or written as standard output. Reading and writing it then fail as on a
// closed descriptor (EBADF), which the program reports.
void occupyClosedStandardDescriptors() {
    for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
            // The lowest free number, which is this one: those below it are open by now.
            open("/dev/null", (descriptor == STDIN_FILENO ? O_WRONLY : O_RDONLY) | O_CLOEXEC);
        }
    }
}

}  // namespace

struct StandardStreams::Consoles {};

StandardStreams::StandardStreams() {
    occupyClosedStandardDescriptors();
    std::ios::sync_with_stdio(false);
}

StandardStreams::~StandardStreams() = default;

}  // namespace quorrel
