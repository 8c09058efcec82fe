#include "DumpArguments.h"
#include "DumpCommand.h"
#include "cli/ReportingTheUnexpected.h"
#include "runtime/system/InterruptionsHeld.h"
#include "runtime/system/StandardStreams.h"

int main(int argc, char* argv[]) {
    int status = 0;
    {
        quorrel::StandardStreams streams;
        status = quorrel::cli::runReportingTheUnexpected(
            quorrel::cli::kDumpProgram, streams.err(),
            [&] { return quorrel::cli::runDumpCommand(argc, argv, streams.out(), streams.err()); });
    }
    // A request to stop that came while --output was written ends the program as it would have
    // ended it at once, now that the output file is tidied up.
    quorrel::endAsInterruptionRequested();
    return status;
}
