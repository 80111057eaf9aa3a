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
    return masks_of([all](unsigned char c) { return equal_bits(all, static_cast<char>(c)); }, lead, trail);
}

}  // namespace

std::size_t find_sound_run_avx512(const unsigned char* bytes, std::size_t start, std::size_t end,
                                  unsigned char lead, unsigned char trail, std::int64_t* lines)
{
    return find_sound_run_with<map_chunk_avx512, prefix_parity_clmul>(bytes, start, end, lead, trail, lines);
}
