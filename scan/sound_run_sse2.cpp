// find_sound_run with its byte tests made 16 bytes at a time. SSE2 is part of
// every x86-64 processor, so this file needs no other instructions.
#include <emmintrin.h>

#include "scan/sound_run.h"
#include "scan/sound_run_impl.h"

namespace {

inline std::uint64_t equal_bits(const __m128i (&part)[4], char c)
{
    __m128i wanted = _mm_set1_epi8(c);
    std::uint64_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        auto found = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(part[i], wanted)));
        bits |= std::uint64_t{found} << (16 * i);
    }
    return bits;
}

inline ChunkMasks map_chunk_sse2(const unsigned char* bytes, unsigned char lead, unsigned char trail)
{
    __m128i part[4];
    for (int i = 0; i < 4; ++i)
        part[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
    return masks_of([&part](unsigned char c) { return equal_bits(part, static_cast<char>(c)); }, lead, trail);
}

}  // namespace

std::size_t find_sound_run_sse2(const unsigned char* bytes, std::size_t start, std::size_t end,
                                unsigned char lead, unsigned char trail, std::int64_t* lines)
{
    return find_sound_run_with<map_chunk_sse2>(bytes, start, end, lead, trail, lines);
}
