#pragma once

// POSIX only: the owner of a file descriptor.

#include <unistd.h>

#include <utility>

namespace quorrel {

// An open file descriptor, closed when the object goes; -1 stands for none.
class UniqueDescriptor {
  public:
    static constexpr int kNone = -1;

    UniqueDescriptor() noexcept = default;
    explicit UniqueDescriptor(int descriptor) noexcept : descriptor_(descriptor) {}
    UniqueDescriptor(UniqueDescriptor&& other) noexcept : descriptor_(other.release()) {}
    UniqueDescriptor& operator=(UniqueDescriptor&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueDescriptor() { reset(); }

    int get() const noexcept { return descriptor_; }
    explicit operator bool() const noexcept { return descriptor_ != kNone; }

    // Lets go of the descriptor without closing it.
    int release() noexcept { return std::exchange(descriptor_, kNone); }

    // Closes the descriptor held, if any, and holds `descriptor` instead.
    void reset(int descriptor = kNone) noexcept {
        if (descriptor_ != kNone) {
            ::close(descriptor_);
        }
        descriptor_ = descriptor;
    }

  private:
    int descriptor_ = kNone;
};

}  // namespace quorrel
