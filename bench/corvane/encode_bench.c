/* Times one clip conversion: the media library's X_SetPar_D2MPEG against `ffmpeg -target
 * ntsc-dvd` on the same file, each in a child process of its own so that its peak memory is
 * its own (wait4's maximum resident size). The two take turns, three runs each; medians are
 * reported, so a busy machine weighs on both alike.
 *   encode_bench MODULE FILE SECONDS WORKDIR */
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

struct Measure {
    double seconds;
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

static void Theirs(const char* file, const char* output) {
    execlp("ffmpeg", "ffmpeg", "-nostdin", "-v", "error", "-y", "-i", file, "-target", "ntsc-dvd", "-aspect", "16:9",
           "-b:v", "5000k", output, (char*)NULL);
    _exit(127);
}

static struct Measure Child(int ours, const char* module, const char* file, const char* output) {
    struct Measure m = {0, 0, 0};
    struct rusage usage;
    int status = 0;
    double start = Now();
    pid_t pid = fork();
    if (pid == 0) {
        if (ours) _exit(Ours(module, file, output));
        Theirs(file, output);
    }
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return m;
    m.seconds = Now() - start;
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

int main(int argc, char** argv) {
    char ours_out[4096], theirs_out[4096];
    struct Measure ours, theirs;
    double ours_s[RUNS], theirs_s[RUNS], ours_mb[RUNS], theirs_mb[RUNS];
    double length;
    int i;
    if (argc < 5) {
        fprintf(stderr, "usage: encode_bench MODULE FILE SECONDS WORKDIR\n");
        return 2;
    }
    length = atof(argv[3]);
    snprintf(ours_out, sizeof ours_out, "%s/ours.vob", argv[4]);
    snprintf(theirs_out, sizeof theirs_out, "%s/ffmpeg.vob", argv[4]);
    for (i = 0; i < RUNS; ++i) {
        theirs = Child(0, argv[1], argv[2], theirs_out);
        ours = Child(1, argv[1], argv[2], ours_out);
        if (!ours.ok || !theirs.ok) {
            fprintf(stderr, "a conversion failed (ours %d, ffmpeg %d)\n", ours.ok, theirs.ok);
            return 1;
        }
        ours_s[i] = ours.seconds;
        ours_mb[i] = ours.peakMb;
        theirs_s[i] = theirs.seconds;
        theirs_mb[i] = theirs.peakMb;
    }
    ours.seconds = Median(ours_s);
    ours.peakMb = Median(ours_mb);
    theirs.seconds = Median(theirs_s);
    theirs.peakMb = Median(theirs_mb);
    printf("clip conversion, %.0f s of source, medians of %d runs\n", length, RUNS);
    printf("  ours                  %7.2f s  %5.1fx real time  peak %6.1f MB\n", ours.seconds, length / ours.seconds,
           ours.peakMb);
    printf("  ffmpeg -target ntsc-dvd %5.2f s  %5.1fx real time  peak %6.1f MB\n", theirs.seconds,
           length / theirs.seconds, theirs.peakMb);
    printf("  time ratio ours/ffmpeg %.2f (at most 1 wanted); peak memory ratio ours/ffmpeg %.2f (ours under 300 MB "
           "wanted)\n",
           ours.seconds / theirs.seconds, ours.peakMb / theirs.peakMb);
    return 0;
}
