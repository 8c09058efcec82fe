#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

namespace quorrel::cli {

// A list's bytes as the readers take them, UTF-8, whatever the tool that wrote them chose: a
// UTF-8 byte-order mark at the start (Excel's "CSV UTF-8", Notepad's "UTF-8 with BOM") is dropped,
// and a list in UTF-16 with its byte-order mark, little-endian (Windows PowerShell 5.1's ">",
// Notepad's "Unicode") or big-endian, is converted to UTF-8. Any other input passes as it is.
// Half a surrogate pair in such a list becomes U+FFFD, which no code page holds, so that the skill
// it lands in is refused by name; a list that ends in half a UTF-16 character (an odd last byte,
// a high surrogate) is a bad-input failure that says so, thrown as the reader reaches the end.
//
// A source that cannot be read (a folder, a closed standard input, an I/O error half way) throws
// ListUnreadable, which no reader mistakes for a fault of the list's text: the caller names the
// list.
class ListUnreadable : public std::runtime_error {
  public:
    // Why a folder given as the list cannot be read.
    static constexpr const char* kFolder = "it is a folder";

    // `reason` as a message gives it after the list's name: "it is a folder".
    explicit ListUnreadable(const std::string& reason) : std::runtime_error(reason) {}
};

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
    std::size_t readSource();
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
