#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "RecordingHost.h"
#include "SkillFileWriter.h"
#include "TempDir.h"
#include "runtime/Failure.h"
#include "runtime/FileTable.h"
#include "skills/LoadAction.h"

namespace quorrel::testing {

inline std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

inline std::vector<std::string> textsOf(const std::vector<SkillItem>& items) {
    std::vector<std::string> texts;
    for (const SkillItem& item : items) {
        texts.push_back(item.text);
    }
    return texts;
}

// Skill files written into a fresh directory, and a run of the load action over them.
class SkillTables {
  public:
    std::string writeIndex(const std::vector<writer::IndexRecord>& records,
                           const std::string& name = "skills.idx") const {
        return dir_.write(name, writer::indexBytes(records));
    }
    std::string writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        return dir_.write(name, bytes);
    }
    std::string pathOf(const std::string& name) const { return (dir_.path() / name).string(); }

    // Runs the load action; the failure it raised, if any.
    std::optional<Failure> load(LoadHost& host) {
        try {
            loadSkills(host, files_);
        } catch (const Failure& failure) {
            return failure;
        }
        return std::nullopt;
    }

    FileTable& files() noexcept { return files_; }

  private:
    TempDir dir_;
    FileTable files_;
};

}  // namespace quorrel::testing
