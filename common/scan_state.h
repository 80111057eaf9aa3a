// Run state shared by every phase: the line buffer, the scan position, the
// row tables and the listing flag. It lives for the whole run.
#pragma once

#include <cstdint>

// Longest entry line, CR LF included, is one byte less: the buffer always keeps
// room for the zero byte that ends the stored line.
constexpr int LINE_BUFFER_SIZE = 1024;
constexpr int LONGEST_LINE = LINE_BUFFER_SIZE - 1;

// One row per full-size hiragana but ゐ, ゑ and を.
constexpr int ROW_COUNT = 70;

// A row may hold 8191 bytes when a later row follows it.
constexpr std::int64_t ROW_SIZE_LIMIT = 8191;

// The size field of an index record is 16 bits wide.
constexpr std::int64_t RECORD_SIZE_MAX = 65535;

constexpr const char DICTIONARY_FILE_NAME[] = "kolvane.dic";
constexpr const char INDEX_FILE_NAME[] = "kolvane.idx";

// The line being read, always followed by a zero byte; allocated once.
extern char* line_buffer;
// Bytes of the current line stored so far; once the line is complete, the
// position of its LF.
extern int line_length;
// Offset in the dictionary of the first byte of the line being processed.
// 64 bits wide, so that no input size wraps it.
extern std::int64_t line_offset;
// Lines accepted so far; also the number by which the current line is reported.
extern std::int64_t line_number;
// Index of the open row.
extern int current_row;
// Where each row begins in the dictionary, and how many bytes it holds.
extern std::int64_t row_start[ROW_COUNT];
extern std::int64_t row_size[ROW_COUNT];
// Set by -m: print the row listing after the index is written.
extern bool listing_enabled;

// Allocates the line buffer (once per process) and sets the scan state, the
// row tables and the listing flag to their start values.
void start_run_state();
