#include "DumpLoad.h"

#include <utility>

#include "runtime/base/OutOfMemory.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

namespace quorrel::cli {

SkillDump loadDump(const std::string& dataPath, const std::string& indexPath, CodePage codePage,
                   FileTable& files) {
    StandaloneHost host(dataPath, indexPath, codePage);
    std::optional<Failure> failure;
    try {
        // The load names the record when it can; this is for memory that ran out while it did.
        failingWhenMemoryRunsOut([&] { loadSkills(host, files); });
    } catch (const Failure& caught) {
        failure = caught;
    }
    // Moved, not copied: a copy of a large table could be what memory runs out on.
    return SkillDump{host.list().takeItems(), std::move(failure), host.recordsGoneThrough(),
                     host.namesWrittenBackOtherwise()};
}

}  // namespace quorrel::cli
