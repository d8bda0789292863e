// The clip list editor's trim slider, time edits, preview, snapshot and disc-size bar.
#include "app/SetupClip_Window.h"

#include <cstdio>
#include <memory>

#include "model/CustomClass.h"
#include "model/DiscSize.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "model/SetupClip_WindowRows.h"
#include "menu/SetupMenu_Window.h"
#include "platform/vcl/Jpeg.h"
#include "platform/vcl/SysUtils.h"

namespace {

constexpr TColor kEditColour = static_cast<TColor>(0xE8E8E8);
constexpr TColor kDragColour = static_cast<TColor>(0x00FF00);
constexpr TColor kBadColour = static_cast<TColor>(255);
constexpr int kNoFrameMessage = Language::kMsgNoFrameForSnapshot;

}  // namespace

// ---- slider -------------------------------------------------------------------------------------

ClipTrim::TTrimHandles TSetupClipWindow::CurrentHandles() const {
    ClipTrim::TTrimHandles h;
    h.StartLeft = Image_Left->GetLeft();
    h.EndLeft = Image_Right->GetLeft();
    h.Enabled = Image_Left->GetEnabled();
    h.BarLeft = Image_Stretch->GetLeft();
    h.BarWidth = Image_Stretch->GetWidth();
    return h;
}

void TSetupClipWindow::ShowHandles(const ClipTrim::TTrimHandles& Handles) {
    Image_Left->SetLeft(Handles.StartLeft);
    Image_Right->SetLeft(Handles.EndLeft);
    Image_Left->SetEnabled(Handles.Enabled);
    Image_Right->SetEnabled(Handles.Enabled);
    Image_Stretch->SetBounds(Handles.BarLeft, 3, std::max(Handles.BarWidth, 0), 8);
}

void TSetupClipWindow::PlaceTrimHandles(double StartRatio, double EndRatio) {
    ShowHandles(ClipTrim::PlaceTrimHandles(StartRatio, EndRatio));
}

void TSetupClipWindow::GetTrimRatios(double* StartRatio, double* EndRatio) const {
    const ClipTrim::TTrimRatios r = ClipTrim::GetTrimRatios(CurrentHandles());
    if (StartRatio != nullptr) *StartRatio = r.Start;
    if (EndRatio != nullptr) *EndRatio = r.End;
}

void TSetupClipWindow::UpdateRangeBar() {
    ClipTrim::TTrimHandles h = CurrentHandles();
    ClipTrim::UpdateRangeBar(h);
    ShowHandles(h);
}

void TSetupClipWindow::SyncTrimHandles(TClipInfo* Clip) {
    if (Clip == nullptr) {
        ShowHandles(ClipTrim::PlaceTrimHandles(-1, -1));
        return;
    }
    ShowHandles(ClipTrim::SyncTrimHandles(Clip->i_TrimStart, Clip->i_TrimEnd, Clip->i_Duration));
}

void TSetupClipWindow::ShowTrimTimes(TClipInfo* Clip) {
    for (TsuiMaskEdit* edit : {suiEdit_Start, suiEdit_Stop}) {
        edit->SetEnabled(Clip != nullptr);
        edit->SetColor(kEditColour);
    }
    if (Clip == nullptr) {
        suiEdit_Start->SetText(ClipTrim::EmptyTimeText);
        suiEdit_Stop->SetText(ClipTrim::EmptyTimeText);
        return;
    }
    suiEdit_Start->SetText(Pubfunction::SecondsToHMS(Clip->i_TrimStart));
    suiEdit_Stop->SetText(Pubfunction::SecondsToHMS(Clip->i_TrimEnd));
}

TPoint TSetupClipWindow::CursorOf(TControl* Control, int X, int Y) const { return Control->ClientToScreen(TPoint{X, Y}); }

bool TSetupClipWindow::DragAllowed(TMouseButton Button) const { return Button == mbLeft && !Busy() && SelectedClip() != nullptr; }

void TSetupClipWindow::BeginTrimDrag(TControl* Control, int X, int Y) {
    TrimDragStart = CursorOf(Control, X, Y);
    TrimDragNow = TrimDragStart;
    i_DragLeftAtStart = Control->GetLeft();
    b_TrimDragging = true;
}

