#include "rows/index_file.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/messages.h"
#include "common/platform.h"
#include "common/scan_state.h"
#include "rows/row_table.h"

namespace {

void put_le(unsigned char* out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

// The new index is written under this name, its X's made unique, and then
// renamed over kolvane.idx; a run killed before the rename leaves it behind.
constexpr const char NEW_INDEX_NAME[] = "kolvane.idx.XXXXXX";

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

    // A reader of kolvane.idx, and a run that fails or is killed, see the
    // old index whole or the new one whole: the new one is written beside
    // it and renamed into place only once it is complete. A link named
    // kolvane.idx is replaced, never written through.
    char new_name[sizeof NEW_INDEX_NAME];
    std::memcpy(new_name, NEW_INDEX_NAME, sizeof NEW_INDEX_NAME);
    std::FILE* index = create_new_file(new_name);
    if (index == nullptr)
        fail(MSG_IDX_OPEN);
    bool written = match_permissions(index, INDEX_FILE_NAME);
    written = std::fwrite(records, 1, sizeof records, index) == sizeof records && written;
    written = std::fflush(index) == 0 && written;
    written = std::fclose(index) == 0 && written;
    ReplaceResult placed = written ? replace_file(new_name, INDEX_FILE_NAME) : REPLACE_FAILED;
    if (placed != REPLACED) {
        std::remove(new_name);
        fail(placed == TARGET_IS_DIRECTORY ? MSG_IDX_OPEN : MSG_IDX_WRITE);
    }
}

void print_row_listing()
{
    for (int i = 0; i < ROW_COUNT; ++i)
        std::printf(MSG_LISTING_ROW, row_keys[i], static_cast<long long>(row_start[i]),
                    static_cast<long long>(row_size[i]));
    std::fputs(MSG_LISTING_END, stdout);
}
