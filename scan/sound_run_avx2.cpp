// find_sound_run with its byte tests made 32 bytes at a time. This file alone
// is built for AVX2 (and PCLMUL).
#include <immintrin.h>

#include "scan/sound_run.h"
#include "scan/sound_run_impl.h"

namespace {

inline std::uint64_t equal_bits(__m256i low, __m256i high, char c)
{
    __m256i wanted = _mm256_set1_epi8(c);
    auto bits_low = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, wanted)));
    auto bits_high = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, wanted)));
    return bits_low | std::uint64_t{bits_high} << 32;
}

inline ChunkMasks map_chunk_avx2(const unsigned char* bytes, unsigned char lead, unsigned char trail)
{
    __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
    __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 32));
    return masks_of([low, high](unsigned char c) { return equal_bits(low, high, static_cast<char>(c)); }, lead,
                    trail);
}

}  // namespace

std::size_t find_sound_run_avx2(const unsigned char* bytes, std::size_t start, std::size_t end,
                                unsigned char lead, unsigned char trail, std::int64_t* lines)
{
    return find_sound_run_with<map_chunk_avx2, prefix_parity_clmul>(bytes, start, end, lead, trail, lines);
}
