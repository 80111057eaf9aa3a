// Rows, the index file and the listing, through the real binary.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/dictionary.h"
#include "support/tool_runner.h"

namespace fs = std::filesystem;

namespace {

const std::string OLD_INDEX(1000, 'o');

std::string line_of_row(int row)
{
    return ":" + row_key(row) + ";/x/\r\n";  // 9 bytes
}

// A dictionary that the tool refuses, and what it prints.
struct Refused {
    const char* name;
    std::string dictionary;
    std::string output;
};

void expect_refused(const Refused& c)
{
    SCOPED_TRACE(c.name);
    ToolRun run;
    run.dictionary = c.dictionary;
    run.args = {"-m"};
    run.index = OLD_INDEX;
    expect_refused(run, c.output);
}

// A dictionary that the tool accepts: its warnings and the sizes of its rows.
struct Accepted {
    const char* name;
    std::string dictionary;
    std::string warnings;
    std::vector<std::int64_t> sizes;
};

void expect_accepted(const Accepted& c)
{
    SCOPED_TRACE(c.name);
    ToolRun run;
    run.dictionary = c.dictionary;
    run.args = {"-m"};
    run.index = OLD_INDEX;
    ToolResult result = run_tool(run);

    std::vector<std::int64_t> starts = starts_of(c.sizes);
    ASSERT_EQ(starts.back() + c.sizes.back(), static_cast<std::int64_t>(c.dictionary.size()));
    EXPECT_BYTES(c.warnings + listing(starts, c.sizes) + confirmation(), result.output);
    EXPECT_EQ(result.status, 71);
    EXPECT_BYTES(index_bytes(starts, c.sizes), result.index.value_or("(none)"));
}

std::vector<std::int64_t> sizes_of(std::initializer_list<std::pair<int, std::int64_t>> rows)
{
    std::vector<std::int64_t> sizes(70, 0);
    for (auto [row, size] : rows)
        sizes[static_cast<std::size_t>(row)] += size;
    return sizes;
}

}  // namespace

TEST(Rows, WhereRowsBeginAndWhichAreReported)
{
    const std::string l0 = line_of_row(0), l1 = line_of_row(1), l3 = line_of_row(3), l7 = line_of_row(7),
                      l69 = line_of_row(69);
    const Accepted cases[] = {
        {"no lines", "", empty_rows(1, 70), sizes_of({})},
        {"first line in row 0", l0, empty_rows(1, 70), sizes_of({{0, 9}})},
        {"first line in row 1", l1, empty_rows(2, 70), sizes_of({{1, 9}})},
        {"first line in row 69", l69, empty_rows(1, 69), sizes_of({{69, 9}})},
        {"rows 3, 3, 7", l3 + l3 + l7, empty_rows(1, 3) + empty_rows(4, 7) + empty_rows(8, 70),
         sizes_of({{3, 18}, {7, 9}})},
        {"rows 0 and 1", l0 + l0 + l1, empty_rows(2, 70), sizes_of({{0, 18}, {1, 9}})},
        {"every row", [] {
             std::string all;
             for (int row = 0; row < 70; ++row)
                 all += line_of_row(row);
             return all;
         }(),
         "", std::vector<std::int64_t>(70, 9)},
        {"row of 8191 bytes, then the next row", row_of_size(0, 8191) + l1, empty_rows(2, 70),
         sizes_of({{0, 8191}, {1, 9}})},
        {"row of 8191 bytes, then a later row", row_of_size(0, 8191) + l7, empty_rows(1, 7) + empty_rows(8, 70),
         sizes_of({{0, 8191}, {7, 9}})},
        {"last row of 8192 bytes", row_of_size(5, 8192), empty_rows(1, 5) + empty_rows(6, 70),
         sizes_of({{5, 8192}})},
        {"last row of 65535 bytes", l0 + row_of_size(68, 65535), empty_rows(1, 68) + empty_rows(69, 70),
         sizes_of({{0, 9}, {68, 65535}})},
    };
    for (const Accepted& c : cases)
        expect_accepted(c);
}

TEST(Rows, LargestAcceptedDictionary)
{
    std::string dictionary;
    std::vector<std::int64_t> sizes(70, 8191);
    sizes[69] = 65535;
    for (int row = 0; row < 70; ++row)
        dictionary += row_of_size(row, sizes[static_cast<std::size_t>(row)]);
    expect_accepted({"69 rows of 8191 bytes and one of 65535", dictionary, "", sizes});
}

TEST(Rows, Refusals)
{
    const std::string l0 = line_of_row(0), l1 = line_of_row(1), l3 = line_of_row(3), l4 = line_of_row(4),
                      l5 = line_of_row(5), l7 = line_of_row(7), l68 = line_of_row(68), l69 = line_of_row(69);
    const Refused cases[] = {
        // rows going back
        {"row going back by one", l5 + l4, empty_rows(1, 5) + order_report(1, l4)},
        {"row 1, then row 0", l1 + l0, order_report(1, l0)},
        {"row 69, then row 68", l69 + l68, empty_rows(1, 69) + order_report(1, l68)},
        {"row going back by one after its own", l4 + l5 + l5 + l4,
         empty_rows(1, 4) + order_report(3, l4)},
        {"row going back by two", l7 + l5, empty_rows(1, 7) + order_report(1, l5)},
        {"row going back after its own", l3 + l5 + l3, empty_rows(1, 3) + empty_rows(4, 5) + order_report(2, l3)},
        {"row going back across several rows", l3 + l5 + l7 + l4,
         empty_rows(1, 3) + empty_rows(4, 5) + empty_rows(6, 7) + order_report(3, l4)},
        {"row 69, then row 0", l69 + l0, empty_rows(1, 69) + order_report(1, l0)},
        // rows too large
        {"row of 8192 bytes, then the next row", row_of_size(0, 8192) + l1, size_report(0, 8192)},
        {"row of 8192 bytes, then a later row", row_of_size(0, 8192) + l5, size_report(0, 8192)},
        {"row of 8192 bytes after warnings", l3 + row_of_size(5, 8192) + l7,
         empty_rows(1, 3) + empty_rows(4, 5) + size_report(5, 8192)},
        {"last row of 65536 bytes", row_of_size(2, 65536), empty_rows(1, 2) + size_report(2, 65536)},
        {"last row far beyond", row_of_size(69, 300000), empty_rows(1, 69) + size_report(69, 300000)},
    };
    for (const Refused& c : cases)
        expect_refused(c);
}
