// Splits the dictionary's bytes into entry lines ended by CR LF.
#pragma once

#include <cstdio>

// Starts reading the open dictionary from its first byte.
void start_reading(std::FILE* dictionary);

// Reads the next line into the line buffer. Returns true with a complete
// line (CR LF included; line_length is the position of the LF) and false
// at the end of the input. Ends the run on a last line without CR LF, on a
// line longer than LONGEST_LINE bytes, and on a read error.
bool read_entry_line();

// Moves the scan position past the accepted line and empties the buffer.
void advance_scan();

// Accepts, without copying them, the complete lines at the read position
// that check_entry_line would accept and that belong to the open row, and
// moves the scan position past them. Stops before the first line that it
// cannot vouch for; read_entry_line takes that one. Called between lines.
// After scans that took nothing it lets a growing number of lines go by
// before it scans again.
void accept_sound_lines();

#ifdef VENOSKAL_FUZZING
// Fuzzing build only: lets accept_sound_lines work (the default). The fuzzer
// turns it off to check that the tool says and writes the same without it.
extern bool quick_accept_enabled;
#endif
