// The rules of a sound line as tests on the bits of 64-byte chunks, shared by
// the byte-by-byte and the vector builds of find_sound_run. A build only says
// where the bytes that matter stand (a ChunkMasks); the rules are here alone.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/scan_state.h"

#ifdef __PCLMUL__
#include <wmmintrin.h>
#endif

// Internal to each file that includes it: the vector files are built with
// other instruction sets, and no copy of these routines may stand in for
// another's at link time.
namespace {

// Where each byte that matters to a sound line stands in 64 bytes: bit i
// stands for the i-th byte.
struct ChunkMasks {
    std::uint64_t colon, semicolon, slash, cr, lf, tab, zero;
    // The two bytes of the row's key.
    std::uint64_t key_lead, key_trail;
};

// The masks of a chunk, from equal(c): the bits of the chunk's bytes that
// equal c. Which bytes matter is said here once, for every build.
template <typename Equal>
inline ChunkMasks masks_of(Equal equal, unsigned char lead, unsigned char trail)
{
    ChunkMasks m;
    m.colon = equal(':');
    m.semicolon = equal(';');
    m.slash = equal('/');
    m.cr = equal('\r');
    m.lf = equal('\n');
    m.tab = equal('\t');
    m.zero = equal('\0');
    m.key_lead = equal(lead);
    m.key_trail = equal(trail);
    return m;
}

// Byte by byte: the statement of what each mask holds, for the tests.
inline ChunkMasks map_chunk_plain(const unsigned char* bytes, unsigned char lead, unsigned char trail)
{
    auto equal = [bytes](unsigned char c) {
        std::uint64_t bits = 0;
        for (int i = 0; i < 64; ++i)
            bits |= std::uint64_t{bytes[i] == c} << i;
        return bits;
    };
    return masks_of(equal, lead, trail);
}

// Bit i set when an odd number of the bits at or below i are set.
inline std::uint64_t prefix_parity(std::uint64_t x)
{
    x ^= x << 1;
    x ^= x << 2;
    x ^= x << 4;
    x ^= x << 8;
    x ^= x << 16;
    x ^= x << 32;
    return x;
}

#ifdef __PCLMUL__
// The same, in one instruction where there is a carry-less multiply: the low
// half of the product with all ones.
inline std::uint64_t prefix_parity_clmul(std::uint64_t x)
{
    __m128i product = _mm_clmulepi64_si128(_mm_set_epi64x(0, static_cast<long long>(x)), _mm_set1_epi8(-1), 0);
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(product));
}
#endif

// No line is looked at on its own: for each chunk, every rule is a test on
// the bits, and a bit of "faults" is set inside (or at the end of) any line
// that breaks one. The stretch ends at the line end before the lowest fault.
//
// A line ends at an LF right after a CR; any other CR or LF is an ordinary
// byte. A zero byte may stand among the items: the checks see the line only
// up to it, and what they see of a line that keeps every rule in full passes.
// It may not stand in the header, where it would hide the header's end.
// PARITY computes prefix_parity; a build may give one that its processor
// does faster.
template <ChunkMasks (*MAP)(const unsigned char*, unsigned char, unsigned char),
          std::uint64_t (*PARITY)(std::uint64_t) = prefix_parity>
std::size_t find_sound_run_with(const unsigned char* bytes, std::size_t start, std::size_t end,
                                unsigned char lead, unsigned char trail, std::int64_t* lines)
{
    // What the bytes before a chunk carry into it. The stretch begins at a
    // line start, as if right after a line end; a CR of the line before
    // cannot pair with an LF of this one.
    std::uint64_t after_end = 1, after_cr = 0, after_slash = 0, two_after_slash = 0, after_semicolon = 0;
    std::uint64_t after_colon = 0, two_after_colon = 0, in_header = 0;
    std::size_t line_start = start;
    std::int64_t count = 0;
    for (std::size_t base = start;; base += 64) {
        ChunkMasks m = MAP(bytes + base, lead, trail);
        std::uint64_t ends = m.lf & (m.cr << 1 | after_cr);
        std::uint64_t end_before = ends << 1 | after_end;
        std::uint64_t slash_before = m.slash << 1 | after_slash;
        std::uint64_t slash_2_before = m.slash << 2 | two_after_slash;
        std::uint64_t semicolon_before = m.semicolon << 1 | after_semicolon;
        std::uint64_t colon_1_before = m.colon << 1 | after_colon;
        std::uint64_t colon_2_before = m.colon << 2 | two_after_colon;
        // Set from a line's ":" up to its ";": the header. As every line
        // ends with "/", one without ";" has a "/" in its header; as each ";"
        // is followed by "/", a second ";" puts that "/" in a header.
        std::uint64_t header = PARITY(m.colon | m.semicolon) ^ (in_header ? ~std::uint64_t{0} : 0);

        std::uint64_t faults = m.tab
                               | (m.zero & header)                            // no zero byte in the header
                               | (m.colon ^ end_before)                       // ":" starts each line, only there
                               | (m.slash & header)                           // no "/" before the ";"
                               | (semicolon_before & ~m.slash)                // "/" right after each ";"
                               | (ends & ~slash_2_before)                     // "/" right before the CR LF
                               | (m.slash & slash_before)                     // no "//"
                               | (colon_1_before & ~m.key_lead)               // the row's key
                               | (colon_2_before & ~m.key_trail);
        // A line's end must come by its LONGEST_LINE-th byte. Only a line that
        // began in an earlier chunk can reach that far; it began at most
        // LONGEST_LINE bytes before this chunk, or an earlier chunk would
        // have ended the stretch.
        std::size_t last_end_allowed = line_start + LONGEST_LINE - 1;
        if (last_end_allowed < base + 63) {
            std::size_t first_late = last_end_allowed + 1 - base;
            if ((ends & ((std::uint64_t{1} << first_late) - 1)) == 0)
                faults |= std::uint64_t{1} << first_late;
        }
        // Nothing at or after the end is part of the stretch.
        if (end - base < 64)
            faults |= ~std::uint64_t{0} << (end - base);

        if (faults != 0)
            ends &= (std::uint64_t{1} << __builtin_ctzll(faults)) - 1;
        if (ends != 0) {
            count += __builtin_popcountll(ends);
            line_start = base + static_cast<std::size_t>(63 - __builtin_clzll(ends)) + 1;
        }
        if (faults != 0) {
            *lines += count;
            return line_start;
        }
        after_end = ends >> 63;
        after_cr = m.cr >> 63;
        after_slash = m.slash >> 63;
        two_after_slash = m.slash >> 62;
        after_semicolon = m.semicolon >> 63;
        after_colon = m.colon >> 63;
        two_after_colon = m.colon >> 62;
        in_header = header >> 63;
    }
}

}  // namespace
