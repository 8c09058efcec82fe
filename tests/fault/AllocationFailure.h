#pragma once

#include <cstddef>

namespace quorrel::fault {

// Makes one allocation fail, as memory running out would: while an object of this class lives,
// the `nth` allocation through operator new (counting from 1) of at least `minimumBytes` bytes
// throws std::bad_alloc. Later allocations succeed again, so that what the failure sets off can
// run. Linking this into a program replaces its global operator new and delete; only one may
// live at a time, and only the thread that made it should allocate meanwhile.
class AllocationFailure {
  public:
    explicit AllocationFailure(std::size_t nth, std::size_t minimumBytes = 0);
    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;
    ~AllocationFailure();

    // Whether the allocation has failed yet.
    bool happened() const noexcept;
};

}  // namespace quorrel::fault
