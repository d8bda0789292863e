// The designer's chapter menus: frames grabbed from the clip at each chapter time, the chapter
// dialog's command and deleting chapters.
#include "menu/SetupMenu_Window.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Progress_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupChapter_Window.h"
#include "platform/vcl/SysUtils.h"

namespace {

constexpr int kProgressMessage = Language::kMsgCreatingMenuImage;
constexpr int kFirstChapterMessage = Language::kMsgCannotDeleteFirstChapter;

// A failed grab still gives its chapter a button: one button per time, always.
TBitmap* BlackFrame(int Width, int Height) {
    auto* frame = new TBitmap(Width, Height, pf24bit);
    frame->GetCanvas()->GetBrush()->SetColor(clBlack);
    frame->GetCanvas()->FillRect(Rect(0, 0, Width, Height));
    return frame;
}

// True when Menu holds exactly these times, button for button.
bool HoldsTimes(const TSubChapter* Menu, const std::vector<int>& Times) {
    if (Menu == nullptr || Menu->Buttons.size() != Times.size()) return false;
    for (std::size_t i = 0; i < Times.size(); ++i)
        if (Menu->Buttons[i]->i_ChapterTime != Times[i]) return false;
    return true;
}

}  // namespace

// ---- the grabber ---------------------------------------------------------------------------------

bool TSetupMenuWindow::LoadFrameLibrary() { return m_grabber->Load(TMediaEntries::Grabber); }

void TSetupMenuWindow::UnloadFrameLibrary() { m_grabber->Unload(); }

TBitmap* TSetupMenuWindow::GrabFrameBitmap(int Width, int Height) {
    if (!m_grabber->IsLoaded()) return nullptr;
    return m_grabber->GrabFrame(Width, Height);
}

// ---- making a chapter menu -----------------------------------------------------------------------

TSubChapter* TSetupMenuWindow::CreateChapterMenu(TClipInfo* Clip, int Count, const int* Times) {
    if (Clip == nullptr) return nullptr;
    TBusyGuard busy(b_Busy);
    const int count = MenuLayout::ChapterCount(Count, Clip->i_TrimStart, Clip->i_TrimEnd);
    const std::vector<int> times = Times != nullptr ? std::vector<int>(Times, Times + count)
                                                    : MenuLayout::AutomaticChapterTimes(Clip->i_TrimStart, Clip->i_TrimEnd, count);
    TSubChapter* old = Clip->ChapterMenu;
    if (HoldsTimes(old, times)) return old;

    // Whatever fails below leaves the clip's menu as it was: the new one is made aside.
    UnloadFrameLibrary();
    if (!FileExists(Clip->s_FileName) || !LoadFrameLibrary()) return old;
    if (!m_grabber->Start(Clip->s_FileName, MenuLayout::GrabRunStart(Clip->i_TrimStart))) {
        UnloadFrameLibrary();
        return old;
    }
    const int w = std::max(Clip->i_ThumbWidth, 1);
    const int h = std::max(Clip->i_ThumbHeight, 1);
    auto menu = std::make_unique<TSubChapter>(Clip);
    menu->s_BackgroundSrcFile = BackgroundList.size() >= 2 ? BackgroundList[1]->FileName : s_BackgroundSrcFile;
    const bool progress = Times != nullptr && OpenProgress(count, kProgressMessage);
    bool complete = true;
    for (int t : times) {
        // Every frame at its own chapter time, second 0 included.
        const bool answered = m_grabber->RequestFrame(t);
        if (!answered && !m_grabber->IsRunning()) {
            complete = false;   // the library fell silent: the run is over
            break;
        }
        std::unique_ptr<TBitmap> frame(answered ? GrabFrameBitmap(w, h) : nullptr);
        if (!frame) frame.reset(BlackFrame(w, h));
        menu->AddButton(frame.get(), t);
        TSubButtonImage* button = menu->Buttons.back();
        button->SetLeft(1);
        button->SetTop(1);
        WireChapterButton(button);
        if (progress) ProgressWindow->StepIt();
    }
    UnloadFrameLibrary();
    if (progress) CloseProgress();
    if (!complete) return old;

    const int d = i_CreateMenuSafeDistance;
    menu->i_BackX = MenuLayout::ClampBackX(0, TitleMenu.i_BackWidth, d);
    menu->i_BackY = MenuLayout::ClampIntoSafeFrame(1000, TitleMenu.i_BackHeight, PreviewHeight(), d);
    if (old != nullptr) {
        if (SelectedChapterButton != nullptr && SelectedChapterButton->SubChapter == old) SelectedChapterButton = nullptr;
        // The back image's cells must never point into a deleted menu.
        if (BackXCell == &old->i_BackX) {
            BackXCell = &menu->i_BackX;
            BackYCell = &menu->i_BackY;
        }
        HideChapterMenu(old);
        delete old;
    }
    Clip->ChapterMenu = menu.release();
    return Clip->ChapterMenu;
}

