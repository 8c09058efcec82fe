#include "CsvReader.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "CsvFormat.h"
#include "runtime/base/Ascii.h"
#include "runtime/base/Failure.h"

namespace quorrel::cli {
namespace {

Failure badRow(const std::string& reason) {
    return Failure(FailureKind::BadInput, reason);
}

Failure carriageReturnAlone() {
    return badRow(
        "a carriage return without a line feed after it: rows end in CR LF or LF, not in CR "
        "alone");
}

// The header's columns for its fields; none when they are no header.
std::optional<std::size_t> columnsOf(const std::vector<std::string>& fields) {
    std::string joined;
    for (const std::string& field : fields) {
        joined += (joined.empty() ? "" : ",") + field;
    }
    if (joined == csv::kHeader) {
        return csv::kColumns;
    }
    if (joined == csv::kHeaderWithoutFlag) {
        return csv::kColumns - 1;
    }
    return std::nullopt;
}

// Splits the stream into rows of fields as RFC 4180 lays them out, counting lines as it goes.
class CsvRows {
  public:
    CsvRows(std::istream& in, std::size_t longest, char separator = csv::kSeparator)
        : in_(*in.rdbuf()), longest_(longest), separator_(separator) {}

    // Reads the first line as the header and takes the separator it is written with, ',' or ';'
    // (spreadsheets may quote its fields); its number of columns, or none when it is no header.
    std::optional<std::size_t> header() {
        // Longer than any header, and short enough that a line without an end is not read on.
        constexpr std::size_t kLongestHeader = 64;
        std::string line;
        for (int c = in_.sbumpc(); c != '\n' && c != std::char_traits<char>::eof();
             c = in_.sbumpc()) {
            if (line.size() == kLongestHeader) {
                return std::nullopt;
            }
            if (c == '\r' && in_.sgetc() != '\n') {
                throw carriageReturnAlone();
            }
            line += static_cast<char>(c);
        }
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        for (const char separator : {csv::kSeparator, csv::kSemicolon}) {
            std::istringstream text(line);
            CsvRows row(text, kLongestHeader, separator);
            std::vector<std::string> fields;
            try {
                row.next(fields, csv::kColumns);
            } catch (const Failure&) {
                continue;
            }
            if (const auto columns = columnsOf(fields)) {
                separator_ = separator;
                ++line_;
                return columns;
            }
        }
        return std::nullopt;
    }

    // The next row's fields; false at the end of the input. A row of more than `columns` fields
    // is refused as soon as it has one more, not after an endless row.
    bool next(std::vector<std::string>& fields, std::size_t columns) {
        fields.clear();
        rowLine_ = line_;
        if (in_.sgetc() == std::char_traits<char>::eof()) {
            return false;
        }
        for (;;) {
            if (fields.size() == columns) {
                throw badRow("a row has " + std::to_string(columns) + " fields, this one more");
            }
            fields.push_back(field());
            const int after = in_.sbumpc();
            if (after == separator_) {
                continue;
            }
            if (after == '\r' && in_.sgetc() == '\n') {
                in_.sbumpc();
            } else if (after == '\r') {
                throw carriageReturnAlone();
            } else if (after != '\n' && after != std::char_traits<char>::eof()) {
                throw badRow(std::string("a quoted field must end before a ") + separator_ +
                             " or the end of the row");
            }
            ++line_;
            return true;
        }
    }

    std::uint64_t rowLine() const noexcept { return rowLine_; }

  private:
    void append(std::string& text, int c) const {
        if (c == '\0') {
            throw zeroByte();
        }
        if (text.size() == longest_) {
            throw tooLong("a field", longest_);
        }
        text += static_cast<char>(c);
    }

    std::string field() {
        std::string text;
        if (in_.sgetc() != '"') {
            for (int c = in_.sgetc();
                 c != separator_ && c != '\r' && c != '\n' && c != std::char_traits<char>::eof();
                 c = in_.sgetc()) {
                if (c == '"') {
                    throw badRow("a field holding a quote must be quoted");
                }
                append(text, in_.sbumpc());
            }
            return text;
        }
        in_.sbumpc();
        for (;;) {
            const int c = in_.sbumpc();
            if (c == std::char_traits<char>::eof()) {
                throw badRow("a quoted field is not closed before the end of the input");
            }
            if (c == '"') {
                if (in_.sgetc() != '"') {
                    return text;
                }
                in_.sbumpc();
            } else if (c == '\n') {
                ++line_;
            }
            append(text, c);
        }
    }

