#include "app/run.h"
#include "common/platform.h"

int main(int argc, char* argv[])
{
    hold_closed_standard_descriptors();
    ignore_file_size_signal();
    return run(argc, argv);
}
