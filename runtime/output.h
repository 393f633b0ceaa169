// Standard output for the calculator's values: unbuffered on an interactive console (a terminal),
// otherwise written in 512-byte blocks, flushed at exit. Write failures are remembered, not
// reported, until out_flush.
#pragma once

#include <cstdint>

// Chooses the buffering from what descriptor 1 is. Called once, before the first value.
void out_open();

// Writes the value in decimal ("-" when negative, no leading zeros) and a line feed.
void out_value_line(std::int32_t value);

// Writes out what is buffered. Returns false when any write to standard output so far has failed.
bool out_flush();
