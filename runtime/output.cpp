// Standard output: our own block buffer, so a value is formatted straight into it.
// State: the buffer, its block size and fill, whether lines go out at once, and whether a write
// has failed.
#include "runtime/output.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

#include "runtime/lanes.h"
#include "runtime/platform.h"

namespace {

constexpr int OUT_BLOCK = 512;        // the block size, unless the platform reports another
constexpr int OUT_BLOCK_MAX = 65536;  // the largest block size taken from the platform
static_assert(OUT_BLOCK == 512 && OUT_BLOCK_MAX == 65536,
              "the block sizes are also the boundaries of the block rows of tests/cases/streams.cases, of "
              "tests/wine_checks.py's null device, and of the buffering in README.md and docs/intcalc.1: change them there too");
constexpr int OUT_LINE_MAX = 12;      // "-2147483648\n"
constexpr int OUT_LINE_SPAN = 16;     // a formatted line is moved as this many bytes at once
constexpr std::uint64_t ASCII_ZEROS = 0x3030303030303030;  // '0' in each lane: digit values to digits

// The block, plus room for the bytes that moving a whole span may carry past its end; only
// the first out_block bytes are ever written out.
char out_buffer[OUT_BLOCK_MAX + OUT_LINE_SPAN];
int out_block = OUT_BLOCK;
int out_fill = 0;
bool out_unbuffered = false;
// The fill up to which a whole line still fits in the block. When lines go out at once nothing is
// kept in the block, and the limit is OUT_NOTHING_FITS, below every fill.
constexpr int OUT_NOTHING_FITS = -1;
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

// A division by a constant as a multiplication and a shift: x / divisor is
// (x * multiplier) >> shift for every x below `limit`. A compiler does the same for a constant
// divisor, but may divide where it judges the code cold; and the lanes below divide several
// numbers at once, which a compiler does not.
struct Reciprocal { std::uint64_t multiplier; int shift; };

// The reciprocal with the smallest shift. Its multiplier is 2^shift / divisor rounded up, larger
// than the exact quotient by excess / (divisor * 2^shift); the product is exact while that
// error, times any x below `limit`, stays below 1 / divisor.
constexpr Reciprocal reciprocal(std::uint64_t divisor, std::uint64_t limit) {
    for (int shift = 0;; ++shift) {
        std::uint64_t two = std::uint64_t{1} << shift;
        std::uint64_t multiplier = (two + divisor - 1) / divisor;
        if ((limit - 1) * (multiplier * divisor - two) < two)
            return {multiplier, shift};
    }
}

// The proof: for every quotient, the smallest and the largest x below `limit` that have it.
constexpr bool divides_exactly(Reciprocal r, std::uint64_t divisor, std::uint64_t limit) {
    for (std::uint64_t q = 0; q * divisor < limit; ++q) {
        std::uint64_t last = std::min(q * divisor + divisor - 1, limit - 1);
        if ((q * divisor * r.multiplier) >> r.shift != q || (last * r.multiplier) >> r.shift != q)
            return false;
    }
    return true;
}

// u / 10^8, the first two of ten digits, for every 32-bit u.
constexpr std::uint64_t U32_LIMIT = std::uint64_t{1} << 32;
constexpr Reciprocal BY_1E8 = reciprocal(100000000, U32_LIMIT);
static_assert(divides_exactly(BY_1E8, 100000000, U32_LIMIT), "u / 10^8 exact for every 32-bit u");
static_assert(BY_1E8.multiplier <= UINT64_MAX / (U32_LIMIT - 1), "the product fits 64 bits");

// The three cuts of eight digits: in two lanes of 32 bits, by 10^4 below 10^8; in four lanes of
// 16 bits, by 100 below 10^4; in eight of 8 bits, by 10 below 100 (made in the 16-bit lanes,
// each tens digit then moved up to a byte of its own). A lane's product must stay in its lane.
constexpr Reciprocal BY_1E4 = reciprocal(10000, 100000000);
constexpr Reciprocal BY_100 = reciprocal(100, 10000);
constexpr Reciprocal BY_10 = reciprocal(10, 100);
static_assert(divides_exactly(BY_1E4, 10000, 100000000) && divides_exactly(BY_100, 100, 10000) &&
              divides_exactly(BY_10, 10, 100));
static_assert(BY_1E4.multiplier * (100000000 - 1) < UINT64_MAX && BY_100.multiplier * (10000 - 1) < U32_LIMIT &&
              BY_10.multiplier * (100 - 1) < (1 << 16), "each lane's product stays in its lane");

// The eight decimal digits of x (< 10^8), leading zeros included, as the lanes of a word, each
// digit's value in its lane, the first in the lowest (which store_lanes puts first in memory). x
// is cut into two halves of four digits, each half into two pairs, each pair into two digits:
// every cut is made in all lanes at once.
constexpr std::uint64_t eight_digits(std::uint32_t x) {
    std::uint64_t upper = (x * BY_1E4.multiplier) >> BY_1E4.shift;
    std::uint64_t lanes = upper | (x - upper * 10000) << 32;                        // 2 x 4 digits
    std::uint64_t hundreds = ((lanes * BY_100.multiplier) >> BY_100.shift) & 0x0000007F0000007F;
    lanes = hundreds | (lanes - hundreds * 100) << 16;                               // 4 x 2 digits
    std::uint64_t tens = ((lanes * BY_10.multiplier) >> BY_10.shift) & 0x000F000F000F000F;
    return tens | (lanes - tens * 10) << 8;                                          // 8 x 1 digit
}

// The number of digits of x < 10^8 without its leading zeros (one for 0), from its lanes: the
// zero lanes below the first digit that is not 0. The count is divided as unsigned: GCC made a
// division instruction of the signed one, in the line's path from the value to its length.
constexpr int significant_digits(std::uint64_t lanes) {
    return 8 - static_cast<int>(static_cast<unsigned>(std::countr_zero(lanes | std::uint64_t{1} << 56)) / 8);
}
static_assert([] {
    std::uint32_t power = 1;  // 10^(n-1) and 10^n - 1 have n digits
    for (int digits = 1; digits <= 8; ++digits, power *= 10)
        if (significant_digits(eight_digits(power)) != digits || significant_digits(eight_digits(power * 10 - 1)) != digits)
            return false;
    return significant_digits(eight_digits(0)) == 1;
}(), "significant_digits counts the digits on both sides of every power of ten");

}  // namespace

