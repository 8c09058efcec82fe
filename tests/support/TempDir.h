#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace quorrel::testing {

// Writes the bytes to `path`, replacing the file, with none of the care quorrel-pack takes: for
// scratch files only. Throws std::runtime_error on failure.
void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// A fresh directory under the system's temporary folder, removed with everything in it when the
// object goes.
class TempDir {
  public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::filesystem::path& path() const noexcept { return path_; }

    // Writes `bytes` to the file `name` inside the directory and returns its full path as text.
    std::string write(const std::string& name, std::span<const std::uint8_t> bytes) const;

  private:
    std::filesystem::path path_;
};

}  // namespace quorrel::testing
