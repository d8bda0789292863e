// The clip list editor: the first window of the Builder and Converter modes.
//
//   SetBuilderMode() or SetConverterMode(), then ShowModal(): the person adds video files
//   (each a TClipInfo in ClipInfo with its row), arranges and trims them, previews and
//   snapshots frames, watches the disc-size bar, and goes on with Next. Closing the window
//   discards the clip list.
//
// The list half lives in SetupClip_Window.cpp, the trim, preview, snapshot and disc-size half in
// SetupClip_WindowTrim.cpp. The preview's frame grabber is the shared TFrameGrabberClient: its
// requests return at once and its answers come back through OnMessage.
#pragma once

#include "core/Language.h"

#include <memory>

#include "core/ClipTrim.h"
#include "core/MediaLibrary.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUICheckBox.h"
#include "skin/core/SUIImagePanel.h"
#include "skin/core/SUISkinForm.h"

class TClipInfo;
class TSetupImage;

class TSetupClipWindow : public TForm {
    VCL_CLASS(TSetupClipWindow)
    explicit TSetupClipWindow(TComponent* AOwner);
    ~TSetupClipWindow() override;

    TsuiSkinForm* suiSkinForm1;
    TImage* Image_Preview;
    TLabel* Label_Info;
    TsuiImagePanel* suiImagePanel_ClipInfo;
    TsuiImagePanel* suiImagePanel_InfoMove;
    TPanel* Panel_Bar;
    TImage* Image_BarBack;
    TsuiImageButton* suiImageButton_InfoBar;
    TsuiImageButton* suiImageButton_AddFile;
    TsuiImageButton* suiImageButton_RemoveFile;
    TsuiImageButton* suiImageButton_Up;
    TsuiImageButton* suiImageButton_Down;
    TsuiImageButton* suiImageButton_Option;
    TsuiImageButton* suiImageButton_Menu;
    TsuiImageButton* suiImageButton_Close;
    TsuiCheckBox* CheckBox_AddLetterBox;
    TsuiCheckBox* suiCheckBox_AddDVDMenu;
    TOpenDialog* OpenDialog;
    TSaveDialog* SaveDialog;

    TPanel* Panel_Progress;
    TImage* Image_ProgressBack;
    TsuiImageButton* Image_Left;
    TsuiImageButton* Image_Right;
    TImage* Image_Stretch;
    TsuiImageButton* suiImageButton_Snapshoot;
    TsuiMaskEdit* suiEdit_Start;
    TsuiMaskEdit* suiEdit_Stop;
    TsuiImageButton* suiImageButton_ConfirmStart;
    TsuiImageButton* suiImageButton_ConfirmStop;
    TLabel* Label_Start;
    TLabel* Label_Stop;
    TImage* Image_DiscSizeProgress;
    TsuiImageButton* suiImageButton_DVD5;
    TsuiImageButton* suiImageButton_DVD9;
    TImage* Image8500;
    TsuiGroupBox* suiGroupBox1;
    TsuiRadioButton* suiCheckBox_4_3;
    TsuiRadioButton* suiCheckBox_16_9;
    TsuiImageButton* suiImageButton_4_3;
    TsuiImageButton* suiImageButton_16_9;

    // ---- entry points ----
    void SetBuilderMode();
    void SetConverterMode();
    void ApplyLanguage();
    // The menu designer's close box in the Builder flow: the project is discarded (the selection
    // let go first) and this window closes instead of coming back.
    void CloseDiscardingProject();

    // ---- form and list (SetupClip_Window.cpp) ----
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void suiImageButton_AddFileClick(TObject* Sender);
    void suiImageButton_RemoveFileClick(TObject* Sender);
    void suiImageButton_UpClick(TObject* Sender);
    void suiImageButton_DownClick(TObject* Sender);
    void suiImageButton_InfoBarMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void suiImageButton_InfoBarMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void suiImageButton_InfoBarMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void CheckBox_AddLetterBoxClick(TObject* Sender);
    void suiImageButton_MenuClick(TObject* Sender);
    void suiImageButton_OptionClick(TObject* Sender);
    void suiImageButton_CloseClick(TObject* Sender);
    void ClipRowClick(TObject* Sender);
    void ClipRowMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void SrtIconClick(TObject* Sender);

    void AddFiles();
    TClipInfo* CreateClipFromFile(const String& FileName);
    void AddClipRow(TClipInfo* Clip);
    void LayoutClipRows();
    void ScrollClipList();
    void SelectClip(TSetupImage* Row);
    void RemoveSelectedClip();
    void MoveClipUp();
    void MoveClipDown();
    void MoveClipToTop();
    void MoveClipToBottom();
    bool BuildClipPopupMenu();
    void ClipPopupItemClick(TObject* Item);
    void EditClipSubtitle(TClipInfo* Clip);
    void ResetForMode();

