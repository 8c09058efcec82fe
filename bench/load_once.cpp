// Loads a skill table once through the load action, without a window, and tells what it got and
// the program's peak memory. scripts/bench runs it on a gigabyte data file.
//
//   load_once DATA INDEX

#include <iostream>

#include "PeakResident.h"
#include "runtime/base/Failure.h"
#include "runtime/filetable/FileTable.h"
#include "skills/LoadAction.h"
#include "skills/StandaloneHost.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: load_once DATA INDEX\n";
        return 2;
    }
    quorrel::StandaloneHost host(argv[1], argv[2]);
    quorrel::FileTable files;
    int status = 0;
    try {
        quorrel::loadSkills(host, files);
    } catch (const quorrel::Failure& failure) {
        std::cout << "failure: " << quorrel::failureKindName(failure.kind()) << ": "
                  << failure.what() << '\n';
        status = 1;
    }
    const auto& items = host.list().items();
    std::cout << "items: " << items.size() << '\n';
    if (!items.empty()) {
        std::cout << "first item: " << items.front().name.size() << " bytes of text, "
                  << (items.front().checked ? "checked" : "clear") << '\n';
    }
    std::cout << "peak resident memory: " << quorrel::bench::peakResidentBytes() / (1024 * 1024)
              << " MiB\n";
    return status;
}
