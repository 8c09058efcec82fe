#include "JsonReader.h"

#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "JsonFormat.h"
#include "runtime/base/Failure.h"

namespace quorrel::cli {
namespace {

using Json = nlohmann::json;

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
        if (written.find_first_of(".eE") != string_t::npos) {
            return value("a fractional number");
        }
        if (written.starts_with('-')) {
            return value("a negative number");
        }
        const bool counted =
            (place_ == Place::SkillValue && (key_ == json::kRecord || key_ == json::kFlag)) ||
            (place_ == Place::TopValue && key_ == json::kRecordCount);
        if (counted) {
            throw badDocument((place_ == Place::SkillValue ? where() + ": " : std::string()) +
                              "\"" + key_ + "\" is " + written + ", too large");
        }
        return value("a number");
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

    bool parse_error(std::size_t, const std::string&, const Json::exception& error) override {
        std::string message = error.what();
        // nlohmann's own prefix, "[json.exception.parse_error.101] ", says nothing to a user.
        if (const auto end = message.find("] "); message.starts_with("[") && end != message.npos) {
            message.erase(0, end + 2);
        }
        throw badDocument("not a JSON document: " + message);
    }

    void finish() {
        if (!topKeys_.contains(json::kSkills)) {
            throw badDocument("the document has no \"skills\" list");
        }
        if (recordCount_) {
            try {
                table_.padTo(*recordCount_);
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
        (errorMessage_.empty() ? std::string() : " (" + errorMessage_ + ")") +
        ": it is the dump of a load that failed, so its skills stop short of the table's end, "
        "and packing them would lose the rest");
}

bool TableEvents::start_object(std::size_t) {
    if (errorDepth_ > 0) {
        ++errorDepth_;
        return true;
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
        ++errorDepth_;
        return true;
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
            throw badDocument("the document holds \"" + key_ +
                              "\"; it holds only \"skills\", \"recordCount\" and \"error\"");
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
        throw badDocument(where() + ": unknown key \"" + key_ +
                          "\" (a skill has \"record\", \"name\", \"checked\" and \"flag\")");
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

// Counts the bytes of the string or number being read, so that one that never ends is refused
// at the limit rather than when memory runs out: the parser holds each whole before it hands
// it on. JSON's own structure tells where each starts.
class TokenLimit {
  public:
    explicit TokenLimit(std::size_t longest) : longest_(longest) {}

    void see(char character) {
        if (inString_) {
            if (escaped_) {
                escaped_ = false;
            } else if (character == '\\') {
                escaped_ = true;
            } else if (character == '"') {
                inString_ = false;
                run_ = 0;
                return;
            }
        } else if (character == '"') {
            inString_ = true;
            run_ = 0;
            return;
        } else if (std::string_view("{}[],: \t\r\n").find(character) != std::string_view::npos) {
            run_ = 0;
            return;
        }
        if (++run_ > longest_) {
            throw tooLong("a string or number", longest_);
        }
    }

  private:
    std::size_t longest_;
    std::size_t run_ = 0;
    bool inString_ = false;
    bool escaped_ = false;
};

// The document's bytes as the parser takes them, each shown to the limit as it passes.
class LimitedBytes {
  public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = char;

    LimitedBytes(std::istreambuf_iterator<char> at, TokenLimit* limit) : at_(at), limit_(limit) {}

    char operator*() const {
        // A raw zero byte is no JSON; the parser would call it the end of the input.
        if (*at_ == '\0') {
            throw zeroByte();
        }
        return *at_;
    }
    LimitedBytes& operator++() {
        limit_->see(*at_);
        ++at_;
        return *this;
    }
    bool operator==(const LimitedBytes& other) const { return at_ == other.at_; }

  private:
    std::istreambuf_iterator<char> at_;
    TokenLimit* limit_;
};

}  // namespace

void readJsonTable(std::istream& in, SkillTableBuilder& table, std::size_t longest) {
    TableEvents events(table);
    TokenLimit limit(longest);
    Json::sax_parse(LimitedBytes(std::istreambuf_iterator<char>(in), &limit),
                    LimitedBytes(std::istreambuf_iterator<char>(), &limit), &events,
                    Json::input_format_t::json, true);
    events.finish();
}

}  // namespace quorrel::cli
