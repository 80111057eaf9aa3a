// Loaded into the tool with LD_PRELOAD by the tests: the second fread of a
// stream other than standard input fails the way a read error does, because
// the stream's descriptor is swapped for one of a directory just before it.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

extern "C" std::size_t fread(void* buffer, std::size_t size, std::size_t count, std::FILE* stream)
{
    using Fread = std::size_t (*)(void*, std::size_t, std::size_t, std::FILE*);
    static auto real_fread = reinterpret_cast<Fread>(dlsym(RTLD_NEXT, "fread"));
    static int calls = 0;
    if (stream != stdin && ++calls == 2) {
        int directory = open(".", O_RDONLY | O_DIRECTORY);
        dup2(directory, fileno(stream));
        close(directory);
    }
    return real_fread(buffer, size, count, stream);
}
