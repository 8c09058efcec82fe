#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "CodePage.h"

namespace quorrel {

// The known code pages that hold every text shown to them, narrowed text by text, for a message
// that names the way out when one code page cannot hold a list, in CodePage::inLikelyOrder.
class HoldingCodePages {
  public:
    // Every known code page but `refused`, which is known not to hold some text.
    explicit HoldingCodePages(CodePage refused);

    // Leaves out the code pages that cannot hold `utf8`.
    void see(std::string_view utf8);

    // The first code page, in that order, that held every text seen.
    std::optional<CodePage> first() const;

  private:
    std::uint32_t holding_ = 0;  // bit i: the i-th code page of that order
};

}  // namespace quorrel
