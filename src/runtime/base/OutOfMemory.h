#pragma once

#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "Failure.h"

namespace quorrel {

// Memory running out is a failure like any other, of the out-of-memory kind and worded one way
// wherever it happens, in the load action, in either window's list and in both programs:
// "out of memory", after what was being done when that is said ("cannot add an item of 9 bytes
// to the list: out of memory"). It shows as std::bad_alloc, or as the std::length_error a
// container throws for a size no memory could hold; to a user the two are one.

// Says nothing of what was being done.
struct NothingSaid {
    std::string operator()() const { return {}; }
};

inline Failure outOfMemory(const std::string& doing = {}) {
    return Failure(FailureKind::OutOfMemory,
                   doing.empty() ? std::string("out of memory") : doing + ": out of memory");
}

// Runs `work` and returns what it returns; memory running out in it leaves it as
// outOfMemory(doing()). `doing` is only called then, so that work done a million times over pays
// nothing for the words.
template <typename Work, typename Doing = NothingSaid>
decltype(auto) failingWhenMemoryRunsOut(Work&& work, Doing doing = {}) {
    try {
        return std::forward<Work>(work)();
    } catch (const std::bad_alloc&) {
        throw outOfMemory(doing());
    } catch (const std::length_error&) {
        throw outOfMemory(doing());
    }
}

}  // namespace quorrel
