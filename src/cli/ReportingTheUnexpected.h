#pragma once

#include <exception>
#include <new>
#include <ostream>
#include <string_view>

#include "ExitStatus.h"

namespace quorrel::cli {

// Runs a program's command. The command hands its own failures back as a status; whatever else
// goes wrong still ends with a message on `err` and a failing status, never with an abort and
// nothing said.
template <typename Command>
int runReportingTheUnexpected(std::string_view program, std::ostream& err, Command&& command) {
    try {
        return command();
    } catch (const std::bad_alloc&) {
        err << program << ": out of memory\n";
    } catch (const std::exception& unexpected) {
        err << program << ": " << unexpected.what() << '\n';
    } catch (...) {
        err << program << ": an unexpected error ended the program\n";
    }
    return kExitFailed;
}

}  // namespace quorrel::cli
