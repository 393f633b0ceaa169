// Standard output: our own block buffer, so a value is formatted straight into it.
// State: the buffer, its fill, whether descriptor 1 is a console, and whether a write has failed.
#include "runtime/output.h"

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

}  // namespace

void out_open() {
    out_unbuffered = platform_is_console(1);
}

void out_value_line(std::int32_t value) {
    // The line is formatted backwards, two digits at a time, to end at line + OUT_LINE_SPAN.
    static constexpr char pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char line[2 * OUT_LINE_SPAN];
    char* first = line + OUT_LINE_SPAN;
    *--first = '\n';
    // The magnitude in unsigned arithmetic, where negating -2147483648 is defined.
    std::uint32_t u = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    while (u >= 100) {
        first -= 2;
        std::memcpy(first, pairs + 2 * (u % 100), 2);
        u /= 100;
    }
    if (u >= 10) {
        first -= 2;
        std::memcpy(first, pairs + 2 * u, 2);
    } else {
        *--first = static_cast<char>('0' + u);
    }
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
