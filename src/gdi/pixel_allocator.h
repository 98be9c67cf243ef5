// Memory for large pixel buffers.
#pragma once

#include <cstddef>
#include <new>

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
    template <class U>
    bool operator==(const PixelAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace gdi
