#pragma once
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <sys/mman.h>

// An allocator for large arrays read at random places (cells of big mazes and their indexes):
// blocks of 2 MiB and more are aligned to 2 MiB and offered to the kernel for large pages, so
// random reads miss the address cache far less often. Smaller blocks are ordinary.
template <typename T> class LargeArrayAllocator {
public:
    using value_type = T;

    LargeArrayAllocator() = default;
    template <typename U> LargeArrayAllocator(const LargeArrayAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > (std::numeric_limits<std::size_t>::max() - kLargePage) / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        if (!IsLarge(n)) {
            return std::allocator<T>().allocate(n);
        }
        const std::size_t bytes = RoundedUp(n * sizeof(T));
        void* block = std::aligned_alloc(kLargePage, bytes);
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        ::madvise(block, bytes, MADV_HUGEPAGE); // only a hint: ordinary pages work as well
        return static_cast<T*>(block);
    }

    void deallocate(T* block, std::size_t n) noexcept {
        if (!IsLarge(n)) {
            std::allocator<T>().deallocate(block, n);
            return;
        }
        std::free(block);
    }

    template <typename U> bool operator==(const LargeArrayAllocator<U>&) const noexcept {
        return true;
    }

private:
    static constexpr std::size_t kLargePage = std::size_t{2} << 20;

    static bool IsLarge(std::size_t n) { return n * sizeof(T) >= kLargePage; }
    static std::size_t RoundedUp(std::size_t bytes) {
        return (bytes + kLargePage - 1) / kLargePage * kLargePage;
    }
};
