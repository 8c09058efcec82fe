#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "ConsoleStreamWindows.h"
#include "StandardStreams.h"

namespace quorrel {

struct StandardStreams::Consoles {
    ConsoleStream out{ConsoleStream::Standard::Output, std::cout};
    ConsoleStream err{ConsoleStream::Standard::Error, std::cerr};
};

StandardStreams::StandardStreams() {
    std::ios::sync_with_stdio(false);
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    consoles_ = std::make_unique<Consoles>();
    out_ = &consoles_->out.stream();
    err_ = &consoles_->err.stream();
}

StandardStreams::~StandardStreams() = default;

}  // namespace quorrel
