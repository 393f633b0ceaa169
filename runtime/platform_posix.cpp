// Platform services on POSIX systems: descriptors carry bytes untranslated both ways, a line ends
// in LF alone, and a write to a pipe nobody reads raises SIGPIPE, whose default ends the process.
// No state. No signal handler is installed, so no read or write is ever interrupted.
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/platform.h"

int platform_read(int fd, char* buf, int want) {
    return static_cast<int>(read(fd, buf, static_cast<size_t>(want)));
}

int platform_write(int fd, const char* data, int n) {
    return static_cast<int>(write(fd, data, static_cast<size_t>(n)));
}

bool platform_is_console(int fd) {
    return isatty(fd) != 0;
}

bool platform_is_character_device(int fd) {
    struct stat st {};
    fstat(fd, &st);  // only asked of a descriptor just read, so it cannot fail; st_mode 0 says no
    return S_ISCHR(st.st_mode);
}
