// Finds, 64 bytes at a time, how far a stretch of a block holds nothing but
// sound entry lines of one row.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes that may be read past the end of the stretch (never taken for its
// own): the buffer holding it must have them.
constexpr std::size_t SOUND_RUN_SLACK = 64;

// bytes[start, end) begins at a line start. Returns the end of the longest
// stretch from start of complete lines that check_entry_line would accept,
// whose key is lead, trail, and that the line reader would frame as they are
// (CR LF once, at the end; at most LONGEST_LINE bytes; no zero byte). Adds the
// number of those lines to *lines.
std::size_t find_sound_run(const unsigned char* bytes, std::size_t start, std::size_t end, unsigned char lead,
                           unsigned char trail, std::int64_t* lines);

// The same, byte by byte, whatever the processor; for comparison in tests.
std::size_t find_sound_run_plain(const unsigned char* bytes, std::size_t start, std::size_t end,
                                 unsigned char lead, unsigned char trail, std::int64_t* lines);
