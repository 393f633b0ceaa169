// Platform services: the few operating-system calls the calculator makes on its standard streams.
// One implementation per platform (platform_posix.cpp, platform_windows.cpp), chosen by the build;
// nothing outside runtime/ asks which platform it runs on.
#pragma once

// One read of at most `want` (> 0) bytes from descriptor fd, the bytes as they are (no line-end
// translation). Returns how many arrived, 0 at the end of input, or a negative value on failure.
int platform_read(int fd, char* buf, int want);

// One write of at most n (> 0) bytes to descriptor fd. Returns how many of the given bytes were
// taken, or 0 or a negative value on failure. Where the platform's text streams end a line with
// CR LF, each LF is written as CR LF; the count is still one of the given bytes.
int platform_write(int fd, const char* data, int n);

// How standard output (descriptor 1) is to be held back, as the program starts: a block size in
// bytes, PLATFORM_OUT_LINES to write each line as soon as it is complete, or PLATFORM_OUT_BLOCKS
// for blocks of the caller's own size. The C library's stdout is asked first, where the platform
// lets it tell what a setvbuf before the program's start (the way `stdbuf -o` works) set: line
// buffered or unbuffered (a buffer of one byte) gives PLATFORM_OUT_LINES, a buffer of N > 1
// bytes gives N (at most INT_MAX). Failing that, an interactive console gives PLATFORM_OUT_LINES,
// anything else PLATFORM_OUT_BLOCKS. Called once, before anything is written to standard output.
inline constexpr int PLATFORM_OUT_LINES = 0;
inline constexpr int PLATFORM_OUT_BLOCKS = -1;
int platform_output_buffering();

// Whether fd is a character device: a console or terminal, but also a null device.
bool platform_is_character_device(int fd);
