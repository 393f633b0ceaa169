// Text-mode read on a file descriptor: the low-level read through which the scanner fills its buffer.
#pragma once

// Reads at most `want` (> 0) bytes from `fd` into `buf` and returns how many it delivered, 0 at the
// end of input, or a negative value when the read fails, whatever the reason.
// What it delivers is text: every CR byte is removed (a CR LF pair split between two reads still
// arrives as one LF), and a 0x1A byte ends the input: the bytes before it are delivered, and
// every later call returns 0 without reading again.
int text_read(int fd, char* buf, int want);
