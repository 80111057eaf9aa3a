#include "app/run.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>

// A standard descriptor that was closed when the tool started would be given
// to the next file opened, and output meant for the terminal would land in
// kolvane.idx. Hold each closed one with /dev/null opened read-only: nothing
// else takes its place, and writes to it still fail as they would have.
static void hold_closed_standard_descriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1) {
            int held = open("/dev/null", O_RDONLY);
            if (held >= 0 && held != fd)
                close(held);
        }
    }
}
#else
static void hold_closed_standard_descriptors() {}
#endif

int main(int argc, char* argv[])
{
    hold_closed_standard_descriptors();
    return run(argc, argv);
}
