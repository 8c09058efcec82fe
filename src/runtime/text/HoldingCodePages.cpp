#include "HoldingCodePages.h"

#include <array>

#include "Text8Bit.h"
#include "runtime/base/Failure.h"

namespace quorrel {
namespace {

constexpr std::array<unsigned, CodePage::kKnownNumbers.size()> kOrder = {
    1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874, 932, 936, 949, 950};

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
    for (std::size_t i = 0; i < kOrder.size(); ++i) {
        if (kOrder[i] != refused.number()) {
            holding_ |= 1u << i;
        }
    }
}

void HoldingCodePages::see(std::string_view utf8) {
    // Every one of them holds ASCII as it is; most names need no conversion to tell.
    if (holding_ == 0 || isAscii(utf8)) {
        return;
    }
    for (std::size_t i = 0; i < kOrder.size(); ++i) {
        if ((holding_ & (1u << i)) != 0 && !holds(*CodePage::known(kOrder[i]), utf8)) {
            holding_ &= ~(1u << i);
        }
    }
}

std::optional<CodePage> HoldingCodePages::first() const {
    for (std::size_t i = 0; i < kOrder.size(); ++i) {
        if ((holding_ & (1u << i)) != 0) {
            return CodePage::known(kOrder[i]);
        }
    }
    return std::nullopt;
}

}  // namespace quorrel
