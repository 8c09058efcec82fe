#include "PackArguments.h"
#include "PackCommand.h"
#include "cli/ReportingTheUnexpected.h"
#include "runtime/system/InterruptionsHeld.h"
#include "runtime/system/StandardStreams.h"

// Failures of the list or the files are handed back; after anything else the files are still as
// they were.
int main(int argc, char* argv[]) {
    int status = 0;
    {
        quorrel::StandardStreams streams;
        status =
            quorrel::cli::runReportingTheUnexpected(quorrel::cli::kPackProgram, streams.err(), [&] {
                return quorrel::cli::runPackCommand(argc, argv, streams.in(), streams.out(),
                                                    streams.err());
            });
    }
    // Once everything is tidied up and said, a request to stop that came meanwhile ends the program
    // as it would have ended it at once.
    quorrel::endAsInterruptionRequested();
    return status;
}
