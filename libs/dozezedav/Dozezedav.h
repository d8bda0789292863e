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
    DOZEZEDAV_BUSY = 13             /* a call of the same kind is running */
};

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

#ifdef __cplusplus
}
#endif

#endif
