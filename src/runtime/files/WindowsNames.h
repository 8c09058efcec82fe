#pragma once

#include <string>
#include <string_view>

namespace quorrel {

// The name without the dots and spaces at its end, which Windows drops from a file's name.
std::string_view withoutTrailingDotsAndSpaces(std::string_view name);

// A UTF-8 name with every letter that has an upper-case form in it, as Windows compares file
// names; bytes that are not UTF-8 stay as they are.
std::string upperCaseAsWindowsNames(std::string_view name);

// Whether two names are one to Windows: equal ignoring case, letter by letter as its file
// systems compare them, and ignoring the dots and spaces it drops from a name's end.
bool sameWindowsName(std::string_view first, std::string_view second);

}  // namespace quorrel
