#include "fuzz/reference.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/messages.h"
#include "common/scan_state.h"
#include "rows/index_file.h"
#include "rows/row_table.h"

namespace {

void print(std::string& out, const char* format, ...)
{
    char text[2 * LINE_BUFFER_SIZE + 256];
    std::va_list args;
    va_start(args, format);
    int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    out.append(text, static_cast<std::size_t>(n));
}

int reference_find_row(const char* key)
{
    for (int i = 0; i < ROW_COUNT; ++i)
        if (std::strcmp(row_keys[i], key) == 0)
            return i;
    return -1;
}

}  // namespace

ReferenceOutcome reference_run(const std::uint8_t* data, std::size_t size)
{
    ReferenceOutcome r;
    std::string& out = r.output;
    char line[LINE_BUFFER_SIZE];
    std::int64_t offset = 0;
    std::int64_t number = 0;
    int current = 0;
    std::int64_t start[ROW_COUNT] = {};
    std::size_t pos = 0;

    auto report = [&](const char* reason, const char* arg) {
        print(out, MSG_FORMAT_BANNER);
        print(out, MSG_LINE, static_cast<long long>(number), line);
        print(out, reason, arg);
        return r;
    };

    for (;;) {
        // One line, a byte at a time.
        int length = 0;
        line[0] = '\0';
        bool ended = false;
        for (;;) {
            if (pos >= size) {
                if (length > 0)
                    return report(REASON_NO_LINE_END, nullptr);
                ended = true;
                break;
            }
            char c = static_cast<char>(data[pos++]);
            if (c == '\x1A') {
                ended = true;
                break;
            }
            if (length + 2 > LINE_BUFFER_SIZE)
                return report(REASON_OVERFLOW, nullptr);
            line[length] = c;
            line[length + 1] = '\0';
            if (c == '\n' && length > 0 && line[length - 1] == '\r')
                break;
            ++length;
        }
        if (ended)
            break;

        // The checks, with the string searches that stop at a zero byte.
        if (std::strchr(line, '\t') != nullptr)
            return report(REASON_TAB, nullptr);
        if (line[0] != ':')
            return report(REASON_START_MARK, nullptr);
        if (std::strchr(line + 1, ':') != nullptr)
            return report(REASON_COLON, nullptr);
        const char* slash = std::strchr(line, '/');
        if (slash == nullptr || slash[-1] != ';')
            return report(REASON_HEADER_END, nullptr);
        if (std::strchr(std::strchr(line, ';') + 1, ';') != nullptr)
            return report(REASON_TWO_SEMICOLONS, nullptr);
        if (std::strstr(line, "//") != nullptr)
            return report(REASON_EMPTY_ITEM, nullptr);
        if (line[length - 2] != '/')
            return report(REASON_CLOSING_SLASH, nullptr);
        const char key[ROW_KEY_SIZE] = {line[1], line[2], '\0'};
        int row = reference_find_row(key);
        if (row < 0)
            return report(REASON_UNKNOWN_KEY, key);

        // The order of rows.
        if (row < current) {
            print(out, MSG_ORDER_BANNER);
            print(out, MSG_LINE, static_cast<long long>(number), line);
            return r;
        }
        if (row > current) {
            std::int64_t bytes = offset - start[current];
            if (bytes > ROW_SIZE_LIMIT) {
                print(out, MSG_ROW_OVERFLOW, row_keys[current], static_cast<long long>(bytes - ROW_SIZE_LIMIT));
                return r;
            }
            for (int j = current + 1; j < row; ++j) {
                print(out, MSG_ROW_EMPTY, row_keys[j]);
                start[j] = offset;
            }
            start[row] = offset;
            current = row;
        }
        offset += length + 1;
        ++number;
    }

    std::int64_t last = offset - start[current];
    if (last > RECORD_SIZE_MAX) {
        print(out, MSG_ROW_OVERFLOW, row_keys[current], static_cast<long long>(last - ROW_SIZE_LIMIT));
        return r;
    }
    for (int j = current + 1; j < ROW_COUNT; ++j) {
        start[j] = offset;
        print(out, MSG_ROW_EMPTY, row_keys[j]);
    }

    r.status = 71;
    r.index_written = true;
    for (int i = 0; i < ROW_COUNT; ++i) {
        std::int64_t bytes = (i + 1 < ROW_COUNT ? start[i + 1] : offset) - start[i];
        for (int b = 0; b < 4; ++b)
            r.index += static_cast<char>(static_cast<std::uint32_t>(start[i]) >> (8 * b));
        for (int b = 0; b < 2; ++b)
            r.index += static_cast<char>(static_cast<std::uint32_t>(bytes) >> (8 * b));
        print(out, MSG_LISTING_ROW, row_keys[i], static_cast<long long>(start[i]), static_cast<long long>(bytes));
    }
    print(out, MSG_LISTING_END);
    return r;
}
