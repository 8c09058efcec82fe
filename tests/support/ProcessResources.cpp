#include "ProcessResources.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace quorrel::testing {
namespace {

// A "Name:   1234 kB" line of /proc/self/status, in bytes.
std::int64_t statusBytes(const std::string& name) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(name + ":")) {
            return std::stoll(line.substr(name.size() + 1)) * 1024;
        }
    }
    throw std::runtime_error("/proc/self/status has no " + name);
}

}  // namespace

std::size_t openDescriptorCount() {
    if (!processFiguresKnown()) {
        return 0;
    }
    // The directory iterator holds a descriptor of its own while it counts, the same each time.
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

PeakMemoryGrowth::PeakMemoryGrowth() : startResident_(0) {
    if (!processFiguresKnown()) {
        return;
    }
    std::ofstream("/proc/self/clear_refs") << "5";  // resets VmHWM to the current resident size
    startResident_ = statusBytes("VmRSS");
}

std::int64_t PeakMemoryGrowth::bytes() const {
    return processFiguresKnown() ? statusBytes("VmHWM") - startResident_ : 0;
}

}  // namespace quorrel::testing