void TSetupClipWindow::ShowEditSecond(TsuiMaskEdit* Edit, int Second, TColor Colour) {
    Edit->SetText(Pubfunction::SecondsToHMS(Second));
    Edit->SetColor(Colour);
}

void TSetupClipWindow::StartHandleMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (DragAllowed(Button)) BeginTrimDrag(Image_Left, X, Y);
}

void TSetupClipWindow::EndHandleMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (DragAllowed(Button)) BeginTrimDrag(Image_Right, X, Y);
}

void TSetupClipWindow::RangeBarMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (!DragAllowed(Button)) return;
    BeginTrimDrag(Image_Stretch, X, Y);
    suiEdit_Start->SetColor(kDragColour);
    suiEdit_Stop->SetColor(kDragColour);
}

void TSetupClipWindow::StartHandleMouseMove(TObject*, TShiftState Shift, int X, int Y) {
    if (!b_TrimDragging || !Shift.Contains(ssLeft) || Busy() || SelectedClip() == nullptr) return;
    TrimDragNow = CursorOf(Image_Left, X, Y);
    ClipTrim::TTrimHandles h = CurrentHandles();
    ClipTrim::DragStartHandle(h, i_DragLeftAtStart, TrimDragNow.x - TrimDragStart.x);
    ShowHandles(h);
    const int second = ClipTrim::RatioSecond(SelectedClip()->i_Duration, ClipTrim::GetTrimRatios(h).Start);
    ShowEditSecond(suiEdit_Start, second, kDragColour);
}

void TSetupClipWindow::EndHandleMouseMove(TObject*, TShiftState Shift, int X, int Y) {
    if (!b_TrimDragging || !Shift.Contains(ssLeft) || Busy() || SelectedClip() == nullptr) return;
    TrimDragNow = CursorOf(Image_Right, X, Y);
    ClipTrim::TTrimHandles h = CurrentHandles();
    ClipTrim::DragEndHandle(h, i_DragLeftAtStart, TrimDragNow.x - TrimDragStart.x);
    ShowHandles(h);
    const int second = ClipTrim::RatioSecond(SelectedClip()->i_Duration, ClipTrim::GetTrimRatios(h).End);
    ShowEditSecond(suiEdit_Stop, second, kDragColour);
}

void TSetupClipWindow::RangeBarMouseMove(TObject*, TShiftState Shift, int X, int Y) {
    if (!b_TrimDragging || !Shift.Contains(ssLeft) || Busy() || SelectedClip() == nullptr) return;
    TrimDragNow = CursorOf(Image_Stretch, X, Y);
    ClipTrim::TTrimHandles h = CurrentHandles();
    ClipTrim::DragRangeBar(h, i_DragLeftAtStart, TrimDragNow.x - TrimDragStart.x);
    ShowHandles(h);
    const ClipTrim::TTrimRatios r = ClipTrim::GetTrimRatios(h);
    const int duration = SelectedClip()->i_Duration;
    ShowEditSecond(suiEdit_Start, ClipTrim::RatioSecond(duration, r.Start), kDragColour);
    ShowEditSecond(suiEdit_Stop, ClipTrim::RatioSecond(duration, r.End), kDragColour);
}

// Stores a release's or a confirmed entry's trim, shows it and fetches the frame it seeks.
void TSetupClipWindow::ApplyTrimChange(const ClipTrim::TTrimChange& Change, bool RecomputeDiscSize) {
    TClipInfo* clip = SelectedClip();
    if (clip == nullptr || !Change.Changed) return;
    SetPreviewIdle(false);
    clip->SetTrim(Change.TrimStart, Change.TrimEnd);
    SyncTrimHandles(clip);
    ShowTrimTimes(clip);
    FetchFrame(Change.SeekSecond, std::max(clip->i_TrimStart, 1));
    if (RecomputeDiscSize) CheckDiscSize();
}

