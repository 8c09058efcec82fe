#include "JsonReader.h"

#include <array>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "JsonFormat.h"
#include "runtime/base/Failure.h"
#include "runtime/base/OutOfMemory.h"
#include "runtime/base/QuotedFromList.h"

namespace quorrel::cli {
namespace {

using Json = nlohmann::json;

// Longer than any number the format can take (a record, a flag or a count, whole numbers below
// 2^64), so that a longer one is refused when it gets here, not after an endless run of digits.
constexpr std::size_t kLongestNumber = 64;

// A syntax error as the parser found it, to be said with the line and column of the bytes as
// they stand (the parser sees runs of whitespace as one space).
struct SyntaxError {
    std::size_t position;  // the bytes the parser had taken, counted from 1
    std::string lastToken;
    std::string message;
};

Failure badDocument(const std::string& reason) {
    return Failure(FailureKind::BadInput, reason);
}

// The fields of the skill object being read.
struct SkillFields {
    std::optional<std::uint64_t> record;
    std::optional<std::string> name;
    std::optional<bool> checked;
    std::optional<std::uint64_t> flag;
};

// Follows the document's events: the top object, its "skills" array with one object per skill,
// and its "error". Anything else in the document is refused where it appears. nlohmann's SAX
// interface rather than its parse callback, which would take as much memory: the callback hands
// each value over already built, a whole number past 64 bits as a double without the digits it
// was written with (which "too large" quotes) and a key given twice already overwritten, so the
// same events would have to be followed anyway.
class TableEvents final : public nlohmann::json_sax<Json> {
  public:
    explicit TableEvents(SkillTableBuilder& table) : table_(table) {}

    bool null() override { return value("null"); }
    bool boolean(bool value) override {
        if (place_ == Place::SkillValue && key_ == json::kChecked) {
            return set(skill_.checked, value);
        }
        return this->value(value ? "true" : "false");
    }
    bool number_integer(number_integer_t value) override {
        return value >= 0 ? number_unsigned(static_cast<number_unsigned_t>(value))
                          : this->value("a negative number");
    }
    bool number_unsigned(number_unsigned_t value) override {
        if (place_ == Place::SkillValue && key_ == json::kRecord) {
            return set(skill_.record, value);
        }
        if (place_ == Place::SkillValue && key_ == json::kFlag) {
            return set(skill_.flag, value);
        }
        if (place_ == Place::TopValue && key_ == json::kRecordCount) {
            recordCount_ = value;
            place_ = Place::Top;
            return true;
        }
        return this->value("a number");
    }
    bool number_float(number_float_t, const string_t& written) override {
        // Whole numbers past 64 bits arrive here too, written without a point or an exponent.
        return number(written, false);
    }

    // A number the parser could not read on from: cut at kLongestNumber bytes, or past what a
    // double holds. Always throws.
    void refuseNumber(const std::string& written) {
        number(written, true);
        refuseError();
    }

    bool string(string_t& value) override {
        if (place_ == Place::SkillValue && key_ == json::kName) {
            return set(skill_.name, std::move(value));
        }
        if (errorDepth_ == 1 && errorKey_ == json::kMessage) {
            errorMessage_ = std::move(value);
            return true;
        }
        return this->value("a string");
    }
    bool binary(binary_t&) override { return value("binary data"); }

    bool start_object(std::size_t) override;
    bool end_object() override;
    bool start_array(std::size_t) override;
    bool end_array() override;
    bool key(string_t& name) override;

    bool parse_error(std::size_t position, const std::string& lastToken,
                     const Json::exception& error) override {
        // 406: a number past what a double holds, which is no syntax error.
        if (error.id == 406) {
            refuseNumber(lastToken);
        }
        std::string message = error.what();
        // nlohmann's own prefix, "[json.exception.parse_error.101] ", says nothing to a user.
        if (const auto end = message.find("] "); message.starts_with("[") && end != message.npos) {
            message.erase(0, end + 2);
        }
        throw SyntaxError{position, lastToken, message};
    }

    void finish() {
        if (!topKeys_.contains(json::kSkills)) {
            throw badDocument("the document has no \"skills\" list");
        }
        if (recordCount_) {
            try {
                failingWhenMemoryRunsOut([&] { table_.padTo(*recordCount_); });
            } catch (const Failure& failure) {
                throw failure.within("recordCount");
            }
        }
    }

