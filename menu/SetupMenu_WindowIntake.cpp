// The Compiler flow's intake: existing VOB files become clips without conversion, then the menus
// are rebuilt and the disc size and video standards checked.
#include "menu/SetupMenu_Window.h"

#include <vector>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Progress_Window.h"
#include "core/Pubfunction.h"
#include "model/VobClip.h"
#include "platform/vcl/SysUtils.h"

namespace {

constexpr int kAddingMessage = Language::kMsgAddingClips;
constexpr int kOverDvd5Message = Language::kMsgOverDvd5;
constexpr int kOverDvd9Message = Language::kMsgOverDvd9;

}  // namespace

void TSetupMenuWindow::AddFiles() {
    if (ProgressWindow != nullptr || b_AddingFiles || b_Busy) return;
    OpenDialog->SetFileName("");
    OpenDialog->SetFilter("VOB File (*.vob,*.VOB)|*.vob");
    OpenDialog->SetOptions(TOpenOptions{ofAllowMultiSelect});
    if (!OpenDialog->Execute()) return;
    std::vector<String> files;
    for (int i = 0; i < OpenDialog->GetFiles()->Count(); ++i) files.push_back(OpenDialog->GetFiles()->Strings(i));
    SetCurrentDir(ExePath);
    UnloadFrameLibrary();
    Repaint();

    b_AddingFiles = true;
    const bool progress = files.size() > 1 && OpenProgress(static_cast<int>(files.size()), kAddingMessage);
    for (const String& file : files) {
        AddVobFile(file);
        if (progress) ProgressWindow->StepIt();
    }
    if (progress) CloseProgress();
    Repaint();
    b_AddingFiles = false;

    // The rebuild shows the title menu: a chapter menu on the preview is put away first.
    if (b_ChapterView) HideChapterMenu(ShownChapterMenu());
    RebuildMenus();
    if (SelectedClipItem == nullptr && !ClipInfo.empty()) SelectClipItem(ClipInfo.front()->MenuTile);
    ShowTitleMenu();
    CheckVideoStandards();
    if (!UpdateDiscSize())
        MessageDlg(Language::GetMessageText(i_DVDType == 0 ? kOverDvd5Message : kOverDvd9Message), mtInformation,
                   TMsgDlgButtons{mbOK});
}

bool TSetupMenuWindow::AddVobFile(const String& Path) {
    // Files the media library cannot read are skipped without a word.
    TClipInfo* clip = MakeVobClip(Path, TVobPicture::FirstPicture);
    if (clip == nullptr) return false;
    clip->b_AddLetterBox = true;
    const int left = static_cast<int>(ClipInfo.size()) * MenuLayout::TileStep;
    ClipInfo.push_back(clip);
    CreateClipItem(clip);
    if (clip->MenuTile != nullptr) {
        clip->MenuTile->SetLeft(left);
        suiImagePanel_InfoMove->SetWidth(left + clip->MenuTile->GetWidth());
    }
    ScrollStrip();
    UpdateDiscSize();
    Repaint();
    return true;
}

bool TSetupMenuWindow::CheckVideoStandards() { return ::CheckVideoStandards(ClipInfo); }
