// The work-folder files of one menu and their making: the picture as a BMP, the two masks as
// PNG files and the spumux XML. The menu step then encodes the BMP to the VOB and muxes.
#pragma once

#include "platform/vcl/System.h"
#include "production/MenuPictures.h"

class TSubChapter;

struct TMenuFiles {
    String s_Bmp;     // Title.bmp, Chapter_N.bmp
    String s_OnPng;   // Title_on.png, Chapter_on_N.png
    String s_DownPng; // Title_down.png, Chapter_down_N.png
    String s_Xml;     // Title.xml, Chapter_N.xml
    String s_Vob;     // Title.vob, Chapter_N.vob: the encode's output and the mux's input
    String s_MuxOut;  // Title_sub.vob, Chapter_sub_N.vob
};

// TempFolder ends with '/'; N is the clip's index in the list.
TMenuFiles TitleMenuFiles(const String& TempFolder);
TMenuFiles ChapterMenuFiles(const String& TempFolder, int N);

// Draws and writes the title menu's files (Pictures' back position set to the title menu's).
// 1 when all four were written, 0 when one was not; nothing raises.
int WriteTitleMenuFiles(TMenuPictures& Pictures, const TMenuFiles& Files, int BackWidth, int BackHeight);
// The same for a chapter menu; 2 for a null menu.
int WriteChapterMenuFiles(TMenuPictures& Pictures, TSubChapter* Menu, const TMenuFiles& Files, int BackWidth,
                          int BackHeight);
