#include "scan/sound_run.h"

#include "scan/sound_run_impl.h"

#ifdef VENOSKAL_AVX2_SOUND_RUN
// Built with AVX2, POPCNT and BMI in a file of its own; used only where the
// processor has them.
std::size_t find_sound_run_avx2(const unsigned char* bytes, std::size_t start, std::size_t end,
                                unsigned char lead, unsigned char trail, std::int64_t* lines);
static const bool cpu_has_avx2 =
    __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi");
#endif

std::size_t find_sound_run_plain(const unsigned char* bytes, std::size_t start, std::size_t end,
                                 unsigned char lead, unsigned char trail, std::int64_t* lines)
{
    return find_sound_run_with<map_chunk_plain>(bytes, start, end, lead, trail, lines);
}

std::size_t find_sound_run(const unsigned char* bytes, std::size_t start, std::size_t end, unsigned char lead,
                           unsigned char trail, std::int64_t* lines)
{
#ifdef VENOSKAL_AVX2_SOUND_RUN
    if (cpu_has_avx2)
        return find_sound_run_avx2(bytes, start, end, lead, trail, lines);
#endif
    return find_sound_run_plain(bytes, start, end, lead, trail, lines);
}
