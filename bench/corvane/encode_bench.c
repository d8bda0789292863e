/* Times clip conversions: the media library's X_SetPar_D2MPEG against `ffmpeg -target ntsc-dvd`
 * and against the floor (the same file only decoded, by ffmpeg with all its threads), each in a
 * child process of its own so that its peak memory and CPU time are its own (wait4's). On a
 * machine busy with other work the times tend to the CPU times, which the last columns show.
 * The three take turns, three runs each; medians are reported, so a busy machine weighs on all
 * alike and the ratios of one run are what counts.
 *   encode_bench MODULE WORKDIR NAME=FILE [NAME=FILE ...] */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "libs/corvane/CorvaneDLL.h"

#define RUNS 3

enum Side { OURS, FFMPEG, FLOOR, SIDES };

struct Measure {
    double seconds;
    double cpuSeconds; /* user and system, over all threads */
    double peakMb;
    int ok;
};

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

/* The conversion as the program asks for it: NTSC 16:9, the picture filling the frame. */
static int Ours(const char* module_path, const char* file, const char* output) {
    void* module = dlopen(module_path, RTLD_NOW);
    X_SetPar_D2MPEG_fn convert;
    if (!module) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    convert = (X_SetPar_D2MPEG_fn)dlsym(module, "X_SetPar_D2MPEG");
    if (!convert) return 1;
    return convert(NULL, 2, file, "1", "0", "48000", "16:9", "mpeg2", "dvd", "5000", "192", "720:480", "720:480",
                   "MyVideo", "MyVideo", "MyVideo", "30000/1001", "0", "0", output, "0", "0", 0, 1, "ac3", 0) == 0
               ? 0
               : 1;
}

static void Ffmpeg(const char* file, const char* output) {
    execlp("ffmpeg", "ffmpeg", "-nostdin", "-v", "error", "-y", "-i", file, "-target", "ntsc-dvd", "-aspect", "16:9",
           "-b:v", "5000k", output, (char*)NULL);
    _exit(127);
}

static void Floor(const char* file) {
    execlp("ffmpeg", "ffmpeg", "-nostdin", "-v", "error", "-threads", "0", "-i", file, "-f", "null", "-", (char*)NULL);
    _exit(127);
}

static struct Measure Child(enum Side side, const char* module, const char* file, const char* output) {
    struct Measure m = {0, 0, 0, 0};
    struct rusage usage;
    int status = 0;
    double start = Now();
    pid_t pid = fork();
    if (pid == 0) {
        if (side == OURS) _exit(Ours(module, file, output));
        if (side == FFMPEG) Ffmpeg(file, output);
        Floor(file);
    }
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return m;
    m.seconds = Now() - start;
    m.cpuSeconds = (double)usage.ru_utime.tv_sec + (double)usage.ru_utime.tv_usec / 1e6 + (double)usage.ru_stime.tv_sec +
                   (double)usage.ru_stime.tv_usec / 1e6;
    m.peakMb = (double)usage.ru_maxrss / 1024.0;
    m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return m;
}

static int Compare(const void* a, const void* b) {
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

static double Median(double* values) {
    qsort(values, RUNS, sizeof values[0], Compare);
    return values[RUNS / 2];
}

static void Load(const char* when) {
    double load[3] = {0, 0, 0};
    if (getloadavg(load, 3) > 0) printf("  machine load %s: %.1f (1 min) %.1f (5 min) on %ld cores\n", when, load[0], load[1],
                                        sysconf(_SC_NPROCESSORS_ONLN));
}

/* One source: the medians of each side, their ratios and peak memory. */
static int Bench(const char* module, const char* workdir, const char* name, const char* file) {
    char outputs[SIDES][4096];
    double seconds[SIDES][RUNS], cpu[SIDES][RUNS], peak[SIDES][RUNS], median[SIDES], cpuMedian[SIDES], peakMedian[SIDES];
    int run, side;
    snprintf(outputs[OURS], sizeof outputs[OURS], "%s/%s_ours.vob", workdir, name);
    snprintf(outputs[FFMPEG], sizeof outputs[FFMPEG], "%s/%s_ffmpeg.vob", workdir, name);
    outputs[FLOOR][0] = '\0';
    for (run = 0; run < RUNS; ++run) {
        for (side = 0; side < SIDES; ++side) {
            struct Measure m = Child((enum Side)side, module, file, outputs[side]);
            if (!m.ok) {
                fprintf(stderr, "%s: run %d of side %d failed\n", name, run, side);
                return 1;
            }
            seconds[side][run] = m.seconds;
            cpu[side][run] = m.cpuSeconds;
            peak[side][run] = m.peakMb;
        }
    }
    for (side = 0; side < SIDES; ++side) {
        median[side] = Median(seconds[side]);
        cpuMedian[side] = Median(cpu[side]);
        peakMedian[side] = Median(peak[side]);
    }
    printf("%-22s %7.2f %8.2f %7.2f %12.2f %11.2f %9.0f %9.0f %9.0f %8.1f %8.1f %8.1f\n", name, median[OURS],
           median[FFMPEG], median[FLOOR], median[OURS] / median[FFMPEG], median[OURS] / median[FLOOR], peakMedian[OURS],
           peakMedian[FFMPEG], peakMedian[FLOOR], cpuMedian[OURS], cpuMedian[FFMPEG], cpuMedian[FLOOR]);
    fflush(stdout);
    return 0;
}

int main(int argc, char** argv) {
    int i, failed = 0;
    if (argc < 4) {
        fprintf(stderr, "usage: encode_bench MODULE WORKDIR NAME=FILE [NAME=FILE ...]\n");
        return 2;
    }
    printf("clip conversion to NTSC 16:9 at 5000 kbit/s, medians of %d runs (seconds, peak MB)\n", RUNS);
    Load("before");
    printf("%-22s %7s %8s %7s %12s %11s %9s %9s %9s %8s %8s %8s\n", "source", "ours", "ffmpeg", "floor", "ours/ffmpeg",
           "ours/floor", "ours MB", "ffmpeg MB", "floor MB", "ours cpu", "ffm cpu", "flr cpu");
    for (i = 3; i < argc; ++i) {
        char name[256];
        const char* equals = strchr(argv[i], '=');
        if (!equals || equals - argv[i] >= (long)sizeof name) return 2;
        memcpy(name, argv[i], (size_t)(equals - argv[i]));
        name[equals - argv[i]] = '\0';
        failed |= Bench(argv[1], argv[2], name, equals + 1);
    }
    Load("after");
    printf("goals: ours/floor at most 1.15 on both 1080p clips, ours/ffmpeg at most 0.50, 4K peak under 300 MB\n");
    return failed;
}