void out_open() {
    int buffering = platform_output_buffering();
    out_unbuffered = buffering == PLATFORM_OUT_LINES;
    if (buffering > 0)
        out_block = std::min(buffering, OUT_BLOCK_MAX);
    out_line_fits = out_unbuffered ? OUT_NOTHING_FITS : out_block - OUT_LINE_MAX;
}

void out_value_line(std::int32_t value) {
    // All ten digits of the magnitude are made, leading zeros included, with no loop and no test
    // on the value; the line then starts at its first significant digit (or its sign) and ends
    // with the line feed at line + OUT_LINE_SPAN - 1. The first two digits come from a table of
    // pairs; the other eight are made side by side in the lanes of one 64-bit word (below).
    static constexpr char pairs[] = "000102030405060708091011121314151617181920212223242526272829303132333435363738394041"
                                    "42";  // UINT32_MAX / 10^8 is 42
    constexpr int DIGITS_MAX = 10;
    char line[2 * OUT_LINE_SPAN];
    char* digits = line + OUT_LINE_SPAN - 1 - DIGITS_MAX;
    // The magnitude in unsigned arithmetic, where negating -2147483648 is defined.
    std::uint32_t u = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    char* first;
    if (u < 100000000) {  // the usual value: no high pair
        std::uint64_t low = eight_digits(u);
        store_lanes(digits + 2, low | ASCII_ZEROS);
        first = digits + DIGITS_MAX - significant_digits(low);
    } else {
        std::uint32_t high = static_cast<std::uint32_t>((u * BY_1E8.multiplier) >> BY_1E8.shift);  // at most 42
        std::memcpy(digits, pairs + 2 * high, 2);
        store_lanes(digits + 2, eight_digits(u - high * 100000000) | ASCII_ZEROS);
        first = digits + (high < 10);
    }
    digits[DIGITS_MAX] = '\n';
    first[-1] = '-';  // the sign, written whatever the value and kept only for a negative one
    first -= value < 0;
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
