#include "PackArguments.h"
#include "PackCommand.h"
#include "cli/ReportingTheUnexpected.h"
#include "runtime/NativeFileWriter.h"
#include "runtime/StandardStreams.h"

// Failures of the list or the files are handed back; after anything else the files are still as
// they were.
int main(int argc, char* argv[]) {
    quorrel::StandardStreams streams;
    return quorrel::cli::runReportingTheUnexpected(quorrel::cli::kPackProgram, streams.err(), [&] {
        quorrel::NativeFileWriter writer;
        return quorrel::cli::runPackCommand(argc, argv, streams.in(), streams.out(), streams.err(),
                                            writer);
    });
}
