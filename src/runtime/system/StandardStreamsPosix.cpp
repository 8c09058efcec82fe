#include "StandardStreams.h"

namespace quorrel {

struct StandardStreams::Consoles {};

StandardStreams::StandardStreams() {
    std::ios::sync_with_stdio(false);
}

StandardStreams::~StandardStreams() = default;

}  // namespace quorrel
