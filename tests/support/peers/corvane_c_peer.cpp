/* A plain program for the media library's tests: it gives the module nothing (no window layer,
 * no exported symbols), loads it with dlopen from the path in argv[1] and prints what it answers.
 * Written as C so it stays what a C program would be.
 *   corvane_c_peer MODULE info FILE                 record words, then the first picture's centre
 *   corvane_c_peer MODULE grab FILE START S1 S2 ... a grabber run with window 0
 *   corvane_c_peer MODULE encode FILE START DURATION PICTURE FRAME RATE ASPECT OUTPUT
 *                                                   a clip encode with window 0, then the progress
 *   corvane_c_peer MODULE menu BMP SECONDS PICTURE FRAME ASPECT OUTPUT MUSIC
 *                                                   a menu encode with window 0 (MUSIC "NoFile": none)
 */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "libs/corvane/CorvaneDLL.h"

struct Module {
    void* handle;
    X_GetFileinfo_GetPic_fn info;
    X_Get_Frame_fn frame;
    X_GetFrame_Init_fn init;
    X_Set_NextFrame_Time_fn next;
    X_GetFrame_UnInit_fn uninit;
    X_SetPar_D2MPEG_fn convert;
    X_SetPar_BMP2VOB_fn menu;
    X_Get_Info_fn progress;
    X_StopConvert_fn stop;
};

static void* Entry(void* handle, const char* name) {
    void* symbol = dlsym(handle, name);
    if (!symbol) printf("missing %s\n", name);
    return symbol;
}

static int Bind(struct Module* module, const char* path) {
    module->handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!module->handle) {
        printf("dlopen failed: %s\n", dlerror());
        return 0;
    }
    module->info = (X_GetFileinfo_GetPic_fn)Entry(module->handle, "X_GetFileinfo_GetPic");
    module->frame = (X_Get_Frame_fn)Entry(module->handle, "X_Get_Frame");
    module->init = (X_GetFrame_Init_fn)Entry(module->handle, "X_GetFrame_Init");
    module->next = (X_Set_NextFrame_Time_fn)Entry(module->handle, "X_Set_NextFrame_Time");
    module->uninit = (X_GetFrame_UnInit_fn)Entry(module->handle, "X_GetFrame_UnInit");
    module->convert = (X_SetPar_D2MPEG_fn)Entry(module->handle, "X_SetPar_D2MPEG");
    module->menu = (X_SetPar_BMP2VOB_fn)Entry(module->handle, "X_SetPar_BMP2VOB");
    module->progress = (X_Get_Info_fn)Entry(module->handle, "X_Get_Info");
    module->stop = (X_StopConvert_fn)Entry(module->handle, "X_StopConvert");
    return module->info && module->frame && module->init && module->next && module->uninit && module->convert &&
           module->menu && module->progress && module->stop;
}

static void PrintCentre(const char* label, int result, const uint8_t* pixels, int width, int height, int second) {
    if (!pixels) {
        printf("%s %d null\n", label, result);
        return;
    }
    const uint8_t* p = pixels + ((size_t)(height / 2) * (size_t)width + (size_t)(width / 2)) * 3;
    printf("%s %d %d %d %d %d\n", label, result, second, p[0], p[1], p[2]);
}

static int Info(struct Module* module, const char* file) {
    int32_t words[CORVANE_RECORD_WORDS];
    float rate, video, audio;
    uint8_t* pixels = NULL;
    int32_t second = -1;
    int i, result;
    memset(words, 0, sizeof words);
    result = module->info(file, CORVANE_RECORD_WORDS, words);
    printf("info %d", result);
    for (i = 0; i < CORVANE_RECORD_WORDS; ++i) printf(" %d", words[i]);
    memcpy(&rate, &words[1], sizeof rate);
    memcpy(&video, &words[2], sizeof video);
    memcpy(&audio, &words[8], sizeof audio);
    printf("\nfloats %.2f %.2f %.2f\n", rate, video, audio);
    if (result != 0) return 0;
    result = module->frame(words[3], words[4], "2.bmp", &pixels, &second);
    PrintCentre("first", result, pixels, words[3], words[4], second);
    return 0;
}

/* With window 0 nothing is posted; fetching a frame waits for the request's answer. */
static int Grab(struct Module* module, const char* file, const char* start, int count, char** seconds) {
    int i;
    module->init(NULL, 2, file, "", start);
    for (i = 0; i < count; ++i) {
        uint8_t* pixels = NULL;
        int32_t second = -1;
        int result;
        module->next(atoi(seconds[i]));
        result = module->frame(64, 48, NULL, &pixels, &second);
        PrintCentre("grab", result, pixels, 64, 48, second);
    }
    module->uninit();
    return 0;
}

/* The arguments as the program passes them, with window 0: the call just blocks. */
static int Encode(struct Module* module, char** a) {
    int32_t info[3] = {0, 0, 0};
    int standard = strcmp(a[5], "25") == 0 ? 2 : 1;
    int result = module->convert(NULL, 2, a[0], "1", a[1], "48000", a[6], "mpeg2", "dvd", "4000", "192", a[3], a[4],
                                 "MyVideo", "MyVideo", "MyVideo", a[5], "0", "0", a[7], "0", a[2], 0, standard, "ac3", 0);
    module->progress(info);
    printf("encode %d %d %d\n", result, info[0], info[2]);
    return 0;
}

static int Menu(struct Module* module, char** a) {
    int music = strcmp(a[6], "NoFile") != 0;
    int standard = strcmp(a[3], "720:576") == 0 ? 2 : 1;
    int result = module->menu(NULL, standard, a[0], a[1], a[2], a[3], a[4], a[5], music, a[6]);
    printf("menu %d\n", result);
    return 0;
}

int main(int argc, char** argv) {
    struct Module module;
    int status = 2;
    if (argc < 4) {
        fprintf(stderr, "usage: corvane_c_peer MODULE info|grab|encode|menu FILE [ARGUMENTS...]\n");
        return 2;
    }
    if (!Bind(&module, argv[1])) return 1;
    if (strcmp(argv[2], "info") == 0) status = Info(&module, argv[3]);
    if (strcmp(argv[2], "grab") == 0 && argc >= 5) status = Grab(&module, argv[3], argv[4], argc - 5, argv + 5);
    if (strcmp(argv[2], "encode") == 0 && argc >= 11) status = Encode(&module, argv + 3);
    if (strcmp(argv[2], "menu") == 0 && argc >= 10) status = Menu(&module, argv + 3);
    /* Unloading joins whatever the module still runs; a clean exit shows it did. */
    if (dlclose(module.handle) != 0) printf("dlclose failed\n");
    printf("unloaded\n");
    fflush(stdout);
    return status;
}
