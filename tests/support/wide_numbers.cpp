// Windows only: prints, through the tool's own routines, the reports whose
// numbers do not fit in 32 bits, where long is 32 bits wide. The case is the
// one argument: "row-size", "line-number" or "listing".
#include <cstdio>
#include <cstring>

#include "common/messages.h"
#include "common/scan_state.h"
#include "rows/index_file.h"
#include "rows/row_partition.h"

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    start_run_state();
    if (std::strcmp(argv[1], "row-size") == 0) {
        // 2^32 + 9 bytes in row あ, which 32 bits would take for 9.
        current_row = 69;
        line_offset = 4'294'967'296 + 9;
        finish_rows();
    } else if (std::strcmp(argv[1], "line-number") == 0) {
        line_number = 3'000'000'000;
        std::snprintf(line_buffer, LINE_BUFFER_SIZE, "x\r\n");
        fail_format(REASON_START_MARK);
    } else if (std::strcmp(argv[1], "listing") == 0) {
        row_size[0] = 5'000'000'000;
        for (int i = 1; i < ROW_COUNT; ++i)
            row_start[i] = 5'000'000'000;
        print_row_listing();
        return 0;
    }
    return 2;
}
