// Fuzzing build only: linked in with -Wl,--wrap=read, it cuts reads of standard input short, so
// that tokens, CR LF pairs and 0x1A bytes also meet the ends of reads. The cuts follow from the
// input's size alone, so every run of one input reads it the same way.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

extern "C" ssize_t __real_read(int fd, void* buf, size_t count);

extern "C" ssize_t __wrap_read(int fd, void* buf, size_t count) {
    static bool seeded = false;
    static bool whole = false;       // no cuts: read as a file is
    static std::uint64_t state = 0;  // xorshift state
    if (fd != 0)
        return __real_read(fd, buf, count);
    if (!seeded) {
        struct stat st;
        std::uint64_t size = fstat(0, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
        whole = size % 4 == 0;
        state = size * 0x9E3779B97F4A7C15u | 1;
        seeded = true;
    }
    // Inputs whose size is a multiple of 4 are read whole; the others in pieces: one read in
    // sixteen of 1 .. 256 bytes, the others of 1 .. 16 (never more than asked for).
    if (!whole && count > 1) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::uint64_t limit = state % 16 == 0 ? 256 : 16;
        count = 1 + (state >> 8) % (count < limit ? count : limit);
    }
    return __real_read(fd, buf, count);
}
