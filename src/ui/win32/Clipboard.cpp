#include "Clipboard.h"

#include <algorithm>
#include <memory>
#include <type_traits>

namespace quorrel::win32 {
namespace {

struct GlobalFreer {
    void operator()(HGLOBAL memory) const noexcept { GlobalFree(memory); }
};
using GlobalMemory = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalFreer>;

// The clipboard open for as long as the object lives.
class OpenClipboardScope {
  public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    ~OpenClipboardScope() {
        if (open_) {
            CloseClipboard();
        }
    }
    bool isOpen() const noexcept { return open_; }

  private:
    bool open_;
};

GlobalMemory textInGlobalMemory(std::wstring_view text) {
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!memory) {
        return memory;
    }
    auto* characters = static_cast<wchar_t*>(GlobalLock(memory.get()));
    if (characters == nullptr) {
        return GlobalMemory();
    }
    std::copy(text.begin(), text.end(), characters);
    characters[text.size()] = L'\0';
    GlobalUnlock(memory.get());
    return memory;
}

}  // namespace

bool copyToClipboard(HWND owner, std::wstring_view text) {
    GlobalMemory memory = textInGlobalMemory(text);
    const OpenClipboardScope clipboard(owner);
    if (!memory || !clipboard.isOpen() || !EmptyClipboard() ||
        SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) {
        return false;
    }
    // The clipboard owns the memory from here on.
    memory.release();
    return true;
}

}  // namespace quorrel::win32
