#include "JsonFormat.h"

#include <nlohmann/json.hpp>

namespace quorrel::cli {
namespace {

// ordered_json keeps the keys in the order they are set, so "skills" comes before "error".
using Json = nlohmann::ordered_json;

constexpr int kIndent = 2;

Json skillsArray(const std::vector<SkillItem>& skills) {
    Json array = Json::array();
    for (const SkillItem& skill : skills) {
        array.push_back(Json{{"name", skill.text}, {"checked", skill.checked}});
    }
    return array;
}

Json errorObject(const std::optional<Failure>& failure) {
    if (!failure) {
        return nullptr;
    }
    return Json{{"kind", std::string(failureKindName(failure->kind()))},
                {"message", failure->description()}};
}

}  // namespace

std::string skillsAsJson(const SkillDump& dump) {
    const Json document{{"skills", skillsArray(dump.skills)}, {"error", errorObject(dump.failure)}};
    // The load hands out valid UTF-8; replacing rather than throwing keeps a stray byte from ever
    // costing the whole document.
    return document.dump(kIndent, ' ', false, Json::error_handler_t::replace) + '\n';
}

}  // namespace quorrel::cli
