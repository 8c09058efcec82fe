// Writes a skill index file and a skill data file, in the layout game clients use, from a plain
// text list: one skill a line, "[x] Name" for a set check mark and "[ ] Name" for a clear one.
// Blank lines and lines starting with '#' are skipped. Names are UTF-8 and stored as Windows-1252.
//
//   make-skill-files LIST INDEX_OUT DATA_OUT

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "SkillFileWriter.h"

namespace {

using quorrel::writer::Skill;

std::vector<Skill> readList(const std::string& listPath) {
    std::ifstream in(listPath);
    if (!in) {
        throw std::runtime_error("cannot read " + listPath);
    }
    std::vector<Skill> skills;
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
        skills.push_back({quorrel::writer::windows1252FromUtf8(line.substr(4)),
                          static_cast<std::uint8_t>(checked ? 1 : 0)});
    }
    return skills;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make-skill-files LIST INDEX_OUT DATA_OUT\n";
        return 2;
    }
    try {
        const auto files = quorrel::writer::gameClientLayout(readList(argv[1]));
        quorrel::writer::writeFile(argv[2], files.index);
        quorrel::writer::writeFile(argv[3], files.data);
    } catch (const std::exception& error) {
        std::cerr << "make-skill-files: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
