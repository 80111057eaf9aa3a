// kolvane.idx is replaced whole or not at all, through the real binary: a
// run that fails, or is killed, leaves the old index as it was; a link named
// kolvane.idx is replaced, never written through.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/dictionary.h"
#include "support/tool_runner.h"

namespace fs = std::filesystem;

namespace {

const std::string OLD_INDEX = "OLD";

// One line of row え (66): rows 1 to 65 and 67 to 69 are reported empty.
const std::string DICTIONARY = entry(":え;/x/");
const std::string WARNINGS = empty_rows(1, 66) + empty_rows(67, 70);

std::string expected_index()
{
    std::vector<std::int64_t> sizes(70, 0);
    sizes[66] = 9;
    return index_for_sizes(sizes);
}

const std::vector<std::string> DICTIONARY_AND_INDEX = {"kolvane.dic", "kolvane.idx"};

std::string read_file(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

mode_t current_umask()
{
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

}  // namespace

namespace {

// What stood under the name kolvane.idx before a run, made by prepare.
struct Standing {
    const char* name;
    std::function<void(const fs::path&)> prepare;
};

// A successful run leaves the new index under the name, whatever stood
// there, and the dictionary as it was.
void expect_replaced(const Standing& c)
{
    SCOPED_TRACE(c.name);
    ToolRun run;
    run.dictionary = DICTIONARY;
    run.prepare = c.prepare;
    std::string dictionary_after;
    run.inspect = [&](const fs::path& dir) { dictionary_after = read_file(dir / "kolvane.dic"); };
    ToolResult result = run_tool(run);
    EXPECT_BYTES(WARNINGS + confirmation(), result.output);
    EXPECT_EQ(result.status, 71);
    EXPECT_BYTES(expected_index(), result.index.value_or("(not a regular file)"));
    EXPECT_BYTES(DICTIONARY, dictionary_after);
    EXPECT_EQ(result.files, DICTIONARY_AND_INDEX);
}

}  // namespace

TEST(IndexFile, ReplacedWholeWhateverStoodUnderItsName)
{
    const Standing cases[] = {
        {"no index", [](const fs::path&) {}},
        {"a longer old index",
         [](const fs::path& dir) { std::ofstream(dir / "kolvane.idx") << std::string(5000, 'x'); }},
    };
    for (const Standing& c : cases)
        expect_replaced(c);
}

TEST(PosixIndexFile, LinkUnderItsNameIsReplacedNotWrittenThrough)
{
    const Standing cases[] = {
        {"a symbolic link to the dictionary",
         [](const fs::path& dir) { fs::create_symlink("kolvane.dic", dir / "kolvane.idx"); }},
        {"a hard link to the dictionary",
         [](const fs::path& dir) { fs::create_hard_link(dir / "kolvane.dic", dir / "kolvane.idx"); }},
        {"a dangling symbolic link",
         [](const fs::path& dir) { fs::create_symlink("elsewhere", dir / "kolvane.idx"); }},
        {"a symbolic link to a full device",
         [](const fs::path& dir) { fs::create_symlink("/dev/full", dir / "kolvane.idx"); }},
    };
    for (const Standing& c : cases)
        expect_replaced(c);
}

TEST(PosixIndexFile, FailureLeavesTheOldIndexAsItWas)
{
    struct Case {
        const char* name;
        std::string message;
        std::string fault;
        long file_size_limit;
        std::vector<std::string> prefix;
    };
    const Case cases[] = {
        {"no file may grow", message::IDX_WRITE, "", 0, {}},
        {"files may grow to 100 bytes", message::IDX_WRITE, "", 100, {}},
        {"the write fails", message::IDX_WRITE, "write", -1, {}},
        {"the close fails", message::IDX_WRITE, "close", -1, {}},
        {"the rename fails", message::IDX_WRITE, "rename", -1, {}},
        // Not root: the directory cannot be written into, so the new file
        // cannot be created.
        {"a directory that cannot be written", message::IDX_OPEN, "", -1,
         {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolRun run;
        run.dictionary = DICTIONARY;
        run.args = {"-m"};
        run.index = OLD_INDEX;
        run.fault = c.fault;
        run.file_size_limit = c.file_size_limit;
        run.prefix = c.prefix;
        run.prepare = [](const fs::path& dir) {
            fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
        };
        ToolResult result = expect_refused(run, WARNINGS + c.message);
        EXPECT_EQ(result.files, DICTIONARY_AND_INDEX);
    }
}

TEST(IndexFile, DirectoryInItsPlaceIsLeftAlone)
{
    ToolRun run;
    run.dictionary = DICTIONARY;
    run.args = {"-m"};
    run.prepare = [](const fs::path& dir) { fs::create_directory(dir / "kolvane.idx"); };
    bool still_an_empty_directory = false;
    run.inspect = [&](const fs::path& dir) {
        still_an_empty_directory = fs::is_directory(dir / "kolvane.idx") && fs::is_empty(dir / "kolvane.idx");
    };
    ToolResult result = expect_refused(run, WARNINGS + message::IDX_OPEN);
    EXPECT_TRUE(still_an_empty_directory);
    EXPECT_EQ(result.files, DICTIONARY_AND_INDEX);
}

TEST(PosixIndexFile, RunKilledWhileReplacingLeavesTheOldIndex)
{
    // What a kill leaves beside the index: at most the new file, under the
    // name the manual gives, kolvane.idx. and six letters and digits.
    auto is_new_index_name = [](const std::string& name) {
        const std::string stem = "kolvane.idx.";
        return name.size() == stem.size() + 6 && name.compare(0, stem.size(), stem) == 0 &&
               std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem.size()), name.end(),
                           [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
    };
    for (const char* fault : {"kill-write", "kill-rename"}) {
        SCOPED_TRACE(fault);
        ToolRun run;
        run.dictionary = DICTIONARY;
        run.index = OLD_INDEX;
        run.fault = fault;
        run.expected_signal = SIGKILL;
        ToolResult result = run_tool(run);
        EXPECT_EQ(result.status, 1000 + SIGKILL);
        EXPECT_EQ(result.index, OLD_INDEX);
        ASSERT_EQ(result.files.size(), 3u);
        EXPECT_EQ(result.files[0], "kolvane.dic");
        EXPECT_EQ(result.files[1], "kolvane.idx");
        EXPECT_TRUE(is_new_index_name(result.files[2])) << result.files[2];
    }
}

TEST(PosixIndexFile, KeepsThePermissionsOfTheFileItReplaces)
{
    const mode_t for_a_new_file = 0666 & ~current_umask();
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> prepare;
        mode_t mode;
    };
    const Case cases[] = {
        {"no index", [](const fs::path&) {}, for_a_new_file},
        {"an index of mode 0640",
         [](const fs::path& dir) {
             std::ofstream(dir / "kolvane.idx") << OLD_INDEX;
             chmod((dir / "kolvane.idx").c_str(), 0640);
         },
         0640},
        {"an index of mode 0755",
         [](const fs::path& dir) {
             std::ofstream(dir / "kolvane.idx") << OLD_INDEX;
             chmod((dir / "kolvane.idx").c_str(), 0755);
         },
         0755},
        // A link is no regular file: the new index is made as a new file.
        {"a symbolic link to a file of mode 0600",
         [](const fs::path& dir) {
             std::ofstream(dir / "target") << OLD_INDEX;
             chmod((dir / "target").c_str(), 0600);
             fs::create_symlink("target", dir / "kolvane.idx");
         },
         for_a_new_file},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolRun run;
        run.dictionary = DICTIONARY;
        run.prepare = c.prepare;
        mode_t mode = 0;
        run.inspect = [&](const fs::path& dir) {
            struct stat st;
            if (lstat((dir / "kolvane.idx").c_str(), &st) == 0)
                mode = st.st_mode & 07777;
        };
        ToolResult result = run_tool(run);
        EXPECT_EQ(result.status, 71);
        EXPECT_EQ(mode, c.mode) << std::oct << mode << " instead of " << c.mode;
    }
}

TEST(PosixIndexFile, ReaderNeverSeesAPartialIndex)
{
    // Runs replace the index one after another while a reader reads it over
    // and over: every read must find 420 whole bytes of one index or another.
    // Each run's dictionary differs, so that the indexes differ.
    const int runs = 200;
    std::string script;
    for (int i = 0; i < runs; ++i)
        script += "printf ':\\202\\240;/%0" + std::to_string(i % 5 + 1) + "d/\\r\\n' 0 > kolvane.dic; \"$1\" >/dev/null || [ $? -eq 71 ] || exit 1\n";
    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::vector<std::string> bad;
    std::thread reader;
    ToolRun run;
    run.dictionary = DICTIONARY;
    run.prepare = [&](const fs::path& dir) {
        // A first index, so that the reader always finds one.
        std::string command = "cd '" + dir.string() + "' && '" + tool_binary() + "' >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 71 << 8);
        reader = std::thread([&, dir] {
            while (!done) {
                std::string bytes = read_file(dir / "kolvane.idx");
                ++reads;
                if (bytes.size() != 420 && bad.size() < 10)
                    bad.push_back(hex_dump(bytes));
            }
        });
        std::ofstream(dir / "replace.sh") << script;
        command = "cd '" + dir.string() + "' && sh replace.sh '" + tool_binary() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        done = true;
        reader.join();
    };
    run_tool(run);
    EXPECT_GT(reads.load(), runs);
    for (const std::string& b : bad)
        ADD_FAILURE() << "a read saw:\n" << b;
}
