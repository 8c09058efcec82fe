#include <locale.h>
#include <wctype.h>

#include "WindowsNames.h"
#include "runtime/base/Utf8.h"

namespace quorrel {
namespace {

// The system's Unicode letter cases, whatever the program's own locale; nothing when the
// system lacks a UTF-8 locale, and then only ASCII letters are compared ignoring case.
locale_t unicodeCases() {
    static const locale_t cases = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return cases;
}

}  // namespace

std::string upperCaseAsWindowsNames(std::string_view name) {
    const locale_t cases = unicodeCases();
    std::string upper;
    upper.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t start = at;
        const auto value = nextCodePoint(name, at);
        if (!value) {
            upper += name[start];
        } else if (*value < 0x80 || cases == static_cast<locale_t>(0)) {
            appendUtf8(upper, (*value >= 'a' && *value <= 'z') ? *value - 'a' + 'A' : *value);
        } else if (*value > 0xFFFF) {
            // Windows upper-cases a name one UTF-16 unit at a time, and the two halves of a
            // character past the Basic Multilingual Plane have no case: such a letter stays as it
            // is ("\U00010428" is not "\U00010400" to Windows).
            appendUtf8(upper, *value);
        } else {
            const auto mapped =
                static_cast<char32_t>(towupper_l(static_cast<wint_t>(*value), cases));
            appendUtf8(upper, mapped > 0xFFFF ? *value : mapped);
        }
    }
    return upper;
}

}  // namespace quorrel
