// The 70 rows of the dictionary and the lookup from a header's first
// hiragana to its row.
#pragma once

#include "common/scan_state.h"

// A row key: the two Shift-JIS bytes of a hiragana and a zero byte.
constexpr int ROW_KEY_SIZE = 3;

// row_keys[i] is the key of row i, for messages and the listing.
extern const char row_keys[ROW_COUNT][ROW_KEY_SIZE];

// The row whose key equals the zero-terminated byte string key, or -1.
int find_row(const char* key);
