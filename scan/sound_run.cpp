#include "scan/sound_run.h"

#include "scan/sound_run_impl.h"

// The vector builds live in files of their own, built for their instruction
// sets; each is used only where the processor has them.
#ifdef VENOSKAL_SOUND_RUN_AVX512
std::size_t find_sound_run_avx512(const unsigned char* bytes, std::size_t start, std::size_t end,
                                  unsigned char lead, unsigned char trail, std::int64_t* lines);
#endif
#ifdef VENOSKAL_SOUND_RUN_AVX2
std::size_t find_sound_run_avx2(const unsigned char* bytes, std::size_t start, std::size_t end,
                                unsigned char lead, unsigned char trail, std::int64_t* lines);
#endif
#ifdef VENOSKAL_SOUND_RUN_SSE2
std::size_t find_sound_run_sse2(const unsigned char* bytes, std::size_t start, std::size_t end,
                                unsigned char lead, unsigned char trail, std::int64_t* lines);
#endif

namespace {

#ifdef VENOSKAL_SOUND_RUN_AVX2
// What the files built for wider vectors need besides their vectors: the
// rules count and find bits with POPCNT and BMI, and find the headers with a
// carry-less multiply.
bool has_bit_instructions()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("pclmul");
}

bool has_avx2()
{
    return has_bit_instructions() && __builtin_cpu_supports("avx2");
}
#endif

#ifdef VENOSKAL_SOUND_RUN_AVX512
bool has_avx512bw()
{
    return has_bit_instructions() && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
}
#endif

}  // namespace

std::size_t find_sound_run_plain(const unsigned char* bytes, std::size_t start, std::size_t end,
                                 unsigned char lead, unsigned char trail, std::int64_t* lines)
{
    return find_sound_run_with<map_chunk_plain>(bytes, start, end, lead, trail, lines);
}

const SoundRunPath SOUND_RUN_PATHS[] = {
#ifdef VENOSKAL_SOUND_RUN_AVX512
    {"avx512bw", find_sound_run_avx512, has_avx512bw()},
#endif
#ifdef VENOSKAL_SOUND_RUN_AVX2
    {"avx2", find_sound_run_avx2, has_avx2()},
#endif
#ifdef VENOSKAL_SOUND_RUN_SSE2
    {"sse2", find_sound_run_sse2, true},
#endif
    // Keeps the table from being empty in a build without vector code.
    {"none", nullptr, false},
};
const int SOUND_RUN_PATH_COUNT = sizeof SOUND_RUN_PATHS / sizeof SOUND_RUN_PATHS[0] - 1;

namespace {

SoundRunFinder choose_finder()
{
    for (int i = 0; i < SOUND_RUN_PATH_COUNT; ++i)
        if (SOUND_RUN_PATHS[i].runs_here)
            return SOUND_RUN_PATHS[i].find;
    return nullptr;
}

}  // namespace

SoundRunFinder sound_run_finder = choose_finder();
