#include "menu/SetupImage_Window.h"

#include <algorithm>
#include <cstdint>

#include "app/FormBuilder.h"
#include "app/ResPictures.h"
#include "core/Language.h"
#include "core/MediaLibrary.h"
#include "core/Pubfunction.h"
#include "model/CustomClass.h"
#include "model/MenuObjects.h"
#include "platform/vcl/SysUtils.h"

TSetupImageWindow* SetupImageWindow = nullptr;

namespace FrameChooser {

TRange RangeOfTrim(int TrimStart, int TrimEnd) {
    // A reversed range would run the handle backwards; both get the one second an empty one gets.
    return TRange{TrimStart, TrimEnd > TrimStart ? TrimEnd : TrimStart + 1};
}

int TimeAtLeft(int Left, TRange Range) {
    const std::int64_t span = static_cast<std::int64_t>(Range.End) - Range.Start;
    return static_cast<int>((static_cast<std::int64_t>(Left) - HandleLeftMin) * span / HandleTravel + Range.Start);
}

int LeftOfTime(int Time, TRange Range) {
    if (Time < Range.Start) return HandleLeftMin;
    if (Time > Range.End) return HandleLeftMax;
    const std::int64_t span = static_cast<std::int64_t>(Range.End) - Range.Start;
    return static_cast<int>(HandleLeftMin + (static_cast<std::int64_t>(Time) - Range.Start) * HandleTravel / span);
}

int DraggedLeft(int StartLeft, int DeltaX) { return std::clamp(StartLeft + DeltaX, HandleLeftMin, HandleLeftMax); }

int RequestedTime(int Time, int Duration) {
    if (Time > Duration - EndMargin) Time -= EndMargin;
    return std::max(Time, 1);
}

}  // namespace FrameChooser

namespace {

constexpr int kWidth = 371;
constexpr int kHeight = 414;
constexpr int kHandleTop = 293;
constexpr int kTitleMessage = Language::kMsgSelectTitleButtonImage;
constexpr int kChapterMessage = Language::kMsgSelectChapterButtonImage;

}  // namespace

TSetupImageWindow::TSetupImageWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("SetupImageWindow");
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientWidth(kWidth);
    SetClientHeight(kHeight);
    GetFont()->SetName("Tahoma");
    CreateSkin();
    CreateControls();
    m_grabber = std::make_unique<TFrameGrabberClient>();
    InstallHandlers();
    ShowButtonWords();
}

TSetupImageWindow::~TSetupImageWindow() {
    m_grabber.reset();
    if (SetupImageWindow == this) SetupImageWindow = nullptr;
}

void TSetupImageWindow::CreateSkin() {
    suiSkinForm1 = NewSkinForm(this);
    ShowResSkin(suiSkinForm1, "image_skin.bmp");
}

void TSetupImageWindow::CreateControls() {
    using W = TSetupImageWindow;
    static constexpr TControlRow kRows[] = {
        Place<&W::Label_Text>("Label_Text", 23, 30, 0, 0),
        Place<&W::Image_Preview>("Image_Preview", 29, 63, 296, 220),
        Place<&W::Label_Info>("Label_Info", 110, 165, 0, 0, "Seeking please wait..."),
        Place<&W::Image_Bar>("Image_Bar", FrameChooser::HandleLeftMin, kHandleTop, 14, 21, "image_bar"),
        Place<&W::Label_Time>("Label_Time", 24, 330, 0, 0),
        Place<&W::suiImageButton2>("suiImageButton2", 176, 368, 80, 28, "text_ok"),
        Place<&W::suiImageButton1>("suiImageButton1", 268, 368, 80, 28, "text_cancel"),
    };
    BuildControls(this, kRows, TArtSource::kResFolder);
    ShowStartCaptions();
    SetLabelFonts();
    Image_Preview->SetCenter(true);
    Label_Info->SetVisible(false);
    Image_Bar->SetCursor(crHandPoint);
    suiImageButton1->SetModalResult(mrCancel);
}

// Captions that come from the language and the clock, not from the table.
void TSetupImageWindow::ShowStartCaptions() {
    Label_Text->SetCaption(Language::GetMessageText(kTitleMessage));
    Label_Time->SetCaption(Pubfunction::SecondsToHMS(0));
}

