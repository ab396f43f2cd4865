// Preloaded (LD_PRELOAD) into nimbara-calc by the end-to-end tests: once
// NIMBARA_READ_FAULT_AFTER bytes have been read from standard input, every
// further read() of it fails with EIO, as a failing disk or a dropped network
// file system would fail in the middle of a file. The read that reaches the
// mark returns the bytes before it, so exactly that many bytes get through.
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {

using ReadFunction = ssize_t (*)(int, void*, size_t);

long long g_readSoFar = 0;

}  // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count)
{
    static const auto real = reinterpret_cast<ReadFunction>(dlsym(RTLD_NEXT, "read"));
    static const char* const setting = std::getenv("NIMBARA_READ_FAULT_AFTER");
    static const long long limit = setting ? std::atoll(setting) : -1;
    if (fd != 0 || limit < 0)
        return real(fd, buffer, count);
    if (g_readSoFar >= limit) {
        errno = EIO;
        return -1;
    }
    if (static_cast<long long>(count) > limit - g_readSoFar)
        count = static_cast<size_t>(limit - g_readSoFar);
    const ssize_t got = real(fd, buffer, count);
    if (got > 0)
        g_readSoFar += got;
    return got;
}
