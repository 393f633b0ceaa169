// Standard output: our own block buffer, so a value is formatted straight into it.
// State: the buffer, its fill, whether descriptor 1 is a console, and whether a write has failed.
#include "runtime/output.h"

#include <bit>
#include <cstring>

#include "runtime/platform.h"

namespace {

constexpr int OUT_BLOCK = 512;        // the block size, unless standard output is a console
constexpr int OUT_LINE_MAX = 12;      // "-2147483648\n"
constexpr int OUT_LINE_SPAN = 16;     // a formatted line is moved as this many bytes at once

// The block, plus room for the bytes that moving a whole span may carry past its end; only
// the first OUT_BLOCK bytes are ever written out.
char out_buffer[OUT_BLOCK + OUT_LINE_SPAN];
int out_fill = 0;
bool out_unbuffered = false;
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
// write is one whole block; on a console the bytes are written at once.
void out_write(const char* data, int n) {
    if (out_unbuffered) {
        write_all(data, n);
        return;
    }
    int room = OUT_BLOCK - out_fill;
    if (n > room) {
        std::memcpy(out_buffer + out_fill, data, static_cast<size_t>(room));
        write_all(out_buffer, OUT_BLOCK);
        out_fill = 0;
        data += room;
        n -= room;
    }
    std::memcpy(out_buffer + out_fill, data, static_cast<size_t>(n));
    out_fill += n;
}

// The number of decimal digits of u (1 for 0): the bit width gives the count or one less (1233 /
// 4096 is just over log10 2), and one comparison settles which.
int decimal_digits(std::uint32_t u) {
    static constexpr std::uint32_t powers_of_ten[] = {1, 10, 100, 1000, 10000, 100000, 1000000,
                                                      10000000, 100000000, 1000000000};
    int guess = static_cast<int>(std::bit_width(u | 1) * 1233 >> 12);
    return guess + ((u | 1) >= powers_of_ten[guess]);
}

// The eight decimal digits of x (< 10^8), leading zeros included, as the bytes of a word in the
// order they are written. x is cut into halves of four digits, each half into two digits, each
// pair into single digits, every cut made in all lanes at once by a multiplication that divides
// exactly over the lane's range: 109951163 / 2^40 by 10^4 below 10^8, 10486 / 2^20 by 100 below
// 10^4, 103 / 2^10 by 10 below 100. The first digit ends up in the lowest byte, which is the
// first in memory on the little-endian machines the calculator is built for.
std::uint64_t eight_digits(std::uint32_t x) {
    static_assert(std::endian::native == std::endian::little);
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
    out_unbuffered = platform_is_console(1);
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
    std::uint32_t high = u / 100000000;  // at most 42
    std::memcpy(digits, pairs + 2 * high, 2);
    std::uint64_t word = eight_digits(u - high * 100000000);
    std::memcpy(digits + 2, &word, 8);
    digits[DIGITS_MAX] = '\n';
    char* first = digits + DIGITS_MAX - decimal_digits(u);
    if (value < 0)
        *--first = '-';
    int n = static_cast<int>(line + OUT_LINE_SPAN - first);

    if (!out_unbuffered && OUT_BLOCK - out_fill >= OUT_LINE_MAX) {
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
