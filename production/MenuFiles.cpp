#include "production/MenuFiles.h"

#include "platform/vcl/SysUtils.h"
#include "production/MenuXml.h"

#include <memory>

namespace {

// Saves and frees the picture; false when it could not be written.
bool SaveBmp(TBitmap* Picture, const String& FileName) {
    std::unique_ptr<TBitmap> owned(Picture);
    if (!owned) return false;
    try {
        owned->SaveToFile(FileName);
    } catch (const std::exception&) {
        return false;
    }
    return FileExists(FileName);
}

bool AllThere(const TMenuFiles& Files) {
    return FileExists(Files.s_Bmp) && FileExists(Files.s_OnPng) && FileExists(Files.s_DownPng);
}

}  // namespace

TMenuFiles TitleMenuFiles(const String& TempFolder) {
    return {TempFolder + "Title.bmp", TempFolder + "Title_on.png", TempFolder + "Title_down.png",
            TempFolder + "Title.xml", TempFolder + "Title.vob",     TempFolder + "Title_sub.vob"};
}

TMenuFiles ChapterMenuFiles(const String& TempFolder, int N) {
    const String n = std::to_string(N);
    return {TempFolder + "Chapter_" + n + ".bmp",     TempFolder + "Chapter_on_" + n + ".png",
            TempFolder + "Chapter_down_" + n + ".png", TempFolder + "Chapter_" + n + ".xml",
            TempFolder + "Chapter_" + n + ".vob",      TempFolder + "Chapter_sub_" + n + ".vob"};
}

int WriteTitleMenuFiles(TMenuPictures& Pictures, const TMenuFiles& Files, int BackWidth, int BackHeight) {
    SaveBmp(Pictures.DrawTitleMenuImage(), Files.s_Bmp);
    WriteMaskPng(Pictures.DrawTitleMenuMask(TMenuMask::Highlight), Files.s_OnPng);
    WriteMaskPng(Pictures.DrawTitleMenuMask(TMenuMask::Select), Files.s_DownPng);
    if (!AllThere(Files)) return 0;
    return WriteMenuXml(Files.s_Xml, TitleMenuXmlValues(Pictures, Files.s_OnPng, Files.s_DownPng, BackWidth, BackHeight))
               ? 1
               : 0;
}

int WriteChapterMenuFiles(TMenuPictures& Pictures, TSubChapter* Menu, const TMenuFiles& Files, int BackWidth,
                          int BackHeight) {
    if (Menu == nullptr) return 2;
    SaveBmp(Pictures.DrawChapterMenuImage(Menu), Files.s_Bmp);
    WriteMaskPng(Pictures.DrawChapterMenuMask(Menu, TMenuMask::Highlight), Files.s_OnPng);
    WriteMaskPng(Pictures.DrawChapterMenuMask(Menu, TMenuMask::Select), Files.s_DownPng);
    if (!AllThere(Files)) return 0;
    return WriteMenuXml(Files.s_Xml,
                        ChapterMenuXmlValues(Pictures, Menu, Files.s_OnPng, Files.s_DownPng, BackWidth, BackHeight))
               ? 1
               : 0;
}
