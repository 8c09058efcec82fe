#include "SameFileRefusal.h"

#include <string>

#include "runtime/base/Failure.h"

namespace quorrel::cli {

void refuseOneFileTwice(const GivenPath& first, const GivenPath& second) {
    if (nameOneFile(first.looked, second.looked)) {
        throw Failure(FailureKind::WriteError,
                      std::string(first.option) + " " + first.looked.path.quoted() + " and " +
                          std::string(second.option) + " " + second.looked.path.quoted() +
                          " are the same file");
    }
}

}  // namespace quorrel::cli
