#include "core/big_buffer.h"

#ifdef __linux__
#include <sys/mman.h>

#include <cstdint>
#endif

namespace lw {

#ifdef __linux__
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a block is left to operator new: a huge page would waste most of itself.
constexpr std::size_t kBigBlock = 2 * kHugePage;

std::size_t roundedUp(std::size_t bytes) noexcept {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

}  // namespace

void* allocateBigBlock(std::size_t bytes) {
    if (bytes < kBigBlock) {
        return ::operator new(bytes);
    }
    if (bytes > static_cast<std::size_t>(-1) - 2 * kHugePage) {
        throw std::bad_alloc();
    }
    const std::size_t size = roundedUp(bytes);
    // The kernel aligns a mapping only to 4 KB; one huge page more leaves room to cut a 2 MB
    // aligned block out of it, the cut-off ends going back at once.
    const std::size_t mapped = size + kHugePage;
    void* const raw =
        ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    if (aligned != start) {
        ::munmap(raw, aligned - start);
    }
    if (const std::uintptr_t tail = start + mapped - (aligned + size); tail != 0) {
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    }
    void* const block = reinterpret_cast<void*>(aligned);
    // Only a hint: without huge pages the block still works with small ones.
    (void)::madvise(block, size, MADV_HUGEPAGE);
    return block;
}

void releaseBigBlock(void* block, std::size_t bytes) noexcept {
    if (block == nullptr) {
        return;
    }
    if (bytes < kBigBlock) {
        ::operator delete(block);
        return;
    }
    ::munmap(block, roundedUp(bytes));
}

#else

void* allocateBigBlock(std::size_t bytes) {
    return ::operator new(bytes);
}

void releaseBigBlock(void* block, std::size_t) noexcept {
    ::operator delete(block);
}

#endif

}  // namespace lw
