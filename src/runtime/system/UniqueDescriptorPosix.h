#pragma once

// POSIX only: the owner of a file descriptor.

#include <unistd.h>

#include "UniqueResource.h"

namespace quorrel {

struct DescriptorTraits {
    using Value = int;
    static constexpr int kNone = -1;
    static bool holds(int descriptor) noexcept { return descriptor != kNone; }
    static void giveBack(int descriptor) noexcept { ::close(descriptor); }
};

// An open file descriptor, closed when the object goes; -1 stands for none.
using UniqueDescriptor = UniqueResource<DescriptorTraits>;

}  // namespace quorrel
