#include "DroppedFiles.h"

#include <memory>
#include <type_traits>

#include "runtime/system/WideTextWindows.h"

namespace quorrel::win32 {
namespace {

struct DropFinisher {
    void operator()(HDROP drop) const noexcept { DragFinish(drop); }
};
using DropHandle = std::unique_ptr<std::remove_pointer_t<HDROP>, DropFinisher>;

}  // namespace

std::vector<std::string> takeDroppedPaths(HDROP drop) {
    const DropHandle held(drop);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> paths;
    paths.reserve(count);
    for (UINT index = 0; index < count; ++index) {
        std::wstring path(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, index, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(utf8FromWide(path));
    }
    return paths;
}

}  // namespace quorrel::win32
