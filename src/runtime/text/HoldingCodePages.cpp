#include "HoldingCodePages.h"

#include "Text8Bit.h"
#include "runtime/base/Failure.h"

namespace quorrel {
namespace {

bool holds(CodePage codePage, std::string_view utf8) {
    try {
        return textTo8BitIfHeld(utf8, codePage).has_value();
    } catch (const Failure&) {
        // Not UTF-8, or a code page this system cannot convert: neither holds the text.
        return false;
    }
}

bool isAscii(std::string_view text) {
    for (const char character : text) {
        if (static_cast<unsigned char>(character) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

HoldingCodePages::HoldingCodePages(CodePage refused) {
    const auto order = CodePage::inLikelyOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] != refused) {
            holding_ |= 1u << i;
        }
    }
}

void HoldingCodePages::see(std::string_view utf8) {
    // Every one of them holds ASCII as it is; most names need no conversion to tell.
    if (holding_ == 0 || isAscii(utf8)) {
        return;
    }
    const auto order = CodePage::inLikelyOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        if ((holding_ & (1u << i)) != 0 && !holds(order[i], utf8)) {
            holding_ &= ~(1u << i);
        }
    }
}

std::optional<CodePage> HoldingCodePages::first() const {
    const auto order = CodePage::inLikelyOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        if ((holding_ & (1u << i)) != 0) {
            return order[i];
        }
    }
    return std::nullopt;
}

}  // namespace quorrel
