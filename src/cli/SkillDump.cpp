#include "SkillDump.h"

#include <new>
#include <utility>

#include "NumberedSkillList.h"
#include "skills/LoadAction.h"
#include "skills/LoadHost.h"

namespace quorrel::cli {
namespace {

// The load action's home in quorrel-dump: fixed paths and code page, a numbered list and the
// working fields.
class DumpHost final : public LoadHost {
  public:
    DumpHost(std::string dataPath, std::string indexPath, CodePage codePage)
        : dataPath_(std::move(dataPath)), indexPath_(std::move(indexPath)), codePage_(codePage) {}

    SkillList& lstSkills() override { return list_; }
    std::string txtPathText() const override { return dataPath_; }
    std::string txtPathIdxText() const override { return indexPath_; }
    LoadFields& loadFields() override { return fields_; }
    CodePage namesCodePage() const override { return codePage_; }

    std::vector<DumpedSkill> takeSkills() noexcept { return list_.takeSkills(); }
    // The load leaves the number of the record it stopped at: the count of those before it.
    std::uint64_t recordsGoneThrough() const noexcept { return fields_.record; }

  private:
    std::string dataPath_;
    std::string indexPath_;
    CodePage codePage_;
    LoadFields fields_;
    NumberedSkillList list_{fields_};
};

}  // namespace

SkillDump dumpSkills(const std::string& dataPath, const std::string& indexPath, CodePage codePage,
                     FileTable& files) {
    DumpHost host(dataPath, indexPath, codePage);
    std::optional<Failure> failure;
    try {
        loadSkills(host, files);
    } catch (const Failure& caught) {
        failure = caught;
    } catch (const std::bad_alloc&) {
        // The load names the record when it can; this is for memory that ran out while it did.
        failure = Failure(FailureKind::OutOfMemory, "out of memory");
    }
    // Moved, not copied: a copy of a large table could be what memory runs out on.
    return SkillDump{host.takeSkills(), std::move(failure), host.recordsGoneThrough()};
}

}  // namespace quorrel::cli
