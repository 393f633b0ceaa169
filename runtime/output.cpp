// Standard output: our own block buffer, so a value is formatted straight into it.
// State: the buffer, its block size and fill, whether lines go out at once, and whether a write
// has failed.
#include "runtime/output.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#include "runtime/lanes.h"
#include "runtime/platform.h"

namespace {

constexpr int OUT_BLOCK = 512;        // the block size, unless the platform reports another
constexpr int OUT_BLOCK_MAX = 65536;  // the largest block size taken from the platform
constexpr int OUT_LINE_MAX = 12;      // "-2147483648\n"
constexpr int OUT_LINE_SPAN = 16;     // a formatted line is moved as this many bytes at once

// The block, plus room for the bytes that moving a whole span may carry past its end; only
// the first out_block bytes are ever written out.
char out_buffer[OUT_BLOCK_MAX + OUT_LINE_SPAN];
int out_block = OUT_BLOCK;
int out_fill = 0;
bool out_unbuffered = false;
// The fill up to which a whole line still fits in the block; below any fill when lines go out at
// once, and nothing is kept in the block.
int out_line_fits = OUT_BLOCK - OUT_LINE_MAX;
bool out_failed = false;

// Writes all of [data, data + n) to descriptor 1, in as many writes as the descriptor takes;
// after the first failure nothing more is tried.
void write_all(const char* data, int n) {
    while (n > 0 && !out_failed) {
        int w = platform_write(1, data, n);
        if (w <= 0) {
            out_failed = true;
            return;
        }
        data += w;
        n -= w;
    }
}

// Buffers n bytes: a full block is written only when the next bytes need room, so that every
// write is one whole block (a block smaller than a line may fill more than once); when lines go
// out at once the bytes are written at once. Never inlined: it serves about one line in forty,
// and inlined into the parse loop it cost 0.8 to 1.4 % more instructions per input byte.
[[gnu::noinline]] void out_write(const char* data, int n) {
    if (out_unbuffered) {
        write_all(data, n);
        return;
    }
    while (n > out_block - out_fill) {
        int room = out_block - out_fill;
        std::memcpy(out_buffer + out_fill, data, static_cast<size_t>(room));
        write_all(out_buffer, out_block);
        out_fill = 0;
        data += room;
        n -= room;
    }
    std::memcpy(out_buffer + out_fill, data, static_cast<size_t>(n));
    out_fill += n;
}

// For each bit width w of a value u (1 to 32), the count of decimal digits of the smallest u of
// that width in the upper half, and in the lower half 2^32 less the power of ten at which the
// count goes up by one if that lies among the values of width w (0 otherwise): added to u, the
// lower half carries into the upper exactly when u has reached that power.
constexpr std::array<std::uint64_t, 33> make_digit_counts() {
    std::array<std::uint64_t, 33> t{};
    for (std::size_t w = 1; w <= 32; ++w) {
        std::uint64_t lowest = std::uint64_t{1} << (w - 1);
        std::uint64_t power = 10;
        std::uint64_t count = 1;
        while (power <= lowest) {
            power *= 10;
            ++count;
        }
        bool rises = power < (std::uint64_t{1} << w);
        t[w] = count << 32 | (rises ? (std::uint64_t{1} << 32) - power : 0);
    }
    return t;
}
constexpr std::array<std::uint64_t, 33> digit_counts = make_digit_counts();

// The number of decimal digits of u (1 for 0).
constexpr int decimal_digits(std::uint32_t u) {
    return static_cast<int>((u + digit_counts[std::bit_width(u | 1)]) >> 32);
}
static_assert([] {  // right on both sides of every power of ten and of every power of two
    std::uint32_t power = 1;
    for (int count = 1; count <= 9; ++count, power *= 10)
        if (decimal_digits(power * 10 - 1) != count || decimal_digits(power * 10) != count + 1)
            return false;
    for (int w = 1; w < 32; ++w) {
        std::uint32_t two = std::uint32_t{1} << w;
        std::uint32_t p = 1;
        int count = 1;
        for (; p <= two / 10; p *= 10)
            ++count;
        if (decimal_digits(two) != count || decimal_digits(two - 1) != (two - 1 >= p ? count : count - 1))
            return false;
    }
    return decimal_digits(0) == 1 && decimal_digits(UINT32_MAX) == 10;
}());

// The eight decimal digits of x (< 10^8), leading zeros included, as the bytes of a word in the
// order they are written. x is cut into halves of four digits, each half into two digits, each
// pair into single digits, every cut made in all lanes at once by a multiplication that divides
// exactly over the lane's range: 109951163 / 2^40 by 10^4 below 10^8, 10486 / 2^20 by 100 below
// 10^4, 103 / 2^10 by 10 below 100. The first digit ends up in the lowest lane, which
// store_lanes puts first in memory.
std::uint64_t eight_digits(std::uint32_t x) {
    std::uint64_t upper = (x * std::uint64_t{109951163}) >> 40;
    std::uint64_t lanes = upper | (x - upper * 10000) << 32;                 // 2 x 4 digits
    std::uint64_t hundreds = ((lanes * 10486) >> 20) & 0x0000007F0000007F;
    lanes = hundreds | (lanes - hundreds * 100) << 16;                        // 4 x 2 digits
    std::uint64_t tens = ((lanes * 103) >> 10) & 0x000F000F000F000F;
    lanes = tens | (lanes - tens * 10) << 8;                                  // 8 x 1 digit
    return lanes | 0x3030303030303030;                                        // as '0'..'9'
}

}  // namespace

void out_open() {
    int buffering = platform_output_buffering();
    out_unbuffered = buffering == PLATFORM_OUT_LINES;
    if (buffering > 0)
        out_block = std::min(buffering, OUT_BLOCK_MAX);
    out_line_fits = out_unbuffered ? -1 : out_block - OUT_LINE_MAX;
}

void out_value_line(std::int32_t value) {
    // All ten digits of the magnitude are made, leading zeros included, with no loop and no test
    // on the value; the line then starts at its first significant digit (or its sign) and ends
    // with the line feed at line + OUT_LINE_SPAN - 1. The first two digits come from a table of
    // pairs; the other eight are made side by side in the lanes of one 64-bit word (below).
    static constexpr char pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    constexpr int DIGITS_MAX = 10;
    char line[2 * OUT_LINE_SPAN];
    char* digits = line + OUT_LINE_SPAN - 1 - DIGITS_MAX;
    // The magnitude in unsigned arithmetic, where negating -2147483648 is defined.
    std::uint32_t u = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    // u / 10^8 (at most 42), as a multiplication by 1441151881 / 2^57, which is exact for every
    // 32-bit u; written out, as a compiler may otherwise divide where it judges the code cold.
    std::uint32_t high = static_cast<std::uint32_t>((u * std::uint64_t{1441151881}) >> 57);
    std::memcpy(digits, pairs + 2 * high, 2);
    std::uint64_t word = eight_digits(u - high * 100000000);
    store_lanes(digits + 2, word);
    digits[DIGITS_MAX] = '\n';
    char* first = digits + DIGITS_MAX - decimal_digits(u);
    if (value < 0)
        *--first = '-';
    int n = static_cast<int>(line + OUT_LINE_SPAN - first);

    if (out_fill <= out_line_fits) {
        // The common case: the line fits in the block and is moved there as one whole span.
        std::memcpy(out_buffer + out_fill, first, OUT_LINE_SPAN);
        out_fill += n;
        return;
    }
    out_write(first, n);
}

bool out_flush() {
    write_all(out_buffer, out_fill);
    out_fill = 0;
    return !out_failed;
}
