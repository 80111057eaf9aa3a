#include "app/run.h"
#include "common/platform.h"

// Status when the closing confirmation could not be written: what -1 becomes
// on POSIX. Windows would keep -1 whole, as 4294967295.
constexpr int STATUS_CONFIRMATION_LOST = 255;

int main(int argc, char* argv[])
{
    hold_closed_standard_descriptors();
    ignore_file_size_signal();
    int status = run(argc, argv);
    return status < 0 ? STATUS_CONFIRMATION_LOST : status;
}
