// DXFTable: the array that holds one entity kind of a background drawing. A large table lies in
// memory of its own, aligned to and backed by the system's large pages where it offers them:
// records are written page after page while a drawing is read, and small pages make each of
// those pages costly. Small tables use the ordinary heap.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace dxftable {

// Tables of at least this many bytes get memory of their own.
inline constexpr std::size_t kLargeTable = std::size_t(256) << 10;

// Memory of at least the given bytes, aligned to a large page; raises std::bad_alloc.
void* AllocateLarge(std::size_t bytes);
// Gives back memory from AllocateLarge of the same size.
void FreeLarge(void* p, std::size_t bytes) noexcept;

} // namespace dxftable

// The allocator of DXFTable: large blocks from dxftable::AllocateLarge, small ones from new.
template <typename T> struct cDXFAllocator {
    using value_type = T;
    cDXFAllocator() = default;
    template <typename U> cDXFAllocator(const cDXFAllocator<U>&) noexcept {}
    T* allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) {
            throw std::bad_array_new_length();
        }
        const std::size_t bytes = n * sizeof(T);
        if (bytes >= dxftable::kLargeTable) {
            return static_cast<T*>(dxftable::AllocateLarge(bytes));
        }
        return static_cast<T*>(::operator new(bytes));
    }
    void deallocate(T* p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes >= dxftable::kLargeTable) {
            dxftable::FreeLarge(p, bytes);
        } else {
            ::operator delete(p);
        }
    }
    template <typename U> bool operator==(const cDXFAllocator<U>&) const noexcept { return true; }
};

// One entity kind's records, in file order.
template <typename T> using DXFTable = std::vector<T, cDXFAllocator<T>>;
