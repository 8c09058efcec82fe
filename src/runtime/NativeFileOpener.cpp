#include "NativeFileOpener.h"

#include "NativeFile.h"

namespace quorrel {

std::unique_ptr<ReadableFile> NativeFileOpener::openForReading(const std::string& path) {
#ifdef _WIN32
    return NativeFile::openForReading(path);
#else
    return NativeFile::openForReading(resolver_.resolve(path));
#endif
}

}  // namespace quorrel
