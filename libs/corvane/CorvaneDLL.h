/* The media library's information and frame entry points (C linkage, loadable on its own).
 *
 * Call sequences:
 *   information:  X_GetFileinfo_GetPic(path, 10, words); then X_Get_Frame(w, h, "2.bmp" or "", &px, &s)
 *                 gives the file's first picture.
 *   grabber run:  X_GetFrame_Init(window, 2, path, "", "start second");  wait for CORVANE_WM_MEDIA_INIT_DONE;
 *                 per picture X_Set_NextFrame_Time(second), wait for CORVANE_WM_MEDIA_FRAME_READY,
 *                 X_Get_Frame(w, h, NULL, &px, &s);  X_GetFrame_UnInit(), wait for CORVANE_WM_MEDIA_UNINIT_DONE.
 *   after a failure: X_GetLastErrorText(text, size) says why, for the log.
 *
 * Every entry point is called on one thread (the caller's user-interface thread). Messages are
 * posted to the window given to X_GetFrame_Init; with window 0 nothing is posted, and
 * X_Get_Frame with a null name waits until the grabber has answered every request made so far.
 * Every request is answered exactly once: INIT_DONE per Init, FRAME_READY per
 * Set_NextFrame_Time, UNINIT_DONE per UnInit, whatever the file. */
#ifndef CORVANE_DLL_H
#define CORVANE_DLL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The program knows these as WM_MEDIA_INIT_DONE, WM_MEDIA_FRAME_READY, WM_MEDIA_UNINIT_DONE. */
#define CORVANE_WM_MEDIA_INIT_DONE 0x908    /* wParam 1: the file is open and its start frame decoded; 0: it is not */
#define CORVANE_WM_MEDIA_FRAME_READY 0x96C  /* wParam 1: a frame can be fetched; 0: none; lParam: the second asked */
#define CORVANE_WM_MEDIA_UNINIT_DONE 0x9D0  /* the grabber is gone */

#define CORVANE_RECORD_WORDS 10
#define CORVANE_MAX_SIDE 8192       /* larger frames (and frame requests) are not supported */

/* Fills words[0..9] with the media information record: 0 duration in whole seconds, 1 frame
 * rate (float), 2 video bit rate in kbit/s (float), 3 width, 4 height (as shown: a picture the
 * file says to turn a quarter has them swapped), 5 aspect code 0..4,
 * 6 audio sample rate (0 without audio), 7 audio channels, 8 audio bit rate in kbit/s (float),
 * 9 flag (0: the aspect code applies). Floats are stored bit for bit in their words.
 * -1 when the file has no video stream, no usable size or no decodable frame, or is no regular
 * file (a FIFO, a device or a folder is refused before it is opened); 0 otherwise.
 * The first picture is kept by the module for the next X_Get_Frame with a non-null name. */
typedef int (*X_GetFileinfo_GetPic_fn)(const char* path, int wordCount, int32_t* words);
int X_GetFileinfo_GetPic(const char* path, int wordCount, int32_t* words);

/* Hands out in *pixels height rows of width x 3 bytes (blue, green, red), top row first, upright,
 * contiguous, owned by the module and valid until the next call, X_GetFrame_UnInit or unload.
 * A null name asks for the grabber's frame, any other name for the information call's first
 * picture (each falls back on the other). *second is the second asked for (0 for a first
 * picture). 0: a decoded frame; -1: black pixels (no frame), or a null buffer when the size is
 * outside 1..CORVANE_MAX_SIDE. */
typedef int (*X_Get_Frame_fn)(int width, int height, const char* name, uint8_t** pixels, int32_t* second);
int X_Get_Frame(int width, int height, const char* name, uint8_t** pixels, int32_t* second);

/* Starts the grabber on its own thread (restarting one that runs): it opens the file, decodes
 * the frame at the start second (decimal text) and posts CORVANE_WM_MEDIA_INIT_DONE. mode and extra are
 * accepted as the program passes them (2 and ""). Returns 0. */
typedef int (*X_GetFrame_Init_fn)(void* window, int mode, const char* path, const char* extra, const char* startSecond);
int X_GetFrame_Init(void* window, int mode, const char* path, const char* extra, const char* startSecond);

/* Asks for the frame at a second (0 accepted; past the end gives the last frame); answered by
 * CORVANE_WM_MEDIA_FRAME_READY. Returns 0. */
typedef int (*X_Set_NextFrame_Time_fn)(int second);
int X_Set_NextFrame_Time(int second);

/* Stops the grabber (pending requests are answered with wParam 0), frees it and posts
 * CORVANE_WM_MEDIA_UNINIT_DONE, also when no grabber ran. Returns 0. */
typedef int (*X_GetFrame_UnInit_fn)(void);
int X_GetFrame_UnInit(void);

