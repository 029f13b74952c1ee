#pragma once

#include <cstddef>
#include <new>

namespace lw {

// Memory for one block of `bytes`, aligned for any type. Blocks of several megabytes come, on
// Linux, straight from the kernel on 2 MB boundaries with transparent huge pages asked for, so
// that filling them costs one page fault per 2 MB instead of one per 4 KB; smaller blocks, and
// all blocks elsewhere, come from operator new. Throws std::bad_alloc when there is no memory.
// The block goes back by releaseBigBlock with the same size.
void* allocateBigBlock(std::size_t bytes);
void releaseBigBlock(void* block, std::size_t bytes) noexcept;

// An allocator over allocateBigBlock whose containers leave new elements of trivial types
// uninitialized on resize(n), as a buffer about to be overwritten needs: resize then only
// reserves what will be written. Stateless, so all instances are equal.
template <class T>
struct BigBufferAllocator {
    using value_type = T;

    BigBufferAllocator() noexcept = default;
    template <class U>
    BigBufferAllocator(const BigBufferAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        return static_cast<T*>(allocateBigBlock(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { releaseBigBlock(p, n * sizeof(T)); }

    // Default-initializes rather than value-initializes: no zeroing of bytes about to be written.
    template <class U>
    void construct(U* p) noexcept(noexcept(::new (static_cast<void*>(p)) U)) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(static_cast<Args&&>(args)...);
    }

    template <class U>
    friend bool operator==(const BigBufferAllocator&, const BigBufferAllocator<U>&) noexcept {
        return true;
    }
};

}  // namespace lw
