#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Writes skill files for demos, tests, benchmarks and fuzzing. Quorrel itself only reads them.
namespace quorrel::writer {

// One index record as it stands in the file.
struct IndexRecord {
    std::int32_t offset = 0;
    std::int32_t length = 0;
    std::uint32_t extra = 0;
};

// One skill: its name as 8-bit bytes and its flag byte.
struct Skill {
    std::string name;
    std::uint8_t flag = 0;
};

// The bytes of an index file and a data file.
struct SkillFiles {
    std::vector<std::uint8_t> index;
    std::vector<std::uint8_t> data;
};

// The index file's bytes: each record as three little-endian 32-bit values.
std::vector<std::uint8_t> indexBytes(std::span<const IndexRecord> records);

// The files as game clients write them: each data record is the flag, the name and a terminating
// zero, and the index record's length counts all three.
SkillFiles gameClientLayout(std::span<const Skill> skills);

// `text` (UTF-8) in Windows-1252. Throws std::invalid_argument for a character the code page lacks.
std::string windows1252FromUtf8(std::string_view text);

// Writes the bytes to `path`, replacing the file. Throws std::runtime_error on failure.
void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace quorrel::writer
