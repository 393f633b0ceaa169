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

// Whether fd is an interactive console, where output is written at once rather than held back.
bool platform_is_console(int fd);

// Whether fd is a character device: a console or terminal, but also a null device.
bool platform_is_character_device(int fd);
