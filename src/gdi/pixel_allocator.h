// Memory for large pixel buffers.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

namespace gdi {

// Allocates buffers of a few megabytes and more on 2 MiB boundaries and asks the kernel for huge
// pages there: a map of 4096 x 4096 pixels is 64 MiB, and touching it page by page in 4 KiB
// pages costs more than decoding it. Smaller buffers come from the ordinary heap.
void* AllocatePixels(std::size_t bytes);
void FreePixels(void* p, std::size_t bytes) noexcept;

template <class T>
struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <class U>
    PixelAllocator(const PixelAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(AllocatePixels(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { FreePixels(p, n * sizeof(T)); }
    // Made without a value, a pixel is left as the memory has it, so that a buffer can be sized
    // without writing every pixel once for nothing.
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U>
    bool operator==(const PixelAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace gdi
