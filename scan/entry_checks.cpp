#include "scan/entry_checks.h"

#include "common/messages.h"
#include "common/scan_state.h"
#include "rows/row_table.h"

namespace {

// What a byte is to the searches of the checks; most bytes are nothing to
// them, and one table lookup passes over those.
enum ByteKind : unsigned char { PLAIN, STRING_END, TAB, COLON, SEMICOLON, SLASH };

struct ByteKinds {
    ByteKind of[256];
};

constexpr ByteKinds make_byte_kinds()
{
    ByteKinds kinds{};
    auto set = [&kinds](char c, ByteKind kind) { kinds.of[static_cast<unsigned char>(c)] = kind; };
    set('\0', STRING_END);
    set('\t', TAB);
    set(':', COLON);
    set(';', SEMICOLON);
    set('/', SLASH);
    return kinds;
}

constexpr ByteKinds BYTE_KINDS = make_byte_kinds();

}  // namespace

int check_entry_line()
{
    const unsigned char* line = reinterpret_cast<const unsigned char*>(line_buffer);

    // One pass gathers what the searches of the checks look for. The searches
    // stop at the first zero byte, as the report shows the line only up to it.
    bool tab = false;
    bool inner_colon = false;
    bool second_semicolon = false;
    bool empty_item = false;
    const unsigned char* first_slash = nullptr;
    const unsigned char* first_semicolon = nullptr;
    for (const unsigned char* p = line;; ++p) {
        ByteKind kind = BYTE_KINDS.of[*p];
        if (kind == PLAIN)
            continue;
        if (kind == STRING_END)
            break;
        switch (kind) {
        case TAB:
            tab = true;
            break;
        case COLON:
            inner_colon = inner_colon || p != line;
            break;
        case SEMICOLON:
            if (first_semicolon != nullptr)
                second_semicolon = true;
            else
                first_semicolon = p;
            break;
        case SLASH:
            if (first_slash == nullptr)
                first_slash = p;
            else if (p[-1] == '/')
                empty_item = true;
            break;
        default:
            break;
        }
    }

    // The checks in their fixed order: the first that fails is reported.
    if (tab)
        fail_format(REASON_TAB);
    if (line[0] != ':')
        fail_format(REASON_START_MARK);
    if (inner_colon)
        fail_format(REASON_COLON);
    // A line without any "/" (":あ;" alone) has no header end either.
    if (first_slash == nullptr || first_slash[-1] != ';')
        fail_format(REASON_HEADER_END);
    if (second_semicolon)
        fail_format(REASON_TWO_SEMICOLONS);
    if (empty_item)
        fail_format(REASON_EMPTY_ITEM);
    // By position: the last byte before the CR, even past a zero byte.
    if (line[line_length - 2] != '/')
        fail_format(REASON_CLOSING_SLASH);

    // The first "/" stands at position 2 or later, before any zero byte, so
    // the two bytes after the start mark are both non-zero.
    const char key[ROW_KEY_SIZE] = {line_buffer[1], line_buffer[2], '\0'};
    int row = find_row(key);
    if (row < 0)
        fail_format(REASON_UNKNOWN_KEY, key);
    return row;
}