  private:
    enum class Place { Start, Top, TopValue, Skills, Skill, SkillValue, End };

    template <typename Field, typename Value>
    bool set(std::optional<Field>& field, Value value) {
        field = std::move(value);
        place_ = Place::Skill;
        return true;
    }

    bool value(const std::string& what);
    bool number(const std::string& written, bool cut);
    void refuseError() const;
    void addSkill();
    std::string where() const { return "skills[" + std::to_string(skillNumber_) + "]"; }

    SkillTableBuilder& table_;
    Place place_ = Place::Start;
    std::string key_;
    SkillFields skill_;
    std::uint64_t skillNumber_ = 0;
    std::set<std::string, std::less<>> topKeys_;
    // Inside an "error" object: how deep, the key of the value being read, and its "message".
    int errorDepth_ = 0;
    std::string errorKey_;
    std::string errorMessage_;
    std::optional<std::uint64_t> recordCount_;
};

bool TableEvents::number(const std::string& written, bool cut) {
    if (written.find_first_of(".eE") != std::string::npos) {
        return value("a fractional number");
    }
    if (written.starts_with('-')) {
        return value("a negative number");
    }
    const bool counted =
        (place_ == Place::SkillValue && (key_ == json::kRecord || key_ == json::kFlag)) ||
        (place_ == Place::TopValue && key_ == json::kRecordCount);
    if (counted) {
        throw badDocument((place_ == Place::SkillValue ? where() + ": " : std::string()) + "\"" +
                          key_ + "\" is " + (cut ? written.substr(0, 24) + "..." : written) +
                          ", too large");
    }
    return value("a number");
}

bool TableEvents::value(const std::string& what) {
    if (errorDepth_ > 0) {
        return true;
    }
    if (place_ == Place::TopValue && key_ == json::kError && what == "null") {
        place_ = Place::Top;
        return true;
    }
    if (place_ == Place::SkillValue) {
        throw badDocument(where() + ": \"" + key_ + "\" is " + what +
                          (key_ == json::kName      ? ", not a string"
                           : key_ == json::kChecked ? ", not true or false"
                                                    : ", not a whole number from 0"));
    }
    if (place_ == Place::TopValue && key_ == json::kError) {
        refuseError();
    }
    if (place_ == Place::TopValue) {
        throw badDocument("\"" + key_ + "\" must be " +
                          (key_ == json::kSkills ? "a list" : "a whole number from 0") + ", not " +
                          what);
    }
    throw badDocument(place_ == Place::Skills ? where() + ": a skill must be an object, not " + what
                                              : "the document must be an object holding "
                                                "\"skills\" and \"error\", not " +
                                                    what);
}

void TableEvents::refuseError() const {
    throw badDocument(
        "the document's \"error\" is not null" +
        (errorMessage_.empty() ? std::string() : " (" + quotedFromList(errorMessage_) + ")") +
        ": it is the dump of a load that failed, so its skills stop short of the table's end, "
        "and packing them would lose the rest");
}

bool TableEvents::start_object(std::size_t) {
    if (errorDepth_ > 0) {
        // Whatever the error holds, it is refused; read no deeper than its message.
        refuseError();
    }
    switch (place_) {
        case Place::Start:
            place_ = Place::Top;
            return true;
        case Place::Skills:
            skill_ = SkillFields{};
            place_ = Place::Skill;
            return true;
        case Place::TopValue:
            if (key_ == json::kError) {
                // Whatever it holds, it is refused where it ends, its message read by then.
                errorDepth_ = 1;
                return true;
            }
            break;
        default:
            break;
    }
    return value("an object");
}

bool TableEvents::end_object() {
    if (errorDepth_ > 0) {
        if (--errorDepth_ == 0) {
            refuseError();
        }
        return true;
    }
    switch (place_) {
        case Place::Skill:
            addSkill();
            ++skillNumber_;
            place_ = Place::Skills;
            return true;
        default:
            place_ = Place::End;
            break;
    }
    return true;
}

bool TableEvents::start_array(std::size_t) {
    if (errorDepth_ > 0) {
        refuseError();
    }
    if (place_ == Place::TopValue && key_ == json::kSkills) {
        place_ = Place::Skills;
        return true;
    }
    return value("a list");
}

bool TableEvents::end_array() {
    if (errorDepth_ > 0) {
        --errorDepth_;
        return true;
    }
    place_ = Place::Top;
    return true;
}

bool TableEvents::key(string_t& name) {
    if (errorDepth_ > 0) {
        errorKey_ = errorDepth_ == 1 ? std::move(name) : std::string();
        return true;
    }
    key_ = std::move(name);
    if (place_ == Place::Top) {
        if (key_ != json::kSkills && key_ != json::kRecordCount && key_ != json::kError) {
            throw badDocument("the document holds " + quotedFromList(key_) +
                              "; it holds only \"skills\", \"recordCount\" and \"error\"");
        }
        // As in a skill: with two, one would be dropped without a word.
        if (!topKeys_.insert(key_).second) {
            throw badDocument("the document gives \"" + key_ + "\" twice");
        }
        place_ = Place::TopValue;
        return true;
    }
    const bool known = key_ == json::kRecord || key_ == json::kName || key_ == json::kChecked ||
                       key_ == json::kFlag;
    if (!known) {
        throw badDocument(where() + ": unknown key " + quotedFromList(key_) +
                          " (a skill has \"record\", \"name\", \"checked\" and \"flag\")");
    }
    const bool repeated =
        (key_ == json::kRecord && skill_.record) || (key_ == json::kName && skill_.name) ||
        (key_ == json::kChecked && skill_.checked) || (key_ == json::kFlag && skill_.flag);
    if (repeated) {
        throw badDocument(where() + ": \"" + key_ + "\" is given twice");
    }
    place_ = Place::SkillValue;
    return true;
}

void TableEvents::addSkill() {
    if (!skill_.name) {
        throw badDocument(where() + ": a skill needs a \"name\"");
    }
    if (!skill_.checked && !skill_.flag) {
        throw badDocument(where() + ": a skill needs \"checked\" or \"flag\"");
    }
    if (skill_.flag && *skill_.flag > 255) {
        throw badDocument(where() + ": \"flag\" is " + std::to_string(*skill_.flag) +
                          "; a flag is a byte, 0 to 255");
    }
    if (skill_.flag && skill_.checked && (*skill_.flag != 0) != *skill_.checked) {
        throw badDocument(where() + ": \"checked\" is " + (*skill_.checked ? "true" : "false") +
                          " but \"flag\" " + std::to_string(*skill_.flag) +
                          " says otherwise; change both, or leave one out");
    }
    const auto flag =
        static_cast<std::uint8_t>(skill_.flag ? *skill_.flag : (*skill_.checked ? 1 : 0));
    try {
        table_.add(SkillRow{skill_.record.value_or(table_.nextRecord()), std::move(*skill_.name),
                            flag != 0, flag},
                   [this] { return where(); });
    } catch (const Failure& failure) {
        throw failure.within(where());
    }
}

// The document's bytes as the parser takes them. The parser keeps every byte since its last
// string or number, for its messages: outside strings a run of whitespace is handed on as its
// first byte alone, so that a list of a million spaces costs nothing, and the line and column of
// a syntax error are counted here, of the bytes as they stand. A string that runs past `longest`
// bytes, or a number past kLongestNumber, is refused as it passes the bound, not once it has been
// held whole.
class JsonSource {
  public:
    JsonSource(std::streambuf& in, std::size_t longest, TableEvents& events)
        : in_(in), longest_(longest), events_(events) {}

