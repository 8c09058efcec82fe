#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace quorrel {

// A stream buffer that takes UTF-8 and hands it on as UTF-16, whole characters at a time: a
// character split between two writes waits for its last byte. `write` returns false when the
// text could not be written; the stream then fails.
class Utf16Buffer final : public std::streambuf {
  public:
    using Writer = std::function<bool(std::wstring_view)>;

    explicit Utf16Buffer(Writer write) : write_(std::move(write)) {}

  protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

  private:
    bool writeWholeCharacters();

    Writer write_;
    std::string pending_;
};

// Standard output or standard error as a Windows program should write them: through the console's
// own UTF-16 call when the handle is a console, where UTF-8 bytes would come out garbled in the
// console's code page, and as UTF-8 bytes through `fallback` when it is a pipe or a file.
class ConsoleStream {
  public:
    enum class Standard { Output, Error };

    ConsoleStream(Standard which, std::ostream& fallback);
    ConsoleStream(const ConsoleStream&) = delete;
    ConsoleStream& operator=(const ConsoleStream&) = delete;
    ~ConsoleStream();

    std::ostream& stream() noexcept { return console_ ? *console_ : fallback_; }

  private:
    std::ostream& fallback_;
    std::unique_ptr<Utf16Buffer> buffer_;
    std::unique_ptr<std::ostream> console_;
};

}  // namespace quorrel
