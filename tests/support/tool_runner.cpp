#include "support/tool_runner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

ToolResult run_tool(const ToolRun& run)
{
    fs::path dir = make_temp_dir();
    if (run.dictionary)
        write_file(dir / "kolvane.dic", *run.dictionary);
    if (run.index)
        write_file(dir / "kolvane.idx", *run.index);
    if (run.prepare)
        run.prepare(dir);
    fs::path captured = dir / ".." / (dir.filename().string() + ".out");

    if (tool_is_windows() && (run.output != Stdout::Capture || run.failing_read || run.file_size_limit > 0))
        ADD_FAILURE() << "a case that needs POSIX was run against a Windows build; name its suite Posix*";

    std::vector<std::string> words = tool_command();
    words.insert(words.end(), run.args.begin(), run.args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        if (chdir(dir.c_str()) != 0)
            _exit(120);
        if (run.output == Stdout::Closed) {
            close(1);
        } else {
            const char* target = run.output == Stdout::DevFull ? "/dev/full" : captured.c_str();
            int fd = open(target, O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || dup2(fd, 1) < 0)
                _exit(121);
            close(fd);
        }
        if (run.failing_read) {
            setenv("LD_PRELOAD", VENOSKAL_FAILING_READ, 1);
            // A sanitized tool would refuse a library loaded before its runtime.
            std::string asan = std::string(getenv("ASAN_OPTIONS") ? getenv("ASAN_OPTIONS") : "") +
                               ":verify_asan_link_order=0";
            setenv("ASAN_OPTIONS", asan.c_str(), 1);
        }
        if (run.file_size_limit > 0) {
            // Writes past the limit then fail with EFBIG instead of a signal.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{static_cast<rlim_t>(run.file_size_limit), static_cast<rlim_t>(run.file_size_limit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(123);
        }
        execvp(argv[0], argv.data());
        _exit(122);
    }
    int wait_status = 0;
    waitpid(child, &wait_status, 0);

    ToolResult result;
    result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 1000 + WTERMSIG(wait_status);
    // The tool ends with a status of its own; a signal is a crash, or a
    // sanitizer's report, whatever the test goes on to check.
    if (WIFSIGNALED(wait_status))
        ADD_FAILURE() << "venoskal ended on signal " << WTERMSIG(wait_status);
    if (run.output == Stdout::Capture) {
        result.output = read_file(captured);
        if (tool_is_windows())
            result.output = from_windows_text(result.output);
    }
    fs::path index = dir / "kolvane.idx";
    if (fs::is_regular_file(fs::symlink_status(index)))
        result.index = read_file(index);
    if (run.inspect)
        run.inspect(dir);
    fs::remove(captured);
    fs::remove_all(dir);
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
