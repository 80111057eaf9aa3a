// Finds, 64 bytes at a time, how far a stretch of a block holds nothing but
// sound entry lines of one row.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes that may be read past the end of the stretch (never taken for its
// own): the buffer holding it must have them.
constexpr std::size_t SOUND_RUN_SLACK = 64;

// bytes[start, end) begins at a line start. Returns the end of a stretch
// from start of complete lines that check_entry_line would accept, whose key
// is lead, trail, and that the line reader would frame as they are (one CR LF,
// at the end; at most LONGEST_LINE bytes), and adds their number to *lines.
// The stretch ends before the first line that breaks the rules of
// sound_run_impl.h; a few lines the checks accept do (a tab after a zero
// byte), and the line reader takes those.
using SoundRunFinder = std::size_t (*)(const unsigned char* bytes, std::size_t start, std::size_t end,
                                       unsigned char lead, unsigned char trail, std::int64_t* lines);

// One build of the finder, and whether this processor can run it.
struct SoundRunPath {
    const char* name;
    SoundRunFinder find;
    bool runs_here;
};

// Every vector build of the finder in this binary, the widest first.
extern const SoundRunPath SOUND_RUN_PATHS[];
extern const int SOUND_RUN_PATH_COUNT;

// The finder the tool uses: the widest this processor runs, or none. Without
// vector code the line-by-line checks take every line: mapping chunks in
// plain integer arithmetic costs more per byte than they do on long lines.
extern SoundRunFinder sound_run_finder;

// Byte by byte, whatever the processor; the statement the tests compare the
// other builds with.
std::size_t find_sound_run_plain(const unsigned char* bytes, std::size_t start, std::size_t end,
                                 unsigned char lead, unsigned char trail, std::int64_t* lines);
