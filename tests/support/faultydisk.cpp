// A disk that refuses writes, for tests. Linked into a test binary ahead of the C library, it
// stands between the whole process (Qt included) and the C library's open (and mkostemp),
// write, pwrite, fdatasync, fsync and rename. A test arms it (faultydisk.h): the Nth such call on a file
// under a chosen folder fails with the chosen errno, as a full disk or a dropped network share would. Every
// other call goes through untouched.

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

namespace
{

struct Fault {
    // "open", "write", "fdatasync", "rename"; open covers openat and their 64-bit forms, write
    // covers pwrite, fdatasync covers fsync
    std::string operation;
    std::string folder; // only files under this folder count
    int nth = 0;        // 1 = the first matching call fails; 0 = disarmed
    int error = 0;
    int seen = 0;
    bool every = false; // every matching call from the nth on fails, not just the nth
    int failures = 0;
};

Fault g_fault;

template <typename F> F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// The file itself, or a file under the folder: Clienti.pro names neither Clienti.pro.ripristino
// nor a folder Clienti.pro2.
bool under(const std::string& path)
{
    const std::string& f = g_fault.folder;
    return !f.empty() && path.compare(0, f.size(), f) == 0 &&
           (path.size() == f.size() || path[f.size()] == '/');
}

std::string pathOf(int fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t n = readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, size_t(n)) : std::string();
}

// True when this call is the one to fail.
bool strikes(const char* operation, const std::string& path)
{
    if (g_fault.nth <= 0 || g_fault.operation != operation || !under(path))
        return false;
    ++g_fault.seen;
    if (g_fault.seen == g_fault.nth || (g_fault.every && g_fault.seen > g_fault.nth)) {
        ++g_fault.failures;
        return true;
    }
    return false;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void faultyDiskArm(const char* operation, const char* folder, int nth,
                                                          int error, int every)
{
    g_fault = Fault{};
    g_fault.operation = operation ? operation : "";
    g_fault.folder = folder ? folder : "";
    g_fault.nth = nth;
    g_fault.error = error;
    g_fault.every = every != 0;
}

__attribute__((visibility("default"))) int faultyDiskFailures()
{
    return g_fault.failures;
}

// Whether the process's `write` is ours: if the C library's were found first, arming would do
// nothing and every test of a failing disk would pass without a failure.
__attribute__((visibility("default"))) int faultyDiskInFront()
{
    using WriteFunction = ssize_t (*)(int, const void*, size_t);
    return reinterpret_cast<WriteFunction>(dlsym(RTLD_DEFAULT, "write")) == &write ? 1 : 0;
}

__attribute__((visibility("default"))) ssize_t write(int fd, const void* buf, size_t count)
{
    static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (g_fault.nth > 0 && strikes("write", pathOf(fd))) {
        errno = g_fault.error;
        return -1;
    }
    return real(fd, buf, count);
}

__attribute__((visibility("default"))) ssize_t pwrite(int fd, const void* buf, size_t count, off_t offset)
{
    static auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    if (g_fault.nth > 0 && strikes("write", pathOf(fd))) {
        errno = g_fault.error;
        return -1;
    }
    return real(fd, buf, count, offset);
}

__attribute__((visibility("default"))) ssize_t pwrite64(int fd, const void* buf, size_t count, off_t offset)
{
    static auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite64");
    if (g_fault.nth > 0 && strikes("write", pathOf(fd))) {
        errno = g_fault.error;
        return -1;
    }
    return real(fd, buf, count, offset);
}

__attribute__((visibility("default"))) int fdatasync(int fd)
{
    static auto real = next<int (*)(int)>("fdatasync");
    if (g_fault.nth > 0 && strikes("fdatasync", pathOf(fd))) {
        errno = g_fault.error;
        return -1;
    }
    return real(fd);
}

__attribute__((visibility("default"))) int fsync(int fd)
{
    static auto real = next<int (*)(int)>("fsync");
    if (g_fault.nth > 0 && strikes("fdatasync", pathOf(fd))) {
        errno = g_fault.error;
        return -1;
    }
    return real(fd);
}

__attribute__((visibility("default"))) int rename(const char* from, const char* to)
{
    static auto real = next<int (*)(const char*, const char*)>("rename");
    if (g_fault.nth > 0 && strikes("rename", to ? to : "")) {
        errno = g_fault.error;
        return -1;
    }
    return real(from, to);
}

// A file under `path` that cannot be opened for writing: refused permission (EACCES), a share
// gone read-only (EROFS). Only opens that would write count, so the nth is the nth file the
// program means to change, not a look at one. Relative paths count from the working folder.
namespace
{
std::string absolute(int dirfd, const char* path)
{
    if (!path)
        return {};
    if (path[0] == '/')
        return path;
    std::string base = dirfd == AT_FDCWD ? std::string() : pathOf(dirfd);
    if (base.empty()) {
        char cwd[PATH_MAX];
        base = getcwd(cwd, sizeof cwd) ? cwd : "";
    }
    return base + "/" + path;
}

bool writes(int flags)
{
    return (flags & O_ACCMODE) != O_RDONLY || (flags & (O_CREAT | O_TRUNC));
}

mode_t modeOf(int flags, va_list args)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? mode_t(va_arg(args, int)) : 0;
}

// Whether an open for writing of `path` is the one to refuse; if so, errno says why.
bool refusesOpen(int dirfd, const char* path, bool writing)
{
    if (g_fault.nth <= 0 || !writing || !strikes("open", absolute(dirfd, path)))
        return false;
    errno = g_fault.error;
    return true;
}
} // namespace

__attribute__((visibility("default"))) int open(const char* path, int flags, ...)
{
    static auto real = next<int (*)(const char*, int, ...)>("open");
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    if (refusesOpen(AT_FDCWD, path, writes(flags)))
        return -1;
    return real(path, flags, mode);
}

__attribute__((visibility("default"))) int open64(const char* path, int flags, ...)
{
    static auto real = next<int (*)(const char*, int, ...)>("open64");
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    if (refusesOpen(AT_FDCWD, path, writes(flags)))
        return -1;
    return real(path, flags, mode);
}

__attribute__((visibility("default"))) int openat(int dirfd, const char* path, int flags, ...)
{
    static auto real = next<int (*)(int, const char*, int, ...)>("openat");
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    if (refusesOpen(dirfd, path, writes(flags)))
        return -1;
    return real(dirfd, path, flags, mode);
}

__attribute__((visibility("default"))) int openat64(int dirfd, const char* path, int flags, ...)
{
    static auto real = next<int (*)(int, const char*, int, ...)>("openat64");
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    if (refusesOpen(dirfd, path, writes(flags)))
        return -1;
    return real(dirfd, path, flags, mode);
}

// The program's replacements open their temporary file with mkostemp, whose own open the C
// library makes inside itself: refuse it here.
__attribute__((visibility("default"))) int mkostemp(char* name, int flags)
{
    static auto real = next<int (*)(char*, int)>("mkostemp");
    if (refusesOpen(AT_FDCWD, name, true))
        return -1;
    return real(name, flags);
}

__attribute__((visibility("default"))) int mkstemp(char* name)
{
    static auto real = next<int (*)(char*)>("mkstemp");
    if (refusesOpen(AT_FDCWD, name, true))
        return -1;
    return real(name);
}
} // extern "C"
