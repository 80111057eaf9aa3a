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
    ChunkMasks m;
    m.colon = equal_bits(low, high, ':');
    m.semicolon = equal_bits(low, high, ';');
    m.slash = equal_bits(low, high, '/');
    m.cr = equal_bits(low, high, '\r');
    m.lf = equal_bits(low, high, '\n');
    m.tab = equal_bits(low, high, '\t');
    m.zero = equal_bits(low, high, '\0');
    m.key_lead = equal_bits(low, high, static_cast<char>(lead));
    m.key_trail = equal_bits(low, high, static_cast<char>(trail));
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

std::size_t find_sound_run_avx2(const unsigned char* bytes, std::size_t start, std::size_t end,
                                unsigned char lead, unsigned char trail, std::int64_t* lines)
{
    return find_sound_run_with<map_chunk_avx2, prefix_parity_clmul>(bytes, start, end, lead, trail, lines);
}
