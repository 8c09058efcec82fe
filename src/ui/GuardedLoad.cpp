#include "GuardedLoad.h"

#include <exception>

#include "Form1Layout.h"
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

std::string failureShown(const std::string& failure, const LoadHost& host) {
    const auto namesUnchanged = [&](const std::string& field, std::string_view atStart) {
        return field == atStart && failure.find(atStart) != std::string::npos;
    };
    if (namesUnchanged(host.txtPathText(), form1::kDataPathAtStart) ||
        namesUnchanged(host.txtPathIdxText(), form1::kIndexPathAtStart)) {
        return failure + "\n\n" + std::string(form1::kDefaultPathHint);
    }
    return failure;
}

}  // namespace quorrel
