#include "KeptFilesReport.h"

#include "runtime/base/InQuotes.h"

namespace quorrel::cli {

std::string cmdQuoted(const std::string& path) {
    // cmd.exe expands %NAME% even inside quotes; a % outside them, escaped by ^, stays itself.
    // Nothing else in a quoted name is expanded: delayed expansion (!NAME!) is off at a prompt,
    // and no Windows name holds a quote.
    std::string quoted = "\"";
    for (const char character : path) {
        quoted += character == '%' ? std::string("\"^%\"") : std::string(1, character);
    }
    return quoted + "\"";
}

namespace {

std::string shellQuoted(const std::string& path) {
#ifdef _WIN32
    return cmdQuoted(path);
#else
    std::string quoted = "'";
    for (const char character : path) {
        quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    }
    return quoted + "'";
#endif
}

std::string moveCommand(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return "move /Y " + shellQuoted(from) + " " + shellQuoted(to);
#else
    return "mv -f -- " + shellQuoted(from) + " " + shellQuoted(to);
#endif
}

std::string removeCommand(const std::string& path) {
#ifdef _WIN32
    return "del /F /A " + shellQuoted(path);
#else
    return "rm -f -- " + shellQuoted(path);
#endif
}

}  // namespace

std::string describeKeptFiles(const KeptFiles& kept, bool onlyReplaced) {
    std::string names;
    std::string command;
    for (const KeptFiles::Kept& file : kept.files) {
        names += (names.empty() ? "" : ", ") + inQuotes(file.backup) + " (the old " +
                 file.target.quoted() + ")";
        if (!kept.whole()) {
            continue;
        }
        // A backup that is still its target is only a second name, to be removed; one that moves
        // onto its own target would be refused by mv as the same file.
        command +=
            (command.empty() ? "" : " && ") + (onlyReplaced && file.sameAsTarget
                                                   ? removeCommand(file.backup)
                                                   : moveCommand(file.backup, file.target.local));
    }
    const std::string stopped =
        "a quorrel-pack run was stopped before it finished and kept the files it was replacing: ";
    if (!kept.whole()) {
        return stopped + names + ", " + std::to_string(kept.files.size()) + " of the " +
               std::to_string(kept.made) +
               " it kept; the rest are gone or beside other files, and these alone would not "
               "put its table back";
    }
    return stopped + names + "; to put them back: " + command;
}

std::string describeUnexpected(const UnexpectedFile& unexpected) {
    return inQuotes(unexpected.path) + " is named as a file quorrel-pack keeps beside " +
           unexpected.target.quoted() + ", but cannot be one: " + unexpected.why +
           "; it is left as it is";
}

void sayStoppedRuns(std::ostream& err, std::string_view program, const StoppedRunsReport& report) {
    if (const auto& live = report.live) {
        err << program << ": "
            << (live->second == LockState::Held
                    ? "a quorrel-pack run is writing " + live->first.quoted() +
                          " now; the files it keeps beside it are its own"
                    : "cannot tell whether a quorrel-pack run is writing " + live->first.quoted() +
                          " now (its lock cannot be opened), so the files beside it are not "
                          "reported")
            << '\n';
        return;
    }
    for (const UnexpectedFile& unexpected : report.left.unexpected) {
        err << program << ": " << describeUnexpected(unexpected) << '\n';
    }
    for (const KeptFiles& kept : report.left.kept) {
        err << program << ": " << describeKeptFiles(kept, true) << '\n';
    }
}

}  // namespace quorrel::cli
