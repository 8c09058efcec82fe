#include "ListInput.h"

#include <array>
#include <cerrno>
#include <ios>
#include <system_error>
#include <utility>

#include "TableFormat.h"
#include "runtime/base/Failure.h"
#include "runtime/base/Utf8.h"

namespace quorrel::cli {
namespace {

constexpr std::size_t kBlock = 64 * 1024;
constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Why the standard library could not read, in a user's words.
std::string reasonOf(const std::ios_base::failure& failure) {
    const std::error_code code = failure.code();
    if (code.category() != std::generic_category() && code.category() != std::system_category()) {
        return "the system gave no reason";
    }
    switch (code.value()) {
        case EISDIR:
            return ListUnreadable::kFolder;
        case EBADF:
            return "it is closed, or open for writing only";
        default:
            return code.message();
    }
}

// Runs a read of the source, turning the standard library's failure into ListUnreadable.
template <typename Read>
auto reading(Read&& read) {
    try {
        return read();
    } catch (const std::ios_base::failure& failure) {
        throw ListUnreadable(reasonOf(failure));
    }
}

}  // namespace

ListInput::ListInput(std::istream& in) : source_(*in.rdbuf()), raw_(kBlock), stream_(this) {
    takeByteOrderMark();
}

void ListInput::takeByteOrderMark() {
    struct Mark {
        std::string_view bytes;
        Encoding encoding;
    };
    constexpr std::array<Mark, 3> kMarks = {{{kUtf8ByteOrderMark, Encoding::Utf8},
                                             {"\xFF\xFE", Encoding::Utf16LittleEndian},
                                             {"\xFE\xFF", Encoding::Utf16BigEndian}}};
    for (const Mark& mark : kMarks) {
        // The marks start with three different bytes, so at most one can match what was read.
        while (start_.size() < mark.bytes.size() && mark.bytes.starts_with(start_) &&
               reading([&] { return source_.sgetc(); }) ==
                   static_cast<unsigned char>(mark.bytes[start_.size()])) {
            start_ += static_cast<char>(source_.sbumpc());
        }
        if (start_ == mark.bytes) {
            start_.clear();
            encoding_ = mark.encoding;
            return;
        }
    }
}

std::streambuf::int_type ListInput::underflow() {
    while (gptr() == egptr()) {
        if (!start_.empty()) {
            decoded_ = std::exchange(start_, {});
        } else if (ended_) {
            return traits_type::eof();
        } else {
            const std::size_t got = readSource();
            ended_ = got == 0;
            if (encoding_ == Encoding::Utf8) {
                decoded_.assign(raw_.data(), got);
            } else {
                convertUtf16(got);
            }
        }
        setg(decoded_.data(), decoded_.data(), decoded_.data() + decoded_.size());
    }
    return traits_type::to_int_type(*gptr());
}

std::size_t ListInput::readSource() {
    return reading([&] {
        return static_cast<std::size_t>(
            source_.sgetn(raw_.data(), static_cast<std::streamsize>(raw_.size())));
    });
}

void ListInput::convertUtf16(std::size_t size) {
    decoded_.clear();
    std::size_t at = 0;
    if (oddByte_ && size > 0) {
        const std::array<std::uint8_t, 2> pair = {*oddByte_, static_cast<std::uint8_t>(raw_[0])};
        oddByte_.reset();
        appendUnit(static_cast<char16_t>(encoding_ == Encoding::Utf16LittleEndian
                                             ? pair[0] | pair[1] << 8
                                             : pair[0] << 8 | pair[1]));
        at = 1;
    }
    for (; at + 1 < size; at += 2) {
        const auto first = static_cast<std::uint8_t>(raw_[at]);
        const auto second = static_cast<std::uint8_t>(raw_[at + 1]);
        appendUnit(static_cast<char16_t>(
            encoding_ == Encoding::Utf16LittleEndian ? first | second << 8 : first << 8 | second));
    }
    if (at < size) {
        oddByte_ = static_cast<std::uint8_t>(raw_[at]);
    }
    if (size == 0 && (oddByte_ || highSurrogate_)) {
        // The end: what waits for its other half never gets it. Said only now, when the reader
        // has taken everything before it, so that it is said where the reader stands.
        oddByte_.reset();
        highSurrogate_.reset();
        throw Failure(FailureKind::BadInput,
                      "the list ends in half a UTF-16 character (its last byte, or the first half "
                      "of a surrogate pair); it was cut short, or saved in another encoding");
    }
}

void ListInput::appendUnit(char16_t unit) {
    if (highSurrogate_) {
        const char16_t high = *std::exchange(highSurrogate_, std::nullopt);
        if (isLowSurrogate(unit)) {
            appendUtf8(decoded_, 0x10000 + ((char32_t{high} - 0xD800) << 10) + (unit - 0xDC00));
            return;
        }
        appendUtf8(decoded_, kReplacement);
    }
    if (isHighSurrogate(unit)) {
        highSurrogate_ = unit;
    } else {
        appendUtf8(decoded_, isLowSurrogate(unit) ? kReplacement : char32_t{unit});
    }
}

}  // namespace quorrel::cli
