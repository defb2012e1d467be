// DXFTable's large blocks: anonymous memory mapped a large page more than asked, trimmed to a
// large-page boundary and marked for large pages.
#include "dxf/cDXFTable.h"

#include <cstdint>

#include <sys/mman.h>

namespace dxftable {

namespace {

// The large page of x86-64 and most other 64-bit systems.
constexpr std::size_t kLargePage = std::size_t(2) << 20;

std::size_t RoundUp(std::size_t bytes, std::size_t to)
{
    return (bytes + to - 1) / to * to;
}

} // namespace

void* AllocateLarge(std::size_t bytes)
{
    const std::size_t size = RoundUp(bytes, kLargePage);
    void* p = ::mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const auto aligned = RoundUp(start, kLargePage);
    // The pieces before and after the aligned block go back at once.
    if (aligned > start) {
        ::munmap(p, aligned - start);
    }
    const std::uintptr_t tail = start + size + kLargePage - (aligned + size);
    if (tail > 0) {
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    }
#ifdef MADV_HUGEPAGE
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
#endif
    return reinterpret_cast<void*>(aligned);
}

void FreeLarge(void* p, std::size_t bytes) noexcept
{
    ::munmap(p, RoundUp(bytes, kLargePage));
}

} // namespace dxftable
