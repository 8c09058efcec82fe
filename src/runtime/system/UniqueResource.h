#pragma once

#include <utility>

namespace quorrel {

// A resource of the system that the object owns and gives back when it goes: a POSIX descriptor
// (UniqueDescriptor), a Windows handle (UniqueHandle). `Traits` names its type, the value that
// stands for none, whether a value is one, and how it is given back.
template <typename Traits>
class UniqueResource {
  public:
    using Value = typename Traits::Value;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Value value) noexcept : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    Value get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::holds(value_); }

    // Lets go of the resource without giving it back.
    Value release() noexcept { return std::exchange(value_, Traits::kNone); }

    // Gives back the resource held, if any, and holds `value` instead.
    void reset(Value value = Traits::kNone) noexcept {
        if (Traits::holds(value_)) {
            Traits::giveBack(value_);
        }
        value_ = value;
    }

  private:
    Value value_ = Traits::kNone;
};

}  // namespace quorrel
