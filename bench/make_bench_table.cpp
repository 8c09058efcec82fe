// Writes a skill table of the given number of used records into a folder, as RECORDS.idx and
// RECORDS.mul, for the benchmarks that run as separate programs.
//
//   make-bench-table RECORDS FOLDER

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "BenchTables.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make-bench-table RECORDS FOLDER\n";
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[2]);
        const auto table = quorrel::bench::writeBenchTable(std::stoul(argv[1]), argv[2]);
        std::cout << table.index << '\n' << table.data << '\n';
    } catch (const std::exception& error) {
        std::cerr << "make-bench-table: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
