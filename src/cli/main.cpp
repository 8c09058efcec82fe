#include <iostream>

#include "DumpCommand.h"

int main(int argc, char* argv[]) {
    return quorrel::cli::runDumpCommand(argc, argv, std::cout, std::cerr);
}