    class Iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = char;
        using difference_type = std::ptrdiff_t;
        using pointer = const char*;
        using reference = char;

        explicit Iterator(JsonSource* source) : source_(source) {}
        char operator*() const { return source_->current(); }
        Iterator& operator++() {
            source_->advance();
            return *this;
        }
        bool operator==(const Iterator& other) const { return atEnd() == other.atEnd(); }

      private:
        bool atEnd() const { return source_ == nullptr || source_->atEnd(); }
        JsonSource* source_;
    };

    Iterator begin() { return Iterator(this); }
    static Iterator end() { return Iterator(nullptr); }

    // "line 3, column 7": where the next byte stands.
    std::string here() const { return placeName(next_); }

    // The failure for a syntax error, said where the byte it was found at stands.
    Failure failureOf(const SyntaxError& error) {
        const std::string place = error.position >= 1 && error.position <= handed_ &&
                                          handed_ - error.position < kRemembered
                                      ? placeName(remembered_[(error.position - 1) % kRemembered])
                                      : here();
        if (lastHanded_ == 0xEF && byteOrderMarkRest()) {
            return byteOrderMarkInTheMiddle().within(place);
        }
        std::string message = error.message;
        // "parse error at line 1, column 5: syntax error ..." with the place counted here.
        constexpr std::string_view kParseError = "parse error at ";
        if (const auto colon = message.find(": ");
            message.starts_with(kParseError) && colon != std::string::npos) {
            message.replace(kParseError.size(), colon - kParseError.size(), place);
        }
        const std::string read = "last read: '" + error.lastToken + "'";
        if (const auto at = message.find(read); at != std::string::npos) {
            message.replace(at, read.size(), "last read: " + quotedFromList(error.lastToken));
        }
        return Failure(FailureKind::BadInput, "not a JSON document: " + message);
    }

