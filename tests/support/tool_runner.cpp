#include "support/tool_runner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

void write_file(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

fs::path make_temp_dir()
{
    std::string pattern = (fs::temp_directory_path() / "venoskal-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    return pattern;
}

// The command that runs the tool: VENOSKAL_COMMAND split at spaces, or the
// binary built beside the tests.
std::vector<std::string> tool_command()
{
    const char* given = std::getenv("VENOSKAL_COMMAND");
    if (given == nullptr || *given == '\0')
        return {VENOSKAL_BINARY};
    std::vector<std::string> words;
    std::istringstream in(given);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// Runs the tool once in dir, its standard output collected in output (when
// captured). Returns the wait status.
int launch(const ToolRun& run, const fs::path& dir, std::vector<char*>& argv, std::string& output)
{
    // Standard output is captured through a pipe, as a user's `| cat` would:
    // no limit on the size of files the tool writes applies to it.
    int out[2] = {-1, -1};
    if (run.output == Stdout::Capture && pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        if (chdir(dir.c_str()) != 0)
            _exit(120);
        if (run.output == Stdout::Closed) {
            close(1);
        } else if (run.output == Stdout::DevFull) {
            int fd = open("/dev/full", O_WRONLY);
            if (fd < 0 || dup2(fd, 1) < 0)
                _exit(121);
            close(fd);
        } else if (dup2(out[1], 1) < 0) {
            _exit(121);
        }
        if (!run.fault.empty()) {
            setenv("LD_PRELOAD", VENOSKAL_FAULT_SHIM, 1);
            setenv("VENOSKAL_FAULT", run.fault.c_str(), 1);
            // A sanitized tool would refuse a library loaded before its runtime.
            std::string asan = std::string(getenv("ASAN_OPTIONS") ? getenv("ASAN_OPTIONS") : "") +
                               ":verify_asan_link_order=0";
            setenv("ASAN_OPTIONS", asan.c_str(), 1);
        }
        std::signal(SIGXFSZ, SIG_DFL);
        if (run.file_size_limit >= 0) {
            rlimit limit{static_cast<rlim_t>(run.file_size_limit), static_cast<rlim_t>(run.file_size_limit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(123);
        }
        execvp(argv[0], argv.data());
        _exit(122);
    }

    if (run.output == Stdout::Capture) {
        close(out[1]);
        char buffer[65536];
        for (;;) {
            ssize_t n = read(out[0], buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            output.append(buffer, static_cast<std::size_t>(n));
        }
        close(out[0]);
    }
    int wait_status = 0;
    waitpid(child, &wait_status, 0);
    return wait_status;
}

}  // namespace

bool tool_is_windows()
{
    const char* platform = std::getenv("VENOSKAL_PLATFORM");
    return platform != nullptr && std::string(platform) == "windows";
}

std::string from_windows_text(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            if (out.empty() || out.back() != '\r') {
                ADD_FAILURE() << "an LF without CR at byte " << i << " of the Windows output:\n"
                              << hex_dump(text);
                return text;
            }
            out.back() = '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string tool_binary()
{
    return VENOSKAL_BINARY;
}

ToolResult run_tool(const ToolRun& run)
{
    fs::path dir = make_temp_dir();
    if (run.dictionary)
        write_file(dir / "kolvane.dic", *run.dictionary);
    if (run.index)
        write_file(dir / "kolvane.idx", *run.index);
    if (run.prepare)
        run.prepare(dir);

    if (tool_is_windows() && (run.output != Stdout::Capture || !run.fault.empty() || run.file_size_limit >= 0 ||
                              !run.prefix.empty() || run.expected_signal != 0))
        ADD_FAILURE() << "a case that needs POSIX was run against a Windows build; name its suite Posix*";

    std::vector<std::string> words = run.prefix;
    std::vector<std::string> command = tool_command();
    words.insert(words.end(), command.begin(), command.end());
    words.insert(words.end(), run.args.begin(), run.args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    ToolResult result;
    int wait_status = 0;
    for (int attempt = 1;; ++attempt) {
        result.output.clear();
        wait_status = launch(run, dir, argv, result.output);
        // Wine now and then fails to start a program at all: it ends with
        // status 1, a status venoskal never gives, before anything is
        // printed. Such a launch is tried once more, and said so.
        bool wine_did_not_start = tool_is_windows() && WIFEXITED(wait_status) && WEXITSTATUS(wait_status) == 1 &&
                                  result.output.empty();
        if (!wine_did_not_start || attempt == 2)
            break;
        std::fprintf(stderr, "Wine did not start the tool (status 1, nothing printed): starting it again\n");
    }
    if (run.output == Stdout::Capture && tool_is_windows())
        result.output = from_windows_text(result.output);

    result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 1000 + WTERMSIG(wait_status);
    // The tool ends with a status of its own; a signal is a crash, or a
    // sanitizer's report, whatever the test goes on to check.
    if (WIFSIGNALED(wait_status) && WTERMSIG(wait_status) != run.expected_signal)
        ADD_FAILURE() << "venoskal ended on signal " << WTERMSIG(wait_status);
    if (run.expected_signal != 0 && !WIFSIGNALED(wait_status))
        ADD_FAILURE() << "venoskal was meant to end on signal " << run.expected_signal;
    fs::path index = dir / "kolvane.idx";
    if (fs::is_regular_file(fs::symlink_status(index)))
        result.index = read_file(index);
    for (const fs::directory_entry& entry : fs::directory_iterator(dir))
        result.files.push_back(entry.path().filename().string());
    std::sort(result.files.begin(), result.files.end());
    if (run.inspect)
        run.inspect(dir);
    fs::remove_all(dir);
    return result;
}

ToolResult expect_refused(const ToolRun& run, const std::string& output)
{
    ToolResult result = run_tool(run);
    EXPECT_BYTES(output, result.output);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.index, run.index);
    return result;
}

std::string hex_dump(const std::string& bytes)
{
    std::string out;
    char cell[24];
    for (std::size_t i = 0; i < bytes.size(); i += 16) {
        std::snprintf(cell, sizeof cell, "%06zx", i);
        out += cell;
        std::string text;
        for (std::size_t j = i; j < i + 16 && j < bytes.size(); ++j) {
            unsigned char c = static_cast<unsigned char>(bytes[j]);
            std::snprintf(cell, sizeof cell, " %02x", c);
            out += cell;
            text += c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '.';
        }
        out += "  " + text + "\n";
    }
    return out.empty() ? "(empty)\n" : out;
}
