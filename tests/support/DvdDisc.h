// What an authored DVD folder holds, read with libdvdread as a player's reader sees it: chapter
// starts, the buttons of each menu and their rectangles, and the title set's streams.
#pragma once

#include <string>
#include <vector>

namespace testing_vcl {

struct TButtonRect {
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    bool operator==(const TButtonRect&) const = default;
};

struct TTitleSetStreams {
    bool b_Pal = false;
    bool b_Wide = false;                 // 16:9
    int i_AudioStreams = 0;
    bool b_Ac3 = false;
    int i_SampleRate = 0;
    int i_Channels = 0;
    int i_SubpictureStreams = 0;
    std::string s_SubpictureLang;        // two letters, as stored
};

// Chapter starts of the disc's title (from 1), in seconds from the title's start.
std::vector<double> ChapterStarts(const std::string& Folder, int Title);
// Buttons shown by each menu of the video manager (TitleSet 0) or a title set, in PGC order.
std::vector<int> MenuButtons(const std::string& Folder, int TitleSet);
// The button rectangles of the menu PGC (from 1), as its first navigation pack has them.
std::vector<TButtonRect> MenuButtonRects(const std::string& Folder, int TitleSet, int MenuPgc);
int TitleCount(const std::string& Folder);
TTitleSetStreams TitleSetStreams(const std::string& Folder, int TitleSet);

}  // namespace testing_vcl
