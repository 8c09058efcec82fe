#include "ConsoleStreamWindows.h"

#include <algorithm>

#include "WideTextWindows.h"
#include "WindowsApi.h"

namespace quorrel {
namespace {

// How many bytes at the end of `text` begin a UTF-8 character that is not complete yet.
std::size_t incompleteTail(std::string_view text) {
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return needed > back ? back : 0;
        }
    }
    return 0;
}

bool writeToConsole(HANDLE console, std::wstring_view text) {
    while (!text.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 8192));
        if (!WriteConsoleW(console, text.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace

Utf16Buffer::int_type Utf16Buffer::overflow(int_type character) {
    if (traits_type::eq_int_type(character, traits_type::eof())) {
        return traits_type::not_eof(character);
    }
    pending_.push_back(traits_type::to_char_type(character));
    if (pending_.back() == '\n' && !writeWholeCharacters()) {
        return traits_type::eof();
    }
    return character;
}

std::streamsize Utf16Buffer::xsputn(const char* bytes, std::streamsize count) {
    pending_.append(bytes, static_cast<std::size_t>(count));
    if (pending_.size() >= 4096 && !writeWholeCharacters()) {
        return 0;
    }
    return count;
}

int Utf16Buffer::sync() {
    return writeWholeCharacters() ? 0 : -1;
}

bool Utf16Buffer::writeWholeCharacters() {
    const std::size_t whole = pending_.size() - incompleteTail(pending_);
    const bool written = write_(wideFromUtf8(std::string_view(pending_).substr(0, whole)));
    pending_.erase(0, whole);
    return written;
}

ConsoleStream::ConsoleStream(Standard which, std::ostream& fallback) : fallback_(fallback) {
    const HANDLE handle =
        GetStdHandle(which == Standard::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode)) {
        return;
    }
    buffer_ = std::make_unique<Utf16Buffer>(
        [handle](std::wstring_view text) { return writeToConsole(handle, text); });
    console_ = std::make_unique<std::ostream>(buffer_.get());
}

ConsoleStream::~ConsoleStream() {
    if (console_) {
        console_->flush();
    }
}

}  // namespace quorrel
