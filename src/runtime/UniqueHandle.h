#pragma once

// Windows only: the owner of a handle that CloseHandle closes.

#include <utility>

#include "WindowsApi.h"

namespace quorrel {

// An open handle (a file's, a process's), closed when the object goes. Both values the system
// uses for no handle, null and INVALID_HANDLE_VALUE, stand for none.
class UniqueHandle {
  public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(HANDLE handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    HANDLE get() const noexcept { return handle_; }
    explicit operator bool() const noexcept {
        return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE;
    }

    // Lets go of the handle without closing it.
    HANDLE release() noexcept { return std::exchange(handle_, nullptr); }

    // Closes the handle held, if any, and holds `handle` instead.
    void reset(HANDLE handle = nullptr) noexcept {
        if (*this) {
            CloseHandle(handle_);
        }
        handle_ = handle;
    }

  private:
    HANDLE handle_ = nullptr;
};

}  // namespace quorrel
