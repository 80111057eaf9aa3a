#include "rows/row_partition.h"

#include <cstdio>

#include "common/messages.h"
#include "common/scan_state.h"
#include "rows/row_table.h"

namespace {

// Ends the run if the open row, closing at line_offset, holds more than limit
// bytes. The report gives the bytes beyond ROW_SIZE_LIMIT whatever the limit.
void check_open_row_size(std::int64_t limit)
{
    std::int64_t size = line_offset - row_start[current_row];
    if (size > limit)
        fail(MSG_ROW_OVERFLOW, row_keys[current_row], static_cast<long long>(size - ROW_SIZE_LIMIT));
}

// Rows from first to before end have no lines: they start where the next
// row with lines starts, or at the end of the accepted lines.
void pass_over_rows(int first, int end)
{
    for (int j = first; j < end; ++j) {
        std::printf(MSG_ROW_EMPTY, row_keys[j]);
        row_start[j] = line_offset;
    }
}

}  // namespace

void assign_row(int row)
{
    if (row < current_row)
        fail_with_line(MSG_ORDER_BANNER, nullptr);
    if (row == current_row)
        return;
    check_open_row_size(ROW_SIZE_LIMIT);
    pass_over_rows(current_row + 1, row);
    row_start[row] = line_offset;
    current_row = row;
}

void finish_rows()
{
    // The last row may exceed ROW_SIZE_LIMIT, but not what the 16-bit size
    // field of its record holds: a larger row would be indexed with a cut size.
    check_open_row_size(RECORD_SIZE_MAX);
    pass_over_rows(current_row + 1, ROW_COUNT);
}
