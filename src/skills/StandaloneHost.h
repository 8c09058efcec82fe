#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "LoadHost.h"
#include "MemorySkillList.h"
#include "runtime/text/Text8Bit.h"

namespace quorrel {

// A home for the load action outside a window, as quorrel-dump, the tests and the benchmarks
// have it: fixed path texts and code page, a list in memory and the working fields, all owned
// here.
class StandaloneHost final : public LoadHost {
  public:
    StandaloneHost(std::string dataPath, std::string indexPath,
                   CodePage codePage = CodePage::ofSystem())
        : dataPath_(std::move(dataPath)), indexPath_(std::move(indexPath)), codePage_(codePage) {}

    SkillList& lstSkills() override { return list_; }
    std::string txtPathText() const override { return dataPath_; }
    void txtPathTextInto(std::string& text) const override { text.assign(dataPath_); }
    std::string txtPathIdxText() const override { return indexPath_; }
    LoadFields& loadFields() override { return fields_; }
    CodePage namesCodePage() const override { return codePage_; }

    // Notes the records whose names a table writer would write as other bytes. Only a
    // double-byte code page can give two spellings one character; in a single-byte one every byte
    // is a character of its own.
    void nameRead(std::span<const std::uint8_t> bytes, const std::string& text) override {
        if (codePage_.isDoubleByte() && writtenBackOtherwise(bytes, text, codePage_)) {
            writtenOtherwise_.push_back(fields_.record);
        }
    }

    const MemorySkillList& list() const noexcept { return list_; }
    MemorySkillList& list() noexcept { return list_; }

    // The load leaves the number of the record it stopped at: the count of those before it, empty
    // slots included.
    std::uint64_t recordsGoneThrough() const noexcept { return fields_.record; }

    // The records, in order, whose names are in bytes that would be written back otherwise: a
    // second spelling of some character, which the code page's conversion never writes.
    const std::vector<std::uint64_t>& namesWrittenBackOtherwise() const noexcept {
        return writtenOtherwise_;
    }

  private:
    std::string dataPath_;
    std::string indexPath_;
    CodePage codePage_;
    LoadFields fields_;
    MemorySkillList list_{fields_};
    std::vector<std::uint64_t> writtenOtherwise_;
};

}  // namespace quorrel