void TSetupMenuWindow::MakeAutomaticChapterMenu(TClipInfo* Clip) {
    // A chapter menu belongs to a clip on the title menu.
    if (Clip == nullptr || Clip->TitleButton == nullptr) return;
    TSubChapter* old = Clip->ChapterMenu;
    TSubChapter* menu = CreateChapterMenu(Clip, 0, nullptr);
    if (menu != nullptr && menu != old) ArrangeChapterButtons(Clip);
}

void TSetupMenuWindow::WireChapterButton(TSubButtonImage* Button) {
    WireDrag(Button);
    // A double click picks the button's frame, as the popup's "Image" does.
    Button->OnDblClick = [this](TObject*) { PopupItemClick(pkChapterButton, "Image"); };
}

// ---- commands --------------------------------------------------------------------------------------

void TSetupMenuWindow::DisplaySubMenu() {
    TClipInfo* clip = SelectedClip();
    if (b_Busy || clip == nullptr || SetupChapterWindow == nullptr) return;
    if (!SetupChapterWindow->SetupClip(clip)) return;
    if (SetupChapterWindow->ShowModal() == mrOk) {
        Repaint();
        TSubChapter* old = clip->ChapterMenu;
        const String background = old != nullptr ? old->s_BackgroundSrcFile : String();
        const std::vector<int> times(SetupChapterWindow->Times, SetupChapterWindow->Times + MaxChapters);
        TSubChapter* menu = CreateChapterMenu(clip, std::clamp(SetupChapterWindow->Count, 0, MaxChapters), times.data());
        if (menu != nullptr && menu != old) {
            // A menu made again keeps only the old background.
            if (!background.empty()) menu->s_BackgroundSrcFile = background;
            ArrangeChapterButtons(clip);
        }
    }
    UpdateChapterCommands(clip);
    if (clip->ChapterMenu != nullptr) {
        HideTitleMenu();
        ShowChapterMenu(clip->ChapterMenu);
    }
}

void TSetupMenuWindow::DeleteChapter() {
    TClipInfo* clip = SelectedClip();
    if (b_Busy || clip == nullptr) return;
    if (b_TitleView) {
        ShowTitleMenu();
        DropChapterMenu(clip);
        UpdateChapterCommands(clip);
        RemoveTitleButton(clip);
        return;
    }
    // Only a button of the menu on show: a hidden menu's chapters are never deleted unseen.
    TSubButtonImage* button = SelectedChapterButton;
    if (button == nullptr || button->SubChapter == nullptr || button->SubChapter != ShownChapterMenu()) return;
    if (button->SubChapter->GetButton(0) == button) {
        MessageDlg(Language::GetMessageText(kFirstChapterMessage), mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    // The others keep their places: the gap stays.
    SelectedChapterButton = nullptr;
    button->SubChapter->DeleteButton(button);
}
