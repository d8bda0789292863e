// The menu designer: one menu at a time on a preview (the title menu or the selected clip's
// chapter menu), the strip of clip tiles, the background list, and the disc type, aspect and
// hand-over to production.
//
//   Builder flow: for each clip CreateClipItem(clip); ArrangeClipItems(); SetupForBuilder();
//                 ShowModal(). The clip list editor keeps SelectDVD5/9, SetAspect4x3/16x9 and
//                 SetDiscSizeBar in step meanwhile.
//   Compiler flow: SetupForCompiler(); ShowModal().
// Every showing arms Timer_CreateMenu; its first tick rebuilds the menus (RebuildMenus): the
// first 12 clips carry a title button and a chapter menu, the others neither. b_Busy is set
// around every rebuild, since the frame grabs it waits on pump messages.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/MediaLibrary.h"
#include "model/MenuObjects.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUICheckBox.h"
#include "skin/core/SUIImagePanel.h"
#include "skin/core/SUISkinForm.h"

class TClipInfo;

// Reads the background list file: the present "Image<i>" names for i < Count, in order; a Count
// beyond the keys present reads only those keys.
std::vector<String> ReadBackgroundNames(const String& IniFile);

class TSetupMenuWindow : public TForm {
    VCL_CLASS(TSetupMenuWindow)
    explicit TSetupMenuWindow(TComponent* AOwner);
    ~TSetupMenuWindow() override;

    TsuiSkinForm* suiSkinForm1;
    TPanel* Panel_MenuPreview;
    TImage* Image_Background;
    TPaintBox* PaintBox_Safe;
    TsuiImagePanel* suiImagePanel_ClipInfo;
    TsuiImagePanel* suiImagePanel_InfoMove;
    TsuiImagePanel* Panel_Material;
    TsuiImagePanel* suiImagePanel_MaterialMove;
    TsuiImageButton* suiImageButton_InfoBar;
    TsuiImageButton* suiImageButton_MaterialBar;
    TsuiImageButton* suiImageButton_TitleMenu;
    TsuiImageButton* suiImageButton_ChapterMenu;
    TsuiImageButton* suiImageButton_Up;
    TsuiImageButton* suiImageButton_DisplaySubMenu;
    TsuiImageButton* suiImageButton_DeleteChapter;
    TsuiImageButton* suiImageButton_Text;
    TsuiImageButton* suiImageButton_AddMusic;
    TsuiImageButton* suiImageButton_RemoveMusic;
    TsuiImageButton* suiImageButton_AddImage;
    TLabel* Label_BackgroundMusic;
    TLabel* Label1;
    TsuiImageButton* suiImageButton_4_3;
    TsuiImageButton* suiImageButton_16_9;
    TsuiCheckBox* suiCheckBox_AddDVDMenu;
    TsuiImageButton* suiImageButton_DVD5;
    TsuiImageButton* suiImageButton_DVD9;
    TImage* Image_DiscSizeProgress;
    TImage* Image8500;
    TsuiImageButton* suiImageButton_AddFile;
    TsuiImageButton* suiImageButton_RemoveFile;
    TsuiImageButton* suiImageButton_Left;
    TsuiImageButton* suiImageButton_Right;
    TsuiImageButton* suiImageButton_Option;
    TsuiImageButton* suiImageButton_Clip;
    TsuiImageButton* suiImageButton_Burn;
    TsuiImageButton* suiImageButton_Close;
    TOpenDialog* OpenDialog;
    TTimer* Timer_CreateMenu;

