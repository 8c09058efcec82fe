#include <iostream>

#include "PackArguments.h"
#include "PackCommand.h"
#include "cli/ReportingTheUnexpected.h"
#include "runtime/NativeFileWriter.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "runtime/ConsoleStream.h"
#endif

namespace {

// Failures of the list or the files are handed back; after anything else the files are still as
// they were.
int runPack(int argc, char* argv[], std::ostream& out, std::ostream& err) {
    return quorrel::cli::runReportingTheUnexpected(quorrel::cli::kPackProgram, err, [&] {
        quorrel::NativeFileWriter writer;
        return quorrel::cli::runPackCommand(argc, argv, std::cin, out, err, writer);
    });
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
    return runPack(argc, argv, out.stream(), err.stream());
#else
    return runPack(argc, argv, std::cout, std::cerr);
#endif
}
