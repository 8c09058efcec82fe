#pragma once

#include <string>
#include <string_view>

namespace quorrel {

// The name without the dots and spaces at its end, which Windows drops from a file's name.
std::string_view withoutTrailingDotsAndSpaces(std::string_view name);

// A UTF-8 name with every letter that has an upper-case form in it, as Windows compares file
// names: one UTF-16 unit at a time, so letters past the Basic Multilingual Plane, which take two,
// keep their case. Bytes that are not UTF-8 stay as they are.
std::string upperCaseAsWindowsNames(std::string_view name);

// The form in which Windows compares a name: upper case, letter by letter as its file systems
// compare them, without the dots and spaces it drops from a name's end.
std::string windowsNameKey(std::string_view name);

// Whether two names are one to Windows: the same windowsNameKey. This is the one answer to that
// question everywhere, in finding a file in a Wine prefix as in telling two targets apart.
bool sameWindowsName(std::string_view first, std::string_view second);

}  // namespace quorrel
