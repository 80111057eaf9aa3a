// The command line, the dictionary file, the closing confirmation and the
// exit status, through the real binary.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "support/dictionary.h"
#include "support/tool_runner.h"

namespace fs = std::filesystem;

namespace {

const std::string OLD_INDEX = "an index from an earlier run";

}  // namespace

TEST(CommandLine, IllegalFirstArgumentEndsTheRunBeforeTheDictionaryIsOpened)
{
    const char* const illegal[] = {"-M", "/m", "--m", "m", "-mm", "-m ", "", "-", "-x"};
    for (const char* arg : illegal) {
        SCOPED_TRACE(arg);
        for (bool with_dictionary : {true, false}) {
            ToolRun run;
            if (with_dictionary)
                run.dictionary = entry(":あ;/x/");
            run.args = {arg, "-m"};
            run.index = OLD_INDEX;
            expect_refused(run, message::illegal_option(arg));
        }
    }
}

TEST(CommandLine, ListingOnlyWithDashM)
{
    const std::string dictionary = entry(":あ;/x/");
    std::vector<std::int64_t> starts(70, 0);
    std::vector<std::int64_t> sizes(70, 0);
    sizes[69] = 9;
    const std::string plain = empty_rows(1, 69) + confirmation();
    const std::string listed = empty_rows(1, 69) + listing(starts, sizes) + confirmation();

    struct Case {
        std::vector<std::string> args;
        std::string output;
    };
    const Case cases[] = {
        {{}, plain},
        {{"-m"}, listed},
        {{"-m", "-x", "more"}, listed},
    };
    for (const Case& c : cases) {
        ToolRun run;
        run.dictionary = dictionary;
        run.args = c.args;
        ToolResult result = run_tool(run);
        EXPECT_BYTES(c.output, result.output);
        EXPECT_EQ(result.status, 71);
        EXPECT_BYTES(index_bytes(starts, sizes), result.index.value_or("(none)"));
    }
}

TEST(DictionaryFile, MissingOrUnreadableLeavesTheIndexAlone)
{
    // A dictionary that cannot be read is a failure, never an empty one.
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> prepare;
        std::string output;
    };
    const Case cases[] = {
        {"missing", nullptr, message::DIC_OPEN},
        {"a link to nothing",
         [](const fs::path& dir) { fs::create_symlink("no-such-file", dir / "kolvane.dic"); }, message::DIC_OPEN},
        // POSIX opens a directory and fails to read it; Windows cannot open it.
        {"a directory: opened, but not readable",
         [](const fs::path& dir) { fs::create_directory(dir / "kolvane.dic"); },
         tool_is_windows() ? message::DIC_OPEN : message::DIC_READ},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolRun run;
        run.index = OLD_INDEX;
        run.prepare = c.prepare;
        expect_refused(run, c.output);
    }
}

TEST(PosixExitStatus, ConfirmationThatCannotBeWrittenGives255)
{
    ToolRun run;
    run.dictionary = entry(":あ;/x/");
    run.output = Stdout::DevFull;
    EXPECT_EQ(run_tool(run).status, 255);

    run.args = {"-m"};
    EXPECT_EQ(run_tool(run).status, 255);
}

TEST(PosixExitStatus, FailureWithOutputOnAFullDeviceIsStillZero)
{
    ToolRun run;
    run.output = Stdout::DevFull;
    run.index = OLD_INDEX;
    ToolResult result = run_tool(run);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.index, OLD_INDEX);
    run.dictionary = entry("x");
    result = run_tool(run);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.index, OLD_INDEX);
}

TEST(PosixExitStatus, ClosedStandardOutputNeitherSucceedsNorReachesTheIndex)
{
    // With standard output closed, the index file must not take its place
    // and receive the listing and the confirmation.
    ToolRun run;
    run.dictionary = entry(":あ;/x/");
    run.args = {"-m"};
    run.output = Stdout::Closed;
    ToolResult result = run_tool(run);
    EXPECT_EQ(result.status, 255);
    std::vector<std::int64_t> starts(70, 0);
    std::vector<std::int64_t> sizes(70, 0);
    sizes[69] = 9;
    EXPECT_BYTES(index_bytes(starts, sizes), result.index.value_or("(none)"));

    run.dictionary.reset();
    run.index = OLD_INDEX;
    result = run_tool(run);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.index, OLD_INDEX);
}
