#include "gdi/pixel_allocator.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace gdi {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLarge = std::size_t{4} << 20;

std::size_t RoundUp(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}
}  // namespace

void* AllocatePixels(std::size_t bytes) {
    if (bytes == 0)
        bytes = 1;
    if (bytes < kLarge) {
        if (void* p = std::malloc(bytes))
            return p;
        throw std::bad_alloc();
    }
    void* p = std::aligned_alloc(kHugePage, RoundUp(bytes));
    if (!p)
        throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Only a hint: where huge pages are off, the buffer works as any other.
    madvise(p, RoundUp(bytes), MADV_HUGEPAGE);
#endif
    return p;
}

void FreePixels(void* p, std::size_t) noexcept {
    std::free(p);
}

}  // namespace gdi
