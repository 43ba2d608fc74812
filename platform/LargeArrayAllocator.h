#pragma once
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <sys/mman.h>
#include <type_traits>
#include <utility>

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

// The same for arrays that are always overwritten in full before they are read: elements made
// without a value are left unwritten, so sizing the array touches none of its pages.
template <typename T> class UnwrittenArrayAllocator : public LargeArrayAllocator<T> {
public:
    template <typename U> struct rebind { using other = UnwrittenArrayAllocator<U>; };

    UnwrittenArrayAllocator() = default;
    template <typename U> UnwrittenArrayAllocator(const UnwrittenArrayAllocator<U>&) noexcept {}

    template <typename U> void construct(U*) noexcept {
        static_assert(std::is_trivially_copyable_v<U> && std::is_trivially_destructible_v<U>);
    }
    template <typename U, typename... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
