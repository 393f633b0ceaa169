// Standard output for the calculator's values. Each line is written as it completes on an
// interactive console (a terminal), or when stdout was made line buffered or unbuffered before the
// program started (`stdbuf -oL`, `stdbuf -o0`). Otherwise lines go in blocks of 512 bytes, or of
// the size given that way (at most 65536), and the rest at exit. Write failures are remembered,
// not reported, until out_flush.
#pragma once

#include <cstdint>

// Chooses the buffering from what the platform reports. Called once, before the first value.
void out_open();

// Writes the value in decimal ("-" when negative, no leading zeros) and a line feed.
void out_value_line(std::int32_t value);

// Writes out what is buffered. Returns false when any write to standard output so far has failed.
bool out_flush();
