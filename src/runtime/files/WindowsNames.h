#pragma once

#include <string>
#include <string_view>

namespace quorrel {

// A UTF-8 name with every letter that has an upper-case form in it, as Windows compares file
// names; bytes that are not UTF-8 stay as they are.
std::string upperCaseAsWindowsNames(std::string_view name);

}  // namespace quorrel
