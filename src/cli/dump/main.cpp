#include "DumpArguments.h"
#include "DumpCommand.h"
#include "cli/ReportingTheUnexpected.h"
#include "runtime/system/StandardStreams.h"

int main(int argc, char* argv[]) {
    quorrel::StandardStreams streams;
    return quorrel::cli::runReportingTheUnexpected(quorrel::cli::kDumpProgram, streams.err(), [&] {
        return quorrel::cli::runDumpCommand(argc, argv, streams.out(), streams.err());
    });
}
