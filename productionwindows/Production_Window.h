// The production window's design, shared by the all-in-one, compile-mode and convert-only
// windows: output and burner settings, two bars with read-outs, a log, and the run of the
// mode's steps.
//
//   Window->SetBuildMode();     (or SetCompileMode, SetConvertMode; the caller wrote i_Aspect,
//                               b_TitleMenu and b_RootMenu first)
//   Window->ShowModal();        Start runs the steps; the last log line is the result line
//
// All-in-one: ConvertClips, MuxSubtitles, CreateTitleMenu, CreateChapterMenus, AuthorDVD, then
// FinishDisc. The clip and menu encodes are blocking calls that keep the window's messages
// flowing; each mux and the authoring run on one worker thread while this thread waits with its
// messages flowing. Only this thread binds, times and frees a library; the worker only calls
// into it. A folder the authoring library made counts as a disc only once it reads back.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "libs/corvane/CorvaneDLL.h"
#include "libs/dozezedav/Dozezedav.h"
#include "core/LanguageMessages.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win32/Win32Typed.h"
#include "platform/win32/Windows.h"
#include "production/AuthorXml.h"
#include "production/AuthoredDisc.h"
#include "production/MenuFiles.h"
#include "production/MenuPictures.h"
#include "skin/controls/SUIComboBox.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIMemo.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUICheckBox.h"
#include "skin/core/SUISkinForm.h"

class TClipInfo;
class TSubChapter;

// The video bitrate texts by output quality; the speed preference (1) gets the lowest.
extern const String BitrateTable[3];

// The media library's encode entry points, bound for one clip or menu encode.
struct TMediaEncodeEntries {
    X_Get_Info_fn X_Get_Info = nullptr;
    X_StopConvert_fn X_StopConvert = nullptr;
    X_SetPar_D2MPEG_fn X_SetPar_D2MPEG = nullptr;
    X_SetPar_BMP2VOB_fn X_SetPar_BMP2VOB = nullptr;
    X_SetPar_KeyTimes_fn X_SetPar_KeyTimes = nullptr;   // a library without it places chapters itself
    template <typename Bind>
    void ForEachEntry(Bind&& Entry) {
        Entry("X_Get_Info", X_Get_Info, TEntryNeed::Required);
        Entry("X_StopConvert", X_StopConvert, TEntryNeed::Required);
        Entry("X_SetPar_D2MPEG", X_SetPar_D2MPEG, TEntryNeed::Required);
        Entry("X_SetPar_BMP2VOB", X_SetPar_BMP2VOB, TEntryNeed::Required);
        Entry("X_SetPar_KeyTimes", X_SetPar_KeyTimes, TEntryNeed::Optional);
    }
};
using TMediaEncoder = TModuleBinding<TMediaEncodeEntries>;

constexpr const char* AuthoringLibraryName = "dozezedav.dll";

// Which run of the authoring library a binding is for.
enum class TAuthoringJob { SubtitleMux, Authoring };

// The authoring library's entry points, bound for one run: the run's own are required, the
// other run's are bound when present.
template <TAuthoringJob Job>
struct TAuthoringEntries {
    spumux_main_fn spumux_main = nullptr;
    getSubtitleMuxPercent_fn getSubtitleMuxPercent = nullptr;
    author_main_fn author_main = nullptr;
    getVOBsMB_fn getVOBsMB = nullptr;
    dozezedav_last_failure_fn dozezedav_last_failure = nullptr;   // a library without it gives no reason
    template <typename Bind>
    void ForEachEntry(Bind&& Entry) {
        constexpr TEntryNeed mux = Job == TAuthoringJob::SubtitleMux ? TEntryNeed::Required : TEntryNeed::Optional;
        constexpr TEntryNeed author = Job == TAuthoringJob::Authoring ? TEntryNeed::Required : TEntryNeed::Optional;
        Entry("spumux_main", spumux_main, mux);
        Entry("getSubtitleMuxPercent", getSubtitleMuxPercent, mux);
        Entry("author_main", author_main, author);
        Entry("getVOBsMB", getVOBsMB, author);
        Entry("dozezedav_last_failure", dozezedav_last_failure, TEntryNeed::Optional);
    }
};
using TSubtitleMuxLibrary = TModuleBinding<TAuthoringEntries<TAuthoringJob::SubtitleMux>>;
using TAuthoringLibrary = TModuleBinding<TAuthoringEntries<TAuthoringJob::Authoring>>;

