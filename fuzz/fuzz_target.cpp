// Takes any bytes as kolvane.dic through the whole path to kolvane.idx: line
// by line, and with each build of the bulk scan of sound lines. Every run
// must end as a plain byte-at-a-time model of the tool does, and a
// dictionary they accept must have a sound index.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/run.h"
#include "common/messages.h"
#include "common/scan_state.h"
#include "fuzz/reference.h"
#include "rows/index_file.h"
#include "rows/row_table.h"
#include "scan/line_reader.h"
#include "scan/sound_run.h"

namespace {

const char OUTPUT_FILE_NAME[] = "stdout.txt";

struct Outcome {
    int status = -1;
    std::string output;
    bool index_exists = false;
    std::string index;
    std::int64_t sizes[ROW_COUNT] = {};
    int last_row = 0;
};

std::string read_file(const char* path, bool* exists = nullptr)
{
    std::ifstream in(path, std::ios::binary);
    if (exists != nullptr)
        *exists = static_cast<bool>(in);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

[[noreturn]] void broken(const char* what)
{
    std::fprintf(stderr, "venoskal fuzz: %s\n", what);
    __builtin_trap();
}

// One run as the tool makes it, with -m, on the kolvane.dic in the working
// directory; what it printed is captured in OUTPUT_FILE_NAME.
Outcome run_once(bool quick)
{
    std::remove(INDEX_FILE_NAME);
    std::fflush(stdout);
    if (ftruncate(fileno(stdout), 0) != 0)
        broken("cannot empty the captured output");
    std::rewind(stdout);

    Outcome outcome;
    quick_accept_enabled = quick;
    std::FILE* dictionary = nullptr;
    try {
        start_run_state();
        listing_enabled = true;
        dictionary = std::fopen(DICTIONARY_FILE_NAME, "rb");
        if (dictionary == nullptr)
            broken("cannot open the dictionary");
        scan_dictionary(dictionary);
        std::fclose(dictionary);
        dictionary = nullptr;
        write_index_file();
        print_row_listing();
        outcome.status = 71;
    } catch (const RunEnded& ended) {
        outcome.status = ended.status;
        if (dictionary != nullptr)
            std::fclose(dictionary);
    }
    std::fflush(stdout);
    outcome.output = read_file(OUTPUT_FILE_NAME);
    outcome.index = read_file(INDEX_FILE_NAME, &outcome.index_exists);
    for (int i = 0; i < ROW_COUNT; ++i)
        outcome.sizes[i] = row_size[i];
    outcome.last_row = current_row;
    return outcome;
}

std::int64_t field(const std::string& index, int at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(index[static_cast<std::size_t>(at + i)]);
    return bytes == 4 ? static_cast<std::int32_t>(value) : static_cast<std::int64_t>(value);
}

// The index of an accepted dictionary, checked against the dictionary itself.
void check_index(const Outcome& run, const std::uint8_t* data, std::size_t size)
{
    if (!run.index_exists || run.index.size() != ROW_COUNT * INDEX_RECORD_SIZE)
        broken("an accepted dictionary has no index of 420 bytes");

    // The accepted lines: everything before the first 0x1A byte, up to and
    // including its last CR LF (an unfinished line before 0x1A is dropped).
    const auto* mark = static_cast<const std::uint8_t*>(std::memchr(data, 0x1A, size));
    std::size_t cut = mark != nullptr ? static_cast<std::size_t>(mark - data) : size;
    std::size_t total = 0;
    for (std::size_t i = 1; i < cut; ++i)
        if (data[i] == '\n' && data[i - 1] == '\r')
            total = i + 1;
    if (mark == nullptr && total != size)
        broken("accepted a dictionary whose last line has no CR LF");

    std::int64_t start[ROW_COUNT];
    std::int64_t length[ROW_COUNT];
    for (int i = 0; i < ROW_COUNT; ++i) {
        start[i] = field(run.index, i * INDEX_RECORD_SIZE, 4);
        length[i] = field(run.index, i * INDEX_RECORD_SIZE + 4, 2);
        if (length[i] != run.sizes[i] || run.sizes[i] > RECORD_SIZE_MAX)
            broken("a record's size is not the row's size");
        if (i != run.last_row && length[i] > ROW_SIZE_LIMIT)
            broken("a row before the last exceeds the row size limit");
    }
    if (start[0] != 0)
        broken("row 0 does not start at 0");
    for (int i = 0; i + 1 < ROW_COUNT; ++i)
        if (start[i + 1] != start[i] + length[i])
            broken("a row does not start where the one before ends");
    if (start[ROW_COUNT - 1] + length[ROW_COUNT - 1] != static_cast<std::int64_t>(total))
        broken("the rows do not end where the accepted lines end");

    // Every accepted line lies within the record of the row of its key.
    std::size_t line = 0;
    for (std::size_t i = 1; i < total; ++i) {
        if (data[i] != '\n' || data[i - 1] != '\r')
            continue;
        const char key[ROW_KEY_SIZE] = {static_cast<char>(data[line + 1]), static_cast<char>(data[line + 2]), '\0'};
        int row = find_row(key);
        auto at = static_cast<std::int64_t>(line);
        if (row < 0 || at < start[row] || static_cast<std::int64_t>(i) >= start[row] + length[row])
            broken("an accepted line lies outside its row");
        line = i + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char dir[] = "/tmp/venoskal-fuzz-XXXXXX";
    if (mkdtemp(dir) == nullptr || chdir(dir) != 0)
        broken("cannot make a working directory");
    if (std::freopen(OUTPUT_FILE_NAME, "w+", stdout) == nullptr)
        broken("cannot capture standard output");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        std::ofstream dictionary(DICTIONARY_FILE_NAME, std::ios::binary | std::ios::trunc);
        dictionary.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!dictionary)
            broken("cannot write the dictionary");
    }
    Outcome plain = run_once(false);
    ReferenceOutcome model = reference_run(data, size);
    if (plain.status != model.status || plain.output != model.output || plain.index_exists != model.index_written ||
        (model.index_written && plain.index != model.index))
        broken("the tool and the byte-at-a-time model disagree");
    if (plain.status != 0 && plain.status != 71)
        broken("a run ended with a status other than 0 or 71");
    if (plain.status == 71)
        check_index(plain, data, size);
    else if (plain.index_exists)
        broken("a refused dictionary left an index behind");

    // Each build of the bulk scan that this binary has and this processor
    // runs must do exactly what the line-by-line run did.
    SoundRunFinder chosen = sound_run_finder;
    for (int i = 0; i < SOUND_RUN_PATH_COUNT; ++i) {
        if (!SOUND_RUN_PATHS[i].runs_here)
            continue;
        sound_run_finder = SOUND_RUN_PATHS[i].find;
        Outcome quick = run_once(true);
        if (quick.status != plain.status || quick.output != plain.output ||
            quick.index_exists != plain.index_exists || quick.index != plain.index) {
            std::fprintf(stderr, "venoskal fuzz: with the %s scan\n", SOUND_RUN_PATHS[i].name);
            broken("the bulk scan and the line-by-line scan disagree");
        }
    }
    sound_run_finder = chosen;
    return 0;
}