void TSetupClipWindow::FinishTrimDrag(TMouseButton Button, TTrimRelease Release) {
    if (Button != mbLeft || !b_TrimDragging) return;
    b_TrimDragging = false;
    TClipInfo* clip = SelectedClip();
    if (Busy() || clip == nullptr) return;
    ApplyTrimChange(Release(ClipTrim::GetTrimRatios(CurrentHandles()), clip->i_TrimStart, clip->i_TrimEnd,
                            clip->i_Duration),
                    true);
}

void TSetupClipWindow::StartHandleMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
    FinishTrimDrag(Button, ClipTrim::ReleaseStartHandle);
}

void TSetupClipWindow::EndHandleMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
    FinishTrimDrag(Button, ClipTrim::ReleaseEndHandle);
}

// A moved range changes the trimmed length as much as a moved handle: the bar follows it too.
void TSetupClipWindow::RangeBarMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
    FinishTrimDrag(Button, ClipTrim::ReleaseRangeBar);
}

// ---- time edits ---------------------------------------------------------------------------------

void TSetupClipWindow::suiEditChange(TObject* Sender) {
    auto* edit = dynamic_cast<TsuiMaskEdit*>(Sender);
    if (edit == nullptr) return;
    TClipInfo* clip = SelectedClip();
    if (clip == nullptr) {
        edit->SetColor(kEditColour);
        return;
    }
    // A drag paints its own colour while it runs.
    if (b_TrimDragging) return;
    const int value = ClipTrim::ParseTimeEdit(edit->GetText());
    const bool valid = edit == suiEdit_Start ? ClipTrim::StartEntryValid(value, clip->i_TrimEnd)
                                             : ClipTrim::StopEntryValid(value, clip->i_TrimStart, clip->i_Duration);
    edit->SetColor(valid ? kEditColour : kBadColour);
}

void TSetupClipWindow::suiEdit_StartExit(TObject* Sender) {
    auto* edit = dynamic_cast<TsuiMaskEdit*>(Sender);
    if (edit == nullptr) return;
    TClipInfo* clip = SelectedClip();
    if (clip == nullptr) {
        edit->SetColor(kEditColour);
        return;
    }
    if (edit->GetColor() != kBadColour) return;
    const int stored = edit == suiEdit_Start ? clip->i_TrimStart : clip->i_TrimEnd;
    edit->SetText(Pubfunction::SecondsToHMS(stored));
    edit->SetColor(kEditColour);
}

void TSetupClipWindow::suiImageButton_ConfirmClick(TObject* Sender) {
    TClipInfo* clip = SelectedClip();
    if (Busy() || clip == nullptr) return;
    const bool start = Sender == suiImageButton_ConfirmStart;
    const int value = ClipTrim::ParseTimeEdit((start ? suiEdit_Start : suiEdit_Stop)->GetText());
    const ClipTrim::TTrimChange change =
        start ? ClipTrim::ConfirmStart(value, clip->i_TrimStart, clip->i_TrimEnd, clip->i_Duration)
              : ClipTrim::ConfirmStop(value, clip->i_TrimStart, clip->i_TrimEnd, clip->i_Duration);
    ApplyTrimChange(change, true);
}

// ---- preview ------------------------------------------------------------------------------------

bool TSetupClipWindow::IsSeeking() const { return Label_Info->GetVisible(); }

// The confirm buttons go with the slider: a confirm while the grabber starts would start it twice.
void TSetupClipWindow::SetPreviewIdle(bool Idle) {
    suiImageButton_Snapshoot->SetEnabled(Idle && m_grabber->IsLoaded());
    Panel_Progress->SetEnabled(Idle && SelectedClip() != nullptr);
    suiImageButton_ConfirmStart->SetEnabled(Idle);
    suiImageButton_ConfirmStop->SetEnabled(Idle);
    Label_Info->SetVisible(!Idle);
    if (!Idle) Label_Info->BringToFront();
}

bool TSetupClipWindow::LoadFrameGrabber() {
    if (m_grabber->IsLoaded()) return true;
    if (!m_grabber->Load(TMediaEntries::Grabber)) return false;
    Label_Info->SetVisible(true);
    Label_Info->BringToFront();
    return true;
}

