#include <exception>
#include <iostream>
#include <new>

#include "DumpCommand.h"
#include "ExitStatus.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "runtime/ConsoleStream.h"
#endif

namespace {

// The load hands its own failures back; whatever else goes wrong still ends with a message and a
// failing status, never with an abort and nothing said.
int runReportingTheUnexpected(int argc, char* argv[], std::ostream& out, std::ostream& err) {
    using quorrel::cli::kProgramName;
    try {
        return quorrel::cli::runDumpCommand(argc, argv, out, err);
    } catch (const std::bad_alloc&) {
        err << kProgramName << ": out of memory\n";
    } catch (const std::exception& unexpected) {
        err << kProgramName << ": " << unexpected.what() << '\n';
    } catch (...) {
        err << kProgramName << ": an unexpected error ended the program\n";
    }
    return quorrel::cli::kExitLoadFailed;
}

}  // namespace

int main(int argc, char* argv[]) {
#ifdef _WIN32
    // A pipe or a file gets the bytes the formats write: in text mode every line end would gain
    // a carriage return, and a CSV row's CR LF become CR CR LF, which no CSV reader takes.
    _setmode(_fileno(stdout), _O_BINARY);
    using quorrel::ConsoleStream;
    ConsoleStream out(ConsoleStream::Standard::Output, std::cout);
    ConsoleStream err(ConsoleStream::Standard::Error, std::cerr);
    return runReportingTheUnexpected(argc, argv, out.stream(), err.stream());
#else
    return runReportingTheUnexpected(argc, argv, std::cout, std::cerr);
#endif
}
