// The shape of an entry line and the reason given for each fault, through
// the real binary.
#include <gtest/gtest.h>

#include "support/dictionary.h"
#include "support/tool_runner.h"

namespace {

struct EntryCase {
    // The line as bytes, CR LF included.
    std::string line;
    // The row of an accepted line, or -1.
    int row;
    // The reason of a rejected line (CP932 bytes).
    std::string reason;
    // What the report shows of the line, when not the whole line.
    std::string shown = "";
};

EntryCase accepted(const std::string& utf8, int row)
{
    return {entry(utf8), row, ""};
}

EntryCase rejected(const std::string& utf8, const std::string& reason)
{
    return {entry(utf8), -1, reason};
}

void expect_entry(const EntryCase& c)
{
    SCOPED_TRACE(hex_dump(c.line));
    ToolRun run;
    // A valid line of row 0 first, so that a rejected line is line 1.
    const std::string first = entry(":ん;/x/");
    run.dictionary = first + c.line;
    run.index = "old";
    if (c.row < 0) {
        expect_refused(run, format_report(1, c.shown.empty() ? c.line : c.shown, c.reason));
        return;
    }
    ToolResult result = run_tool(run);
    EXPECT_BYTES(empty_rows(1, c.row) + success_after(c.row), result.output);
    EXPECT_EQ(result.status, 71);
    std::vector<std::int64_t> sizes(70, 0);
    sizes[0] += static_cast<std::int64_t>(first.size());
    sizes[static_cast<std::size_t>(c.row)] += static_cast<std::int64_t>(c.line.size());
    EXPECT_BYTES(index_for_sizes(sizes), result.index.value_or("(none)"));
}

}  // namespace

TEST(EntryChecks, ShapesAndReasons)
{
    const EntryCase cases[] = {
        // Accepted lines, from the smallest on.
        accepted(":あ;/", 69),
        accepted(":あい;/愛/", 69),
        accepted(":ん;/ん/", 0),
        accepted(":が;/蛾/画/", 63),
        accepted(":かんじ;/漢字/感じ/幹事/", 64),
        accepted(":は表;/表/ソ/", 29),  // second bytes 0x5C, like a backslash
        accepted(":あ x;/a b/", 69),     // spaces are ordinary bytes

        // Check 1, before all others.
        rejected(":あ;/x\t/", reason::TAB),
        rejected("\tあ;/x/", reason::TAB),
        rejected("\t", reason::TAB),
        // Check 2.
        rejected("", reason::START_MARK),
        rejected("あ;/x/", reason::START_MARK),
        rejected(" :あ;/x/", reason::START_MARK),
        rejected("x:あ;/x/", reason::START_MARK),
        rejected("：あ;/x/", reason::START_MARK),  // a full-width colon is no start mark
        // Check 3.
        rejected(":あ;/x:y/", reason::COLON),
        rejected("::あ;/x/", reason::COLON),
        rejected(":あ;/x/:", reason::COLON),
        // Check 4, a line without any / included.
        rejected(":あ/x;/", reason::HEADER_END),
        rejected(":/x/", reason::HEADER_END),
        rejected(":あ; /x/", reason::HEADER_END),
        rejected(":あ;", reason::HEADER_END),
        rejected(":", reason::HEADER_END),
        rejected(":あ", reason::HEADER_END),
        // Check 5.
        rejected(":あ;;/x/", reason::TWO_SEMICOLONS),
        rejected(":あ;/x;y/", reason::TWO_SEMICOLONS),
        rejected(":あ;/x/;", reason::TWO_SEMICOLONS),
        // Check 6.
        rejected(":あ;/x//y/", reason::EMPTY_ITEM),
        rejected(":あ;//", reason::EMPTY_ITEM),
        rejected(":あ;/x//", reason::EMPTY_ITEM),
        // Check 7.
        rejected(":あ;/x", reason::CLOSING_SLASH),
        rejected(":あ;/x/ ", reason::CLOSING_SLASH),
        rejected(":あ;/x/y", reason::CLOSING_SLASH),
        // Check 8 shows the two bytes after the start mark as they are.
        rejected(":;/x/", reason::unknown_key(";/")),
        rejected(":ア;/x/", reason::unknown_key(sjis("ア"))),
        rejected(":a;/x/", reason::unknown_key("a;")),
        rejected(":ab;/x/", reason::unknown_key("ab")),
        rejected(":ぁ;/x/", reason::unknown_key(sjis("ぁ"))),
        rejected(":っ;/x/", reason::unknown_key(sjis("っ"))),
        rejected(":ゐ;/x/", reason::unknown_key(sjis("ゐ"))),
        rejected(":ゑ;/x/", reason::unknown_key(sjis("ゑ"))),
        rejected(":を;/x/", reason::unknown_key(sjis("を"))),
        rejected(":亜;/x/", reason::unknown_key(sjis("亜"))),
    };
    for (const EntryCase& c : cases)
        expect_entry(c);
}

TEST(EntryChecks, SearchesStopAtAZeroByte)
{
    const std::string nul(1, '\0');
    const EntryCase cases[] = {
        // What follows the zero byte goes unseen, but the closing / is
        // looked for by position, before the CR.
        {sjis(":あ;/x") + nul + "\t:;/\r\n", 69, ""},
        {sjis(":あ;") + nul + "/x/\r\n", -1, reason::HEADER_END, sjis(":あ;")},
        {sjis(":あ;/x/") + nul + "x\r\n", -1, reason::CLOSING_SLASH, sjis(":あ;/x/")},
        {sjis(":あ;/x/") + nul + "\t\r\n", -1, reason::CLOSING_SLASH, sjis(":あ;/x/")},
        {sjis(":あ\t;/x") + nul + "/\r\n", -1, reason::TAB, sjis(":あ\t;/x")},
        {sjis(":あ;//") + nul + "/\r\n", -1, reason::EMPTY_ITEM, sjis(":あ;//")},
        {sjis(":あ;/x/") + nul + ":y/\r\n", 69, ""},
    };
    for (const EntryCase& c : cases)
        expect_entry(c);
}