/* The encodes: both block the caller until they end and run their work on a thread of their own;
 * meanwhile the calling thread's window messages keep flowing when a window is given and the
 * host exports PeekMessageA and DispatchMessageA (a host without them just waits). One encode
 * at a time: a call while one runs fails at once. The output appears only when complete; a
 * stopped or failed encode leaves no file. */

/* A clip to a DVD program stream. Seconds count from the file's start (where its earliest stream
 * begins), as the grabber's do; a picture that begins later is shown from the output's first
 * frame, sound that begins later is preceded by silence. The texts used: 3 source, 5 start
 * second, 7 aspect "4:3" or "16:9", 10 video kbit/s, 12 picture size "W:H" (the source's picture, turned upright as its
 * file says) centred in 13 frame size "W:H" on black, 17 frame rate ("25", "30000/1001"),
 * 20 output, 22 seconds to convert ("0": to the end); 24 video standard (1 NTSC, 2 PAL) settles a frame rate that can't be read. The others are
 * accepted as the program passes them. 0: written; -1: failed or stopped. */
typedef int (*X_SetPar_D2MPEG_fn)(void* window, int mode, const char* source, const char* passes,
                                  const char* startSecond, const char* sampleRate, const char* aspect,
                                  const char* videoFormat, const char* target, const char* videoKbps,
                                  const char* audioKbps, const char* pictureSize, const char* frameSize,
                                  const char* title, const char* author, const char* comment,
                                  const char* frameRate, const char* reserved18, const char* reserved19,
                                  const char* output, const char* reserved21, const char* durationSeconds,
                                  int reserved23, int videoStandard, const char* audioFormat, int quality);
int X_SetPar_D2MPEG(void* window, int mode, const char* source, const char* passes, const char* startSecond,
                    const char* sampleRate, const char* aspect, const char* videoFormat, const char* target,
                    const char* videoKbps, const char* audioKbps, const char* pictureSize, const char* frameSize,
                    const char* title, const char* author, const char* comment, const char* frameRate,
                    const char* reserved18, const char* reserved19, const char* output, const char* reserved21,
                    const char* durationSeconds, int reserved23, int videoStandard, const char* audioFormat,
                    int quality);

/* Optional, before X_SetPar_D2MPEG: key times for the next clip encode only, which takes them
 * whether it succeeds or not. seconds: "0,300,600.5", seconds from the output's start (whole or
 * with a decimal point, blanks around each allowed, any order); "" asks for none. The encode
 * starts a closed GOP exactly on the frame at each time, with the GOPs before it long enough
 * that the DVD muxer starts a navigation unit there (at least 0.4 s after the last), so a
 * chapter dvdauthor puts at that time begins on that frame. A time within 0.4 s after an
 * earlier one is left out, as are times past the output's end.
 * 0: taken; -1: refused (null, not such a list, more than 1000 times or one beyond ten days),
 * a list given before stays, X_GetLastErrorText says why. The caller's thread. */
typedef int (*X_SetPar_KeyTimes_fn)(const char* seconds);
int X_SetPar_KeyTimes(const char* seconds);

/* A 24-bit BMP to a still menu VOB of the given length (seconds), the picture at pictureSize
 * centred in frameSize, aspect "4/3" or "16/9" (":" also read), with the music file's sound cut
 * or padded to the length when withMusic is 1, silence otherwise ("NoFile").
 * 0: the VOB was written; anything else: it was not. */
typedef int (*X_SetPar_BMP2VOB_fn)(void* window, int videoStandard, const char* bmp, const char* seconds,
                                   const char* pictureSize, const char* frameSize, const char* aspect,
                                   const char* output, int withMusic, const char* music);
int X_SetPar_BMP2VOB(void* window, int videoStandard, const char* bmp, const char* seconds, const char* pictureSize,
                     const char* frameSize, const char* aspect, const char* output, int withMusic, const char* music);

/* From any thread at any time: info[0] seconds of output done, info[1] frames per second,
 * info[2] frames written (0 while the start is sought). Returns 0. */
typedef int (*X_Get_Info_fn)(int32_t* info);
int X_Get_Info(int32_t* info);

/* Makes the running encode give up and return within a second. Returns 0. */
typedef int (*X_StopConvert_fn)(void);
int X_StopConvert(void);

/* The reason of the module's last failure (any entry point's, the grabber's on its thread
 * included), kept until the next failure; "" when nothing failed since the module was loaded.
 * Copies at most size - 1 bytes and a terminating zero into text (the caller's buffer) and
 * returns the length of the whole reason. Any thread. */
typedef int (*X_GetLastErrorText_fn)(char* text, int size);
int X_GetLastErrorText(char* text, int size);

#ifdef __cplusplus
}
#endif

#endif
