#include "CsvReader.h"

#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "CsvFormat.h"
#include "runtime/Failure.h"

namespace quorrel::cli {
namespace {

Failure badRow(const std::string& reason) {
    return Failure(FailureKind::BadInput, reason);
}

// Splits the stream into rows of fields as RFC 4180 lays them out, counting lines as it goes.
class CsvRows {
  public:
    CsvRows(std::istream& in, std::size_t longest) : in_(*in.rdbuf()), longest_(longest) {}

    // The next row's fields; false at the end of the input.
    bool next(std::vector<std::string>& fields) {
        fields.clear();
        rowLine_ = line_;
        if (in_.sgetc() == std::char_traits<char>::eof()) {
            return false;
        }
        for (;;) {
            // A row longer than the header's is refused at once, not after an endless row.
            if (fields.size() == csv::kColumns) {
                throw badRow("a row has 3 fields (" + std::string(csv::kHeader) +
                             "), this one more");
            }
            fields.push_back(field());
            const int after = in_.sbumpc();
            if (after == ',') {
                continue;
            }
            if (after == '\r' && in_.sgetc() == '\n') {
                in_.sbumpc();
            } else if (after == '\r') {
                throw badRow(
                    "a carriage return without a line feed after it: rows end in CR LF or LF, "
                    "not in CR alone");
            } else if (after != '\n' && after != std::char_traits<char>::eof()) {
                throw badRow("a quoted field must end before a comma or the end of the row");
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
                 c != ',' && c != '\r' && c != '\n' && c != std::char_traits<char>::eof();
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
    std::uint64_t line_ = 1;
    std::uint64_t rowLine_ = 1;
};

std::uint64_t recordNumber(const std::string& field) {
    std::uint64_t record = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, record);
    if (field.empty() || error != std::errc() || stop != end) {
        throw badRow("the record \"" + field + "\" is not a whole number from 0");
    }
    return record;
}

bool checkedOf(const std::string& field) {
    if (field == csv::kChecked || field == csv::kClear) {
        return field == csv::kChecked;
    }
    throw badRow("checked is \"" + field + "\", not true or false");
}

SkillRow skillOfRow(std::vector<std::string>& fields) {
    if (fields.size() != csv::kColumns) {
        throw badRow("a row has 3 fields (" + std::string(csv::kHeader) + "), this one " +
                     std::to_string(fields.size()));
    }
    const std::uint64_t record = recordNumber(fields[0]);
    const bool checked = checkedOf(fields[2]);
    return SkillRow{record, std::move(fields[1]), checked,
                    static_cast<std::uint8_t>(checked ? 1 : 0)};
}

bool isHeader(const std::vector<std::string>& fields) {
    if (fields.size() != csv::kColumns) {
        return false;
    }
    return fields[0] + ',' + fields[1] + ',' + fields[2] == csv::kHeader;
}

}  // namespace

void readCsvTable(std::istream& in, SkillTableBuilder& table, std::size_t longest) {
    CsvRows rows(in, longest);
    std::vector<std::string> fields;
    try {
        if (!rows.next(fields) || !isHeader(fields)) {
            throw badRow("the first row must be the header \"" + std::string(csv::kHeader) + "\"");
        }
        while (rows.next(fields)) {
            table.add(skillOfRow(fields));
        }
    } catch (const Failure& failure) {
        throw failure.within("line " + std::to_string(rows.rowLine()));
    }
}

}  // namespace quorrel::cli