    TMenuImage* SelectedClipItem = nullptr;
    TButtonImage* SelectedTitleButton = nullptr;
    TSubButtonImage* SelectedChapterButton = nullptr;
    TLabel* PopupLabel = nullptr;
    TPopupMenu* ClipPopup = nullptr;           // owned through the window, made on first use
    TPopupMenu* TitleButtonPopup = nullptr;
    TPopupMenu* ChapterButtonPopup = nullptr;
    TPopupMenu* PreviewPopup = nullptr;
    TPopupMenu* TextPopup = nullptr;
    TPoint PreviewPopupPoint;                  // where "Add" of the preview popup puts a label
    bool b_TitleView = true;
    bool b_ChapterView = false;
    int i_DVD5Capacity = 0;
    int i_DVD9Capacity = 0;
    bool b_CanClose = false;
    std::vector<TBackgroundImage*> BackgroundList;
    bool b_BuilderFlow = false;
    bool b_AddingFiles = false;
    int* BackXCell = nullptr;
    int* BackYCell = nullptr;
    TImage* BackImage = nullptr;
    bool b_Busy = false;
    TTitleMenuState TitleMenu;  // i_TitleBackX/Y, i_BackWidth/Height, aspect, hand-over

    bool b_Dragging = false;
    TPoint DragStartCursor;
    int DragStartLeft = 0, DragStartTop = 0, DragStartWidth = 0, DragStartHeight = 0;
    int DragZone = 0;

    // ---- called by other windows ----
    void CreateClipItem(TClipInfo* Clip);
    void ArrangeClipItems();
    void SetupForBuilder();
    void SetupForCompiler();
    void SelectDVD5();
    void SelectDVD9();
    void SetAspect4x3();
    void SetAspect16x9();
    void SetDiscSizeBar(Int64 KB);
    void ApplyLanguage();
    void ShowTabWords();

    // ---- showing and rebuilding ----
    void FormShow(TObject* Sender);
    void Timer_CreateMenuTimer(TObject* Sender);
    void RebuildMenus();
    void CreateTitleButton(TClipInfo* Clip, bool Reset);
    void RemoveTitleButton(TClipInfo* Clip);
    // Deletes the clip's chapter menu, with the selection and the back image's cells let go.
    void DropChapterMenu(TClipInfo* Clip);
    void AddSelectedClipToTitleMenu();
    void ArrangeTitleButtons();
    void ArrangeChapterButtons(TClipInfo* Clip);

    // ---- chapter menus from grabbed frames ----
    // The designer's grabber: chapter grabs use its waiting requests, bounded by its TimeoutMs.
    TFrameGrabberClient* Grabber() { return m_grabber.get(); }
    bool LoadFrameLibrary();
    void UnloadFrameLibrary();
    // The run's latest frame at Width x Height, or null.
    TBitmap* GrabFrameBitmap(int Width, int Height);
    // The clip's chapter menu for Count chapters at Times (null: automatic times, Count a wish).
    // The new menu is made aside and replaces the clip's menu only when complete; an unchanged
    // menu, or one that could not be made, is left as it is. Returns the clip's menu after the
    // call (possibly null); the caller lays out a new one.
    TSubChapter* CreateChapterMenu(TClipInfo* Clip, int Count, const int* Times);
    // Chapter menu under b_Busy, laid out when new: the rebuild's and the add command's step.
    void MakeAutomaticChapterMenu(TClipInfo* Clip);
    // suiImageButton_DisplaySubMenu and the title-button popup's "Chapter".
    void DisplaySubMenu();
    // suiImageButton_DeleteChapter.
    void DeleteChapter();
    // Wires a chapter button's mouse handlers (placement; double click: the frame chooser).
    void WireChapterButton(TSubButtonImage* Button);

    // ---- views and selection ----
    void ShowTitleMenu();
    void HideTitleMenu();
    void ShowChapterMenu(TSubChapter* Menu);
    void HideChapterMenu(TSubChapter* Menu);
    void PlaceBackImage(bool Visible);
    void SelectClipItem(TMenuImage* Tile);
    void SelectTitleButton(TButtonImage* Button);
    void UpdateChapterCommands(TClipInfo* Clip);
    int SelectedClipIndex() const;
    void MoveSelectedClip(int Step);
    void RemoveSelectedClip();
    void ScrollStrip();

