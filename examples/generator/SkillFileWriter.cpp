#include "SkillFileWriter.h"

#include <array>
#include <fstream>
#include <stdexcept>

namespace quorrel::writer {
namespace {

void appendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// The characters of Windows-1252 bytes 0x80..0x9F; 0 where the code page assigns none.
constexpr std::array<char32_t, 32> kUpperHalf = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t point = extra == 0 ? lead : static_cast<char32_t>(lead & (0x3F >> extra));
    for (int i = 0; i < extra; ++i) {
        if (at >= text.size()) {
            throw std::invalid_argument("truncated UTF-8 in \"" + std::string(text) + "\"");
        }
        point = (point << 6) | static_cast<char32_t>(static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return point;
}

std::uint8_t windows1252Byte(char32_t point, std::string_view text) {
    if (point < 0x80 || (point >= 0xA0 && point <= 0xFF)) {
        return static_cast<std::uint8_t>(point);
    }
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
        if (kUpperHalf[i] == point) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    throw std::invalid_argument("\"" + std::string(text) + "\" has a character Windows-1252 lacks");
}

}  // namespace

std::vector<std::uint8_t> indexBytes(std::span<const IndexRecord> records) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(records.size() * 12);
    for (const IndexRecord& record : records) {
        appendLittleEndian(bytes, static_cast<std::uint32_t>(record.offset));
        appendLittleEndian(bytes, static_cast<std::uint32_t>(record.length));
        appendLittleEndian(bytes, record.extra);
    }
    return bytes;
}

SkillFiles gameClientLayout(std::span<const Skill> skills) {
    SkillFiles files;
    std::vector<IndexRecord> records;
    records.reserve(skills.size());
    for (const Skill& skill : skills) {
        const auto offset = static_cast<std::int32_t>(files.data.size());
        files.data.push_back(skill.flag);
        files.data.insert(files.data.end(), skill.name.begin(), skill.name.end());
        files.data.push_back(0);
        records.push_back({offset, static_cast<std::int32_t>(skill.name.size() + 2), 0});
    }
    files.index = indexBytes(records);
    return files;
}

std::string windows1252FromUtf8(std::string_view text) {
    std::string bytes;
    for (std::size_t at = 0; at < text.size();) {
        bytes += static_cast<char>(windows1252Byte(nextCodePoint(text, at), text));
    }
    return bytes;
}

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace quorrel::writer
