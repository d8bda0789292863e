/* Times the media library in-process against the FFmpeg programs on one file.
 *   corvane_bench MODULE FILE SECOND WORKDIR
 * Each measure runs three times; the median is reported. */
#define _POSIX_C_SOURCE 200809L
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "libs/corvane/CorvaneDLL.h"

#define RUNS 3

static X_GetFileinfo_GetPic_fn info;
static X_Get_Frame_fn frame;
static X_GetFrame_Init_fn init;
static X_Set_NextFrame_Time_fn next_time;
static X_GetFrame_UnInit_fn uninit;
static const char* file;
static int grab_second;
static char command[4096];

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static int Compare(const void* a, const void* b) {
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

static double Median(double (*measure)(void)) {
    double times[RUNS];
    int i;
    for (i = 0; i < RUNS; ++i) times[i] = measure();
    qsort(times, RUNS, sizeof times[0], Compare);
    return times[RUNS / 2];
}

/* Media information as the clip editor asks for it: the record, then the first picture. */
static double OursInfo(void) {
    int32_t words[10];
    uint8_t* pixels = NULL;
    int32_t second = 0;
    double start = Now();
    if (info(file, 10, words) != 0 || frame(words[3], words[4], "2.bmp", &pixels, &second) != 0) {
        fprintf(stderr, "information failed\n");
        exit(1);
    }
    return Now() - start;
}

/* A whole grabber run: open, one frame at the second, fetched at full size, close. */
static double OursGrab(void) {
    uint8_t* pixels = NULL;
    int32_t second = 0;
    char start_text[] = "0";
    double start = Now();
    init(NULL, 2, file, "", start_text);
    next_time(grab_second);
    if (frame(1920, 1080, NULL, &pixels, &second) != 0 || second != grab_second) {
        fprintf(stderr, "grab failed\n");
        exit(1);
    }
    uninit();
    return Now() - start;
}

static double Program(void) {
    double start = Now();
    if (system(command) != 0) {
        fprintf(stderr, "failed: %s\n", command);
        exit(1);
    }
    return Now() - start;
}

static void Report(const char* what, double ours, double theirs, const char* program) {
    printf("%-18s ours %8.1f ms   %-28s %8.1f ms   ratio %.1fx\n", what, ours * 1000, program, theirs * 1000,
           theirs / ours);
}

int main(int argc, char** argv) {
    void* module;
    double ours, theirs;
    if (argc < 5) {
        fprintf(stderr, "usage: corvane_bench MODULE FILE SECOND WORKDIR\n");
        return 2;
    }
    file = argv[2];
    grab_second = atoi(argv[3]);
    module = dlopen(argv[1], RTLD_NOW);
    if (!module) {
        fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    info = (X_GetFileinfo_GetPic_fn)dlsym(module, "X_GetFileinfo_GetPic");
    frame = (X_Get_Frame_fn)dlsym(module, "X_Get_Frame");
    init = (X_GetFrame_Init_fn)dlsym(module, "X_GetFrame_Init");
    next_time = (X_Set_NextFrame_Time_fn)dlsym(module, "X_Set_NextFrame_Time");
    uninit = (X_GetFrame_UnInit_fn)dlsym(module, "X_GetFrame_UnInit");
    if (!info || !frame || !init || !next_time || !uninit) return 1;

    snprintf(command, sizeof command, "ffprobe -v error -show_format -show_streams '%s' > /dev/null", file);
    Program(); /* the file into the page cache for both sides */
    ours = Median(OursInfo);
    theirs = Median(Program);
    Report("media information", ours, theirs, "ffprobe");

    snprintf(command, sizeof command, "ffmpeg -nostdin -v error -y -ss %d -i '%s' -frames:v 1 '%s/grab.bmp'",
             grab_second, file, argv[4]);
    ours = Median(OursGrab);
    theirs = Median(Program);
    Report("frame grab", ours, theirs, "ffmpeg -ss -frames:v 1");
    dlclose(module);
    return 0;
}