  private:
    struct Position {
        std::uint64_t line = 1;
        std::uint64_t column = 1;
    };
    static constexpr std::size_t kRemembered = 8;

    static std::string placeName(const Position& position) {
        return "line " + std::to_string(position.line) + ", column " +
               std::to_string(position.column);
    }

    static bool isWhitespace(int byte) {
        return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
    }

    bool atEnd() { return in_.sgetc() == std::char_traits<char>::eof(); }

    char current() {
        const int byte = in_.sgetc();
        // A raw zero byte is no JSON; the parser would call it the end of the input.
        if (byte == '\0') {
            throw zeroByte().within(here());
        }
        return static_cast<char>(byte);
    }

    void advance() {
        const char byte = current();
        see(byte);
        in_.sbumpc();
        remembered_[handed_++ % kRemembered] = next_;
        lastHanded_ = static_cast<unsigned char>(byte);
        step(byte);
        if (!inString_ && isWhitespace(byte)) {
            // Bounded as a name is, so that endless whitespace ends too.
            for (std::size_t run = 1; isWhitespace(in_.sgetc()); ++run) {
                if (run == longest_) {
                    throw tooLong("a run of whitespace", longest_).within(here());
                }
                step(static_cast<char>(in_.sbumpc()));
            }
        }
    }

    void step(char byte) {
        if (byte == '\n') {
            ++next_.line;
            next_.column = 1;
        } else {
            ++next_.column;
        }
    }

    // Follows strings and numbers, so as to bound them.
    void see(char byte) {
        if (inString_) {
            if (escaped_) {
                escaped_ = false;
            } else if (byte == '\\') {
                escaped_ = true;
            } else if (byte == '"') {
                inString_ = false;
                return;
            }
            if (++run_ > longest_) {
                throw tooLong("a string", longest_).within(here());
            }
            return;
        }
        if (byte == '"' || std::string_view("{}[],:").find(byte) != std::string_view::npos ||
            isWhitespace(byte)) {
            inString_ = byte == '"';
            run_ = 0;
            return;
        }
        if (run_++ == 0) {
            number_.clear();
            inNumber_ = byte == '-' || (byte >= '0' && byte <= '9');
        }
        if (inNumber_) {
            if (number_.size() == kLongestNumber) {
                events_.refuseNumber(number_);
            }
            number_ += byte;
        } else if (run_ > longest_) {
            throw tooLong("a word", longest_).within(here());
        }
    }

    // Whether the two bytes after an 0xEF the parser could not take are the rest of a
    // byte-order mark; they are read, the document being refused either way.
    bool byteOrderMarkRest() { return in_.sgetc() == 0xBB && in_.snextc() == 0xBF; }

    std::streambuf& in_;
    std::size_t longest_;
    TableEvents& events_;
    Position next_;
    std::array<Position, kRemembered> remembered_{};
    std::size_t handed_ = 0;
    unsigned char lastHanded_ = 0;
    bool inString_ = false;
    bool escaped_ = false;
    bool inNumber_ = false;
    std::size_t run_ = 0;
    std::string number_;
};

}  // namespace

void readJsonTable(std::istream& in, SkillTableBuilder& table, std::size_t longest) {
    TableEvents events(table);
    JsonSource source(*in.rdbuf(), longest, events);
    try {
        failingWhenMemoryRunsOut(
            [&] {
                Json::sax_parse(source.begin(), JsonSource::end(), &events,
                                Json::input_format_t::json, true);
            },
            [&] { return source.here(); });
    } catch (const SyntaxError& error) {
        throw source.failureOf(error);
    }
    events.finish();
}

}  // namespace quorrel::cli
