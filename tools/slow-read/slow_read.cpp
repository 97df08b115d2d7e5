// Makes the reads of chosen files slow, as a slow or hung network mount
// would, for a process started with LD_PRELOAD naming this library:
//   LD_PRELOAD=build/libcorvane-slow-read.so build/corvane book.slow-3000.txt
// shows how the window behaves while its book is read. A file is slow when
// its path holds ".slow-" followed by the delay of each read in
// milliseconds: every read of "book.slow-3000.txt" waits 3 s first.
//
// Kept minimal: every call here may run before the library is set up and on
// any thread, so it reads nothing itself (readlink and nanosleep are plain
// system calls) and falls back to the system call until the real function
// is known.
#include <dlfcn.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

using ReadFn = ssize_t (*)(int, void *, size_t);
using PreadFn = ssize_t (*)(int, void *, size_t, off_t);

std::atomic<ReadFn> realRead{nullptr};
std::atomic<PreadFn> realPread{nullptr};

__attribute__((constructor)) void resolve()
{
    realRead = reinterpret_cast<ReadFn>(dlsym(RTLD_NEXT, "read"));
    realPread = reinterpret_cast<PreadFn>(dlsym(RTLD_NEXT, "pread"));
}

// The delay of a read of fd, 0 for a file that is not slow.
long delayMs(int fd)
{
    static constexpr char marker[] = ".slow-";
    char link[40];
    char path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const int saved = errno;
    const ssize_t n = readlink(link, path, sizeof path - 1);
    errno = saved;
    if (n <= 0)
        return 0;
    path[n] = '\0';
    const char *at = strstr(path, marker);
    return at ? strtol(at + sizeof marker - 1, nullptr, 10) : 0;
}

void waitFor(long ms)
{
    timespec left{ms / 1000, (ms % 1000) * 1000000};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {}
}

} // namespace

extern "C" {

ssize_t read(int fd, void *buf, size_t count)
{
    if (const long ms = delayMs(fd); ms > 0)
        waitFor(ms);
    const ReadFn real = realRead.load();
    return real ? real(fd, buf, count) : syscall(SYS_read, fd, buf, count);
}

ssize_t pread(int fd, void *buf, size_t count, off_t offset)
{
    if (const long ms = delayMs(fd); ms > 0)
        waitFor(ms);
    const PreadFn real = realPread.load();
    return real ? real(fd, buf, count, offset) : syscall(SYS_pread64, fd, buf, count, offset);
}

ssize_t pread64(int fd, void *buf, size_t count, off_t offset)
{
    return pread(fd, buf, count, offset);
}

} // extern "C"
