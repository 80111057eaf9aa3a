// The harness's reading of a Windows build's text output: each CR LF turns
// back into the LF the POSIX build prints, and an LF alone fails the test.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include "support/tool_runner.h"

TEST(Harness, WindowsTextTurnsBackIntoPosixOutput)
{
    struct Case {
        std::string windows;
        std::string posix;
    };
    const Case cases[] = {
        {"", ""},
        {"a\r\n", "a\n"},
        {"\r\n\r\n", "\n\n"},
        // An echoed dictionary line brings its own CR LF, whose LF becomes CR LF.
        {"[Line:1]x\r\r\n\r\n", "[Line:1]x\r\n\n"},
        // A lone CR is an ordinary byte.
        {"x\ry\r\n", "x\ry\n"},
        {"\r", "\r"},
    };
    for (const Case& c : cases)
        EXPECT_BYTES(c.posix, from_windows_text(c.windows));
}

TEST(Harness, LfWithoutCrInWindowsOutputFails)
{
    EXPECT_NONFATAL_FAILURE(from_windows_text("a\n"), "an LF without CR at byte 1");
    EXPECT_NONFATAL_FAILURE(from_windows_text("a\r\nb\n"), "an LF without CR at byte 4");
    EXPECT_NONFATAL_FAILURE(from_windows_text("\n"), "an LF without CR at byte 0");
}
