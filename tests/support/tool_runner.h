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

// The cases that need POSIX (a FIFO, links, a preloaded fault, /dev/full,
// file size limits, another user, a signal, a closed descriptor) are in
// suites named Posix*, which a run against a Windows build leaves out.
struct ToolRun {
    // Bytes of kolvane.dic; none: there is no such file.
    std::optional<std::string> dictionary;
    std::vector<std::string> args;
    // Bytes of a kolvane.idx that exists before the run.
    std::optional<std::string> index;
    Stdout output = Stdout::Capture;
    // A fault that the preloaded shim makes (see support/fault_shim.cpp):
    // "read-halfway", "read-partial", "write", "close", "rename", "kill-write"
    // or "kill-rename"; empty: none.
    std::string fault;
    // Largest file the tool may write, in bytes (-1: no limit). SIGXFSZ
    // keeps its default action, as in a user's shell.
    long file_size_limit = -1;
    // Words of a command that runs the tool (e.g. as another user); empty:
    // the tool is run itself.
    std::vector<std::string> prefix;
    // The signal that the run is meant to end on (0: none may end it).
    int expected_signal = 0;
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
    // The names in the directory after the run, sorted.
    std::vector<std::string> files;
};

// The path of the venoskal binary built beside the tests, whatever
// VENOSKAL_COMMAND says: for the POSIX cases that run it themselves.
std::string tool_binary();

ToolResult run_tool(const ToolRun& run);

// Runs the tool and expects a refusal: exactly output on standard output,
// status 0, and kolvane.idx as it was before the run (absent if it was).
// Returns what the run did, for further checks.
ToolResult expect_refused(const ToolRun& run, const std::string& output);

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
