#include "common/platform.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
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

#else  // Windows

void hold_closed_standard_descriptors()
{
    // Nothing to hold: the C runtime keeps descriptors 0 to 2 for the
    // standard streams even when the process has no handle for one of them,
    // so no file opened later is given one of them.
}

namespace {

// Letters of a new name: Windows names ignore case, so one case only.
constexpr char NAME_LETTERS[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::uint64_t NAME_LETTER_COUNT = sizeof NAME_LETTERS - 1;
// Names tried before giving up: of the 36^6 names, that many taken in a
// row means the folder is full of them.
constexpr int NEW_NAME_TRIES = 100;

// The next of a sequence of well-mixed 64-bit values (splitmix64).
std::uint64_t next_mixed(std::uint64_t& state)
{
    state += 0x9E3779B97F4A7C15u;
    std::uint64_t bits = state;
    bits = (bits ^ (bits >> 30)) * 0xBF58476D1CE4E5B9u;
    bits = (bits ^ (bits >> 27)) * 0x94D049BB133111EBu;
    return bits ^ (bits >> 31);
}

}  // namespace

std::FILE* create_new_file(char* name)
{
    std::size_t length = std::strlen(name);
    if (length < 6)
        return nullptr;
    char* letters = name + length - 6;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    std::uint64_t state = static_cast<std::uint64_t>(now.QuadPart) ^
                          (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32);
    for (int attempt = 0; attempt < NEW_NAME_TRIES; ++attempt) {
        std::uint64_t bits = next_mixed(state);
        for (int i = 0; i < 6; ++i) {
            letters[i] = NAME_LETTERS[bits % NAME_LETTER_COUNT];
            bits /= NAME_LETTER_COUNT;
        }
        // Created here or not at all: an existing file of that name is
        // never opened.
        int fd = _open(name, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            std::FILE* file = _fdopen(fd, "wb");
            if (file == nullptr) {
                _close(fd);
                _unlink(name);
            }
            return file;
        }
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

bool match_permissions(std::FILE*, const char*)
{
    // Windows files have no permission bits: the new index takes the access
    // that the folder gives every new file in it.
    return true;
}

ReplaceResult replace_file(const char* from, const char* to)
{
    // rename does not replace an existing file on Windows; this move does,
    // in one step. (Both names are the tool's own, in ASCII.)
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING))
        return REPLACED;
    DWORD attributes = GetFileAttributesA(to);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return TARGET_IS_DIRECTORY;
    return REPLACE_FAILED;
}

#endif