    std::streambuf& in_;
    std::size_t longest_;
    char separator_;
    std::uint64_t line_ = 1;
    std::uint64_t rowLine_ = 1;
};

// A whole number from 0 up to `most`, written in decimal digits alone.
std::optional<std::uint64_t> wholeNumber(const std::string& field, std::uint64_t most) {
    std::uint64_t number = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, number);
    if (field.empty() || error != std::errc() || stop != end || number > most) {
        return std::nullopt;
    }
    return number;
}

std::uint64_t recordNumber(const std::string& field) {
    if (const auto record = wholeNumber(field, UINT64_MAX)) {
        return *record;
    }
    throw badRow("the record \"" + field + "\" is not a whole number from 0");
}

bool equalIgnoringCase(std::string_view text, std::string_view lowerCase) {
    return std::ranges::equal(text, lowerCase, [](char a, char b) { return asciiLower(a) == b; });
}

// A check mark as the tools that edit CSV write it: "true" and "false" in any case (spreadsheets
// write TRUE and FALSE, Python True and False), or 1 and 0.
bool checkedOf(const std::string& field) {
    if (equalIgnoringCase(field, csv::kChecked) || field == "1") {
        return true;
    }
    if (equalIgnoringCase(field, csv::kClear) || field == "0") {
        return false;
    }
    throw badRow("checked is \"" + field + "\", not true or false (or 1 or 0)");
}

std::uint8_t flagOf(const std::string& field) {
    if (const auto flag = wholeNumber(field, 255)) {
        return static_cast<std::uint8_t>(*flag);
    }
    throw badRow("the flag \"" + field + "\" is not a byte, a whole number from 0 to 255");
}

// A skill's row: its check mark and flag from whichever of the two is given, which must agree
// when both are; 0.2.0's rows have no flag, and a check mark is flag 1.
SkillRow skillOfRow(std::uint64_t record, std::vector<std::string>& fields) {
    const std::string& checkedField = fields[2];
    const bool hasFlag = fields.size() == csv::kColumns && !fields[3].empty();
    if (checkedField.empty() && !hasFlag) {
        throw badRow(
            "checked and flag are both empty: a skill needs one of them (a row with its "
            "record alone is an empty slot)");
    }
    const std::optional<bool> checked =
        checkedField.empty() ? std::nullopt : std::optional(checkedOf(checkedField));
    const std::uint8_t flag = hasFlag ? flagOf(fields[3]) : (*checked ? 1 : 0);
    if (checked && (flag != 0) != *checked) {
        throw badRow("checked is \"" + checkedField + "\" but the flag " + std::to_string(flag) +
                     " says otherwise; change both, or clear one");
    }
    return SkillRow{record, std::move(fields[1]), flag != 0, flag};
}

bool allEmpty(const std::vector<std::string>& fields, std::size_t from) {
    return std::all_of(fields.begin() + static_cast<std::ptrdiff_t>(from), fields.end(),
                       [](const std::string& field) { return field.empty(); });
}

// Adds the row to the table: a skill, or an empty slot when it holds its record alone.
void addRow(std::vector<std::string>& fields, std::size_t columns, SkillTableBuilder& table,
            const SkillTableBuilder::Place& where) {
    if (fields.size() != columns) {
        throw badRow(
            "a row has " + std::to_string(columns) + " fields (" +
            std::string(columns == csv::kColumns ? csv::kHeader : csv::kHeaderWithoutFlag) +
            "), this one " + std::to_string(fields.size()));
    }
    const std::uint64_t record = recordNumber(fields[0]);
    if (!allEmpty(fields, 1)) {
        table.add(skillOfRow(record, fields), where);
        return;
    }
    if (record < table.nextRecord()) {
        throw badRow("the empty slot " + std::to_string(record) +
                     " is not after the previous row's record " +
                     std::to_string(table.nextRecord() - 1));
    }
    table.padTo(record + 1);
}

}  // namespace

void readCsvTable(std::istream& in, SkillTableBuilder& table, std::size_t longest) {
    CsvRows rows(in, longest);
    std::vector<std::string> fields;
    const SkillTableBuilder::Place where = [&] { return "line " + std::to_string(rows.rowLine()); };
    try {
        const std::optional<std::size_t> columns = rows.header();
        if (!columns) {
            throw badRow("the first row must be the header \"" + std::string(csv::kHeader) +
                         "\" (or 0.2.0's \"" + std::string(csv::kHeaderWithoutFlag) +
                         "\"), with commas or semicolons between");
        }
        while (rows.next(fields, *columns)) {
            // A spreadsheet may write rows of empty cells after the table; they hold nothing.
            if (!allEmpty(fields, 0)) {
                addRow(fields, *columns, table, where);
            }
        }
    } catch (const Failure& failure) {
        throw failure.within(where());
    }
}

}  // namespace quorrel::cli