// Whether a window's first drive choice becomes every window's burner (g_i_BurnerIndex).
enum class TBurnerChoice { Shared, Own };
// Whether the burner group has the Device button; the convert-only window burns nothing.
enum class TDeviceButton { Without, With };

// The window's mode, given by the mode setter of the window's own class. The mode bytes
// (b_BuildMode, b_ConvertMode, b_CompileMode) are set from it alone: at most one is set,
// none in burn-only mode.
enum class TProductionMode { BurnOnly, Build, Convert, Compile };

// Why a run went idle. The reason's log line is message kMsgUserAbort + reason (the
// "<<< ..." lines of the message table); kIdleQuiet logs none.
enum TIdleReason : int {
    kIdleQuiet = -1,
    kIdleUserAbort = 0,
    kIdleFinished = 1,
    kIdleConvertParameter = 2,
    kIdleConvertProcess = 3,
    kIdleMuxParameter = 4,
    kIdleMuxProcess = 5,
    kIdleTitleMenuParameter = 6,
    kIdleTitleMenuConvert = 7,
    kIdleTitleMenuMux = 8,
    kIdleChapterMenuParameter = 9,
    kIdleChapterMenuConvert = 10,
    kIdleChapterMenuMux = 11,
    kIdleAuthorParameter = 12,
    kIdleAuthorProcess = 13,
    kIdleAuthorNotStarted = 14,
    kIdleConvertNotStarted = 15,
    kIdleBurnCancelled = 16,
    kIdleBurnFailed = 17,
};
static_assert(Language::kMsgUserAbort + int{kIdleBurnFailed} == Language::kMsgBurnProcessWrong);

// A clip or menu encode (RunConvert, ConvertMenuToVob): the media library's answer, or no
// library to call.
enum TEncodeResult : int { kEncodeFailed = -1, kEncodeOk = 0, kEncodeNoLibrary = 2 };
// A step run on the worker (RunSpumuxThread, RunAuthorThread).
enum TWorkerResult : int { kWorkerNotDone = 0, kWorkerDone = 1, kWorkerNoLibrary = 2 };
// Preparing a menu's files (PrepareTitleMenu, PrepareChapterMenu): kMenuNone when there is no
// such menu to make.
enum TMenuPrepareResult : int { kMenuNotMade = 0, kMenuReady = 1, kMenuNone = 2 };
// Preparing a clip's subtitle mux (PrepareSubtitleMux): kMuxNone when the clip goes without.
enum TMuxPrepareResult : int { kMuxFailed = -1, kMuxNone = 0, kMuxReady = 1 };

class TProductionWindow : public TForm {
    VCL_CLASS(TProductionWindow)
    ~TProductionWindow() override;

    void ApplyLanguage();

    // ---- controls --------------------------------------------------------------------------
    TsuiSkinForm* suiSkinForm1;
    TsuiGroupBox* suiGroupBox_Burner;
    TLabel* Label6;
    TsuiComboBox* suiComboBox_Drive;
    TLabel* Label7;
    TsuiComboBox* suiComboBox_WriteSpeed;
    TLabel* Label5;
    TsuiEdit* suiEdit_VolumeName;
    TsuiImageButton* suiImageButton_Device = nullptr;   // the convert-only window has none
    TsuiGroupBox* suiGroupBox_Output;
    TLabel* Label8;
    TsuiEdit* suiEdit_OutputFolder;
    TsuiImageButton* suiImageButton_Browse;
    TLabel* Label9;
    TsuiCheckBox* suiCheckBox_NTSC;
    TsuiCheckBox* suiCheckBox_PAL;
    TLabel* Label10;
    TsuiComboBox* suiComboBox_OutputQuality;
    TLabel* Label12;
    TLabel* Label_CurrentTime;
    TLabel* Label13;
    TLabel* Label_Duration;
    TLabel* Label14;
    TLabel* Label_FPS;
    TLabel* Label15;
    TLabel* Label_CurrentFrame;
    TLabel* Label2;
    TImage* Image_Progress1;
    TLabel* Label_Progress1;
    TLabel* Label11;
    TImage* Image_Progress2;
    TLabel* Label_Progress2;
    TsuiImageButton* suiImageButton_Start;
    TsuiImageButton* suiImageButton_Stop;
    TsuiImageButton* suiImageButton_Close;
    TsuiMemo* Memo_Msg;
    TTimer* Timer_Convert;
    TTimer* Timer_Spumux;
    TTimer* Timer_Author;

