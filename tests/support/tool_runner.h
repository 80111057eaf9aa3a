// Runs the venoskal binary in a fresh directory and collects what it did.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class Stdout { Capture, DevFull, Closed };

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

// The path of the venoskal binary under test.
std::string tool_binary();

ToolResult run_tool(const ToolRun& run);

// Both byte strings side by side in hex, for failure messages.
std::string hex_dump(const std::string& bytes);

// Compares byte strings and shows a hex dump of both when they differ.
#define EXPECT_BYTES(expected, actual)                                                      \
    EXPECT_TRUE((expected) == (actual)) << "expected:\n"                                    \
                                        << hex_dump(expected) << "actual:\n"                \
                                        << hex_dump(actual)
