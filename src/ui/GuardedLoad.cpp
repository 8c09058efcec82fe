#include "GuardedLoad.h"

#include <exception>

#include "runtime/base/Failure.h"
#include "runtime/base/InQuotes.h"
#include "skills/LoadAction.h"

namespace quorrel {
namespace {

// Only called from a catch block: what the exception being handled says.
std::string describeCaught(const LoadHost& host) {
    std::string reason;
    try {
        throw;
    } catch (const Failure& failure) {
        return failure.description();
    } catch (const std::exception& unexpected) {
        reason = unexpected.what();
    } catch (...) {
        reason = "an unexpected error";
    }
    return reason + " (loading the skills of " + inQuotes(host.txtPathIdxText()) + ")";
}

}  // namespace

std::optional<std::string> loadGuarded(LoadHost& host, FileTable& files) noexcept {
    try {
        try {
            loadSkills(host, files);
            return std::nullopt;
        } catch (...) {
            return describeCaught(host);
        }
    } catch (...) {
        // Describing it took memory that was not there either. So short a text fits inside the
        // string object itself with the standard libraries we build with, and needs no memory.
        return std::string("out of memory");
    }
}

}  // namespace quorrel
