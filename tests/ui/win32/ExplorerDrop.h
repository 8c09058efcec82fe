#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "Win32Api.h"

// After windows.h: its types first.
#include <shlobj.h>

namespace quorrel::win32 {

// The memory of a drop of `paths`, as Explorer hands it to a window with WM_DROPFILES; the window
// releases it (DragFinish).
inline HGLOBAL explorerDrop(const std::vector<std::wstring>& paths) {
    std::wstring files;
    for (const std::wstring& path : paths) {
        files += path + L'\0';
    }
    files += L'\0';
    const HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + files.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(files.begin(), files.end(), reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(drop);
    return drop;
}

}  // namespace quorrel::win32
