#pragma once

#include <string_view>

namespace quorrel::cli {

// The forms a skill table takes as text: quorrel-dump writes them and quorrel-pack reads them.
enum class TableFormat { Text, Json, Csv };

// What may start a list in any of them, which spreadsheets take as a sign that it is UTF-8.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The format of a name CLI11 has checked to be "text", "json" or "csv".
constexpr TableFormat formatNamed(std::string_view name) {
    if (name == "json") {
        return TableFormat::Json;
    }
    return name == "csv" ? TableFormat::Csv : TableFormat::Text;
}

}  // namespace quorrel::cli