// Asks for the frame at Second; a grabber that must be started first starts at StartSecond.
void TSetupClipWindow::FetchFrame(int Second, int StartSecond) {
    TClipInfo* clip = SelectedClip();
    const int t = std::max(Second, 1);
    if (m_grabber->IsReady()) {
        if (t == i_LastFrameTime || m_grabber->PostFrameRequest(t) == 0) SetPreviewIdle(true);
        return;
    }
    if (clip == nullptr || !LoadFrameGrabber() || m_grabber->PostStart(clip->s_FileName, StartSecond) == 0)
        SetPreviewIdle(true);
}

TBitmap* TSetupClipWindow::GrabFrame(int Width, int Height) {
    if (!m_grabber->IsLoaded()) return nullptr;
    int second = 0;
    TBitmap* frame = m_grabber->GrabFrame(Width, Height, &second);
    if (frame != nullptr) i_LastFrameTime = second;
    return frame;
}

void TSetupClipWindow::OnGrabberMessage(UINT Msg, WPARAM wParam, LPARAM) {
    if (Msg == WM_MEDIA_INIT_DONE) OnMediaInitDone(wParam);
    else if (Msg == WM_MEDIA_FRAME_READY) OnMediaFrameReady(wParam);
    else if (Msg == WM_MEDIA_UNINIT_DONE) OnMediaUninitDone();
}

void TSetupClipWindow::OnMediaInitDone(WPARAM wParam) {
    TClipInfo* clip = SelectedClip();
    // A file the grabber cannot open shows nothing new; the window is idle again.
    if (wParam != 1 || clip == nullptr) {
        SetPreviewIdle(true);
        return;
    }
    SetPreviewIdle(false);
    int t = clip->i_TrimStart;
    if (t > clip->i_Duration - ClipTrim::EndMargin) t -= ClipTrim::EndMargin;
    if (m_grabber->PostFrameRequest(std::max(t, 1)) == 0) SetPreviewIdle(true);
}

void TSetupClipWindow::OnMediaFrameReady(WPARAM wParam) {
    TClipInfo* clip = SelectedClip();
    if (clip != nullptr && wParam == 1) {
        int w = 0, h = 0;
        clip->GetThumbSize(&w, &h);
        std::unique_ptr<TBitmap> thumb(GrabFrame(w, h));
        if (thumb) {
            clip->SetMenuThumbnail(thumb.get());
            ShowClipThumbnail(clip);
        }
        std::unique_ptr<TBitmap> picture(GrabFrame(clip->i_DisplayWidth, clip->i_DisplayHeight));
        if (picture) {
            clip->SetPicture(picture.get());
            ShowClipThumbnail(clip);
        }
    }
    SetPreviewIdle(true);
}

void TSetupClipWindow::OnMediaUninitDone() {}

void TSetupClipWindow::UnloadFrameGrabber() {
    if (!m_grabber || !m_grabber->IsLoaded() || m_grabber->IsUnloading()) return;
    m_grabber->Unload();
    i_LastFrameTime = -1;
    suiImageButton_Snapshoot->SetEnabled(false);
    SetPreviewIdle(true);
}

// ---- snapshot -----------------------------------------------------------------------------------

