// Standard output: our own block buffer, so a value is formatted straight into it.
// State: the buffer, its fill, whether descriptor 1 is a terminal, and whether a write has failed.
#include "runtime/output.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace {

constexpr int OUT_BLOCK = 512;        // the block size of a non-terminal standard output
constexpr int OUT_LINE_MAX = 12;      // "-2147483648\n"

char out_buffer[OUT_BLOCK];
int out_fill = 0;
bool out_unbuffered = false;
bool out_failed = false;

// Writes all of [data, data + n) to descriptor 1; after the first failure nothing more is tried.
void write_all(const char* data, int n) {
    while (n > 0 && !out_failed) {
        ssize_t w = write(1, data, static_cast<size_t>(n));
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            out_failed = true;
            return;
        }
        data += w;
        n -= static_cast<int>(w);
    }
}

// Buffers n bytes: a full block is written only when the next bytes need room, so that every
// write is one whole block; on a terminal the bytes are written at once.
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
    out_unbuffered = isatty(1) != 0;
}

void out_value_line(std::int32_t value) {
    if (!out_unbuffered && OUT_BLOCK - out_fill >= OUT_LINE_MAX) {
        // The common case: the line fits in the block, so it is formatted straight into it.
        char* end = std::to_chars(out_buffer + out_fill, out_buffer + OUT_BLOCK, value).ptr;
        *end = '\n';
        out_fill = static_cast<int>(end + 1 - out_buffer);
        return;
    }
    char line[OUT_LINE_MAX];
    char* end = std::to_chars(line, line + sizeof line, value).ptr;
    *end = '\n';
    out_write(line, static_cast<int>(end + 1 - line));
}

bool out_flush() {
    write_all(out_buffer, out_fill);
    out_fill = 0;
    return !out_failed;
}
