#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "RecordingSkillList.h"
#include "skills/LoadHost.h"

namespace quorrel::testing {

// A home for the load action that logs each read of a path text into the list's log and counts
// how often each path text was read. The data path may change from one read to the next.
class RecordingHost final : public LoadHost {
  public:
    RecordingHost(std::string dataPath, std::string indexPath)
        : dataPaths_{std::move(dataPath)}, indexPath_(std::move(indexPath)) {}

    // The data path texts handed out in turn, the last one again once they run out.
    void setDataPaths(std::vector<std::string> paths) {
        dataPaths_ = std::move(paths);
        nextDataPath_ = 0;
    }
    void setIndexPath(std::string path) { indexPath_ = std::move(path); }

    SkillList& lstSkills() override { return list_; }
    LoadFields& loadFields() override { return fields_; }

    std::string txtPathText() const override {
        list_.note("read txtPath");
        ++dataReads_;
        return dataPaths_[std::min(nextDataPath_++, dataPaths_.size() - 1)];
    }

    std::string txtPathIdxText() const override {
        list_.note("read txtPathIdx");
        ++indexReads_;
        return indexPath_;
    }

    RecordingSkillList& list() noexcept { return list_; }
    const LoadFields& fields() const noexcept { return fields_; }
    std::size_t dataPathReads() const noexcept { return dataReads_; }
    std::size_t indexPathReads() const noexcept { return indexReads_; }

  private:
    std::vector<std::string> dataPaths_;
    std::string indexPath_;
    LoadFields fields_;
    RecordingSkillList list_{fields_};
    mutable std::size_t nextDataPath_ = 0;
    mutable std::size_t dataReads_ = 0;
    mutable std::size_t indexReads_ = 0;
};

}  // namespace quorrel::testing
