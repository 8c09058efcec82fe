#include <exception>
#include <iostream>
#include <new>

#include "ExitStatus.h"
#include "PackCommand.h"
#include "runtime/NativeFileWriter.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "runtime/ConsoleStream.h"
#endif

namespace {

// Failures of the list or the files are handed back; whatever else goes wrong still ends with a
// message and a failing status, and the files as they were.
int runReportingTheUnexpected(int argc, char* argv[], std::ostream& out, std::ostream& err) {
    using quorrel::cli::kPackProgramName;
    try {
        quorrel::NativeFileWriter writer;
        return quorrel::cli::runPackCommand(argc, argv, std::cin, out, err, writer);
    } catch (const std::bad_alloc&) {
        err << kPackProgramName << ": out of memory\n";
    } catch (const std::exception& unexpected) {
        err << kPackProgramName << ": " << unexpected.what() << '\n';
    } catch (...) {
        err << kPackProgramName << ": an unexpected error ended the program\n";
    }
    return quorrel::cli::kExitFailed;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Standard input is read only through std::cin; unsynchronised, it reads in blocks, not a
    // character at a time, which makes a large list on standard input as fast as one from --from.
    std::ios::sync_with_stdio(false);
#ifdef _WIN32
    // The list's bytes as they are: a CR LF inside a quoted CSV name is part of the name.
    _setmode(_fileno(stdin), _O_BINARY);
    using quorrel::ConsoleStream;
    ConsoleStream out(ConsoleStream::Standard::Output, std::cout);
    ConsoleStream err(ConsoleStream::Standard::Error, std::cerr);
    return runReportingTheUnexpected(argc, argv, out.stream(), err.stream());
#else
    return runReportingTheUnexpected(argc, argv, std::cout, std::cerr);
#endif
}
