#include "AllocationFailure.h"

#include <atomic>
#include <cstdlib>
#include <new>

#ifdef _WIN32
#include <malloc.h>
#endif

namespace quorrel::fault {
namespace {

// The allocator's state has to outlive every object, so it is the one global of this library.
struct Plan {
    std::atomic<bool> armed{false};
    std::atomic<bool> happened{false};
    std::atomic<std::size_t> remaining{0};
    std::atomic<std::size_t> minimumBytes{0};
};

Plan& plan() noexcept {
    static Plan shared;
    return shared;
}

bool shouldFail(std::size_t bytes) noexcept {
    Plan& p = plan();
    if (!p.armed.load(std::memory_order_relaxed) || bytes < p.minimumBytes.load()) {
        return false;
    }
    if (p.remaining.fetch_sub(1) != 1) {
        return false;
    }
    p.armed = false;
    p.happened = true;
    return true;
}

void* allocate(std::size_t bytes) noexcept {
    return shouldFail(bytes) ? nullptr : std::malloc(bytes == 0 ? 1 : bytes);
}

void* allocateAligned(std::size_t bytes, std::align_val_t alignment) noexcept {
    if (shouldFail(bytes)) {
        return nullptr;
    }
    const auto align = static_cast<std::size_t>(alignment);
#ifdef _WIN32
    return _aligned_malloc(bytes == 0 ? 1 : bytes, align);
#else
    const std::size_t rounded = (bytes + align - 1) / align * align;
    return std::aligned_alloc(align, rounded == 0 ? align : rounded);
#endif
}

void releaseAligned(void* memory) noexcept {
#ifdef _WIN32
    _aligned_free(memory);
#else
    std::free(memory);
#endif
}

void* orThrow(void* memory) {
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

}  // namespace

AllocationFailure::AllocationFailure(std::size_t nth, std::size_t minimumBytes) {
    Plan& p = plan();
    p.happened = false;
    p.remaining = nth;
    p.minimumBytes = minimumBytes;
    p.armed = nth > 0;
}

AllocationFailure::~AllocationFailure() {
    plan().armed = false;
}

bool AllocationFailure::happened() const noexcept {
    return plan().happened;
}

}  // namespace quorrel::fault

// Every replaceable form, so that none of a sanitizer's own forms frees what these allocated.
using quorrel::fault::allocate;
using quorrel::fault::allocateAligned;
using quorrel::fault::orThrow;
using quorrel::fault::releaseAligned;

void* operator new(std::size_t bytes) {
    return orThrow(allocate(bytes));
}
void* operator new[](std::size_t bytes) {
    return orThrow(allocate(bytes));
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return allocate(bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return allocate(bytes);
}
void* operator new(std::size_t bytes, std::align_val_t alignment) {
    return orThrow(allocateAligned(bytes, alignment));
}
void* operator new[](std::size_t bytes, std::align_val_t alignment) {
    return orThrow(allocateAligned(bytes, alignment));
}
void* operator new(std::size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocateAligned(bytes, alignment);
}
void* operator new[](std::size_t bytes, std::align_val_t alignment,
                     const std::nothrow_t&) noexcept {
    return allocateAligned(bytes, alignment);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    releaseAligned(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    releaseAligned(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    releaseAligned(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    releaseAligned(memory);
}
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    releaseAligned(memory);
}
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    releaseAligned(memory);
}
