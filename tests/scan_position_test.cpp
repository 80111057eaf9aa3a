// Offsets and line numbers past what 32 bits hold, in the reports that show
// them. (A dictionary of that size takes gigabytes; the state is set here.)
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/messages.h"
#include "common/scan_state.h"
#include "rows/row_partition.h"
#include "support/dictionary.h"
#include "support/tool_runner.h"

namespace {

std::string read_all(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs a routine that ends the run, in a child process, and returns what it
// printed; the child must end with status 0.
template <typename Routine>
std::string output_of_failure(Routine routine)
{
    // A file of its own: tests may run side by side.
    std::string path = ::testing::TempDir() + "venoskal-scan-position-XXXXXX";
    int fd = mkstemp(path.data());
    if (fd < 0)
        return "(no temporary file)";
    close(fd);
    EXPECT_EXIT(
        {
            if (std::freopen(path.c_str(), "w", stdout) == nullptr)
                std::abort();
            routine();
        },
        ::testing::ExitedWithCode(0), "");
    std::string out = read_all(path);
    std::remove(path.c_str());
    return out;
}

}  // namespace

TEST(ScanPosition, RowSizeBeyond32Bits)
{
    std::string out = output_of_failure([] {
        start_run_state();
        line_offset = 5'000'000'000;
        finish_rows();
    });
    EXPECT_BYTES(size_report(0, 5'000'000'000), out);  // [4999991809バイト]

    // 2^32 + 9 bytes, which 32 bits would take for 9.
    out = output_of_failure([] {
        start_run_state();
        current_row = 69;
        line_offset = 4'294'967'296 + 9;
        finish_rows();
    });
    EXPECT_BYTES(size_report(69, 4'294'967'296 + 9), out);  // [4294959114バイト]
}

TEST(ScanPosition, LineNumberBeyond32Bits)
{
    std::string out = output_of_failure([] {
        start_run_state();
        line_number = 3'000'000'000;
        std::snprintf(line_buffer, LINE_BUFFER_SIZE, "x\r\n");
        fail_format(REASON_START_MARK);
    });
    EXPECT_BYTES(format_report(3'000'000'000, "x\r\n", reason::START_MARK), out);
}
