// Runs the venoskal binary in a fresh directory and collects what it did.
//
// The tool is the binary built beside the tests, or the command given in the
// environment variable VENOSKAL_COMMAND (words separated by spaces), such as
// a Windows build run through Wine. VENOSKAL_PLATFORM=windows says that the
// tool is a Windows build: its standard output is then a text stream, each
// newline written as CR LF, and the harness turns it back into the bytes the
// POSIX build prints, so that every test compares the same expected bytes.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class Stdout { Capture, DevFull, Closed };

// The cases that need POSIX (a FIFO, a preloaded library, /dev/full, file
// size limits, a closed descriptor) are in suites named Posix*, which a run
// against a Windows build leaves out.
struct ToolRun {
    // Bytes of kolvane.dic; none: there is no such file.
    std::optional<std::string> dictionary;
    std::vector<std::string> args;
    // Bytes of a kolvane.idx that exists before the run.
    std::optional<std::string> index;
    Stdout output = Stdout::Capture;
    // Make the second read of the dictionary fail as a read error does.
    bool failing_read = false;
    // Largest file the tool may write (0: no limit); a write beyond it fails.
    long file_size_limit = 0;
    // Extra set-up of the directory before the run (links, directories, FIFOs).
    std::function<void(const std::filesystem::path&)> prepare;
    // Looks at the directory after the run, before it is removed.
    std::function<void(const std::filesystem::path&)> inspect;
};

struct ToolResult {
    std::string output;
    int status = -1;
    // Contents of kolvane.idx after the run if it is a regular file.
    std::optional<std::string> index;
};

ToolResult run_tool(const ToolRun& run);

// The tool under test is a Windows build (VENOSKAL_PLATFORM=windows).
bool tool_is_windows();

// Output of a Windows build as the POSIX build prints it: each CR LF that a
// newline became turns back into LF. An LF without its CR is a failure of
// the test, since the text stream writes none.
std::string from_windows_text(const std::string& text);

// Both byte strings side by side in hex, for failure messages.
std::string hex_dump(const std::string& bytes);

// Compares byte strings and shows a hex dump of both when they differ.
#define EXPECT_BYTES(expected, actual)                                                      \
    EXPECT_TRUE((expected) == (actual)) << "expected:\n"                                    \
                                        << hex_dump(expected) << "actual:\n"                \
                                        << hex_dump(actual)