void TSetupImageWindow::SetLabelFonts() {
    Label_Text->GetFont()->SetColor(clWhite);
    Label_Text->GetFont()->SetStyle(TFontStyles{fsBold});
    Label_Info->GetFont()->SetColor(clLime);
    Label_Info->GetFont()->SetStyle(TFontStyles{fsBold});
}

void TSetupImageWindow::InstallHandlers() {
    Image_Bar->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { Image_BarMouseDown(s, b, sh, x, y); };
    Image_Bar->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { Image_BarMouseMove(s, sh, x, y); };
    Image_Bar->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { Image_BarMouseUp(s, b, sh, x, y); };
    suiImageButton2->OnClick = [this](TObject* s) { suiImageButton2Click(s); };
    CloseOnEscape(this, suiImageButton1);
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    m_grabber->OnMessage = [this](UINT m, WPARAM w, LPARAM l) { OnGrabberMessage(m, w, l); };
    // A grabber that stays silent gives up its run; the handle is free for the next try.
    m_grabber->OnTimeOut = [this] { SetSliderEnabled(true); };
}

void TSetupImageWindow::ApplyLanguage() {
    Language::ApplyLanguageToForm(this);
    ShowButtonWords();
}

void TSetupImageWindow::ShowButtonWords() {
    Language::ApplyMessageCaptions(
        {{suiImageButton2, Language::kMsgOkWord}, {suiImageButton1, Language::kMsgCancelWord}});
    for (TsuiImageButton* b : {suiImageButton2, suiImageButton1}) b->GetFont()->SetColor(clWhite);
}

// ---- loading --------------------------------------------------------------------------------

void TSetupImageWindow::LoadClip(TClipInfo* AClip, int StartTime, int MessageNumber) {
    Clip = AClip;
    m_frame.reset();
    b_Sliding = false;
    Label_Text->SetCaption(Language::GetMessageText(MessageNumber));
    const FrameChooser::TRange range = FrameChooser::RangeOfTrim(Clip->i_TrimStart, Clip->i_TrimEnd);
    RangeStart = range.Start;
    RangeEnd = range.End;
    PlaceHandle(FrameChooser::LeftOfTime(StartTime, range));
    Label_Time->SetCaption(Pubfunction::SecondsToHMS(StartTime));
    ShownTime = StartTime;
    SetSliderEnabled(true);
}

bool TSetupImageWindow::LoadTitleButton(TButtonImage* Button) {
    if (Button == nullptr || Button->Clip == nullptr) return false;
    EditedTitleButton = Button;
    EditedChapterButton = nullptr;
    if (Button->Clip->Thumbnail != nullptr) Image_Preview->GetPicture()->Assign(Button->Clip->Thumbnail);
    else Image_Preview->GetPicture()->Assign(nullptr);
    LoadClip(Button->Clip, Button->Clip->i_TrimStart, kTitleMessage);
    return true;
}

bool TSetupImageWindow::LoadChapterButton(TSubButtonImage* Button) {
    if (Button == nullptr || Button->Clip == nullptr) return false;
    EditedTitleButton = nullptr;
    EditedChapterButton = Button;
    Image_Preview->GetPicture()->Assign(Button->FrameBitmap);
    LoadClip(Button->Clip, Button->i_ChapterTime, kChapterMessage);
    return true;
}

void TSetupImageWindow::EditTitleButton(TButtonImage* Button) {
    if (LoadTitleButton(Button)) ShowModal();
}

void TSetupImageWindow::EditChapterButton(TSubButtonImage* Button) {
    if (LoadChapterButton(Button)) ShowModal();
}

// ---- the slider -----------------------------------------------------------------------------

int TSetupImageWindow::SliderTime() const {
    return FrameChooser::TimeAtLeft(Image_Bar->GetLeft(), FrameChooser::TRange{RangeStart, RangeEnd});
}

void TSetupImageWindow::PlaceHandle(int Left) { Image_Bar->SetLeft(Left); }

void TSetupImageWindow::SetSliderEnabled(bool Enabled) {
    Image_Bar->SetEnabled(Enabled);
    Label_Info->SetVisible(!Enabled);
    if (!Enabled) Label_Info->BringToFront();
}

void TSetupImageWindow::Image_BarMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbLeft || Clip == nullptr) return;
    b_Sliding = true;
    SliderStartCursor = Image_Bar->ClientToScreen(TPoint{X, Y});
    SliderStartLeft = Image_Bar->GetLeft();
}

