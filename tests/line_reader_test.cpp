// How the dictionary's bytes are framed into lines, through the real binary.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/dictionary.h"
#include "support/tool_runner.h"

namespace {

// A dictionary whose accepted lines all lie in row ん (0), total bytes.
std::string index_of_first_row(std::int64_t total)
{
    std::vector<std::int64_t> sizes(70, 0);
    sizes[0] = total;
    return index_for_sizes(sizes);
}

// An entry line of row ん taking exactly length bytes with its CR LF.
std::string line_of_length(std::int64_t length)
{
    return line_of_size(0, length);
}

struct Framing {
    const char* name;
    std::string dictionary;
    std::string output;
    int status;
    // Accepted bytes, when the run succeeds.
    std::int64_t accepted;
};

void expect_framing(const Framing& c)
{
    SCOPED_TRACE(c.name);
    ToolRun run;
    run.dictionary = c.dictionary;
    run.index = "old";
    ToolResult result = run_tool(run);
    EXPECT_BYTES(c.output, result.output);
    EXPECT_EQ(result.status, c.status);
    if (c.status == 71)
        EXPECT_BYTES(index_of_first_row(c.accepted), result.index.value_or("(none)"));
    else
        EXPECT_EQ(result.index, "old");
}

}  // namespace

TEST(LineReader, FramingRules)
{
    const std::string a = entry(":ん;/x/");  // 9 bytes
    const std::string b = sjis(":ん;/y/");
    const std::string line_1023 = line_of_length(1023);
    const std::string line_1024 = line_of_length(1024);  // its LF is the 1024th byte
    const std::string first_1023 = line_of_length(1025).substr(0, 1023);  // no CR in it
    const std::string success = success_after(0);
    const std::string all_rows_empty = empty_rows(1, 70) + confirmation();
    // The bytes after a zero byte go unseen by the checks but count, towards
    // the offsets and towards the 1023-byte limit.
    const std::string hidden = sjis(":ん;/x") + std::string(1, '\0') + "\t:;/\r\n";
    const std::string zero_1023 = sjis(":ん;/x/") + std::string(1, '\0') + std::string(1012, 'z') + "/\r\n";
    const std::string zero_1025 = zero_1023.substr(0, 1021) + "zz\r\n";
    ASSERT_EQ(zero_1023.size(), 1023u);

    const Framing cases[] = {
        {"empty file", "", all_rows_empty, 71, 0},
        {"one line", a, success, 71, 9},
        {"two lines", a + a, success, 71, 18},
        {"last line without line end", a + b, format_report(1, b, reason::NO_LINE_END), 0, 0},
        {"only line without line end", b, format_report(0, b, reason::NO_LINE_END), 0, 0},
        {"ends with CR alone", a + b + "\r", format_report(1, b + "\r", reason::NO_LINE_END), 0, 0},
        {"0x1A after the last line", a + "\x1A" + "junk without line end", success, 71, 9},
        {"0x1A as the first byte", "\x1A" + a, all_rows_empty, 71, 0},
        {"0x1A inside a line drops it", a + b + "\x1A" + "\r\n" + a, success, 71, 9},
        {"lone LF joins two lines", b + "\n" + a,
         format_report(0, b + "\n" + a, reason::COLON), 0, 0},
        {"LF as the first byte of a line", a + "\n" + a,
         format_report(1, "\n" + a, reason::START_MARK), 0, 0},
        {"lone CR inside a line", b + "\r" + a, format_report(0, b + "\r" + a, reason::COLON), 0, 0},
        {"CR CR LF", b + "\r\r\n", format_report(0, b + "\r\r\n", reason::CLOSING_SLASH), 0, 0},
        {"blank line", a + "\r\n", format_report(1, "\r\n", reason::START_MARK), 0, 0},
        {"zero byte at the start of a line", a + std::string("\0x\r\n", 4),
         format_report(1, "", reason::START_MARK), 0, 0},
        {"zero byte inside a line", hidden + a, success, 71, static_cast<std::int64_t>(hidden.size()) + 9},
        {"zero byte in a line of 1023 bytes", zero_1023, success, 71, 1023},
        {"zero byte in a line of 1025 bytes", zero_1025, format_report(0, sjis(":ん;/x/"), reason::OVERFLOW), 0, 0},
        {"line of 1023 bytes", a + line_1023, success, 71, 9 + 1023},
        {"1024th byte is the LF of CR LF", a + line_1024,
         format_report(1, line_1024.substr(0, 1023), reason::OVERFLOW), 0, 0},
        {"line of 1025 bytes", line_of_length(1025), format_report(0, first_1023, reason::OVERFLOW), 0, 0},
        {"1024th byte is 0x1A", a + first_1023 + "\x1A" + "/\r\n", success, 71, 9},
        {"1023 bytes then the end of the file", a + first_1023,
         format_report(1, first_1023, reason::NO_LINE_END), 0, 0},
    };
    for (const Framing& c : cases)
        expect_framing(c);
}