    // ---- trim, preview, snapshot, disc size (SetupClip_WindowTrim.cpp) ----
    void StartHandleMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void StartHandleMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void StartHandleMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void EndHandleMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void EndHandleMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void EndHandleMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void RangeBarMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void RangeBarMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void RangeBarMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void suiEditChange(TObject* Sender);
    void suiEdit_StartExit(TObject* Sender);
    void suiImageButton_ConfirmClick(TObject* Sender);
    void suiImageButton_SnapshootClick(TObject* Sender);
    void suiImageButton_DVD5Click(TObject* Sender);
    void suiImageButton_DVD9Click(TObject* Sender);
    void suiCheckBox_4_3Click(TObject* Sender);
    void suiCheckBox_16_9Click(TObject* Sender);
    void suiImageButton_4_3Click(TObject* Sender);
    void suiImageButton_16_9Click(TObject* Sender);

    void SyncTrimHandles(TClipInfo* Clip);
    void ShowTrimTimes(TClipInfo* Clip);
    void UnloadFrameGrabber();
    bool CheckDiscSize();
    void DrawDiscSizeBar(Int64 KB);
    void SelectDVD5();
    void SelectDVD9();
    void Select4_3();
    void Select16_9();

    // ---- for the program's own checks and tests ----
    TSetupImage* GetSelectedRow() const { return SelectedRow; }
    TClipInfo* SelectedClip() const;
    bool IsBuilderMode() const { return b_BuilderMode; }
    int GetTotalSeconds() const { return i_TotalSeconds; }
    int GetOtherSeconds() const { return i_OtherSeconds; }
    TPopupMenu* GetClipPopupMenu() const { return ClipPopupMenu; }
    TFrameGrabberClient* Grabber() const { return m_grabber.get(); }
    // The preview is seeking: "Seeking please wait..." shows.
    bool IsSeeking() const;

private:
    // ---- construction ----
    void CreateComponents();
    void CreateControls();
    void ShapeListControls();
    void ShapeTrimControls();
    void ShapeDiscControls();
    // The words on the window's skin (its title, the areas' names, the buttons' names), in
    // the user's language.
    void ShowSkinWords();
    std::vector<Language::TMessageCaption> SkinWords;
    void LoadSkin();
    void InstallHandlers();

    // ---- list ----
    // Files are being added, or the grabber's end is awaited: commands are refused.
    bool Busy() const;
    int SelectedIndex() const;
    void SwapClips(int A, int B);
    void MoveClip(int From, int To);
    void ShowClipThumbnail(TClipInfo* Clip);
    void ReportAddedFiles(const std::vector<String>& Rejected, int Chosen);
    // The selection, the totals and the clip list emptied, as closing does.
    void DiscardProject();
    // A selected row no clip of ClipInfo holds any more is let go without being touched, and the
    // totals are summed again.
    void DropStaleSelection();
    void ShowMenuDesigner();
    TClipInfo* ReadClip(TMediaLibrary& Library, const String& FileName);
    void PickUpSubtitle(TClipInfo* Clip, const String& FileName);

    // ---- trim and preview ----
    ClipTrim::TTrimHandles CurrentHandles() const;
    void ShowHandles(const ClipTrim::TTrimHandles& Handles);
    void PlaceTrimHandles(double StartRatio, double EndRatio);
    void GetTrimRatios(double* StartRatio, double* EndRatio) const;
    void UpdateRangeBar();
    TPoint CursorOf(TControl* Control, int X, int Y) const;
    bool DragAllowed(TMouseButton Button) const;
    void BeginTrimDrag(TControl* Control, int X, int Y);
    void ShowEditSecond(TsuiMaskEdit* Edit, int Second, TColor Colour);
    void ApplyTrimChange(const ClipTrim::TTrimChange& Change, bool RecomputeDiscSize);
    // Ends a left-button drag of a handle or the range bar with Release's result.
    using TTrimRelease = ClipTrim::TTrimChange (*)(const ClipTrim::TTrimRatios&, int, int, int);
    void FinishTrimDrag(TMouseButton Button, TTrimRelease Release);
    void SetPreviewIdle(bool Idle);
    bool LoadFrameGrabber();
    void FetchFrame(int Second, int StartSecond);
    TBitmap* GrabFrame(int Width, int Height);
    void OnGrabberMessage(UINT Msg, WPARAM wParam, LPARAM lParam);
    void OnMediaInitDone(WPARAM wParam);
    void OnMediaFrameReady(WPARAM wParam);
    void OnMediaUninitDone();
    bool SaveSnapshot(TBitmap* Frame, String FileName, int FilterIndex);

    bool b_Busy = false;
    bool b_DraggingThumb = false;
    TPoint ThumbDragStart{};
    TPoint ThumbDragNow{};
    int i_ThumbTopAtStart = 0;
    TPoint TrimDragStart{};
    TPoint TrimDragNow{};
    int i_DragLeftAtStart = 0;
    bool b_TrimDragging = false;
    int i_LastFrameTime = -1;
    int i_TotalSeconds = 0;
    int i_OtherSeconds = 0;
    Int64 i_DiscCapacityKB[2] = {0, 0};
    TPopupMenu* ClipPopupMenu = nullptr;
    std::unique_ptr<TFrameGrabberClient> m_grabber;
    TSetupImage* SelectedRow = nullptr;
    bool b_BuilderMode = true;
    int i_ChosenFileCount = 0;  // files chosen in the open dialog now being added
    bool b_ClosedFromDesigner = false;
};

extern TSetupClipWindow* SetupClipWindow;
