#include <cstddef>

#include "WindowsNames.h"
#include "runtime/system/WideTextWindows.h"
#include "runtime/system/WindowsApi.h"

namespace quorrel {

namespace {

bool isSurrogate(wchar_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

}  // namespace

// The file system upper-cases a name one UTF-16 unit at a time, where a surrogate has no case;
// CharUpperBuffW, given a whole pair, may fold the character it makes (Wine's does), so only the
// runs between surrogates go to it.
std::string upperCaseAsWindowsNames(std::string_view name) {
    std::wstring wide = wideFromUtf8(name);
    for (std::size_t start = 0; start < wide.size();) {
        if (isSurrogate(wide[start])) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < wide.size() && !isSurrogate(wide[end])) {
            ++end;
        }
        CharUpperBuffW(wide.data() + start, static_cast<DWORD>(end - start));
        start = end;
    }
    return utf8FromWide(wide);
}

}  // namespace quorrel
