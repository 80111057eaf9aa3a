#include "scan/line_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/messages.h"
#include "common/scan_state.h"
#include "rows/row_table.h"
#include "scan/sound_run.h"

#ifdef VENOSKAL_FUZZING
bool quick_accept_enabled = true;
#endif

namespace {

// The dictionary is read in blocks of this size straight into block; lines
// are found with byte searches rather than one call per byte. The fuzzing
// build reads small blocks, so that its small inputs have lines that reach
// across the end of a block, and lines longer than a block, all the time.
#ifdef VENOSKAL_FUZZING
constexpr std::size_t READ_BLOCK_SIZE = 256;
#else
constexpr std::size_t READ_BLOCK_SIZE = 128 * 1024;
#endif
constexpr unsigned char END_OF_FILE_MARK = 0x1A;

std::FILE* dictionary_file = nullptr;
// 64 bytes more than a block, so that the last chunk of a block can be
// loaded whole; what lies past block_end is never taken for dictionary bytes.
unsigned char block[READ_BLOCK_SIZE + SOUND_RUN_SLACK];
std::size_t block_pos = 0;
std::size_t block_end = 0;
// No block follows the current one: the file ended, or a 0x1A byte was found
// and the block was cut before it.
bool last_block = false;
bool stopped_at_mark = false;
// A read failed after the bytes of the current block were read; reported
// once those bytes have been handled.
bool read_failed = false;

// Lines to leave to the line-by-line checks before the bulk scan is tried
// again, and how long the next wait is, after scans that took nothing.
int lines_before_retry = 0;
int retry_wait = 0;
// The longest wait: a dictionary of lines the scan cannot take loses at most
// one chunk map per this many lines.
constexpr int LONGEST_RETRY_WAIT = 64;

// Reads the next block. Returns false when there is none.
bool fill_block()
{
    if (last_block)
        return false;
    if (read_failed)
        fail(MSG_DIC_READ);
    std::size_t n = std::fread(block, 1, READ_BLOCK_SIZE, dictionary_file);
    if (std::ferror(dictionary_file)) {
        if (n == 0)
            fail(MSG_DIC_READ);
        read_failed = true;
    } else if (n < READ_BLOCK_SIZE) {
        last_block = true;
    }
    // Nothing after the first 0x1A byte is part of the dictionary.
    const void* mark = std::memchr(block, END_OF_FILE_MARK, n);
    if (mark != nullptr) {
        n = static_cast<std::size_t>(static_cast<const unsigned char*>(mark) - block);
        last_block = true;
        stopped_at_mark = true;
        read_failed = false;
    }
    block_pos = 0;
    block_end = n;
    // An empty block means the end: fread returns short only at the end of
    // the file or on an error.
    return n > 0;
}

// The position of the first LF in bytes[0, n) that directly follows a CR
// (at position 0: when after_cr says the byte before was a CR), or n. Looks
// at eight bytes at a time, so that a lone LF costs no more than any byte.
std::size_t find_line_end(const unsigned char* bytes, std::size_t n, bool after_cr)
{
    constexpr std::uint64_t LOW_SEVEN = 0x7f7f7f7f7f7f7f7fULL;
    constexpr std::uint64_t EACH = 0x0101010101010101ULL;
    // The top bit of each byte of word that equals c, exactly.
    auto equal_tops = [](std::uint64_t word, unsigned char c) {
        std::uint64_t x = word ^ (EACH * c);
        return ~(((x & LOW_SEVEN) + LOW_SEVEN) | x | LOW_SEVEN);
    };
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        std::uint64_t lf = equal_tops(word, '\n');
        if (lf != 0) {
            std::uint64_t cr_before = equal_tops(word, '\r') << 8 | (after_cr ? 0x80 : 0);
            std::uint64_t ends = lf & cr_before;
            if (ends != 0)
                return i + static_cast<std::size_t>(__builtin_ctzll(ends)) / 8;
        }
        after_cr = bytes[i + 7] == '\r';
    }
    for (; i < n; ++i) {
        if (bytes[i] == '\n' && after_cr)
            return i;
        after_cr = bytes[i] == '\r';
    }
    return n;
}

}  // namespace

void start_reading(std::FILE* dictionary)
{
    dictionary_file = dictionary;
    block_pos = block_end = 0;
    last_block = stopped_at_mark = read_failed = false;
    lines_before_retry = retry_wait = 0;
}

bool read_entry_line()
{
    line_length = 0;
    line_buffer[0] = '\0';
    for (;;) {
        if (block_pos == block_end && !fill_block()) {
            // An unfinished line cut short by 0x1A is dropped without a word;
            // one cut short by the end of the file is an error.
            if (line_length > 0 && !stopped_at_mark)
                fail_format(REASON_NO_LINE_END);
            return false;
        }
        // A further byte has come, and it is not 0x1A (blocks are cut before
        // that). The limit is tested before the byte is stored, so a line
        // fails on its 1024th byte whatever that byte is, an LF included.
        if (line_length == LONGEST_LINE)
            fail_format(REASON_OVERFLOW);

        const unsigned char* next = block + block_pos;
        std::size_t span = block_end - block_pos;
        std::size_t room = static_cast<std::size_t>(LONGEST_LINE - line_length);
        if (span > room)
            span = room;
        // Look for an LF that directly follows a CR of the same line; any
        // other LF or CR is an ordinary byte of the line.
        bool after_cr = line_length > 0 && line_buffer[line_length - 1] == '\r';
        std::size_t lf = find_line_end(next, span, after_cr);
        if (lf < span) {
            std::memcpy(line_buffer + line_length, next, lf + 1);
            line_length += static_cast<int>(lf);
            line_buffer[line_length + 1] = '\0';
            block_pos += lf + 1;
            return true;
        }
        std::memcpy(line_buffer + line_length, next, span);
        line_length += static_cast<int>(span);
        line_buffer[line_length] = '\0';
        block_pos += span;
    }
}

void accept_sound_lines()
{
#ifdef VENOSKAL_FUZZING
    if (!quick_accept_enabled)
        return;
#endif
    if (sound_run_finder == nullptr || block_pos == block_end)
        return;
    if (lines_before_retry > 0) {
        --lines_before_retry;
        return;
    }
    auto lead = static_cast<unsigned char>(row_keys[current_row][0]);
    auto trail = static_cast<unsigned char>(row_keys[current_row][1]);
    std::int64_t lines = 0;
    std::size_t end = sound_run_finder(block, block_pos, block_end, lead, trail, &lines);
    line_offset += static_cast<std::int64_t>(end - block_pos);
    line_number += lines;
    block_pos = end;
    // A scan that takes nothing costs a chunk for no gain. The first miss (a
    // new row begins, a line reaches past the block) is tried again after
    // one line; each further miss in a row waits twice as many lines.
    if (lines > 0) {
        retry_wait = 0;
    } else {
        lines_before_retry = retry_wait;
        retry_wait = retry_wait == 0 ? 1 : std::min(2 * retry_wait, LONGEST_RETRY_WAIT);
    }
}

void advance_scan()
{
    line_offset += line_length + 1;
    line_number += 1;
    line_length = 0;
    line_buffer[0] = '\0';
}
