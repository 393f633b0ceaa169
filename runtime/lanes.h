// Eight bytes of memory as the eight lanes of one 64-bit word, the first byte in the lowest lane
// on machines of either byte order; for code that works on eight characters at once.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// The eight bytes of w in the reverse order.
constexpr std::uint64_t reverse_lanes(std::uint64_t w) {
    std::uint64_t r = 0;
    for (int i = 0; i < 8; ++i)
        r = r << 8 | (w >> 8 * i & 0xFF);
    return r;
}
static_assert(reverse_lanes(0x0102030405060708) == 0x0807060504030201, "reverse_lanes reverses the bytes");

// The eight bytes at p, the first in the lowest lane. On a little-endian machine a plain load.
inline std::uint64_t load_lanes(const void* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::big)
        w = reverse_lanes(w);
    return w;
}

// Stores the lanes of w at p, the lowest lane first. On a little-endian machine a plain store.
inline void store_lanes(void* p, std::uint64_t w) {
    if constexpr (std::endian::native == std::endian::big)
        w = reverse_lanes(w);
    std::memcpy(p, &w, sizeof w);
}