    // ---- members -----------------------------------------------------------------------------
    Byte b_BuildMode = 0;
    Byte b_ConvertMode = 0;
    Byte b_CompileMode = 0;
    Byte b_SkipBurn = 0;
    Byte b_UserAbort = 0;
    Byte b_Authored = 0;
    bool b_TitleMenu = false;
    bool b_RootMenu = false;
    int i_Aspect = 0;
    int i_VideoStandard = 0;
    int i_QualityIndex = 0;
    int i_FrameHeight = 0;
    int i_SquareHeight = 0;
    double d_TargetAspect = 0;
    String s_VolumeName;
    String s_TempFolder;
    String s_DVDFolder;
    Byte b_BackButtonUsable = 0;

    // clip encoder
    int i_ClipIndex = 0;
    String s_SourceFile;
    int i_ClipStart = 0;
    String s_StartText;
    int i_ClipDuration = 0;
    String s_DurationText;
    String s_PictureSize;
    String s_OutputVob;
    String s_FrameSize, s_FrameRate, s_AspectRatio, s_Bitrate;
    String s_Passes, s_SampleRate, s_VideoFormat, s_TargetFormat, s_AudioBitrate, s_Title, s_Author,
        s_Comment, s_Reserved18, s_Reserved19, s_Reserved21, s_AudioFormat;
    int i_Reserved23 = 0;

    // mux
    String s_MuxXml, s_MuxIn, s_MuxOut, s_AuthorXml;
    std::vector<String> SubtitledVobs;   // the clip VOBs this run gave a subtitle stream
    String s_ProgramFailure;             // why the last mux or authoring failed, as the library says

    // library bindings, each held only while its step runs
    std::unique_ptr<TMediaEncoder> MediaEncoder;
    std::unique_ptr<TSubtitleMuxLibrary> MuxLibrary;
    std::unique_ptr<TAuthoringLibrary> AuthorLibrary;

    // ---- operations --------------------------------------------------------------------------
    void InitControls();
    virtual bool CheckBeforeStart();
    virtual void SetConvertParameters();
    void EnterBusyState();
    void EnterIdleState(int Code);
    void AddLog(const String& Text);
    void SetProgress1(int Percent);
    void SetProgress2(int Percent);
    void ShowConvertProgress(int Seconds);
    void ShowMuxProgress(int Percent);
    bool IsBusy() const;

    // conversion
    bool ConvertClips();
    bool PrepareClip(TClipInfo* Clip);
    int RunConvert();

    // worker and mux
    int RunSpumuxThread();
    int RunSpumux();
    bool MuxSubtitles();
    int PrepareSubtitleMux(TClipInfo* Clip);
    // A step that failed at a program's hands: the reason line, then the step's result line.
    void EndWithProgramFailure(int Code);

    // menus and authoring
    String s_MenuBmp, s_MenuVob, s_MenuMusic;     // the next menu encode's picture, VOB and music
    String s_MenuAspect, s_MenuFrameSize;          // "4/3" or "16/9"; "720:576" or "720:480"
    int i_BackX = 0;
    int i_BackY = 0;
    bool b_VmgmWritten = false;
    bool b_TitlesetMenusWritten = false;
    TAuthorProgress AuthorProgress;                // the clip VOBs' total and the fixing pass's note
    String s_DVDDest;                              // the folder author.xml names (holds VIDEO_TS)
    TExpectedDisc ExpectedAuthored;                // what that folder must read back as
    int PrepareTitleMenu();
    int PrepareChapterMenu(TSubChapter* Menu, int ClipIndex);
    int ConvertMenuToVob();
    bool CreateTitleMenu();
    bool CreateChapterMenus();
    bool HasTitleMenuVob() const;
    bool HasRootMenuVob() const;
    bool HasBackButton() const;
    bool AuthorDVD();
    bool WriteAuthorXml();
    int RunAuthorThread();
    int RunAuthor();
    void ShowAuthorProgress(Int64 Megabytes);
    void Timer_AuthorTimer(TObject* Sender);

