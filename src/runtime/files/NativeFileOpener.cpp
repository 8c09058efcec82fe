#include "NativeFileOpener.h"

#include "NativeFile.h"

namespace quorrel {

std::unique_ptr<ReadableFile> NativeFileOpener::openForReading(const std::string& path) {
    return openNativeFile(resolver_.resolve(path));
}

}  // namespace quorrel
