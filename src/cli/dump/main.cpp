#include <iostream>

#include "DumpArguments.h"
#include "DumpCommand.h"
#include "cli/ReportingTheUnexpected.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "runtime/ConsoleStream.h"
#endif

namespace {

int runDump(int argc, char* argv[], std::ostream& out, std::ostream& err) {
    return quorrel::cli::runReportingTheUnexpected(quorrel::cli::kDumpProgram, err, [&] {
        return quorrel::cli::runDumpCommand(argc, argv, out, err);
    });
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
    return runDump(argc, argv, out.stream(), err.stream());
#else
    return runDump(argc, argv, std::cout, std::cerr);
#endif
}