    // burning
    std::int64_t i64_FolderSize = 0;
    int i_EraseCount = 0;
    Byte b_Padding = 0;
    // A drive came or went while the lists could not be refilled; one rescan follows when idle.
    Byte b_DeviceChangeNoted = 0;
    void FillDriveList(int Index);
    void FillWriteSpeedList(bool Refresh);
    void suiComboBox_DriveChange(TObject* Sender);
    void WMDeviceChange(TMessage& Message);
    void WMBurnerNotify(TMessage& Message);
    // 0 no folder, no burner or a failed burn; 1 burnt; 2 not blank; 3 unusable disc; 4 too small.
    int BurnFolder(const String& Folder);
    bool BurnDisc();
    bool AskForAnotherDisc(int Message);
    void NoteDriveInUse();
    void suiImageButton_DeviceClick(TObject* Sender);
    void ShowBurnProgress(int Percent);
    // The lists may be refilled now: shown, idle, no burner operation and no Device window up.
    bool MayRescanDevices() const;

    // event handlers
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormDestroy(TObject* Sender);
    void suiImageButton_StartClick(TObject* Sender);
    void suiImageButton_StopClick(TObject* Sender);
    void suiImageButton_CloseClick(TObject* Sender);
    void suiImageButton_BrowseClick(TObject* Sender);
    void suiCheckBox_NTSCClick(TObject* Sender);
    void suiCheckBox_PALClick(TObject* Sender);
    void Timer_ConvertTimer(TObject* Sender);
    void Timer_SpumuxTimer(TObject* Sender);

    void Dispatch(TMessage& Message) override;

protected:
    // Only the all-in-one window makes its first drive choice the shared one; the others fill
    // their list and leave the setting alone.
    TProductionWindow(TComponent* AOwner, TBurnerChoice BurnerChoice, TDeviceButton Device);
    // The mode's steps after the run has started; false when a step failed (it logged).
    virtual bool RunSteps() = 0;
    // Starts Work on the worker; false when no thread could be made.
    virtual bool StartWorker(std::function<void()> Work);
    void SetMode(TProductionMode Mode);
    void OpenOutputFolder();
    // The burner and disc question before a run that burns: false when the user stops there,
    // true to go on (b_SkipBurn set when without burning).
    bool CheckBurnerAndDisc();
    // The output and work folders can be used; false (the user told why) when not.
    bool CheckFolders();
    // The project fits the chosen disc, or the user chose to go on; false to stay idle.
    bool CheckDiscCapacity();
    Int64 ProjectEstimateKB() const;
    // Message's OK and Cancel question, captioned "Burn to disc ?"; true for OK.
    bool AskBurnQuestion(int Message);
    void LogOversizedFolder();
    // The end of a disc run: the output folder when the user chose not to burn. The burning
    // step is called from here.
    bool FinishDisc();
    // The all-in-one and convert-only windows keep the quality setting; the compile-mode one
    // keeps its own list and never stores it.
    virtual bool KeepsQualitySetting() const { return true; }

private:
    const TBurnerChoice m_burnerChoice = TBurnerChoice::Own;
    const TDeviceButton m_deviceButton = TDeviceButton::Without;
    static constexpr int kNoWorker = -1000000;
    // A library call that threw: none of the module's own codes, so a failure.
    static constexpr int kCallThrew = -1;
    String ClipKeyTimes() const;
    int WaitForWorker(std::function<int()> Work);
    void WorkerFinished(int Result);
    HANDLE h_WorkerDone = nullptr;
    void FillMenuPictures(TMenuPictures& Pictures) const;
    void BackPictureSize(const TMenuPictures& Pictures, int& Width, int& Height) const;
    // Writes one menu's files (1 when made) from its pictures and the back button's size.
    using TMenuWriter = std::function<int(TMenuPictures& Pictures, int BackWidth, int BackHeight)>;
    int PrepareMenuFiles(const TMenuFiles& Files, const TMenuWriter& Write);
    TAuthorProject AuthorProject() const;
    bool MenuEncodeFailed(int Result, int Code);
    // The controls and their pictures from the program's RES folder; a missing picture leaves
    // that part plain (no skin: a grey rectangle, no button picture: its bare caption).
    void CreateControls();
    void ShowCaptions();
    void SetControlStyles();
    void SetFirstStates();
    // The Device button in the burner group; the convert-only window has none.
    void CreateDeviceButton();
    // The one place the window's and its controls' events are wired.
    void InstallHandlers();
    void FillQualityList();
    void SetInputsEnabled(bool Enabled);
    bool FinishMux(int CallResult);
    // The library's reason for its last failed call of Entry, while it is still bound; "" when
    // the library keeps none.
    static String LibraryFailure(dozezedav_last_failure_fn LastFailure, int Entry);
    // A run that stops at the subtitle mux takes its converted VOBs with it, unless the user
    // keeps the work files.
    void DiscardRunVobs();

};
