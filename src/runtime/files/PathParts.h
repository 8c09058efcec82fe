#pragma once

#include <string>

namespace quorrel {

// The folder part of a path ("." for a bare name) and the name after it, split where the system
// splits them: at '/', and on Windows at '\' and a drive's ':' as well.
std::string folderOf(const std::string& local);
std::string nameOf(const std::string& local);

}  // namespace quorrel
