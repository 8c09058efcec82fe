#include "PackedItems.h"

#include <utility>

namespace quorrel {

void PackedItems::append(std::string text, std::uint8_t marks) {
    // Each step that can run out of memory is undone if a later one does.
    ends_.push_back(texts_.size() + text.size());
    try {
        marks_.push_back(marks);
        try {
            if (texts_.empty()) {
                texts_ = std::move(text);
            } else {
                texts_.append(text);
            }
        } catch (...) {
            marks_.pop_back();
            throw;
        }
    } catch (...) {
        ends_.pop_back();
        throw;
    }
}

void PackedItems::clear() noexcept {
    texts_ = std::string();
    ends_ = std::vector<std::size_t>();
    marks_ = std::vector<std::uint8_t>();
}

std::string_view PackedItems::text(std::size_t row) const {
    const std::size_t end = ends_.at(row);
    const std::size_t begin = row == 0 ? 0 : ends_[row - 1];
    return std::string_view(texts_).substr(begin, end - begin);
}

void PackedItems::setMark(std::size_t row, std::uint8_t mark, bool set) {
    std::uint8_t& marks = marks_.at(row);
    marks = static_cast<std::uint8_t>(set ? (marks | mark) : (marks & ~mark));
}

}  // namespace quorrel
