#include "ListInput.h"

#include <array>
#include <utility>

#include "TableFormat.h"
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
               source_.sgetc() == static_cast<unsigned char>(mark.bytes[start_.size()])) {
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
            const auto got = static_cast<std::size_t>(
                source_.sgetn(raw_.data(), static_cast<std::streamsize>(raw_.size())));
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
    if (size == 0) {
        // The end: what waits for its other half never gets it.
        if (oddByte_ || highSurrogate_) {
            appendUtf8(decoded_, kReplacement);
        }
        oddByte_.reset();
        highSurrogate_.reset();
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
