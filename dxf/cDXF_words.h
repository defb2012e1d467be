// cDXF, reading eight bytes of a drawing at a time: which bytes are control bytes or digits,
// and the number eight digits stand for. The first byte of a text is the lowest byte
// of the word loaded from it, as on the little-endian machines the program runs on.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "the word-at-a-time reading takes a text's first byte as the lowest");

namespace dxfwords {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighs = 0x8080808080808080ull;
// Eight "0" bytes.
inline constexpr std::uint64_t kZeros = 0x3030303030303030ull;

// The eight bytes at p.
inline std::uint64_t Load(const char* p)
{
    std::uint64_t w = 0;
    std::memcpy(&w, p, 8);
    return w;
}

// The high bit of the first byte of w below 14 (CR, LF, TAB and other controls) and maybe of
// bytes above it; 0 when there is none. Bytes from 0x80 on are never taken.
inline std::uint64_t BelowFourteen(std::uint64_t w)
{
    return (w - kOnes * 14) & ~w & kHighs;
}

// The high bit of every byte of t (eight bytes, each less "0") that was no digit. A borrow or
// carry only reaches the bytes above the first such byte.
inline std::uint64_t NotDigits(std::uint64_t t)
{
    return (t | (t + 0x7676767676767676ull)) & kHighs;
}

// The number that eight digits less "0" each stand for, the first byte the highest digit.
inline std::uint64_t EightDigitsValue(std::uint64_t t)
{
    constexpr std::uint64_t kMask = 0x000000FF000000FFull;
    constexpr std::uint64_t kMul1 = 100 + (1000000ull << 32);
    constexpr std::uint64_t kMul2 = 1 + (10000ull << 32);
    t = t * 10 + (t >> 8);
    return (((t & kMask) * kMul1) + (((t >> 16) & kMask) * kMul2)) >> 32;
}

} // namespace dxfwords
