#include "SkillDump.h"

#include "runtime/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

namespace quorrel::cli {

SkillDump dumpSkills(const std::string& dataPath, const std::string& indexPath) {
    StandaloneHost host(dataPath, indexPath);
    FileTable files;
    std::optional<Failure> failure;
    try {
        loadSkills(host, files);
    } catch (const Failure& caught) {
        failure = caught;
    }
    return SkillDump{host.list().items(), failure};
}

}  // namespace quorrel::cli
