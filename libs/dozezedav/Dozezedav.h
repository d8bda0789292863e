/* The authoring library (dozezedav.dll): sub-pictures multiplexed into a VOB, and a DVD-Video
 * folder authored from a project, by Debian's spumux and dvdauthor programs run as children.
 *
 * Call sequences:
 *   mux:     int* percent = getSubtitleMuxPercent();
 *            spumux_main(xml, in, out);            on a worker thread; meanwhile another thread
 *                                                  reads *percent (0..100, never falling)
 *   author:  int* mb = getVOBsMB();
 *            author_main(xml);                     on a worker thread; meanwhile *mb is the
 *                                                  megabytes of title VOB data processed so far
 *
 * The counters are ints owned by the module, valid while it is loaded; the module writes them
 * atomically, and a reader on another thread reads them through std::atomic_ref (or a plain
 * aligned read). Each counter is reset to 0 when its call starts.
 *
 * The programs are found through PATH and run without a shell, with their arguments as vectors
 * and no descriptor of the calling process, so paths pass through unchanged. A call succeeds
 * (returns DOZEZEDAV_OK) only when the program ran to a good end: a non-zero exit, death by a
 * signal, an "ERR:" line, no output, no sub-picture added from a non-empty source, or a video
 * format declared against the video's own (dvdauthor's "WARN: attempt to update tv format")
 * is a failure, whatever the program's exit code says. A failed call leaves no output: results
 * are made under temporary names beside their place and renamed into it only on success.
 *
 * A program that makes no progress (takes no input, says nothing) for a time limit (3 minutes,
 * plus a tenth of a second per megabyte of its input) is ended, SIGTERM then SIGKILL after a
 * grace time, and its call fails with DOZEZEDAV_STALLED.
 *
 * After a failed call, dozezedav_last_failure gives a line on why: what the program reported
 * (its first "ERR:" line, trimmed) or, without one, the result's text.
 *
 * One mux and one authoring run at a time: a second call of the same entry point while one
 * runs fails at once with DOZEZEDAV_BUSY. Texts are zero-terminated UTF-8. */
#ifndef DOZEZEDAV_H
#define DOZEZEDAV_H

#ifdef __cplusplus
extern "C" {
#endif

/* Results of spumux_main and author_main; dozezedav_error_text gives a line for a log. */
enum {
    DOZEZEDAV_OK = 0,
    DOZEZEDAV_BAD_ARGUMENT = 1,     /* a null or empty text */
    DOZEZEDAV_BAD_PROJECT = 2,      /* the XML can't be read, or isn't a project of its kind */
    DOZEZEDAV_NOT_MPEG = 3,         /* the input holds no MPEG video sequence header */
    DOZEZEDAV_NO_PROGRAM = 4,       /* the program could not be started (not in PATH) */
    DOZEZEDAV_PROGRAM_FAILED = 5,   /* it exited with a non-zero code */
    DOZEZEDAV_PROGRAM_KILLED = 6,   /* it died by a signal */
    DOZEZEDAV_PROGRAM_ERROR = 7,    /* it printed an "ERR:" line */
    DOZEZEDAV_NO_OUTPUT = 8,        /* it wrote nothing (or, for a mux, didn't take all input) */
    DOZEZEDAV_NOTHING_ADDED = 9,    /* "0 subtitles added" from a non-empty source */
    DOZEZEDAV_WRONG_FORMAT = 10,    /* the video format declared isn't the video's */
    DOZEZEDAV_DEST_TAKEN = 11,      /* the authoring destination exists and is not empty */
    DOZEZEDAV_FILE_ERROR = 12,      /* a temporary file or the final rename failed */
    DOZEZEDAV_BUSY = 13,            /* a call of the same kind is running */
    DOZEZEDAV_STALLED = 14          /* it made no progress within its time limit and was ended */
};

/* The entry points dozezedav_last_failure reports on. */
enum { DOZEZEDAV_SPUMUX = 0, DOZEZEDAV_AUTHOR = 1 };

/* Muxes the sub-pictures that the spumux XML describes into the VOB in, writing out. The XML
 * is read, not changed: the program gets a copy with format="PAL" or "NTSC" on <subpictures>
 * (from in's MPEG sequence header) and every textsub font as an absolute font file. in may be
 * out. Any thread; blocks until the program ends. */
typedef int (*spumux_main_fn)(const char* xml, const char* in, const char* out);
int spumux_main(const char* xml, const char* in, const char* out);

/* The running mux's progress: input bytes handed to spumux x 100 / the input's size. The int
 * is the module's; any thread may read it. */
typedef int* (*getSubtitleMuxPercent_fn)(void);
int* getSubtitleMuxPercent(void);

/* Authors the DVD-Video folder named by the dest attribute of a project whose root element is
 * <dozezedav> (or <dvdauthor>). The folder must not exist, or be empty; it is made beside its
 * place and renamed into it when the program succeeded and VIDEO_TS/VIDEO_TS.IFO is there.
 * Any thread; blocks until the program ends. */
typedef int (*author_main_fn)(const char* xml);
int author_main(const char* xml);

/* The running authoring's progress in whole megabytes of the title VOBs processed; menus and
 * the final fixing pass never lower it. The int is the module's; any thread may read it. */
typedef int* (*getVOBsMB_fn)(void);
int* getVOBsMB(void);

/* A short English line for a result code; static text, any thread. */
typedef const char* (*dozezedav_error_text_fn)(int code);
const char* dozezedav_error_text(int code);

/* Why the latest failed call of an entry point (DOZEZEDAV_SPUMUX or DOZEZEDAV_AUTHOR) failed,
 * copied into text (size bytes, always zero-terminated when size > 0); "" after a success or
 * before any call. Returns that call's result. Any thread. */
typedef int (*dozezedav_last_failure_fn)(int entry, char* text, int size);
int dozezedav_last_failure(int entry, char* text, int size);

/* The time limits of the programs' runs: no progress for stall_ms (plus the input's share) ends
 * a program, and grace_ms after SIGTERM it is killed. 0 restores a default (3 minutes, 10 s).
 * For tests and for callers that know their media; any thread, taken by the next call. */
typedef void (*dozezedav_set_time_limits_fn)(int stall_ms, int grace_ms);
void dozezedav_set_time_limits(int stall_ms, int grace_ms);

#ifdef __cplusplus
}
#endif

#endif
