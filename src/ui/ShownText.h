#pragma once

#include <cstddef>
#include <string_view>

namespace quorrel {

// A list shows at most this many UTF-16 units of an item's text, cut short after them with an
// ellipsis ("…"), so that a hostile gigabyte-long name costs a kilobyte or so to show.
inline constexpr std::size_t kLongestShownText = 1024;

// What a list shows of a UTF-8 text, toolkit aside: the whole text, or, when it takes more than
// `longest` UTF-16 units, its longest start of whole characters within that many, marked as cut
// for the list to add the ellipsis after. A character of two units is never cut through. Reads
// only as far as it shows, plus one character. A byte that is no UTF-8 counts as one unit, as the
// replacement character it is shown as.
struct ShownPart {
    std::string_view text;
    bool cut = false;
};
ShownPart shownPart(std::string_view utf8, std::size_t longest = kLongestShownText);

}  // namespace quorrel
