// libFuzzer target for the list readers, all three formats. The first byte of an input chooses
// the format and the code page, the rest is the list. A list read whole must pack into a table
// that dumps in the same format and reads back to the same two files; a list refused must be
// refused with a bad-input failure whose message is one line of bounded length with no control
// character in it, whatever the list held.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ScratchFiles.h"
#include "cli/dump/DumpLoad.h"
#include "cli/formats/CsvReader.h"
#include "cli/formats/CsvWriter.h"
#include "cli/formats/JsonReader.h"
#include "cli/formats/JsonWriter.h"
#include "cli/formats/ListInput.h"
#include "cli/formats/TableFormat.h"
#include "cli/formats/TextReader.h"
#include "cli/formats/TextWriter.h"
#include "runtime/base/Failure.h"
#include "runtime/filetable/FileTable.h"
#include "skills/SkillTableBuilder.h"

namespace quorrel::fuzz {
namespace {

using cli::TableFormat;

// Small enough that a list asking for the largest index reaches the bound at once.
constexpr std::uint64_t kLargestFile = 64 * 1024;
// Short enough that inputs of a few KiB reach it.
constexpr std::size_t kLongestName = 256;
// The longest message a refusal may give: the list's own words in it are cut.
constexpr std::size_t kLongestMessage = 1024;

void require(bool holds, const std::string& what) {
    if (!holds) {
        std::fprintf(stderr, "list readers broke a rule: %s\n", what.c_str());
        std::abort();
    }
}

// What a terminal could take for a command: C0 (a line break too), DEL and C1 in UTF-8.
bool holdsControlCharacter(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const bool c1 = byte == 0xC2 && at + 1 < text.size() &&
                        static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[at + 1]) <= 0x9F;
        if (byte < 0x20 || byte == 0x7F || c1) {
            return true;
        }
    }
    return false;
}

// Reads the list into a table as quorrel-pack does; the failure that refused it, if any.
std::optional<Failure> readList(std::string_view list, TableFormat format, SkillTableBuilder& table,
                                std::size_t longest) {
    std::istringstream in{std::string(list)};
    try {
        cli::ListInput input(in);
        switch (format) {
            case TableFormat::Text:
                cli::readTextTable(input.stream(), table, longest);
                break;
            case TableFormat::Json:
                cli::readJsonTable(input.stream(), table, longest);
                break;
            case TableFormat::Csv:
                cli::readCsvTable(input.stream(), table, longest);
                break;
        }
        table.finish();
    } catch (const Failure& failure) {
        return failure;
    } catch (const std::exception& other) {
        require(false, std::string("an exception that is not a Failure: ") + other.what());
    }
    return std::nullopt;
}

std::string dumpOf(const cli::SkillDump& dump, TableFormat format) {
    std::ostringstream out;
    switch (format) {
        case TableFormat::Text:
            cli::writeSkillsAsText(out, dump.skills);
            break;
        case TableFormat::Json:
            cli::writeSkillsAsJson(out, dump);
            break;
        case TableFormat::Csv:
            cli::writeSkillsAsCsv(out, dump);
            break;
    }
    return out.str();
}

void run(TableFormat format, CodePage codePage, std::string_view list) {
    static const ScratchFiles scratch;
    static FileTable files;

    SkillTableBuilder packed(codePage, kLargestFile);
    if (const auto refused = readList(list, format, packed, kLongestName)) {
        const std::string message = refused->description();
        require(refused->kind() == FailureKind::BadInput,
                "a failure of another kind than bad input: " + message);
        require(!holdsControlCharacter(message), "a control character in: " + message);
        require(
            message.size() <= kLongestMessage,
            "a message of " + std::to_string(message.size()) + " bytes: " + message.substr(0, 200));
        return;
    }
    const std::vector<std::uint8_t> index = packed.files().index.bytes();
    const std::vector<std::uint8_t>& data = packed.files().data;
    const std::string indexPath = scratch.indexFile(index);
    const std::string dataPath = scratch.dataFile(data);
    const cli::SkillDump dump = cli::loadDump(dataPath, indexPath, codePage, files);
    require(!dump.failure, "the packed table does not load: " +
                               (dump.failure ? dump.failure->description() : std::string()));

    const std::string dumped = dumpOf(dump, format);
    SkillTableBuilder again(codePage, kLargestFile);
    const auto refused = readList(dumped, format, again, cli::kLongestListedName);
    require(!refused, "its dump is refused: " + (refused ? refused->description() : "") +
                          "\ndump:\n" + dumped);
    require(again.files().index.bytes() == index, "its dump packs into another index");
    require(again.files().data == data, "its dump packs into another data file");
}

}  // namespace
}  // namespace quorrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    using quorrel::CodePage;
    constexpr auto& kNumbers = CodePage::kKnownNumbers;
    const auto format = static_cast<quorrel::cli::TableFormat>(bytes[0] % 3);
    const CodePage codePage = *CodePage::known(kNumbers[(bytes[0] / 3) % kNumbers.size()]);
    quorrel::fuzz::run(format, codePage,
                       std::string_view(reinterpret_cast<const char*>(bytes) + 1, size - 1));
    return 0;
}
