// Builds dictionaries and the tool's expected output. Texts are written here
// in UTF-8 and converted to Shift-JIS (CP932), apart from the tool's tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// UTF-8 text as CP932 bytes.
std::string sjis(const std::string& utf8);

// An entry line from UTF-8 text, followed by CR LF.
std::string entry(const std::string& utf8);

// The row key of row i (0 = ん ... 69 = あ) as CP932 bytes.
std::string row_key(int row);

// One entry line of the given row taking exactly length bytes with its CR LF
// (7 and more): ":" key ";/" then, from 8 bytes on, an item of "x" and "/".
std::string line_of_size(int row, std::int64_t length);

// Lines of the given row that take exactly size bytes (0, or 7 and more).
std::string row_of_size(int row, std::int64_t size);

// The three-line format error report for line number n showing line (bytes
// as read), with the reason (CP932 bytes).
std::string format_report(std::int64_t n, const std::string& line, const std::string& reason);

// The two-line order report.
std::string order_report(std::int64_t n, const std::string& line);

// The report of a row of the given size that is too large.
std::string size_report(int row, std::int64_t size);

// Warnings for the rows from first to before end.
std::string empty_rows(int first, int end);

// The closing confirmation.
std::string confirmation();

// What a successful run prints when the last row with lines is last_row:
// the warnings for the rows after it, then the confirmation.
std::string success_after(int last_row);

// The index for the given row starts and sizes (sizes taken modulo 65536).
std::string index_bytes(const std::vector<std::int64_t>& starts,
                        const std::vector<std::int64_t>& sizes);

// The starts of rows that hold the given sizes: each the sum of those before.
std::vector<std::int64_t> starts_of(const std::vector<std::int64_t>& sizes);

// The index of a dictionary whose rows hold the given sizes (rows without
// lines hold 0): every start is the sum of the sizes before it.
std::string index_for_sizes(const std::vector<std::int64_t>& sizes);

// The -m listing for the given starts and sizes.
std::string listing(const std::vector<std::int64_t>& starts, const std::vector<std::int64_t>& sizes);

// Messages of the tool that stand alone, as CP932 bytes.
namespace message {
extern const std::string DIC_OPEN;
extern const std::string DIC_READ;
extern const std::string IDX_OPEN;
extern const std::string IDX_WRITE;
// The report of an illegal first argument: the argument, then the usage.
std::string illegal_option(const std::string& arg);
}  // namespace message

// The reasons of the format error report, as CP932 bytes.
namespace reason {
extern const std::string NO_LINE_END;
extern const std::string OVERFLOW;
extern const std::string TAB;
extern const std::string START_MARK;
extern const std::string COLON;
extern const std::string HEADER_END;
extern const std::string TWO_SEMICOLONS;
extern const std::string EMPTY_ITEM;
extern const std::string CLOSING_SLASH;
// The reason for an unknown row key, showing its two bytes as copied.
std::string unknown_key(const std::string& key_bytes);
}  // namespace reason
