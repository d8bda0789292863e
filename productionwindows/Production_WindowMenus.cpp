// The production window's menu steps: the title menu and each clip's chapter menu become a
// picture and two masks, a still-menu VOB (media library) and its button highlights (spumux).
#include "productionwindows/Production_Window.h"

#include <exception>
#include <memory>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "core/MediaLibrary.h"
#include "core/Pubfunction.h"
#include "model/MenuObjects.h"
#include "menu/SetupMenu_Window.h"
#include "platform/vcl/SysUtils.h"
#include "production/MenuEncode.h"
#include "production/MenuFiles.h"

void TProductionWindow::FillMenuPictures(TMenuPictures& Pictures) const {
    Pictures.s_ProgramFolder = IncludeTrailingPathDelimiter(ExePath);
    Pictures.Frame = TMenuFrame{i_FrameHeight, i_SquareHeight};
    Pictures.i_BackX = i_BackX;
    Pictures.i_BackY = i_BackY;
    Pictures.b_BackButtonUsable = b_BackButtonUsable != 0;
    Pictures.b_RootMenuVob = HasRootMenuVob();
}

bool TProductionWindow::HasBackButton() const {
    TMenuPictures pictures;
    FillMenuPictures(pictures);
    return pictures.HasBackButton();
}

// The back picture's own size, as the designer measured it; without a designer, the picture's.
void TProductionWindow::BackPictureSize(const TMenuPictures& Pictures, int& Width, int& Height) const {
    Width = Height = 0;
    if (SetupMenuWindow != nullptr && SetupMenuWindow->TitleMenu.i_BackWidth > 0) {
        Width = SetupMenuWindow->TitleMenu.i_BackWidth;
        Height = SetupMenuWindow->TitleMenu.i_BackHeight;
        return;
    }
    try {
        TBitmap back;
        back.LoadFromFile(Pictures.BackPictureFile());
        Width = back.GetWidth();
        Height = back.GetHeight();
    } catch (const std::exception&) {
        // No picture: no back button is drawn or listed either.
    }
}

int TProductionWindow::PrepareTitleMenu() {
    if (!b_TitleMenu) return kMenuNone;
    if (SetupMenuWindow != nullptr) {
        i_BackX = SetupMenuWindow->TitleMenu.i_TitleBackX;
        i_BackY = SetupMenuWindow->TitleMenu.i_TitleBackY;
    }
    s_MenuMusic = s_BackgroundMusicFile;
    const TMenuFiles files = TitleMenuFiles(s_TempFolder);
    return PrepareMenuFiles(files, [&](TMenuPictures& Pictures, int BackWidth, int BackHeight) {
        return WriteTitleMenuFiles(Pictures, files, BackWidth, BackHeight);
    });
}

int TProductionWindow::PrepareChapterMenu(TSubChapter* Menu, int ClipIndex) {
    if (Menu == nullptr) return kMenuNone;
    i_BackX = Menu->i_BackX;
    i_BackY = Menu->i_BackY;
    s_MenuMusic = Menu->s_BackgroundMusicFile;
    const TMenuFiles files = ChapterMenuFiles(s_TempFolder, ClipIndex);
    return PrepareMenuFiles(files, [&](TMenuPictures& Pictures, int BackWidth, int BackHeight) {
        return WriteChapterMenuFiles(Pictures, Menu, files, BackWidth, BackHeight);
    });
}

// What both menus share: the pictures, the back button's size, the writing, and the files the
// later steps take.
int TProductionWindow::PrepareMenuFiles(const TMenuFiles& Files, const TMenuWriter& Write) {
    TMenuPictures pictures;
    FillMenuPictures(pictures);
    int backWidth = 0, backHeight = 0;
    BackPictureSize(pictures, backWidth, backHeight);
    int made = 0;
    try {
        made = Write(pictures, backWidth, backHeight);
    } catch (const std::exception&) {
        made = 0;
    }
    if (!pictures.b_BackButtonUsable) b_BackButtonUsable = 0;
    if (made != 1) return kMenuNotMade;
    s_MenuBmp = Files.s_Bmp;
    s_MenuVob = s_MuxIn = Files.s_Vob;
    s_MuxOut = Files.s_MuxOut;
    s_MuxXml = Files.s_Xml;
    AddLog(ExtractFileName(s_MenuBmp) + " >>>> " + ExtractFileName(s_MenuVob));
    return kMenuReady;
}