void TSetupImageWindow::Image_BarMouseMove(TObject*, TShiftState, int X, int Y) {
    if (!b_Sliding) return;
    SliderCursor = Image_Bar->ClientToScreen(TPoint{X, Y});
    PlaceHandle(FrameChooser::DraggedLeft(SliderStartLeft, SliderCursor.x - SliderStartCursor.x));
    Label_Time->SetCaption(Pubfunction::SecondsToHMS(SliderTime()));
}

void TSetupImageWindow::Image_BarMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
    if (Button != mbLeft || !b_Sliding) return;
    b_Sliding = false;
    SetSliderEnabled(false);
    AskForFrame(FrameChooser::RequestedTime(SliderTime(), Clip->i_Duration));
}

// The grabber starts at the first release and serves every later one; a library that can't
// be loaded leaves the handle disabled.
void TSetupImageWindow::AskForFrame(int Second) {
    m_askedTime = Second;
    if (m_grabber->IsReady()) {
        if (Second == ShownTime || m_grabber->PostFrameRequest(Second) == 0) SetSliderEnabled(true);
        return;
    }
    if (!LoadFrameLibrary()) return;
    if (m_grabber->PostStart(Clip->s_FileName, Second) == 0) SetSliderEnabled(true);
}

bool TSetupImageWindow::LoadFrameLibrary() {
    if (m_grabber->IsLoaded()) return true;
    if (!m_grabber->Load(TMediaEntries::Grabber)) return false;
    Label_Info->SetVisible(true);
    Label_Info->BringToFront();
    return true;
}

void TSetupImageWindow::UnloadFrameLibrary() {
    if (m_grabber->IsLoaded()) m_grabber->Unload();
}

// ---- the grabber's answers ------------------------------------------------------------------

void TSetupImageWindow::OnGrabberMessage(UINT Msg, WPARAM wParam, LPARAM) {
    if (Msg == WM_MEDIA_INIT_DONE) OnInitDone(wParam);
    else if (Msg == WM_MEDIA_FRAME_READY) OnFrameReady(wParam);
}

// The run is open: the frame wanted is the one released for, not the start of the clip.
void TSetupImageWindow::OnInitDone(WPARAM wParam) {
    if (wParam != 1) {
        SetSliderEnabled(true);
        return;
    }
    SetSliderEnabled(false);
    if (m_grabber->PostFrameRequest(m_askedTime) == 0) SetSliderEnabled(true);
}

void TSetupImageWindow::OnFrameReady(WPARAM wParam) {
    if (wParam == 1 && Clip != nullptr) {
        int width = 0;
        int height = 0;
        Clip->GetThumbSize(&width, &height);
        int second = 0;
        std::unique_ptr<TBitmap> frame(m_grabber->GrabFrame(width, height, &second));
        if (frame) {
            ShownTime = second;
            ShowFrame(frame.release());
        }
    }
    SetSliderEnabled(true);
}

void TSetupImageWindow::ShowFrame(TBitmap* Frame) {
    m_frame.reset(Frame);
    Image_Preview->GetPicture()->Assign(Frame);
}

// ---- OK and closing -------------------------------------------------------------------------

void TSetupImageWindow::ApplyFrame() {
    if (!m_frame) return;   // nothing arrived while the window was open: the picture stays
    if (EditedTitleButton != nullptr && Clip != nullptr) {
        // SetPicture leaves the bitmap it is given at thumbnail size: it gets a copy.
        TBitmap copy;
        copy.Assign(m_frame.get());
        Clip->SetPicture(&copy);
    } else if (EditedChapterButton != nullptr) {
        if (EditedChapterButton->FrameBitmap == nullptr) EditedChapterButton->FrameBitmap = new TBitmap();
        EditedChapterButton->FrameBitmap->Assign(m_frame.get());
        EditedChapterButton->SetSize(0, 0);
    }
}

void TSetupImageWindow::suiImageButton2Click(TObject*) {
    ApplyFrame();
    SetModalResult(mrOk);
}

void TSetupImageWindow::FormClose(TObject*, TCloseAction&) {
    UnloadFrameLibrary();
    m_frame.reset();
    b_Sliding = false;
}
