// Platform services on Windows. What differs from POSIX:
// - Standard input is put in binary mode before its first read. Its bytes then arrive
//   untranslated, and text_read.cpp filters CR and 0x1A as on every platform.
// - Standard output and standard error stay in the C runtime's text mode, which writes each LF as
//   CR LF.
// - A console is told by its console mode: the null device is a character device too.
// - There is no stdbuf: the buffering of standard output depends on the console alone.
// - There is no SIGPIPE: a write to a closed pipe fails.
// State: whether standard input has been put in binary mode.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "runtime/platform.h"

namespace {

bool input_binary = false;

HANDLE handle_of(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

}  // namespace

int platform_read(int fd, char* buf, int want) {
    if (!input_binary) {
        _setmode(fd, _O_BINARY);
        input_binary = true;
    }
    return _read(fd, buf, static_cast<unsigned>(want));
}

int platform_write(int fd, const char* data, int n) { return _write(fd, data, static_cast<unsigned>(n)); }

int platform_output_buffering() {
    DWORD mode = 0;
    return GetConsoleMode(handle_of(1), &mode) != 0 ? PLATFORM_OUT_LINES : PLATFORM_OUT_BLOCKS;
}

bool platform_is_character_device(int fd) { return GetFileType(handle_of(fd)) == FILE_TYPE_CHAR; }