// Blocks until the menu VOB is written; the media library keeps this thread's messages flowing,
// so Stop can be pressed meanwhile. kEncodeOk only when the VOB is there.
int TProductionWindow::ConvertMenuToVob() {
    MediaEncoder = TMediaEncoder::Load(MediaLibraryName);
    if (MediaEncoder == nullptr) return kEncodeNoLibrary;
    const TMenuVobArguments a = MenuVobArguments({i_VideoStandard, s_MenuBmp, s_MenuVob, s_MenuMusic, i_MenuDuration,
                                                  s_MenuFrameSize, s_FrameSize, s_MenuAspect});
    if (a.i_WithMusic) AddLog(Language::GetMessageText(Language::kMsgStartMenuMusic));
    s_MenuMusic = a.s_MenuMusic;
    int r = kEncodeFailed;
    try {
        r = MediaEncoder->Entries().X_SetPar_BMP2VOB(
            reinterpret_cast<void*>(GetHandle()), a.i_VideoStandard, a.s_MenuBmp.c_str(), a.s_Length.c_str(),
            a.s_MenuFrameSize.c_str(), a.s_FrameSize.c_str(), a.s_MenuAspect.c_str(), a.s_MenuVob.c_str(),
            a.i_WithMusic, a.s_MenuMusic.c_str());
    } catch (...) {
        r = kEncodeFailed;
    }
    MediaEncoder.reset();
    if (r == 0 && !FileExists(s_MenuVob)) r = -1;
    return r;
}

// A confirmed Stop ends the run as an abort, whatever the encoder answered; any other result
// but kEncodeOk is the step's own failure.
bool TProductionWindow::MenuEncodeFailed(int Result, int Code) {
    if (b_UserAbort) {
        EnterIdleState(kIdleUserAbort);
        return true;
    }
    if (Result == kEncodeOk) return false;
    EnterIdleState(Code);
    return true;
}

bool TProductionWindow::CreateTitleMenu() {
    const int r = PrepareTitleMenu();
    if (r == kMenuNotMade) {
        EnterIdleState(kIdleTitleMenuParameter);
        return false;
    }
    if (r == kMenuReady) {
        AddLog(Language::GetMessageText(Language::kMsgStartTitleMenuSource));
        if (MenuEncodeFailed(ConvertMenuToVob(), kIdleTitleMenuConvert)) return false;
        AddLog(Language::GetMessageText(Language::kMsgStartTitleMenuDestination));
        if (RunSpumuxThread() != 1) {
            EndWithProgramFailure(kIdleTitleMenuMux);
            return false;
        }
    }
    SetProgress1(100);
    return true;
}

bool TProductionWindow::CreateChapterMenus() {
    for (std::size_t i = 0; i < ClipInfo.size(); ++i) {
        TClipInfo* clip = ClipInfo[i];
        const int r = PrepareChapterMenu(clip != nullptr ? clip->ChapterMenu : nullptr, static_cast<int>(i));
        if (r == kMenuNone) continue;
        if (r == kMenuNotMade) {
            EnterIdleState(kIdleChapterMenuParameter);
            return false;
        }
        AddLog(Language::GetMessageText(Language::kMsgStartChapterMenuSource));
        if (MenuEncodeFailed(ConvertMenuToVob(), kIdleChapterMenuConvert)) return false;
        AddLog(Language::GetMessageText(Language::kMsgStartChapterMenuDestination));
        if (RunSpumuxThread() != 1) {
            EndWithProgramFailure(kIdleChapterMenuMux);
            return false;
        }
    }
    SetProgress1(100);
    return true;
}
