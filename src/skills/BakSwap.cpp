#include "BakSwap.h"

#include <utility>

namespace quorrel {

BakSwap::BakSwap(std::vector<OldFile> earlierBaks, std::vector<OldFile> old) {
    OldFile& oldData = old[TableSwap::kData];
    OldFile& oldIndex = old[TableSwap::kIndex];
    OldFile earlierData = std::move(earlierBaks[TableSwap::kData]);
    if (oldData.bytes && oldIndex.bytes &&
        everyFlagWithin(*oldIndex.bytes, oldData.bytes->size())) {
        oldTable_ = {SparseIndex::ofFile(*oldIndex.bytes), std::move(*oldData.bytes)};
    } else {
        // Without the old table's bytes the swap has only the final files to give, which are the
        // old files themselves: without the earlier ones' bytes it gives them in the plain order.
        earlierData.bytes.reset();
    }
    swap_.emplace(oldTable_, std::move(earlierData), earlierBaks[TableSwap::kIndex]);
    for (const FileVersion& version : swap_->versions()) {
        if (old[version.target].exists) {
            versions_.push_back(version);
        }
    }
}

}  // namespace quorrel
