/* A stand-in for a file server, preloaded into a process (LD_PRELOAD): every open of a
 * path below SLOW_OPEN_DIR first waits SLOW_OPEN_US microseconds (1000 by default), as an
 * open on a share waits for the server's answer. Other opens, and everything after the
 * open (reads, lengths, closes), keep their own speed. Relative paths are taken from the
 * current directory. Built by bench/slow_share.sh; never part of the program. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static const char* SlowDir(void) {
    static const char* dir;
    static int read;
    if (!read) {
        dir = getenv("SLOW_OPEN_DIR");
        read = 1;
    }
    return dir && *dir ? dir : NULL;
}

static void WaitIfBelow(int dirfd, const char* path) {
    const char* dir = SlowDir();
    if (dir == NULL || path == NULL) {
        return;
    }
    char full[4096];
    if (path[0] != '/' && dirfd == AT_FDCWD) {
        if (getcwd(full, sizeof full) == NULL) {
            return;
        }
        strncat(full, "/", sizeof full - strlen(full) - 1);
        strncat(full, path, sizeof full - strlen(full) - 1);
        path = full;
    }
    if (strncmp(path, dir, strlen(dir)) != 0) {
        return;
    }
    const char* us = getenv("SLOW_OPEN_US");
    const long micros = us && *us ? atol(us) : 1000;
    struct timespec wait = {micros / 1000000, (micros % 1000000) * 1000};
    while (nanosleep(&wait, &wait) != 0) {
    }
}

static mode_t ModeOf(int flags, va_list args) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
}

#define FORWARD_OPEN(name)                                                                         \
    int name(const char* path, int flags, ...) {                                                   \
        static int (*real)(const char*, int, ...);                                                 \
        if (!real) {                                                                               \
            real = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, #name);                        \
        }                                                                                          \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        const mode_t mode = ModeOf(flags, args);                                                   \
        va_end(args);                                                                              \
        WaitIfBelow(AT_FDCWD, path);                                                               \
        return real(path, flags, mode);                                                            \
    }

#define FORWARD_OPENAT(name)                                                                       \
    int name(int dirfd, const char* path, int flags, ...) {                                        \
        static int (*real)(int, const char*, int, ...);                                            \
        if (!real) {                                                                               \
            real = (int (*)(int, const char*, int, ...))dlsym(RTLD_NEXT, #name);                   \
        }                                                                                          \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        const mode_t mode = ModeOf(flags, args);                                                   \
        va_end(args);                                                                              \
        WaitIfBelow(dirfd, path);                                                                  \
        return real(dirfd, path, flags, mode);                                                     \
    }

FORWARD_OPEN(open)
FORWARD_OPEN(open64)
FORWARD_OPENAT(openat)
FORWARD_OPENAT(openat64)
