#include "common/scan_state.h"

#include <cstdlib>

#include "common/messages.h"

char* line_buffer = nullptr;
int line_length = 0;
std::int64_t line_offset = 0;
std::int64_t line_number = 0;
int current_row = 0;
std::int64_t row_start[ROW_COUNT];
std::int64_t row_size[ROW_COUNT];
bool listing_enabled = false;

void start_run_state()
{
    if (line_buffer == nullptr) {
        line_buffer = static_cast<char*>(std::malloc(LINE_BUFFER_SIZE));
        if (line_buffer == nullptr)
            fail(MSG_NO_LINE_BUFFER);
    }
    line_buffer[0] = '\0';
    line_length = 0;
    line_offset = 0;
    line_number = 0;
    current_row = 0;
    for (int i = 0; i < ROW_COUNT; ++i) {
        row_start[i] = 0;
        row_size[i] = 0;
    }
    listing_enabled = false;
}
