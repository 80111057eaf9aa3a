// kolvane.idx: one record per row of where its lines lie in kolvane.dic.
#pragma once

// Each record: the row's start, signed 32-bit, then the low 16 bits of its
// size, both little-endian; ROW_COUNT records and nothing else.
constexpr int INDEX_RECORD_SIZE = 6;

// Computes row_size and writes kolvane.idx from scratch. Ends the run when
// the file cannot be opened, or cannot be written whole (then it is removed).
void write_index_file();

// Prints every row's key, start and full size, then an empty line.
void print_row_listing();
