/* Checks the clock-shift preload library from inside a process it is loaded
 * into (LD_PRELOAD, with CLOCKSHIFT_FILE naming the offset file): each way of
 * reading the wall clock moves by the offset written to the file, at once and
 * again when it changes, and the monotonic clock does not move. Built with
 * 64-bit time, so the 32-bit build calls the entry points 32-bit Wine uses. */
#define _GNU_SOURCE
#define _FILE_OFFSET_BITS 64
#define _TIME_BITS 64
#include <stdio.h>
#include <stdlib.h>
#include <sys/time.h>
#include <time.h>

static const char* file;

static void set_shift(long long seconds) {
    char part[4096];
    if (snprintf(part, sizeof part, "%s.part", file) >= (int)sizeof part) exit(2);
    FILE* f = fopen(part, "w");
    if (!f || fprintf(f, "%lld\n", seconds) < 0 || fclose(f) != 0 || rename(part, file) != 0) {
        perror(file);
        exit(2);
    }
}

static double clock_seconds(clockid_t id) {
    struct timespec ts;
    if (clock_gettime(id, &ts) != 0) {
        perror("clock_gettime");
        exit(2);
    }
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

static double timeofday_seconds(void) {
    struct timeval tv;
    if (gettimeofday(&tv, NULL) != 0) {
        perror("gettimeofday");
        exit(2);
    }
    return (double)tv.tv_sec + (double)tv.tv_usec / 1e6;
}

static double time_seconds(void) {
    time_t t;
    time_t now = time(&t);
    if (now == (time_t)-1 || t != now) {
        perror("time");
        exit(2);
    }
    return (double)now;
}

/* Every wall clock, read with the shift `from` and again with `to`, moved by
 * the difference, give or take the second that whole-second and coarse clocks
 * may lag, plus the time that really passed. */
static int check(long long from, long long to) {
    static const char* names[] = {"CLOCK_REALTIME", "CLOCK_REALTIME_COARSE", "gettimeofday", "time"};
    double before[4], after[4];
    set_shift(from);
    double start = clock_seconds(CLOCK_MONOTONIC);
    before[0] = clock_seconds(CLOCK_REALTIME), before[1] = clock_seconds(CLOCK_REALTIME_COARSE);
    before[2] = timeofday_seconds(), before[3] = time_seconds();
    set_shift(to);
    after[0] = clock_seconds(CLOCK_REALTIME), after[1] = clock_seconds(CLOCK_REALTIME_COARSE);
    after[2] = timeofday_seconds(), after[3] = time_seconds();
    double passed = clock_seconds(CLOCK_MONOTONIC) - start;
    if (passed < 0 || passed > 60) {
        printf("the monotonic clock moved by %.3f s while the shift went from %lld to %lld\n", passed, from, to);
        return 1;
    }
    int failures = 0;
    for (int i = 0; i < 4; i++) {
        double moved = after[i] - before[i] - (double)(to - from);
        if (moved < -1 || moved > passed + 1) {
            printf("%s moved by %.3f s, not %lld s, from shift %lld to %lld\n", names[i], moved + (double)(to - from),
                   to - from, from, to);
            failures++;
        }
    }
    return failures;
}

int main(void) {
    file = getenv("CLOCKSHIFT_FILE");
    if (!file) {
        fprintf(stderr, "CLOCKSHIFT_FILE names no offset file\n");
        return 2;
    }
    int failures = check(0, 100000) + check(100000, -3600) + check(-3600, 0);
    printf(failures ? "%d failures\n" : "the wall clocks moved with the file\n", failures);
    return failures != 0;
}
