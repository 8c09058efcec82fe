#include "TemporaryFile.h"

#include <utility>

#include "SideNames.h"
#include "runtime/base/Failure.h"

namespace quorrel {

TemporaryFile createTemporaryBeside(FileSystem& fileSystem, const std::string& target,
                                    const std::string& shown) {
    constexpr int kNameAttempts = 100;
    const SideNames names(target);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string candidate = names.temporary(randomTag());
        if (auto file = fileSystem.createNew(candidate)) {
            return {std::move(candidate), std::move(file)};
        }
    }
    throw Failure(FailureKind::WriteError,
                  "cannot find a free name for a temporary file beside " + shown);
}

}  // namespace quorrel
