#pragma once

// Windows only: the owner of a handle that CloseHandle closes.

#include "UniqueResource.h"
#include "WindowsApi.h"

namespace quorrel {

struct HandleTraits {
    using Value = HANDLE;
    static constexpr HANDLE kNone = nullptr;
    // The system uses both null and INVALID_HANDLE_VALUE for no handle, by call.
    static bool holds(HANDLE handle) noexcept {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    static void giveBack(HANDLE handle) noexcept { CloseHandle(handle); }
};

// An open handle (a file's, a process's), closed when the object goes.
using UniqueHandle = UniqueResource<HandleTraits>;

}  // namespace quorrel
