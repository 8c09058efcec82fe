#pragma once

#include <csignal>
#include <exception>
#include <ostream>
#include <string_view>

#include "cli/ExitStatus.h"
#include "runtime/base/OutOfMemory.h"

namespace quorrel::cli {

// Runs a program's command. The command hands its own failures back as a status; whatever else
// goes wrong, a write past the file size limit included, still ends with a message on `err` and
// a failing status, never with an abort and nothing said.
template <typename Command>
int runReportingTheUnexpected(std::string_view program, std::ostream& err, Command&& command) {
#ifdef SIGXFSZ
    // A file size limit (ulimit -f) would end the program without a word, its files half
    // written; ignored, it makes the write fail with EFBIG, which is reported as any write is.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    try {
        return failingWhenMemoryRunsOut(command);
    } catch (const std::exception& unexpected) {
        err << program << ": " << unexpected.what() << '\n';
    } catch (...) {
        err << program << ": an unexpected error ended the program\n";
    }
    return kExitFailed;
}

}  // namespace quorrel::cli