void TSetupClipWindow::suiImageButton_SnapshootClick(TObject*) {
    TClipInfo* clip = SelectedClip();
    if (clip == nullptr || Busy()) return;
    // A grabber that could not open the clip has no frame: say so before a file name is asked.
    if (!m_grabber->IsReady()) {
        MessageDlg(Language::GetMessageText(kNoFrameMessage), mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    SaveDialog->SetFileName("");
    if (!SaveDialog->Execute()) return;
    SetCurrentDir(ExePath);
    Update();
    std::unique_ptr<TBitmap> frame(GrabFrame(clip->i_DisplayWidth, clip->i_DisplayHeight));
    if (!frame) {
        MessageDlg(Language::GetMessageText(kNoFrameMessage), mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    SaveSnapshot(frame.get(), SaveDialog->GetFileName(), SaveDialog->GetFilterIndex());
}

// Written beside the target first and moved into place, so a failed write leaves no partial file.
bool TSetupClipWindow::SaveSnapshot(TBitmap* Frame, String FileName, int FilterIndex) {
    const bool bmp = FilterIndex == 2;
    const String ext = bmp ? ".bmp" : ".jpg";
    if (UpperCase(ExtractFileExt(FileName)) != UpperCase(ext)) FileName += ext;
    const String part = FileName + ".part" + ext;
    try {
        if (bmp) {
            Frame->SaveToFile(part);
        } else {
            TJPEGImage jpeg;
            jpeg.Assign(Frame);
            jpeg.SetCompressionQuality(100);
            jpeg.SaveToFile(part);
        }
        if (std::rename(part.c_str(), FileName.c_str()) != 0) throw Exception("the file could not be put in place");
        return true;
    } catch (const std::exception& e) {
        std::remove(part.c_str());
        MessageDlg(Language::GetMessageText(Language::kMsgSnapshotNotSaved) + FileName + ": " + e.what(), mtError,
                   TMsgDlgButtons{mbOK});
        return false;
    }
}

// ---- disc size ----------------------------------------------------------------------------------

bool TSetupClipWindow::CheckDiscSize() {
    Int64 seconds = i_OtherSeconds;
    if (TClipInfo* clip = SelectedClip()) seconds += clip->i_TrimEnd - clip->i_TrimStart;
    const Int64 kb = DiscSize::EstimateKB(i_DiscSizePerMin, seconds);
    DrawDiscSizeBar(kb);
    return DiscSize::FitsOnDisc(kb, i_DiscCapacityKB[i_DVDType == 1 ? 1 : 0]);
}

void TSetupClipWindow::DrawDiscSizeBar(Int64 KB) {
    const Int64 capacity = i_DiscCapacityKB[i_DVDType == 1 ? 1 : 0];
    Image_DiscSizeProgress->SetWidth(DiscSize::BarWidth(KB, capacity, DiscSize::ClipEditorBarWidth));
    if (SetupMenuWindow != nullptr) SetupMenuWindow->SetDiscSizeBar(DiscSize::LimitToCapacity(KB, capacity));
}

// ---- toggles ------------------------------------------------------------------------------------

void TSetupClipWindow::suiImageButton_DVD5Click(TObject*) { SelectDVD9(); }
void TSetupClipWindow::suiImageButton_DVD9Click(TObject*) { SelectDVD5(); }

void TSetupClipWindow::SelectDVD5() {
    suiImageButton_DVD5->SetVisible(true);
    suiImageButton_DVD9->SetVisible(false);
    Image8500->SetVisible(false);
    i_DVDType = 0;
    CheckDiscSize();
    if (SetupMenuWindow != nullptr) SetupMenuWindow->SelectDVD5();
}

void TSetupClipWindow::SelectDVD9() {
    suiImageButton_DVD5->SetVisible(false);
    suiImageButton_DVD9->SetVisible(true);
    Image8500->SetVisible(true);
    i_DVDType = 1;
    CheckDiscSize();
    if (SetupMenuWindow != nullptr) SetupMenuWindow->SelectDVD9();
}

void TSetupClipWindow::suiCheckBox_4_3Click(TObject*) {
    if (suiCheckBox_4_3->GetChecked()) Select4_3();
}
void TSetupClipWindow::suiCheckBox_16_9Click(TObject*) {
    if (suiCheckBox_16_9->GetChecked()) Select16_9();
}
void TSetupClipWindow::suiImageButton_16_9Click(TObject*) { Select4_3(); }
void TSetupClipWindow::suiImageButton_4_3Click(TObject*) { Select16_9(); }

void TSetupClipWindow::Select4_3() {
    suiImageButton_4_3->SetVisible(false);
    suiImageButton_16_9->SetVisible(false);
    suiCheckBox_4_3->SetChecked(true);
    suiCheckBox_16_9->SetChecked(false);
    if (SetupMenuWindow != nullptr) SetupMenuWindow->SetAspect4x3();
}

void TSetupClipWindow::Select16_9() {
    suiImageButton_4_3->SetVisible(false);
    suiImageButton_16_9->SetVisible(false);
    suiCheckBox_16_9->SetChecked(true);
    suiCheckBox_4_3->SetChecked(false);
    if (SetupMenuWindow != nullptr) SetupMenuWindow->SetAspect16x9();
}
