// Writes the seed inputs of the list readers' fuzzer into a folder, one file per case: lists as
// quorrel-dump writes them and as users' tools save them (spreadsheets, PowerShell, Notepad), and
// a few that must be refused. Each starts with the byte that chooses the format and code page.
//
//   make-list-fuzz-corpus OUTPUT_FOLDER

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Files.h"
#include "TempDir.h"

namespace {

using quorrel::testing::utf16WithMark;

// The format's number (text 0, JSON 1, CSV 2), in Windows-1252, the known code page at 7.
std::string withFormat(int format, const std::string& list) {
    return std::string(1, static_cast<char>(7 * 3 + format)) + list;
}

struct Seed {
    std::string name;
    std::string input;
};

std::vector<Seed> seeds() {
    constexpr int kText = 0;
    constexpr int kJson = 1;
    constexpr int kCsv = 2;
    return {
        {"text-dump", withFormat(kText,
                                 "[x] Lanternwork\n[ ] Brookcraft\n[x] Tab\\there \\\\ "
                                 "\\x1b\\x81 Caf\xC3\xA9\n[ ] \n")},
        {"text-crlf", withFormat(kText,
                                 "[x] Lanternwork\r\n[ ] Fa\xC3\xA7"
                                 "ade Carving\r\n")},
        {"text-notepad-utf8-bom",
         withFormat(kText, "\xEF\xBB\xBF[x] Lanternwork\r\n[ ] Ember\r\n")},
        {"text-powershell-utf16le",
         withFormat(kText, utf16WithMark(u"[x] Lanternwork\r\n[ ] Fa\u00e7ade Carving\r\n"))},
        {"text-utf16be", withFormat(kText, utf16WithMark(u"[x] Lanternwork\n", true))},
        {"text-two-lists-joined", withFormat(kText, "\xEF\xBB\xBF[x] A\r\n\xEF\xBB\xBF[x] B\r\n")},
        {"csv-dump", withFormat(kCsv,
                                "record,name,checked,flag\r\n0,,,\r\n1,Lanternwork,true,1\r\n"
                                "2,\"Quoted, \"\"name\"\"\r\nwith a break\",false,0\r\n3,,,\r\n"
                                "4,Tidewatching,true,255\r\n5,,,\r\n")},
        {"csv-0.2.0", withFormat(kCsv, "record,name,checked\r\n0,Lanternwork,true\r\n")},
        {"csv-excel-utf8-bom", withFormat(kCsv,
                                          "\xEF\xBB\xBFrecord,name,checked,flag\r\n"
                                          "0,Lanternwork,TRUE,1\r\n1,Brookcraft,FALSE,0\r\n"
                                          ",,,\r\n,,,\r\n")},
        {"csv-libreoffice-semicolons",
         withFormat(kCsv,
                    "\"record\";\"name\";\"checked\";\"flag\"\n0;\"Lanternwork\";TRUE;1\n"
                    "1;\"Fa\xC3\xA7"
                    "ade; Carving\";FALSE;0\n3;;;\n")},
        {"csv-python", withFormat(kCsv,
                                  "record,name,checked,flag\r\n0,Lanternwork,True,1\r\n"
                                  "1,Ember,,0\r\n2,Brook,0,\r\n")},
        {"csv-powershell-utf16le",
         withFormat(kCsv, utf16WithMark(u"\"record\",\"name\",\"checked\",\"flag\"\r\n"
                                        u"\"0\",\"Lanternwork\",\"True\",\"1\"\r\n"))},
        {"json-dump",
         withFormat(kJson,
                    "{\n  \"skills\": [\n    {\"record\": 1, \"name\": \"Lanternwork\", "
                    "\"checked\": true, \"flag\": 1},\n    {\"record\": 3, \"name\": "
                    "\"Caf\xC3\xA9 \\u001b\", \"checked\": false, \"flag\": 0}\n  ],\n"
                    "  \"recordCount\": 6,\n  \"error\": null\n}\n")},
        {"json-short", withFormat(kJson, "{\"skills\":[{\"name\":\"A\",\"flag\":7}]}")},
        {"json-powershell-utf16le",
         withFormat(kJson, utf16WithMark(u"{\r\n    \"skills\":  [\r\n                   {\r\n"
                                         u"                       \"name\":  \"Lanternwork\",\r\n"
                                         u"                       \"checked\":  true\r\n"
                                         u"                   }\r\n               ],\r\n"
                                         u"    \"recordCount\":  4\r\n}\r\n"))},
        {"json-error", withFormat(kJson,
                                  "{\"skills\": [], \"error\": {\"kind\": \"read-error\", "
                                  "\"message\": \"cannot read\"}}")},
        {"json-large-numbers", withFormat(kJson, "{\"skills\": [], \"recordCount\": 1e400}")},
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-list-fuzz-corpus OUTPUT_FOLDER\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        for (const Seed& seed : seeds()) {
            const std::vector<std::uint8_t> bytes(seed.input.begin(), seed.input.end());
            quorrel::testing::writeFile(folder / seed.name, bytes);
        }
    } catch (const std::exception& error) {
        std::cerr << "make-list-fuzz-corpus: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
