// Preloaded (LD_PRELOAD) into a program to make it meet a file system without unnamed
// temporary files, as network and FUSE file systems are: every open with O_TMPFILE fails
// with EOPNOTSUPP, as the kernel's own call does there. Every other open goes on as asked.
#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

namespace {

using OpenAt = int (*)(int, const char*, int, ...);
using Open = int (*)(const char*, int, ...);

bool unnamed(int flags) {
    return (flags & O_TMPFILE) == O_TMPFILE;
}

mode_t modeOf(int flags, va_list arguments) {
    return (flags & O_CREAT) != 0 || unnamed(flags) ? static_cast<mode_t>(va_arg(arguments, int))
                                                    : 0;
}

int refused() {
    errno = EOPNOTSUPP;
    return -1;
}

}  // namespace

extern "C" {

int openat(int folder, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    static const auto next = reinterpret_cast<OpenAt>(::dlsym(RTLD_NEXT, "openat"));
    return unnamed(flags) ? refused() : next(folder, path, flags, mode);
}

int openat64(int folder, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    static const auto next = reinterpret_cast<OpenAt>(::dlsym(RTLD_NEXT, "openat64"));
    return unnamed(flags) ? refused() : next(folder, path, flags, mode);
}

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    static const auto next = reinterpret_cast<Open>(::dlsym(RTLD_NEXT, "open"));
    return unnamed(flags) ? refused() : next(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    static const auto next = reinterpret_cast<Open>(::dlsym(RTLD_NEXT, "open64"));
    return unnamed(flags) ? refused() : next(path, flags, mode);
}

}  // extern "C"
