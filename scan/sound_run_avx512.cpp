// find_sound_run with its byte tests made 64 bytes at a time, each straight
// into a mask. This file alone is built for AVX-512BW (and PCLMUL).
#include <immintrin.h>

#include "scan/sound_run.h"
#include "scan/sound_run_impl.h"

namespace {

inline std::uint64_t equal_bits(__m512i bytes, char c)
{
    return _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8(c));
}

inline ChunkMasks map_chunk_avx512(const unsigned char* bytes, unsigned char lead, unsigned char trail)
{
    __m512i all = _mm512_loadu_si512(bytes);
    ChunkMasks m;
    m.colon = equal_bits(all, ':');
    m.semicolon = equal_bits(all, ';');
    m.slash = equal_bits(all, '/');
    m.cr = equal_bits(all, '\r');
    m.lf = equal_bits(all, '\n');
    m.tab = equal_bits(all, '\t');
    m.zero = equal_bits(all, '\0');
    m.key_lead = equal_bits(all, static_cast<char>(lead));
    m.key_trail = equal_bits(all, static_cast<char>(trail));
    return m;
}

// Bit i set when an odd number of the bits at or below i are set: the low
// half of the carry-less product with all ones.
inline std::uint64_t prefix_parity_clmul(std::uint64_t x)
{
    __m128i product = _mm_clmulepi64_si128(_mm_set_epi64x(0, static_cast<long long>(x)), _mm_set1_epi8(-1), 0);
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(product));
}

}  // namespace

std::size_t find_sound_run_avx512(const unsigned char* bytes, std::size_t start, std::size_t end,
                                  unsigned char lead, unsigned char trail, std::int64_t* lines)
{
    return find_sound_run_with<map_chunk_avx512, prefix_parity_clmul>(bytes, start, end, lead, trail, lines);
}
