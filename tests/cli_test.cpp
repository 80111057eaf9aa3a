// The command line, the dictionary file, the closing confirmation and the
// exit status, through the real binary.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "support/dictionary.h"
#include "support/tool_runner.h"

namespace fs = std::filesystem;

namespace {

const std::string OLD_INDEX = "an index from an earlier run";

std::string usage_error(const std::string& arg)
{
    return "Illegal Option: " + arg + "\nUSAGE: venoskal [-m]\n";
}

}  // namespace

TEST(CommandLine, IllegalFirstArgumentEndsTheRunBeforeTheDictionaryIsOpened)
{
    const char* const illegal[] = {"-M", "/m", "--m", "m", "-mm", "-m ", "", "-", "-x"};
    for (const char* arg : illegal) {
        for (bool with_dictionary : {true, false}) {
            ToolRun run;
            if (with_dictionary)
                run.dictionary = entry(":あ;/x/");
            run.args = {arg, "-m"};
            run.index = OLD_INDEX;
            ToolResult result = run_tool(run);
            EXPECT_BYTES(usage_error(arg), result.output);
            EXPECT_EQ(result.status, 0) << arg;
            EXPECT_EQ(result.index, OLD_INDEX) << arg;
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

TEST(DictionaryFile, MissingDictionaryLeavesTheIndexAlone)
{
    ToolRun run;
    run.index = OLD_INDEX;
    ToolResult result = run_tool(run);
    EXPECT_BYTES(sjis("*****辞書ファイル[kolvane.dic] が開けません。*****************\n"), result.output);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.index, OLD_INDEX);
}

TEST(DictionaryFile, UnreadableDictionaryIsAFailureNotAnEmptyOne)
{
    ToolRun run;
    run.index = OLD_INDEX;
    run.prepare = [](const fs::path& dir) { fs::create_directory(dir / "kolvane.dic"); };
    ToolResult result = run_tool(run);
    // POSIX opens a directory and fails to read it; Windows does not open it.
    const std::string message = tool_is_windows()
                                    ? "*****辞書ファイル[kolvane.dic] が開けません。*****************\n"
                                    : "*****辞書ファイル[kolvane.dic] が読み込めません。*************\n";
    EXPECT_BYTES(sjis(message), result.output);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.index, OLD_INDEX);
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
