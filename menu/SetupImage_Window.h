// The frame chooser: picks the picture of a title button or a chapter button from its clip.
//
//   SetupImageWindow->EditTitleButton(Button);     // or EditChapterButton(ChapterButton)
//     the handle spans the clip's trim range; each release asks the frame grabber for the frame
//     at that second and shows it; OK gives the button the frame on show, if one arrived while
//     the window was open; closing ends the grabber.
// The grabber is the shared TFrameGrabberClient: requests return at once and are answered
// through its OnMessage; a request left unanswered times out and frees the handle again.
#pragma once

#include <memory>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win32/Windows.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUISkinForm.h"

class TButtonImage;
class TClipInfo;
class TFrameGrabberClient;
class TSubButtonImage;

// The handle's travel, in the window's client coordinates.
namespace FrameChooser {

constexpr int HandleLeftMin = 28;
constexpr int HandleLeftMax = 316;
constexpr int HandleTravel = HandleLeftMax - HandleLeftMin;  // 288 pixels
// Frames closer to the end than this are not asked for: the grabber may not reach them.
constexpr int EndMargin = 10;

struct TRange {
    int Start = 0;
    int End = 1;
};

// The slider's range for a trim range: an empty (or reversed) one gets one second.
TRange RangeOfTrim(int TrimStart, int TrimEnd);
// The second the handle at Left stands for.
int TimeAtLeft(int Left, TRange Range);
// Where the handle stands for Time: the ends of the travel outside the range.
int LeftOfTime(int Time, TRange Range);
// The handle dragged from StartLeft by DeltaX pixels, kept on its travel.
int DraggedLeft(int StartLeft, int DeltaX);
// The second asked for after a release at Time: not within the last EndMargin seconds of the
// clip (Duration), and at least second 1.
int RequestedTime(int Time, int Duration);

}  // namespace FrameChooser

class TSetupImageWindow : public TForm {
    VCL_CLASS(TSetupImageWindow)
    explicit TSetupImageWindow(TComponent* AOwner);
    ~TSetupImageWindow() override;

    TsuiSkinForm* suiSkinForm1;
    TLabel* Label_Text;
    TImage* Image_Preview;
    TLabel* Label_Info;
    TsuiImageButton* Image_Bar;
    TLabel* Label_Time;
    TsuiImageButton* suiImageButton2;  // OK
    TsuiImageButton* suiImageButton1;  // Cancel

    TPoint SliderStartCursor;
    TPoint SliderCursor;
    int SliderStartLeft = 0;
    bool b_Sliding = false;
    TButtonImage* EditedTitleButton = nullptr;        // not owned
    TSubButtonImage* EditedChapterButton = nullptr;   // not owned
    TClipInfo* Clip = nullptr;                        // not owned
    int ShownTime = 0;
    int RangeStart = 0;
    int RangeEnd = 1;

    // Load the button and show the window modally; nothing for null or a button without a clip.
    void EditTitleButton(TButtonImage* Button);
    void EditChapterButton(TSubButtonImage* Button);
    // The loading half of the two above, for callers that show the window themselves.
    bool LoadTitleButton(TButtonImage* Button);
    bool LoadChapterButton(TSubButtonImage* Button);
    void ApplyLanguage();
    void ShowButtonWords();

    // The handle's events.
    void Image_BarMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Image_BarMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void Image_BarMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // OK: the frame on show becomes the button's picture, then the window closes.
    void suiImageButton2Click(TObject* Sender);
    // The window closes (OK, Cancel or otherwise): the grabber ends.
    void FormClose(TObject* Sender, TCloseAction& Action);

    // The second the handle stands for now.
    int SliderTime() const;
    // A request is open: the handle is disabled until its answer (or its time-out).
    bool IsSeeking() const { return !Image_Bar->GetEnabled(); }
    // A frame arrived while the window was open, so OK has something to apply.
    bool HasNewFrame() const { return m_frame != nullptr; }
    TFrameGrabberClient* Grabber() const { return m_grabber.get(); }

    // LoadFrameLibrary / UnloadFrameLibrary on the shared client.
    bool LoadFrameLibrary();
    void UnloadFrameLibrary();

private:
    void CreateSkin();
    void CreateControls();
    void ShowStartCaptions();
    void SetLabelFonts();
    void InstallHandlers();
    void LoadClip(TClipInfo* AClip, int StartTime, int MessageNumber);
    void PlaceHandle(int Left);
    void SetSliderEnabled(bool Enabled);
    void AskForFrame(int Second);
    void OnGrabberMessage(UINT Msg, WPARAM wParam, LPARAM lParam);
    void OnInitDone(WPARAM wParam);
    void OnFrameReady(WPARAM wParam);
    void ShowFrame(TBitmap* Frame);
    void ApplyFrame();

    std::unique_ptr<TFrameGrabberClient> m_grabber;
    // The frame that arrived last in this showing (thumbnail size), or null.
    std::unique_ptr<TBitmap> m_frame;
    // The second the open request (a start or a frame) asks for.
    int m_askedTime = 0;
};

extern TSetupImageWindow* SetupImageWindow;
