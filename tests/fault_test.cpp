// A dictionary that cannot be read to its end: the tool must say so and leave
// the index as it was, never take the part it read for the whole.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/dictionary.h"
#include "support/tool_runner.h"

namespace fs = std::filesystem;

namespace {

const std::string OLD_INDEX = "an index from an earlier run";

// Sound lines over several blocks of reading (the last row is refused at
// the end for its size, but the end is not reached).
std::string long_dictionary()
{
    return row_of_size(0, 8000) + row_of_size(1, 8000) + row_of_size(2, 300000);
}

}  // namespace

TEST(PosixFaults, ReadErrorIsReportedAfterTheBytesReadBeforeIt)
{
    const std::string bad_line = entry(":ん;/x//");
    struct Case {
        const char* name;
        std::string fault;
        std::string dictionary;
        std::string output;
    };
    const Case cases[] = {
        // The first read gives the dictionary's first 100 bytes and then the
        // error: those bytes are taken first, and a fault in them is reported
        // instead of the read error.
        {"error after 100 bytes", "read-partial", long_dictionary(), message::DIC_READ},
        {"error after 100 bytes holding a bad line", "read-partial", bad_line + long_dictionary(),
         format_report(0, bad_line, reason::EMPTY_ITEM)},
        // The second read fails as a whole, after a whole first block.
        {"error on the second read", "read-halfway", long_dictionary(), message::DIC_READ},
        {"error on the second read after a bad line", "read-halfway", bad_line + long_dictionary(),
         format_report(0, bad_line, reason::EMPTY_ITEM)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolRun run;
        run.dictionary = c.dictionary;
        run.index = OLD_INDEX;
        run.fault = c.fault;
        expect_refused(run, c.output);
    }
}

TEST(PosixFaults, DictionaryFromAPipe)
{
    // A FIFO whose writer stops in the middle of a line: the tool sees the
    // end of its input there, and the last line has no line end.
    const std::string whole = row_of_size(0, 70000) + entry(":わ;/x/");
    struct Case {
        std::size_t written;
        std::string output;
        int status;
    };
    const Case cases[] = {
        {whole.size() - 3, format_report(static_cast<std::int64_t>(std::count(whole.begin(), whole.end(), '\n')) - 1,
                                         sjis(":わ;/x"), reason::NO_LINE_END),
         0},
        // The whole dictionary, written in pieces with pauses between them.
        {whole.size(), size_report(0, 70000), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        std::thread writer;
        ToolRun run;
        run.index = OLD_INDEX;
        run.prepare = [&](const fs::path& dir) {
            fs::path fifo = dir / "kolvane.dic";
            ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
            writer = std::thread([fifo, &whole, &c] {
                int fd = open(fifo.c_str(), O_WRONLY);
                for (std::size_t done = 0; fd >= 0 && done < c.written;) {
                    std::size_t piece = std::min<std::size_t>(c.written - done, 50000);
                    ssize_t n = write(fd, whole.data() + done, piece);
                    if (n <= 0)
                        break;
                    done += static_cast<std::size_t>(n);
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
                close(fd);
            });
        };
        ToolResult result = run_tool(run);
        writer.join();
        EXPECT_BYTES(c.output, result.output);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.index, OLD_INDEX);
    }
}
