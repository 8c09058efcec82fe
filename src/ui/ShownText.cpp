#include "ShownText.h"

#include "runtime/base/Utf8.h"

namespace quorrel {

ShownPart shownPart(std::string_view utf8, std::size_t longest) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const auto character = nextCodePoint(utf8, at);
        units += character && *character > 0xFFFF ? std::size_t{2} : std::size_t{1};
        if (units > longest) {
            return {utf8.substr(0, start), true};
        }
    }
    return {utf8, false};
}

}  // namespace quorrel
