// Writes a skill index file and a skill data file, in the layout game clients use, from a plain
// text list: one skill a line, "[x] Name" for a set check mark and "[ ] Name" for a clear one.
// Blank lines and lines starting with '#' are skipped. Names are UTF-8 and stored as Windows-1252.
//
//   make-skill-files LIST INDEX_OUT DATA_OUT

#include <array>
#include <fstream>
#include <iostream>
#include <string>

#include "runtime/FileReplacement.h"
#include "runtime/NativeFileWriter.h"
#include "skills/SkillTableBuilder.h"

namespace {

quorrel::SkillTableBuilder readList(const std::string& listPath) {
    std::ifstream in(listPath);
    if (!in) {
        throw std::runtime_error("cannot read " + listPath);
    }
    quorrel::SkillTableBuilder table(quorrel::CodePage::windows1252());
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const bool checked = line.starts_with("[x] ");
        if (!checked && !line.starts_with("[ ] ")) {
            throw std::runtime_error(listPath + ":" + std::to_string(lineNumber) +
                                     ": a line must start with \"[x] \" or \"[ ] \"");
        }
        table.add({std::nullopt, line.substr(4), static_cast<std::uint8_t>(checked ? 1 : 0)});
    }
    return table;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make-skill-files LIST INDEX_OUT DATA_OUT\n";
        return 2;
    }
    try {
        const quorrel::SkillTableBuilder table = readList(argv[1]);
        quorrel::NativeFileWriter writer;
        const std::array<quorrel::FileContents, 2> files = {
            quorrel::FileContents{writer.locate(argv[3]), table.files().data},
            quorrel::FileContents{writer.locate(argv[2]), table.files().index}};
        quorrel::replaceFiles(writer, files, quorrel::ExistingFiles::Replace);
    } catch (const std::exception& error) {
        std::cerr << "make-skill-files: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
