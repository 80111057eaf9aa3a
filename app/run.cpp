#include "app/run.h"

#include <cstdio>
#include <cstring>

#include "common/messages.h"
#include "common/scan_state.h"
#include "rows/index_file.h"
#include "rows/row_partition.h"
#include "scan/entry_checks.h"
#include "scan/line_reader.h"

void parse_options(int argc, char* argv[])
{
    if (argc <= 1)
        return;
    if (std::strcmp(argv[1], "-m") == 0) {
        listing_enabled = true;
        return;
    }
    std::printf(MSG_ILLEGAL_OPTION, argv[1]);
    fail(MSG_USAGE);
}

void scan_dictionary(std::FILE* dictionary)
{
    // The reader reads whole blocks itself; a stream buffer would only copy.
    std::setvbuf(dictionary, nullptr, _IONBF, 0);
    start_reading(dictionary);
    for (;;) {
        // Lines that plainly pass every check and stay in the open row are
        // taken in bulk; every other line goes through the checks one by one.
        accept_sound_lines();
        if (!read_entry_line())
            break;
        int row = check_entry_line();
        assign_row(row);
        advance_scan();
    }
    finish_rows();
}

int run(int argc, char* argv[])
{
    start_run_state();
    parse_options(argc, argv);

    std::FILE* dictionary = std::fopen(DICTIONARY_FILE_NAME, "rb");
    if (dictionary == nullptr)
        fail(MSG_DIC_OPEN);
    scan_dictionary(dictionary);
    std::fclose(dictionary);

    write_index_file();
    if (listing_enabled)
        print_row_listing();

    // The confirmation counts only once it has reached standard output.
    int printed = std::printf("%s", MSG_CONFIRMATION);
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return -1;
    return printed;
}
