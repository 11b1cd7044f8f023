/* Preload library for the end-to-end tests: moves the wall clock of the
 * process it is loaded into (a program under Wine) by the whole number of
 * seconds in the file that CLOCKSHIFT_FILE names. The file is read at every
 * call, so a test can move the clock while the program runs; replace it whole
 * (write another file and rename it over this one), since a half-written
 * file stops the process. Monotonic clocks are left alone, as a change of
 * the system time leaves them.
 *
 * Wine's ntdll reads the wall clock with clock_gettime (CLOCK_REALTIME or
 * CLOCK_REALTIME_COARSE), gettimeofday and time; 32-bit Wine calls glibc's
 * 64-bit-time entry points of the same three, which the 32-bit build of this
 * file (built with 64-bit time, so its structures match them) defines. */
#define _GNU_SOURCE
#define _FILE_OFFSET_BITS 64
#define _TIME_BITS 64
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/select.h> /* struct timeval, without <sys/time.h>'s gettimeofday that takes tv as never null */
#include <time.h>
#include <unistd.h>

#if __TIMESIZE == 32
#define CLOCK_GETTIME __clock_gettime64
#define GETTIMEOFDAY __gettimeofday64
#define TIME __time64
#else
#define CLOCK_GETTIME clock_gettime
#define GETTIMEOFDAY gettimeofday
#define TIME time
#endif
#define NAME(f) NAME_(f)
#define NAME_(f) #f

static void fail(const char* what, const char* name) {
    fprintf(stderr, "clockshift: %s %s\n", what, name);
    abort();
}

/* The glibc function that this library stands in front of. */
static void* next(const char* name) {
    void* f = dlsym(RTLD_NEXT, name);
    if (!f) fail("no function after this library:", name);
    return f;
}

/* The seconds to add: the number in the file, or 0 without the variable. */
static time_t shift(void) {
    const char* name = getenv("CLOCKSHIFT_FILE");
    if (!name) return 0;
    int saved = errno;
    char text[32];
    int fd = open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail("cannot open", name);
    ssize_t n = read(fd, text, sizeof text - 1);
    if (close(fd) != 0 || n <= 0) fail("cannot read", name);
    text[n] = 0;
    char* end;
    errno = 0;
    long long seconds = strtoll(text, &end, 10);
    if (errno || end == text || (*end && *end != '\n')) fail("no whole number of seconds in", name);
    errno = saved;
    return seconds;
}

int CLOCK_GETTIME(clockid_t id, struct timespec* ts) {
    static int (*real)(clockid_t, struct timespec*);
    if (!real) real = next(NAME(CLOCK_GETTIME));
    int rc = real(id, ts);
    if (rc == 0 && (id == CLOCK_REALTIME || id == CLOCK_REALTIME_COARSE)) ts->tv_sec += shift();
    return rc;
}

int GETTIMEOFDAY(struct timeval* tv, void* tz) {
    static int (*real)(struct timeval*, void*);
    if (!real) real = next(NAME(GETTIMEOFDAY));
    int rc = real(tv, tz);
    if (rc == 0 && tv) tv->tv_sec += shift(); /* glibc accepts a null tv */
    return rc;
}

time_t TIME(time_t* t) {
    static time_t (*real)(time_t*);
    if (!real) real = next(NAME(TIME));
    time_t now = real(NULL);
    if (now != (time_t)-1) now += shift();
    if (t) *t = now;
    return now;
}
