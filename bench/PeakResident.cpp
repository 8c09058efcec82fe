#include "PeakResident.h"

#include <fstream>
#include <string>

namespace quorrel::bench {

std::int64_t peakResidentBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            return std::stoll(line.substr(6)) * 1024;
        }
    }
    return -1;
}

}  // namespace quorrel::bench
