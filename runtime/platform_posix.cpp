// Platform services on POSIX systems: descriptors carry bytes untranslated both ways, a line ends
// in LF alone, and a write to a pipe nobody reads raises SIGPIPE, whose default ends the process.
// With the GNU C library, the buffering set on stdout before main (by `stdbuf -o`, say) can be
// read back and is honoured. No state. No signal handler is installed, so no read or write is
// ever interrupted.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "runtime/platform.h"

#ifdef __GLIBC__
#include <stdio_ext.h>
#endif

namespace {

// What a setvbuf on stdout before main asked for, or PLATFORM_OUT_BLOCKS when nothing was asked
// (or the C library cannot tell). The two calls only read fields of stdout: they neither
// allocate its buffer nor lock it.
int stdout_buffering_asked() {
#ifdef __GLIBC__
    if (__flbf(stdout) != 0)
        return PLATFORM_OUT_LINES;
    std::size_t size = __fbufsize(stdout);
    if (size == 0)  // no buffer yet: stdout's mode is still the library's default
        return PLATFORM_OUT_BLOCKS;
    if (size == 1)  // unbuffered: the library writes through a buffer of one byte
        return PLATFORM_OUT_LINES;
    return static_cast<int>(std::min<std::size_t>(size, INT_MAX));
#else
    return PLATFORM_OUT_BLOCKS;
#endif
}

}  // namespace

int platform_read(int fd, char* buf, int want) {
    return static_cast<int>(read(fd, buf, static_cast<size_t>(want)));
}

int platform_write(int fd, const char* data, int n) {
    return static_cast<int>(write(fd, data, static_cast<size_t>(n)));
}

int platform_output_buffering() {
    int asked = stdout_buffering_asked();
    if (asked != PLATFORM_OUT_BLOCKS)
        return asked;
    return isatty(1) != 0 ? PLATFORM_OUT_LINES : PLATFORM_OUT_BLOCKS;
}

bool platform_is_character_device(int fd) {
    struct stat st {};
    fstat(fd, &st);  // only asked of a descriptor just read, so it cannot fail; st_mode 0 says no
    return S_ISCHR(st.st_mode);
}
