#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "TableFormat.h"
#include "runtime/base/Failure.h"
#include "skills/SkillTableBuilder.h"

namespace quorrel::cli {

// The most bytes a list may give for one name: a line of text, a CSV field, a JSON string or
// number. A data file holds no more (2 GiB), and the cap keeps an endless line (--from
// /dev/urandom) from taking all the memory there is before it is refused.
inline constexpr std::size_t kLongestListedName = SkillTableBuilder::kLargestFile;

// The failure for a `what` ("the line", "a field") longer than `longest`.
inline Failure tooLong(const std::string& what, std::size_t longest) {
    return Failure(FailureKind::BadInput, what + " runs past " + std::to_string(longest) +
                                              " bytes, the most quorrel-pack reads for a name");
}

// The failure for a raw zero byte, which no list quorrel-dump writes holds and no name may. UTF-16
// without a byte-order mark is full of them, and is not taken for UTF-16.
inline Failure zeroByte() {
    return Failure(FailureKind::BadInput,
                   "a zero byte; a name cannot hold one, and text lists write none (a list in "
                   "UTF-16 must start with its byte-order mark)");
}

// The failure for a byte-order mark after the start of the list, where two lists were joined
// (`cat a.csv b.csv`, PowerShell's `>>` onto a list saved with a mark) or a tool wrote the mark
// twice; the mark that starts a list is dropped before any reader sees it.
inline Failure byteOrderMarkInTheMiddle() {
    return Failure(FailureKind::BadInput,
                   "a byte-order mark in the middle of the list (two lists joined into one, or a "
                   "mark written twice?)");
}

inline bool startsWithByteOrderMark(std::string_view text) {
    return text.starts_with(kUtf8ByteOrderMark);
}

}  // namespace quorrel::cli
