#include <exception>
#include <iostream>
#include <new>

#include "DumpCommand.h"
#include "ExitStatus.h"

#ifdef _WIN32
#include "ConsoleStream.h"

int main(int argc, char* argv[]) {
    using quorrel::cli::ConsoleStream;
    ConsoleStream out(ConsoleStream::Standard::Output, std::cout);
    ConsoleStream err(ConsoleStream::Standard::Error, std::cerr);
    return quorrel::cli::runDumpCommand(argc, argv, out.stream(), err.stream());
}
#else
int main(int argc, char* argv[]) {
    // The load hands its own failures back; whatever else goes wrong still ends with a message
    // and a failing status, never with an abort and nothing said.
    try {
        return quorrel::cli::runDumpCommand(argc, argv, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << quorrel::cli::kProgramName << ": out of memory\n";
    } catch (const std::exception& unexpected) {
        std::cerr << quorrel::cli::kProgramName << ": " << unexpected.what() << '\n';
    } catch (...) {
        std::cerr << quorrel::cli::kProgramName << ": an unexpected error ended the program\n";
    }
    return quorrel::cli::kExitLoadFailed;
}
#endif
