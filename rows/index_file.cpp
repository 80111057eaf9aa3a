#include "rows/index_file.h"

#include <cstdint>
#include <cstdio>

#include "common/messages.h"
#include "common/scan_state.h"
#include "rows/row_table.h"

namespace {

void put_le(unsigned char* out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

void write_index_file()
{
    unsigned char records[ROW_COUNT * INDEX_RECORD_SIZE];
    for (int i = 0; i < ROW_COUNT; ++i) {
        std::int64_t end = i + 1 < ROW_COUNT ? row_start[i + 1] : line_offset;
        row_size[i] = end - row_start[i];
        unsigned char* record = records + i * INDEX_RECORD_SIZE;
        put_le(record, static_cast<std::uint32_t>(row_start[i]), 4);
        put_le(record + 4, static_cast<std::uint32_t>(row_size[i]), 2);
    }

    std::FILE* index = std::fopen(INDEX_FILE_NAME, "wb");
    if (index == nullptr)
        fail(MSG_IDX_OPEN);
    bool written = std::fwrite(records, 1, sizeof records, index) == sizeof records;
    written = std::fflush(index) == 0 && written;
    written = std::fclose(index) == 0 && written;
    if (!written) {
        // A cut index would be read as a whole one: leave none.
        std::remove(INDEX_FILE_NAME);
        fail(MSG_IDX_WRITE);
    }
}

void print_row_listing()
{
    for (int i = 0; i < ROW_COUNT; ++i)
        std::printf(MSG_LISTING_ROW, row_keys[i], static_cast<long long>(row_start[i]),
                    static_cast<long long>(row_size[i]));
    std::fputs(MSG_LISTING_END, stdout);
}