    // ---- backgrounds, music, labels ----
    void LoadBackgroundList();
    void ScrollBackgroundList();
    void SetMenuBackground(const String& File);
    // False, the preview unchanged, when the file is missing or no picture.
    bool ShowBackground(const String& File);
    void SetMenuMusic(const String& File);
    void ShowMusicLabel(const String& File);
    TLabel* AddTextLabel(int X, int Y);
    void ClearShownLabels();
    void DeleteShownLabel(TLabel* Label);
    void PaintSafeFrame(TObject* Sender);

    // ---- popups ----
    enum TPopupKind { pkClip, pkTitleButton, pkChapterButton, pkPreview, pkText };
    // The popup's items made again (captions follow the UI language, ticks the button).
    TPopupMenu* BuildPopup(TPopupKind Kind);
    void OpenPopup(TPopupKind Kind);
    void PopupItemClick(TPopupKind Kind, const String& Name);

    // ---- Compiler-flow VOB intake ----
    // suiImageButton_AddFile.
    void AddFiles();
    // One VOB file to one clip at the end of the list and the strip; false when it was skipped.
    bool AddVobFile(const String& Path);

    // ---- disc size and hand-over ----
    bool UpdateDiscSize();
    int DiscCapacity() const;
    bool Next();
    // The title-menu and root-menu switches into the Builder and Compiler windows.
    void WriteHandOver();
    // The aspect into the production windows.
    void WriteAspect();
    // False, after telling the user, while NTSC and PAL clips are mixed.
    bool CheckVideoStandards();
    void CloseDiscardingProject();
    void ClipBack();
    int PreviewHeight() const { return TitleMenu.PreviewHeight(); }

    // ---- button dragging ----
    void ButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void ButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // A drag of Control from its bounds at mouse-down by (dx, dy) cursor pixels.
    void DragBy(TControl* Control, int dx, int dy);

private:
    // Construction: the controls from a table, then what a row does not say.
    void CreateSkin();
    void CreateControls();
    void PlacePreview();
    void ShowTabs();
    void CreateDialogAndTimer();
    void InstallHandlers();
    void StartBackImage();
    void ShowFirstBackground();
    void ShowStartDisc();
    // The designer's own buttons.
    void TitleMenuTabClick();
    void ChapterMenuTabClick();
    void PreviewMouseUp(TMouseButton Button, int X, int Y);
    void AddDVDMenuClick();
    void OptionClick();
    // The file the user picks with Filter; none when the dialog is cancelled.
    std::optional<String> PickFile(const String& Filter);
    void AddImageClick();
    void AddMusicClick();
    void RemoveMusicClick();
    void SetAspect(MenuLayout::TMenuAspect To);
    TSubChapter* ShownChapterMenu() const;
    // Lets go of every selection, label and back-image cell whose clip or menu is gone (the clip
    // list editor deletes clips while this window is hidden), without touching them.
    void DropStaleSelections();
    void DropStaleBackCells();
    // The tile of the clip the clip list editor has selected, or null.
    TMenuImage* EditorSelectionTile() const;
    TClipInfo* SelectedClip() const;
    void ClampAllToPreview();
    void WireDrag(TControl* Control);
    void WireThumb(TsuiImageButton* Thumb, bool Horizontal);
    int m_thumbGrab = 0;         // cursor offset inside a scroll thumb while it is dragged
    bool m_thumbDragging = false;
    std::unique_ptr<TFrameGrabberClient> m_grabber;
    // The library fell silent during this rebuild: the other clips are not made to wait too.
    bool m_grabberTimedOut = false;
    // The shared progress window with Max steps under message Message; false (none opened)
    // while another is open.
    bool OpenProgress(int Max, int Message);
    void CloseProgress();
    // Sets b_Busy for the life of the guard and puts back the value it found.
    class TBusyGuard {
    public:
        explicit TBusyGuard(bool& Flag) : m_flag(Flag), m_was(Flag) { Flag = true; }
        ~TBusyGuard() { m_flag = m_was; }
        TBusyGuard(const TBusyGuard&) = delete;
        TBusyGuard& operator=(const TBusyGuard&) = delete;

    private:
        bool& m_flag;
        bool m_was;
    };
};

extern TSetupMenuWindow* SetupMenuWindow;