TEST(LineReader, LinesAcrossReadBoundaries)
{
    // Line ends, limits and 0x1A bytes that fall on or next to a multiple of
    // a large power of two, where a reader that takes its input in blocks
    // must carry a line from one block into the next.
    for (std::int64_t boundary = 4096; boundary <= (std::int64_t{1} << 20); boundary *= 2) {
        for (std::int64_t shift : {-1, 0, 1, 2}) {
            std::int64_t total = boundary + shift;
            SCOPED_TRACE("dictionary of " + std::to_string(total) + " bytes");
            const std::string lines = row_of_size(0, total);
            const std::string output = total <= 65535 ? success_after(0) : size_report(0, total);
            expect_framing({"lines", lines, output, total <= 65535 ? 71 : 0, total});

            // The same with a 0x1A byte right after them and more after that.
            expect_framing({"then 0x1A", lines + "\x1A" + lines, output, total <= 65535 ? 71 : 0, total});
        }
        // A line that is too long, reaching over the boundary.
        std::string before = row_of_size(0, boundary - 500);
        std::string long_line = line_of_length(1024);
        expect_framing({"overflow across a boundary", before + long_line + entry(":ん;/x/"),
                        format_report(static_cast<std::int64_t>(std::count(before.begin(), before.end(), '\n')),
                                      long_line.substr(0, 1023), reason::OVERFLOW),
                        0, 0});
    }
}

TEST(LineReader, LoneCrLfAndZeroItemsCountLikeAnyLine)
{
    // Sound lines whose items hold a lone CR, a lone LF or a zero byte, and a
    // header holding a lone CR or LF, many in a row: their offsets and line
    // numbers count as those of any other line, within a block and across
    // blocks of reading.
    auto kinds = [](const std::string& key) {
        return sjis(":" + key + ";/x\ry/") + "\r\n" + sjis(":" + key + "\n;/\ny/") + "\r\n" +
               sjis(":" + key + ";/") + std::string(1, '\0') + sjis("/z\r/") + "\r\n" +
               sjis(":" + key + "\r;/\n\n/") + "\r\n";
    };
    const std::string n_lines = kinds("ん");
    const std::string wa_lines = kinds("わ");
    std::string dictionary;
    for (int i = 0; i < 100; ++i)
        dictionary += n_lines;
    auto n_size = static_cast<std::int64_t>(dictionary.size());
    for (int i = 0; i < 100; ++i)
        dictionary += wa_lines;
    auto wa_size = static_cast<std::int64_t>(dictionary.size()) - n_size;
    std::vector<std::int64_t> sizes(70, 0);
    sizes[0] = n_size;
    sizes[1] = wa_size;
    ToolRun run;
    run.dictionary = dictionary;
    ToolResult result = run_tool(run);
    EXPECT_BYTES(success_after(1), result.output);
    EXPECT_EQ(result.status, 71);
    EXPECT_BYTES(index_for_sizes(sizes), result.index.value_or("(none)"));

    // Over several blocks, then a line with an empty item: its number counts
    // every line before it.
    std::string many;
    while (many.size() < 300 * 1024)
        many += n_lines;
    const std::string bad = entry(":ん;/x//");
    run.dictionary = many + bad;
    run.index = "old";
    expect_refused(run, format_report(static_cast<std::int64_t>(many.size() / n_lines.size() * 4), bad,
                                      reason::EMPTY_ITEM));
}
