#include <iostream>

#include "DumpCommand.h"

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
    return quorrel::cli::runDumpCommand(argc, argv, std::cout, std::cerr);
}
#endif
