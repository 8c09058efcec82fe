#include "WindowsNames.h"

namespace quorrel {

std::string_view withoutTrailingDotsAndSpaces(std::string_view name) {
    const auto end = name.find_last_not_of(". ");
    return end == std::string_view::npos ? std::string_view() : name.substr(0, end + 1);
}

std::string windowsNameKey(std::string_view name) {
    return upperCaseAsWindowsNames(withoutTrailingDotsAndSpaces(name));
}

bool sameWindowsName(std::string_view first, std::string_view second) {
    return windowsNameKey(first) == windowsNameKey(second);
}

}  // namespace quorrel
