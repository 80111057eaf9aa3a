// kolvane.idx: one record per row of where its lines lie in kolvane.dic.
#pragma once

// Each record: the row's start, signed 32-bit, then the low 16 bits of its
// size, both little-endian; ROW_COUNT records and nothing else.
constexpr int INDEX_RECORD_SIZE = 6;

// Computes row_size and puts a new kolvane.idx in place of any old one, whole
// or not at all. Ends the run, the old index left as it was, when the new one
// cannot be created or put under its name (the open message), or cannot be
// written whole (the write message).
void write_index_file();

// Prints every row's key, start and full size, then an empty line.
void print_row_listing();
