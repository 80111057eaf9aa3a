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
// Nothing to hold on Windows: the C runtime keeps descriptors 0 to 2 for the
// standard streams even when the process has no handle for one of them, so
// a file opened later is never given one of them; writes to such a stream
// fail, and the run ends with 255 as it does on POSIX.
static void hold_closed_standard_descriptors() {}
#endif

// Status when the closing confirmation could not be written: what -1 becomes
// on POSIX. Windows would keep -1 whole, as 4294967295.
constexpr int STATUS_CONFIRMATION_LOST = 255;

int main(int argc, char* argv[])
{
    hold_closed_standard_descriptors();
    int status = run(argc, argv);
    return status < 0 ? STATUS_CONFIRMATION_LOST : status;
}
