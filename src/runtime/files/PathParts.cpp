#include "PathParts.h"

namespace quorrel {
namespace {

std::size_t nameStart(const std::string& local) {
#ifdef _WIN32
    const auto separator = local.find_last_of("\\/:");
#else
    const auto separator = local.rfind('/');
#endif
    return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

std::string folderOf(const std::string& local) {
    const std::size_t start = nameStart(local);
    if (start == 0) {
        return ".";
    }
    // The root ("/", "c:\") and a drive's own folder ("c:") keep their separator.
    const bool root = start == 1 || local[start - 2] == ':' || local[start - 1] == ':';
    return local.substr(0, root ? start : start - 1);
}

std::string nameOf(const std::string& local) {
    return local.substr(nameStart(local));
}

}  // namespace quorrel
