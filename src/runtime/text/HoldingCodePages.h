#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "CodePage.h"

namespace quorrel {

// The known code pages that hold every text shown to them, narrowed text by text, for a message
// that names the way out when one code page cannot hold a list. The single-byte code pages come
// first (1250 to 1258, then 874) and the double-byte ones after (932, 936, 949, 950): those hold
// Cyrillic and Greek letters too, but a list of them was most likely written on a system set to
// 1251 or 1253.
class HoldingCodePages {
  public:
    // Every known code page but `refused`, which is known not to hold some text.
    explicit HoldingCodePages(CodePage refused);

    // Leaves out the code pages that cannot hold `utf8`.
    void see(std::string_view utf8);

    // The first code page, in the order above, that held every text seen.
    std::optional<CodePage> first() const;

  private:
    std::uint32_t holding_ = 0;  // bit i: the i-th code page of the order above
};

}  // namespace quorrel
