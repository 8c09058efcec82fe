#pragma once

#include <string_view>

namespace quorrel::cli {

// The forms a skill table takes as text: quorrel-dump writes them and quorrel-pack reads them.
enum class TableFormat { Text, Json, Csv };

// The format of a name CLI11 has checked to be "text", "json" or "csv".
constexpr TableFormat formatNamed(std::string_view name) {
    if (name == "json") {
        return TableFormat::Json;
    }
    return name == "csv" ? TableFormat::Csv : TableFormat::Text;
}

}  // namespace quorrel::cli
