#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <streambuf>
#include <string>
#include <vector>

namespace quorrel::cli {

// A list's bytes as the readers take them, UTF-8, whatever the tool that wrote them chose: a
// UTF-8 byte-order mark at the start (Excel's "CSV UTF-8", Notepad's "UTF-8 with BOM") is dropped,
// and a list in UTF-16 with its byte-order mark, little-endian (Windows PowerShell 5.1's ">",
// Notepad's "Unicode") or big-endian, is converted to UTF-8. Any other input passes as it is.
// What is not UTF-16 in such a list (half a surrogate pair, an odd last byte) becomes U+FFFD,
// which no code page holds, so that the skill it lands in is refused by name.
class ListInput final : public std::streambuf {
  public:
    // `in` must outlive this object, which reads it from where it stands.
    explicit ListInput(std::istream& in);
    ListInput(const ListInput&) = delete;
    ListInput& operator=(const ListInput&) = delete;

    std::istream& stream() noexcept { return stream_; }

  protected:
    int_type underflow() override;

  private:
    enum class Encoding { Utf8, Utf16LittleEndian, Utf16BigEndian };

    void takeByteOrderMark();
    void convertUtf16(std::size_t size);
    void appendUnit(char16_t unit);

    std::streambuf& source_;
    Encoding encoding_ = Encoding::Utf8;
    std::string start_;  // bytes read to look for a mark that turned out to be none
    std::vector<char> raw_;
    std::string decoded_;
    std::optional<std::uint8_t> oddByte_;    // the first half of a unit a read cut in two
    std::optional<char16_t> highSurrogate_;  // waiting for its low surrogate
    bool ended_ = false;
    std::istream stream_;
};

}  // namespace quorrel::cli
