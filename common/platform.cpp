#include "common/platform.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

void ignore_file_size_signal()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

#if !defined(_WIN32)

void hold_closed_standard_descriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1) {
            int held = open("/dev/null", O_RDONLY);
            if (held >= 0 && held != fd)
                close(held);
        }
    }
}

std::FILE* create_new_file(char* name)
{
    int fd = mkstemp(name);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        close(fd);
        unlink(name);
    }
    return file;
}

bool match_permissions(std::FILE* file, const char* path)
{
    // mkstemp makes the file readable by its owner alone.
    struct stat old;
    mode_t mode;
    if (lstat(path, &old) == 0 && S_ISREG(old.st_mode)) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    return fchmod(fileno(file), mode) == 0;
}

ReplaceResult replace_file(const char* from, const char* to)
{
    if (std::rename(from, to) == 0)
        return REPLACED;
    return errno == EISDIR ? TARGET_IS_DIRECTORY : REPLACE_FAILED;
}

#endif
