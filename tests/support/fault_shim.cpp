// Loaded into the tool with LD_PRELOAD by the fault tests. VENOSKAL_FAULT
// names the one fault it makes; streams other than the standard ones are the
// dictionary and the new index.
//   read-halfway  the second fread of the dictionary fails: its descriptor is
//                 swapped for one of a directory just before it
//   read-partial  the first fread of the dictionary returns its first bytes
//                 and then the error (a read that fails after some bytes)
//   write, close, rename   that call on the new index fails with EIO
//   kill-write, kill-rename  the process is killed (SIGKILL) in that call
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Bytes that the first read gives before failing, in read-partial.
constexpr std::size_t PARTIAL_READ_BYTES = 100;

bool fault_is(const char* name)
{
    const char* fault = std::getenv("VENOSKAL_FAULT");
    return fault != nullptr && std::strcmp(fault, name) == 0;
}

bool standard_stream(std::FILE* stream)
{
    return stream == stdin || stream == stdout || stream == stderr;
}

template <typename F>
F real(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

void make_stream_fail(std::FILE* stream)
{
    int directory = open(".", O_RDONLY | O_DIRECTORY);
    dup2(directory, fileno(stream));
    close(directory);
}

}  // namespace

extern "C" std::size_t fread(void* buffer, std::size_t size, std::size_t count, std::FILE* stream)
{
    using Fread = std::size_t (*)(void*, std::size_t, std::size_t, std::FILE*);
    static auto real_fread = real<Fread>("fread");
    static int calls = 0;
    if (standard_stream(stream))
        return real_fread(buffer, size, count, stream);
    ++calls;
    if (fault_is("read-halfway") && calls == 2)
        make_stream_fail(stream);
    if (fault_is("read-partial") && calls == 1 && size == 1 && count > PARTIAL_READ_BYTES) {
        std::size_t got = real_fread(buffer, 1, PARTIAL_READ_BYTES, stream);
        make_stream_fail(stream);
        return got + real_fread(static_cast<char*>(buffer) + got, 1, count - got, stream);
    }
    return real_fread(buffer, size, count, stream);
}

extern "C" std::size_t fwrite(const void* buffer, std::size_t size, std::size_t count, std::FILE* stream)
{
    using Fwrite = std::size_t (*)(const void*, std::size_t, std::size_t, std::FILE*);
    static auto real_fwrite = real<Fwrite>("fwrite");
    if (!standard_stream(stream)) {
        if (fault_is("kill-write"))
            raise(SIGKILL);
        if (fault_is("write")) {
            errno = EIO;
            return 0;
        }
    }
    return real_fwrite(buffer, size, count, stream);
}

extern "C" int fclose(std::FILE* stream)
{
    using Fclose = int (*)(std::FILE*);
    static auto real_fclose = real<Fclose>("fclose");
    bool fails = fault_is("close") && !standard_stream(stream);
    int result = real_fclose(stream);
    if (fails) {
        errno = EIO;
        return EOF;
    }
    return result;
}

extern "C" int rename(const char* from, const char* to)
{
    using Rename = int (*)(const char*, const char*);
    static auto real_rename = real<Rename>("rename");
    if (fault_is("kill-rename"))
        raise(SIGKILL);
    if (fault_is("rename")) {
        errno = EIO;
        return -1;
    }
    return real_rename(from, to);
}
