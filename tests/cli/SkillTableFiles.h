#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "CommandRun.h"
#include "TableBytes.h"
#include "TableOnDisk.h"
#include "WriteFaults.h"
#include "skills/SkillFileLayout.h"

namespace quorrel::testing {

// A table in the game-client layout whose second name holds Windows-1252 bytes that are not
// ASCII (è, û, é and the euro sign), and whose first and third are checked.
inline SkillFiles mixedTable() {
    const SkillRecord skills[] = {{"Dowsing", 1},
                                  {"Cr\xE8me Br\xFBl\xE9"
                                   "e \x80",
                                   0},
                                  {"Zither Tuning", 255}};
    return gameClientLayout(skills);
}

// What the text format gives for mixedTable(): the names in UTF-8.
inline constexpr const char* kMixedTableText =
    "[x] Dowsing\n[ ] Cr\u00e8me Br\u00fbl\u00e9e \u20ac\n[x] Zither Tuning\n";

// mixedTable() followed by an index record whose offset cannot be read at: the load adds the
// three items and then fails with an overflow in record 3.
inline SkillFiles tableFailingAtRecord3() {
    SkillFiles files = mixedTable();
    const IndexRecord broken[] = {{2147483647, 4, 0}};
    const auto brokenBytes = indexBytes(broken);
    files.index.insert(files.index.end(), brokenBytes.begin(), brokenBytes.end());
    return files;
}

// A list that packs into a table other than mixedTable(), for the runs that replace it.
inline constexpr const char* kNewList = "[x] Quill\n[ ] Rope Splicing\n[x] Lantern Trimming\n";

// Runs quorrel-pack on kNewList, stopped as a kill would stop it on entering its `nth` file
// system operation; whether it stopped, rather than finishing first.
inline bool packStoppedAt(std::size_t nth, const std::vector<std::string>& arguments) {
    auto faults = std::make_shared<fault::WriteFaults>();
    faults->stoppingOperation = nth;
    fault::FaultyWrites writer(faults);
    try {
        runPackWith(writer, arguments, kNewList);
    } catch (const fault::Stopped&) {
    }
    return faults->operationsMade >= nth;
}

// Runs quorrel-dump on the pair.
inline CommandRun runDumpOf(const TablePaths& paths, const std::string& format = "text") {
    return runDump({"--data", paths.data, "--index", paths.index, "--format", format});
}

// What quorrel-dump prints for the pair, which it must read in full.
inline std::string dump(const TablePaths& paths, const std::string& format) {
    const CommandRun run = runDumpOf(paths, format);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out;
}

}  // namespace quorrel::testing
