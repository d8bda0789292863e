#include "productionwindows/Production_Window.h"

#include <cstdio>
#include <exception>

#include "app/FormBuilder.h"
#include "app/Progress_Window.h"
#include "app/ResPictures.h"
#include "core/Language.h"
#include "core/MediaLibrary.h"
#include "core/Pubfunction.h"
#include "disc/Starburn_control.h"
#include "model/CustomClass.h"
#include "model/DiscSize.h"
#include "model/MenuObjects.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/SysUtils.h"
#include "production/ClipConversion.h"
#include "production/RunParameters.h"
#include "production/SubtitleEncoding.h"
#include "production/SubtitleMux.h"
#include "production/SubtitleTiming.h"
#include "production/VolumeName.h"

const String BitrateTable[3] = {"5000", "3000", "4000"};

namespace {

TTimer* MakeTimer(TComponent* Owner, const char* Name) {
    auto* timer = new TTimer(Owner);
    timer->SetName(Name);
    timer->SetEnabled(false);
    timer->SetInterval(500);
    return timer;
}

// One frame of the run's standard, rounded up: an entry shorter than it never shows.
long long FrameMs(int VideoStandard) { return VideoStandard == 2 ? 40 : 34; }

void RemoveFileForce(const String& Path) {
    SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFile(Path);
}

}  // namespace

TProductionWindow::TProductionWindow(TComponent* AOwner, TBurnerChoice BurnerChoice, TDeviceButton Device)
    : TForm(AOwner), m_burnerChoice(BurnerChoice), m_deviceButton(Device) {
    SetPosition(poScreenCenter);
    GetFont()->SetName("Tahoma");
    GetFont()->SetHeight(-11);
    SetClientWidth(554);
    SetClientHeight(557);
    CreateControls();
    InstallHandlers();
    FormCreate(this);
}

TProductionWindow::~TProductionWindow() {
    DoDestroy();
    MediaEncoder.reset();
    MuxLibrary.reset();
    AuthorLibrary.reset();
}

void TProductionWindow::CreateControls() {
    suiSkinForm1 = NewSkinForm(this);
    using W = TProductionWindow;
    static constexpr const char* kBurner = "suiGroupBox_Burner";
    static constexpr const char* kOutput = "suiGroupBox_Output";
    static constexpr TControlRow kRows[] = {
        Place<&W::suiGroupBox_Burner>("suiGroupBox_Burner", 16, 87, 517, 90, " DVD Burner "),
        Place<&W::Label6>("Label6", 24, 24, 0, 0, "Device Name :", kBurner),
        Place<&W::Label7>("Label7", 24, 61, 0, 0, "Write Speed :", kBurner),
        Place<&W::Label5>("Label5", 260, 61, 0, 0, "Disc Volume :", kBurner),
        Place<&W::suiComboBox_Drive>("suiComboBox_Drive", 120, 20, 278, 19, "", kBurner),
        Place<&W::suiComboBox_WriteSpeed>("suiComboBox_WriteSpeed", 120, 58, 97, 19, "", kBurner),
        Place<&W::suiEdit_VolumeName>("suiEdit_VolumeName", 352, 58, 113, 19, "DVD_DISC", kBurner),
        Place<&W::suiGroupBox_Output>("suiGroupBox_Output", 16, 183, 517, 118, " Output Property "),
        Place<&W::Label8>("Label8", 24, 25, 0, 0, "Output Folder :", kOutput),
        Place<&W::suiEdit_OutputFolder>("suiEdit_OutputFolder", 120, 22, 278, 19, "", kOutput),
        Place<&W::suiImageButton_Browse>("suiImageButton_Browse", 408, 18, 66, 28, "prod_browse", kOutput),
        Place<&W::Label9>("Label9", 24, 55, 0, 0, "Output Format :", kOutput),
        Place<&W::suiCheckBox_NTSC>("suiCheckBox_NTSC", 182, 53, 80, 17, " NTSC", kOutput),
        Place<&W::suiCheckBox_PAL>("suiCheckBox_PAL", 328, 53, 80, 17, " PAL", kOutput),
        Place<&W::Label10>("Label10", 24, 88, 0, 0, "Output Quality :", kOutput),
        Place<&W::suiComboBox_OutputQuality>("suiComboBox_OutputQuality", 120, 85, 345, 19, "", kOutput),
        Place<&W::Label12>("Label12", 50, 326, 0, 0, "Current Time :"),
        Place<&W::Label_CurrentTime>("Label_CurrentTime", 153, 326, 0, 0, "00:00:00"),
        Place<&W::Label13>("Label13", 242, 326, 0, 0, "Duration :"),
        Place<&W::Label_Duration>("Label_Duration", 353, 326, 0, 0),
        Place<&W::Label14>("Label14", 50, 354, 0, 0, "FPS :"),
        Place<&W::Label_FPS>("Label_FPS", 153, 354, 0, 0),
        Place<&W::Label15>("Label15", 242, 354, 0, 0, "Current Frame :"),
        Place<&W::Label_CurrentFrame>("Label_CurrentFrame", 353, 354, 0, 0),
        Place<&W::Label2>("Label2", 42, 389, 0, 0, "Converting Process :"),
        Place<&W::Image_Progress1>("Image_Progress1", 156, 390, 0, 10),
        Place<&W::Label_Progress1>("Label_Progress1", 267, 388, 0, 0, "0 %"),
        Place<&W::Label11>("Label11", 42, 419, 0, 0, "Burning Process :"),
        Place<&W::Image_Progress2>("Image_Progress2", 156, 421, 0, 10),
        Place<&W::Label_Progress2>("Label_Progress2", 268, 419, 0, 0, "0 %"),
        Place<&W::suiImageButton_Start>("suiImageButton_Start", 430, 330, 96, 96, "prod_start"),
        Place<&W::suiImageButton_Stop>("suiImageButton_Stop", 430, 330, 96, 96, "prod_stop"),
        Place<&W::suiImageButton_Close>("suiImageButton_Close", 502, 1, 46, 20, "prod_close"),
        Place<&W::Memo_Msg>("Memo_Msg", 32, 441, 489, 85),
    };
    BuildControls(this, kRows, TArtSource::kResFolder);
    ShowCaptions();
    SetControlStyles();
    SetFirstStates();
    FillProgressBar(Image_Progress1);
    FillProgressBar(Image_Progress2);
    Timer_Convert = MakeTimer(this, "Timer_Convert");
    Timer_Spumux = MakeTimer(this, "Timer_Spumux");
    Timer_Author = MakeTimer(this, "Timer_Author");
    if (m_deviceButton == TDeviceButton::With) CreateDeviceButton();
    LoadResSkin(suiSkinForm1, "prod_skin.bmp");
}

// A picture button's row names its artwork, so its caption is set here.
void TProductionWindow::ShowCaptions() {
    suiImageButton_Browse->SetCaption(Language::GetMessageText(Language::kMsgBrowseWord));
    suiImageButton_Start->SetCaption("Start");
    suiImageButton_Stop->SetCaption("Stop");
    suiImageButton_Close->SetHint("Close");
}

void TProductionWindow::SetControlStyles() {
    for (TsuiComboBox* combo : {suiComboBox_Drive, suiComboBox_WriteSpeed, suiComboBox_OutputQuality})
        combo->SetStyle(csDropDownList);
    suiEdit_VolumeName->SetMaxLength(12);
    suiEdit_OutputFolder->SetReadOnly(true);
    Memo_Msg->SetReadOnly(true);
    Memo_Msg->SetScrollBars(ssVertical);
    Memo_Msg->SetUIStyle(MacOS);
    Memo_Msg->SetBorderColor(static_cast<TColor>(8355711));  // after the look, which sets its own
    Memo_Msg->SetColor(static_cast<TColor>(15790320));
}

// The drive list is enabled once it has drives; Stop shows while a run goes.
void TProductionWindow::SetFirstStates() {
    suiComboBox_Drive->SetEnabled(false);
    suiCheckBox_PAL->SetChecked(true);
    suiImageButton_Stop->SetVisible(false);
}

void TProductionWindow::InstallHandlers() {
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    suiComboBox_Drive->OnChange = [this](TObject* s) { suiComboBox_DriveChange(s); };
    suiImageButton_Browse->OnClick = [this](TObject* s) { suiImageButton_BrowseClick(s); };
    suiCheckBox_NTSC->OnClick = [this](TObject* s) { suiCheckBox_NTSCClick(s); };
    suiCheckBox_PAL->OnClick = [this](TObject* s) { suiCheckBox_PALClick(s); };
    suiImageButton_Start->OnClick = [this](TObject* s) { suiImageButton_StartClick(s); };
    suiImageButton_Stop->OnClick = [this](TObject* s) { suiImageButton_StopClick(s); };
    suiImageButton_Close->OnClick = [this](TObject* s) { suiImageButton_CloseClick(s); };
    if (suiImageButton_Device != nullptr)
        suiImageButton_Device->OnClick = [this](TObject* s) { suiImageButton_DeviceClick(s); };
    Timer_Convert->OnTimer = [this](TObject* s) { Timer_ConvertTimer(s); };
    Timer_Spumux->OnTimer = [this](TObject* s) { Timer_SpumuxTimer(s); };
    Timer_Author->OnTimer = [this](TObject* s) { Timer_AuthorTimer(s); };
}

void TProductionWindow::ApplyLanguage() {
    Language::ApplyLanguageToForm(this);
    Language::ApplyMessageCaptions({{suiImageButton_Browse, Language::kMsgBrowseWord}});
    // Start, Stop and Device carry their words from the language file; a long one gets a
    // smaller font.
    for (TsuiImageButton* b : {suiImageButton_Start, suiImageButton_Stop, suiImageButton_Device}) {
        if (b == nullptr) continue;
        b->GetFont()->SetSize(8);
        Language::FitCaption(b, 6);
    }
    Language::FitCaption(suiImageButton_Browse, 6);
}

void TProductionWindow::SetMode(TProductionMode Mode) {
    b_BuildMode = Mode == TProductionMode::Build ? 1 : 0;
    b_ConvertMode = Mode == TProductionMode::Convert ? 1 : 0;
    b_CompileMode = Mode == TProductionMode::Compile ? 1 : 0;
}

// ---- form events ---------------------------------------------------------------------------------

void TProductionWindow::FormCreate(TObject*) {
    SetDoubleBuffered(true);
    InitControls();
    FillDriveList(-1);
    if (m_burnerChoice == TBurnerChoice::Shared) g_i_BurnerIndex = suiComboBox_Drive->GetItemIndex();
}

void TProductionWindow::FormShow(TObject*) {
    InitControls();
    Pubfunction::DeleteFolderContents(s_TempFolder);
}

void TProductionWindow::FormClose(TObject*, TCloseAction&) {
    MediaEncoder.reset();
    if (b_DeleteTempFile && b_Authored)
        for (TClipInfo* clip : ClipInfo) DeleteFile(clip->s_VobFile);
    Pubfunction::DeleteFolderContents(s_TempFolder);
}

void TProductionWindow::FormCloseQuery(TObject*, bool& CanClose) { CanClose = !IsBusy(); }

void TProductionWindow::FormDestroy(TObject*) { UninitBurner(); }

bool TProductionWindow::IsBusy() const { return suiImageButton_Stop->GetVisible(); }

void TProductionWindow::Dispatch(TMessage& Message) {
    // The grabber's start and end answers may reach any window of the program; they mean
    // nothing here. The burner's notifications go to the burning step with it.
    if (Message.Msg == WM_MEDIA_INIT_DONE || Message.Msg == WM_MEDIA_UNINIT_DONE) return;
    if (Message.Msg == WM_DEVICECHANGE) {
        WMDeviceChange(Message);
        return;
    }
    if (Message.Msg == WM_BURNER_NOTIFY) {
        WMBurnerNotify(Message);
        return;
    }
    TForm::Dispatch(Message);
}

// ---- states ----------------------------------------------------------------------------------------

void TProductionWindow::FillQualityList() {
    TStrings* items = suiComboBox_OutputQuality->GetItems();
    items->Clear();
    for (int n = Language::kMsgQualityImage; n <= Language::kMsgQualityMaxSpeed; ++n)
        items->Add(Language::GetMessageText(n));
    suiComboBox_OutputQuality->SetItemIndex(Pubfunction::ClampRange(g_i_OutputQuality, 0, 2));
}

void TProductionWindow::InitControls() {
    // The lists are refilled below: a change noted while hidden needs no scan of its own.
    b_DeviceChangeNoted = 0;
    EnterIdleState(kIdleQuiet);
    Memo_Msg->GetLines()->Clear();
    suiCheckBox_NTSC->SetChecked(b_VideoForamt);
    suiCheckBox_PAL->SetChecked(!b_VideoForamt);
    b_BackButtonUsable = 1;
    suiEdit_OutputFolder->SetText(g_s_OutputFolder);
    Label_CurrentTime->SetCaption(Pubfunction::SecondsToHMS(0));
    Label_Duration->SetCaption(Pubfunction::SecondsToHMS(0));
    Label_FPS->SetCaption("0");
    Label_CurrentFrame->SetCaption("0");
    SetProgress1(0);
    SetProgress2(0);
    // An installed program folder is read-only: the work folder then lives in the user's cache.
    s_TempFolder = ChooseWorkFolder(ExePath);
    if (KeepsQualitySetting()) FillQualityList();
    suiComboBox_Drive->SetItemIndex(g_i_BurnerIndex);
    FillDriveList(suiComboBox_Drive->GetItemIndex());
}

void TProductionWindow::SetInputsEnabled(bool Enabled) {
    suiImageButton_Browse->SetEnabled(Enabled);
    suiComboBox_OutputQuality->SetEnabled(Enabled);
    suiEdit_OutputFolder->SetEnabled(Enabled);
    suiCheckBox_NTSC->SetEnabled(Enabled);
    suiCheckBox_PAL->SetEnabled(Enabled);
    suiEdit_VolumeName->SetEnabled(Enabled);
    if (suiImageButton_Device != nullptr) suiImageButton_Device->SetEnabled(Enabled);
    suiComboBox_Drive->SetEnabled(Enabled && suiComboBox_Drive->GetItems()->Count() > 0);
    suiComboBox_WriteSpeed->SetEnabled(Enabled && suiComboBox_WriteSpeed->GetItems()->Count() > 0);
}

void TProductionWindow::EnterBusyState() {
    suiImageButton_Start->SetVisible(false);
    suiImageButton_Stop->SetVisible(true);
    b_UserAbort = 0;
    SetInputsEnabled(false);
    if (KeepsQualitySetting()) g_i_OutputQuality = suiComboBox_OutputQuality->GetItemIndex();
    b_Padding = 0;
    AuthorProgress.b_FixLogged = false;
    b_Authored = 0;
    Memo_Msg->GetLines()->Clear();
    SetProgress1(0);
    SetProgress2(0);
}

void TProductionWindow::EnterIdleState(int Code) {
    suiImageButton_Start->SetVisible(true);
    suiImageButton_Stop->SetVisible(false);
    SetInputsEnabled(true);
    if (Code >= kIdleUserAbort && Code <= kIdleBurnFailed)
        AddLog(Language::GetMessageText(Language::kMsgUserAbort + Code));
    // Drives that came or went during the run are looked at once, now that nothing uses them.
    if (b_DeviceChangeNoted && MayRescanDevices()) FillDriveList(suiComboBox_Drive->GetItemIndex());
}

void TProductionWindow::AddLog(const String& Text) { Memo_Msg->GetLines()->Add(Text); }

void TProductionWindow::SetProgress1(int Percent) {
    const int p = Pubfunction::ClampRange(Percent, 0, 100);
    Image_Progress1->SetWidth(ProgressPixels(p));
    Label_Progress1->SetCaption(IntToStr(p) + " %");
}

void TProductionWindow::SetProgress2(int Percent) {
    const int p = Pubfunction::ClampRange(Percent, 0, 100);
    Image_Progress2->SetWidth(ProgressPixels(p));
    Label_Progress2->SetCaption(IntToStr(p) + " %");
}

void TProductionWindow::ShowConvertProgress(int Seconds) {
    if (i_ClipDuration < 1) i_ClipDuration = 1;
    SetProgress1(Seconds * 100 / i_ClipDuration);
}

void TProductionWindow::ShowMuxProgress(int Percent) { SetProgress1(Percent); }

// ---- the run -----------------------------------------------------------------------------------------

bool TProductionWindow::CheckBeforeStart() {
    b_SkipBurn = 0;
    if ((b_BuildMode || b_ConvertMode || b_CompileMode) && ClipInfo.empty()) {
        MessageDlg(Language::GetMessageText(Language::kMsgNoFileToConvert), mtInformation, TMsgDlgButtons{mbOK});
        return false;
    }
    if (!CheckFolders()) return false;
    if (!b_BuildMode && !b_CompileMode) return true;
    if (!CheckDiscCapacity()) return false;
    return CheckBurnerAndDisc();
}

// Every folder the run writes into is usable before anything is encoded: the output folder
// takes files and is not the work folder (emptied after each run), and the menus and the
// authoring project have a work folder to go to.
bool TProductionWindow::CheckFolders() {
    const bool writesOutput = b_BuildMode || b_ConvertMode || b_CompileMode;
    if (!writesOutput) return true;
    if (Pubfunction::IsInWorkFolder(g_s_OutputFolder)) {
        MessageDlg(Language::GetMessageText(Language::kMsgOutputIsWorkFolder) + g_s_OutputFolder, mtInformation,
                   TMsgDlgButtons{mbOK});
        return false;
    }
    if (!FolderIsWritable(g_s_OutputFolder)) {
        MessageDlg(Language::GetMessageText(Language::kMsgOutputFolderNotWritable) + g_s_OutputFolder, mtInformation,
                   TMsgDlgButtons{mbOK});
        return false;
    }
    if (!b_BuildMode && !b_CompileMode) return true;
    if (s_TempFolder.empty()) s_TempFolder = ChooseWorkFolder(ExePath);
    if (!s_TempFolder.empty()) return true;
    String places;
    for (const String& place : Pubfunction::WorkFolderPlaces(ExePath)) places += "\n" + place;
    MessageDlg(Language::GetMessageText(Language::kMsgNoWorkFolder) + places, mtInformation, TMsgDlgButtons{mbOK});
    return false;
}

// A project larger than the chosen disc goes on only when the user says so.
bool TProductionWindow::CheckDiscCapacity() {
    const bool dvd9 = i_DVDType == 1;
    if (DiscSize::FitsOnDisc(ProjectEstimateKB(), dvd9 ? i_DVD9Size : i_DVD5Size)) return true;
    const String text = Language::GetMessageText(dvd9 ? Language::kMsgOverDvd9 : Language::kMsgOverDvd5) + "\n\n" +
                        Language::GetMessageText(Language::kMsgGoOnAnyway);
    return MessageDlg(text, mtConfirmation, TMsgDlgButtons{mbYes, mbNo}) == mrYes;
}

// A compile-mode clip is a finished VOB file of a known size; the others are estimated from
// their trimmed lengths, as the clip editor's bar does.
Int64 TProductionWindow::ProjectEstimateKB() const {
    if (!b_CompileMode) return DiscSize::EstimateKB(i_DiscSizePerMin, DiscSize::TrimmedSeconds(ClipInfo));
    Int64 kb = 0;
    for (TClipInfo* clip : ClipInfo)
        kb += clip->i_VobSizeKB > 0 ? clip->i_VobSizeKB : DiscSize::EstimateKB(i_DiscSizePerMin, DiscSize::TrimmedSeconds({clip}));
    return kb;
}

// The burner and disc questions are captioned as the question they ask: burn to disc?
bool TProductionWindow::AskBurnQuestion(int Message) {
    return GetInteractionService()->MessageBox(Language::GetMessageText(Message),
                                               Language::GetMessageText(Language::kMsgBurnQuestionCaption),
                                               mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}) == mrOk;
}

bool TProductionWindow::CheckBurnerAndDisc() {
    switch (SelectDevice(suiComboBox_Drive->GetItemIndex())) {
        case SELECT_DEVICE_FAILED:
            NoteDriveInUse();
            if (AskBurnQuestion(Language::kMsgNoWritableBurner)) return false;
            b_SkipBurn = 1;
            return true;
        case SELECT_DEVICE_BAD_MEDIA:
            if (AskBurnQuestion(Language::kMsgInsertBlankDisc)) {
                EjectDisc();
                return false;
            }
            b_SkipBurn = 1;
            return true;
        default:
            return true;
    }
}

void TProductionWindow::SetConvertParameters() {
    if (!g_s_OutputFolder.empty() && !DirectoryExists(g_s_OutputFolder)) CreateDir(g_s_OutputFolder);
    s_Passes = "1";
    s_SampleRate = "48000";
    s_VideoFormat = "mpeg2";
    s_TargetFormat = "dvd";
    s_AudioBitrate = "192";
    s_Title = s_Author = s_Comment = "MyVideo";
    s_Reserved18 = s_Reserved19 = s_Reserved21 = "0";
    s_AudioFormat = "ac3";
    i_VideoStandard = suiCheckBox_NTSC->GetChecked() ? NtscStandard : PalStandard;
    // The user's VOBs are authored as they are: their own standard decides, not the hidden box.
    if (b_CompileMode) i_VideoStandard = VideoStandardOfClips(ClipInfo, i_VideoStandard);
    i_QualityIndex = Pubfunction::ClampRange(suiComboBox_OutputQuality->GetItemIndex(), 0, 2);
    s_Bitrate = BitrateTable[i_QualityIndex];
    const TStandardParameters standard = StandardParameters(i_VideoStandard);
    s_FrameSize = standard.s_FrameSize;
    s_FrameRate = standard.s_FrameRate;
    i_FrameHeight = standard.i_FrameHeight;
    i_Aspect = ResolveAspect(i_Aspect, ClipInfo);
    const TAspectParameters aspect = AspectParameters(i_Aspect);
    d_TargetAspect = aspect.d_TargetAspect;
    i_SquareHeight = aspect.i_SquareHeight;
    s_AspectRatio = aspect.s_AspectRatio;
    s_MenuAspect = aspect.s_MenuAspect;
    s_MenuFrameSize = standard.s_FrameSize;
    i_ClipIndex = 0;
    i_Reserved23 = 0;
    i_EraseCount = 0;
    // The typed name becomes a folder name: nothing in it may leave the output folder.
    s_VolumeName = SanitizeVolumeName(suiEdit_VolumeName->GetText());
    InitBurner(GetHandle());
    Pubfunction::DeleteFolderContents(s_TempFolder);
}

void TProductionWindow::OpenOutputFolder() {
    ShellExecuteA(GetHandle(), "open", g_s_OutputFolder.c_str(), "", nullptr, SW_SHOWNORMAL);
}

bool TProductionWindow::FinishDisc() {
    if (b_SkipBurn) {
        OpenOutputFolder();
        return true;
    }
    return BurnDisc();
}

void TProductionWindow::suiImageButton_StartClick(TObject*) {
    if (!CheckBeforeStart()) return;
    SetConvertParameters();
    EnterBusyState();
    try {
        if (!RunSteps()) return;
    } catch (const std::exception& e) {
        // A file that could not be written mid-step: the run ends, the window is usable again.
        AddLog(e.what());
        EnterIdleState(kIdleQuiet);
        return;
    }
    EnterIdleState(kIdleFinished);
}

void TProductionWindow::suiImageButton_StopClick(TObject*) {
    if (MediaEncoder == nullptr) {
        MessageDlg(Language::GetMessageText(Language::kMsgCannotStopProcess), mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    if (MessageDlg(Language::GetMessageText(Language::kMsgStopProcessQuestion), mtConfirmation,
                   TMsgDlgButtons{mbYes, mbNo}) != mrYes)
        return;
    b_UserAbort = 1;
    // The encode may have ended while the question was open.
    if (MediaEncoder != nullptr) MediaEncoder->Entries().X_StopConvert();
}

void TProductionWindow::suiImageButton_CloseClick(TObject*) {
    if (IsBusy()) {
        MessageDlg(Language::GetMessageText(Language::kMsgStopProcessFirst), mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    Close();
}

void TProductionWindow::suiImageButton_BrowseClick(TObject*) {
    String folder = g_s_OutputFolder;
    if (!SelectDirectory(Language::GetMessageText(Language::kMsgSelectOutputFolder), "MyComputer", folder)) return;
    Repaint();
    if (int refusal = Pubfunction::OutputFolderRefusal(folder); refusal != 0) {
        MessageDlg(Language::GetMessageText(refusal) + folder, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    g_s_OutputFolder = Pubfunction::GetTempFolder(folder);
    suiEdit_OutputFolder->SetText(g_s_OutputFolder);
}

void TProductionWindow::suiCheckBox_NTSCClick(TObject*) {
    if (suiCheckBox_PAL->GetChecked() == suiCheckBox_NTSC->GetChecked())
        suiCheckBox_PAL->SetChecked(!suiCheckBox_NTSC->GetChecked());
}

void TProductionWindow::suiCheckBox_PALClick(TObject*) {
    if (suiCheckBox_NTSC->GetChecked() == suiCheckBox_PAL->GetChecked())
        suiCheckBox_NTSC->SetChecked(!suiCheckBox_PAL->GetChecked());
}

// ---- clip conversion --------------------------------------------------------------------------------

bool TProductionWindow::ConvertClips() {
    AddLog(Language::GetMessageText(Language::kMsgStartConvert));
    // An output folder that can't take the files fails before any encode.
    if (!FolderIsWritable(g_s_OutputFolder)) {
        EnterIdleState(kIdleConvertParameter);
        return false;
    }
    for (std::size_t i = 0; i < ClipInfo.size(); ++i) {
        i_ClipIndex = static_cast<int>(i);
        if (!PrepareClip(ClipInfo[i])) {
            EnterIdleState(kIdleConvertParameter);
            return false;
        }
        const int r = RunConvert();
        // A finished clip shows its whole length, whatever the last timer reading was.
        if (!b_UserAbort && r != kEncodeFailed && r != kEncodeNoLibrary)
            Label_CurrentTime->SetCaption(Pubfunction::SecondsToHMS(i_ClipDuration));
        if (b_UserAbort) {
            EnterIdleState(kIdleUserAbort);
            return false;
        }
        if (r == kEncodeFailed) {
            EnterIdleState(kIdleConvertProcess);
            return false;
        }
        if (r == kEncodeNoLibrary) {
            EnterIdleState(kIdleConvertNotStarted);
            return false;
        }
    }
    SetProgress1(100);
    return true;
}

bool TProductionWindow::PrepareClip(TClipInfo* Clip) {
    if (Clip == nullptr) return false;
    const TPictureGeometry picture = PictureGeometry(Clip->i_DisplayWidth, Clip->i_DisplayHeight, Clip->d_AspectRatio,
                                                     d_TargetAspect, i_SquareHeight, i_FrameHeight);
    s_PictureSize = Clip->b_AddLetterBox ? IntToStr(picture.i_Width) + ":" + IntToStr(picture.i_Height) : s_FrameSize;
    s_SourceFile = Clip->s_FileName;
    i_ClipStart = Clip->i_TrimStart;
    s_StartText = IntToStr(i_ClipStart);
    const TClipSpan span = ClipSpan(Clip->i_TrimStart, Clip->i_TrimEnd, Clip->i_Duration);
    i_ClipDuration = span.i_ClipDuration;
    s_DurationText = span.s_DurationText;
    Label_Duration->SetCaption(Pubfunction::SecondsToHMS(i_ClipDuration));
    s_OutputVob = OutputVobName(g_s_OutputFolder, i_ClipIndex, [](const String& f) { return FileExists(f); });
    Clip->s_VobFile = s_OutputVob;
    AddLog(ExtractFileName(s_SourceFile) + " >>>> " + ExtractFileName(s_OutputVob));
    return FileExists(s_SourceFile);
}

int TProductionWindow::RunConvert() {
    MediaEncoder = TMediaEncoder::Load(MediaLibraryName);
    if (MediaEncoder == nullptr) return kEncodeNoLibrary;
    const TMediaEncodeEntries& encoder = MediaEncoder->Entries();
    DeleteFile(s_OutputVob);
    // Chapters land exactly where a key frame starts a new unit; a library that can't place them
    // leaves them to the nearest one.
    const String keyTimes = ClipKeyTimes();
    if (encoder.X_SetPar_KeyTimes != nullptr && !keyTimes.empty()) encoder.X_SetPar_KeyTimes(keyTimes.c_str());
    Timer_Convert->SetEnabled(true);
    const int r = encoder.X_SetPar_D2MPEG(
        reinterpret_cast<void*>(GetHandle()), 2, s_SourceFile.c_str(), s_Passes.c_str(), s_StartText.c_str(),
        s_SampleRate.c_str(), s_AspectRatio.c_str(), s_VideoFormat.c_str(), s_TargetFormat.c_str(), s_Bitrate.c_str(),
        s_AudioBitrate.c_str(), s_PictureSize.c_str(), s_FrameSize.c_str(), s_Title.c_str(), s_Author.c_str(),
        s_Comment.c_str(), s_FrameRate.c_str(), s_Reserved18.c_str(), s_Reserved19.c_str(), s_OutputVob.c_str(),
        s_Reserved21.c_str(), s_DurationText.c_str(), i_Reserved23, i_VideoStandard, s_AudioFormat.c_str(),
        i_QualityIndex);
    Timer_Convert->SetEnabled(false);
    MediaEncoder.reset();
    return r;
}

// The clip's chapter times from the output's start ("0,2,5"); empty when it has no chapters.
String TProductionWindow::ClipKeyTimes() const {
    if (i_ClipIndex < 0 || static_cast<std::size_t>(i_ClipIndex) >= ClipInfo.size()) return "";
    const TClipInfo* clip = ClipInfo[static_cast<std::size_t>(i_ClipIndex)];
    if (clip == nullptr || clip->ChapterMenu == nullptr) return "";
    std::vector<int> times;
    for (int j = 0; const TSubButtonImage* button = clip->ChapterMenu->GetButton(j); ++j) times.push_back(button->i_ChapterTime);
    if (times.empty()) return "";
    String text = "0";
    for (int t : TitleChapters(times, clip->i_TrimStart, ClipVobSeconds(*clip)).Times)
        if (t > 0) text += "," + IntToStr(t);
    return text;
}

void TProductionWindow::Timer_ConvertTimer(TObject*) {
    if (MediaEncoder == nullptr) return;
    std::int32_t info[3] = {0, 0, 0};
    MediaEncoder->Entries().X_Get_Info(info);
    Label_CurrentTime->SetCaption(Pubfunction::SecondsToHMS(ClipTimeShown(info[0], i_ClipDuration)));
    if (info[2] == 0 || info[1] == 0) {
        Label_FPS->SetCaption("Seeking...");
        Label_CurrentFrame->SetCaption("Seeking...");
        Repaint();
    } else {
        Label_FPS->SetCaption(IntToStr(static_cast<int>(info[1])));
        Label_CurrentFrame->SetCaption(IntToStr(static_cast<int>(info[2])));
    }
    ShowConvertProgress(info[0]);
}

// ---- worker and subtitle mux --------------------------------------------------------------------------

bool TProductionWindow::StartWorker(std::function<void()> Work) { return Win32_RunOnWorker(std::move(Work)); }

// On the worker: only the library call. Its result is the module's (DOZEZEDAV_OK on success).
int TProductionWindow::RunSpumux() {
    try {
        return MuxLibrary->Entries().spumux_main(s_MuxXml.c_str(), s_MuxIn.c_str(), s_MuxOut.c_str());
    } catch (...) {
        return kCallThrew;
    }
}

// On this thread: bind, time, run the worker and wait, free, then put the muxed file in place.
// kWorkerDone the muxed file replaced the clip's VOB, kWorkerNotDone it did not (or no thread),
// kWorkerNoLibrary no library.
int TProductionWindow::RunSpumuxThread() {
    MuxLibrary = TSubtitleMuxLibrary::Load(AuthoringLibraryName);
    if (MuxLibrary == nullptr) return kWorkerNoLibrary;
    if (FileExists(s_MuxOut)) RemoveFileForce(s_MuxOut);
    Timer_Spumux->SetEnabled(true);
    const int result = WaitForWorker([this] { return RunSpumux(); });
    Timer_Spumux->SetEnabled(false);
    s_ProgramFailure = result == DOZEZEDAV_OK
                           ? String()
                           : LibraryFailure(MuxLibrary->Entries().dozezedav_last_failure, DOZEZEDAV_SPUMUX);
    // Unbound before anything else: no timer tick may read a counter of an unloaded module.
    MuxLibrary.reset();
    if (result == kNoWorker) return kWorkerNotDone;
    return FinishMux(result) ? kWorkerDone : kWorkerNotDone;
}

String TProductionWindow::LibraryFailure(dozezedav_last_failure_fn LastFailure, int Entry) {
    if (LastFailure == nullptr) return "";
    char text[512] = "";
    LastFailure(Entry, text, sizeof text);
    return text;
}

void TProductionWindow::EndWithProgramFailure(int Code) {
    if (!s_ProgramFailure.empty()) AddLog(Language::GetMessageText(Language::kMsgReason) + s_ProgramFailure);
    s_ProgramFailure.clear();
    EnterIdleState(Code);
}

// Runs Work on a worker while this thread keeps its messages flowing; the worker's result, or
// kNoWorker when no thread could be made. The worker signals h_WorkerDone as it finishes, so
// the wait ends then rather than at the next 100 ms slice.
int TProductionWindow::WaitForWorker(std::function<int()> Work) {
    h_WorkerDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    b_ThreadIsWorking.store(true);
    if (!StartWorker([this, Work = std::move(Work)] { WorkerFinished(Work()); })) {
        b_ThreadIsWorking.store(false);
        CloseHandle(h_WorkerDone);
        h_WorkerDone = nullptr;
        return kNoWorker;
    }
    while (b_ThreadIsWorking.load()) {
        WaitForSingleObject(h_WorkerDone, 100);
        Application->ProcessMessages();
    }
    CloseHandle(h_WorkerDone);
    h_WorkerDone = nullptr;
    return i_ThreadReturnVal.load();
}

// The worker's last touch of the window: the result first, then the wake-up, then the flag
// that lets the waiter go on (and close the event).
void TProductionWindow::WorkerFinished(int Result) {
    i_ThreadReturnVal.store(Result);
    if (h_WorkerDone != nullptr) SetEvent(h_WorkerDone);
    b_ThreadIsWorking.store(false);
}

// The muxed file takes the clip VOB's name in one rename, so a failure leaves the VOB as it was.
bool TProductionWindow::FinishMux(int CallResult) {
    if (!FileExists(s_MuxOut)) return false;
    SetFileAttributesA(s_MuxOut.c_str(), FILE_ATTRIBUTE_NORMAL);
    // rename(2) replaces the VOB in one step; there is never a moment without the clip.
    if (CallResult == DOZEZEDAV_OK && std::rename(s_MuxOut.c_str(), s_MuxIn.c_str()) == 0) return true;
    RemoveFileForce(s_MuxOut);
    return false;
}

void TProductionWindow::Timer_SpumuxTimer(TObject*) {
    if (MuxLibrary == nullptr || !b_ThreadIsWorking.load()) return;
    int* percent = MuxLibrary->Entries().getSubtitleMuxPercent();
    if (percent == nullptr) return;
    ShowMuxProgress(std::atomic_ref<int>(*percent).load());
}

bool TProductionWindow::MuxSubtitles() {
    AddLog(Language::GetMessageText(Language::kMsgStartMux));
    SubtitledVobs.clear();
    for (TClipInfo* clip : ClipInfo) {
        const int r = PrepareSubtitleMux(clip);
        if (r == kMuxNone) continue;
        if (r == kMuxFailed) {
            DiscardRunVobs();
            EnterIdleState(kIdleMuxParameter);
            return false;
        }
        if (RunSpumuxThread() != kWorkerDone) {
            DiscardRunVobs();
            EndWithProgramFailure(kIdleMuxProcess);
            return false;
        }
        SubtitledVobs.push_back(clip->s_VobFile);
    }
    SetProgress1(100);
    return true;
}

void TProductionWindow::DiscardRunVobs() {
    if (!b_BuildMode || !b_DeleteTempFile) return;
    for (TClipInfo* clip : ClipInfo) {
        if (clip == nullptr || clip->s_VobFile.empty()) continue;
        RemoveFileForce(Pubfunction::RemoveFileExt(clip->s_VobFile) + "_srt.vob");
        RemoveFileForce(clip->s_VobFile);
    }
}

int TProductionWindow::PrepareSubtitleMux(TClipInfo* Clip) {
    if (Clip == nullptr) return kMuxFailed;
    if (Clip->s_SubtitleFile.empty()) return kMuxNone;
    if (!FileExists(Clip->s_SubtitleFile) || s_TempFolder.empty()) return kMuxFailed;
    // The VOB starts at the trim start: the copy is put on the VOB's clock.
    const TClipSpan span = ClipSpan(Clip->i_TrimStart, Clip->i_TrimEnd, Clip->i_Duration);
    const String srt = s_TempFolder + "subtitle.srt";
    const TSubtitleCopy copy = WriteShiftedSubtitles(Clip->s_SubtitleFile, srt, Clip->i_TrimStart,
                                                     static_cast<long long>(span.i_ClipDuration) * 1000,
                                                     FrameMs(i_VideoStandard));
    // A file without a usable entry costs the clip its subtitles, not the whole run.
    switch (copy.Result) {
        case TSubtitleShift::NoneLeft:
            AddLog(Language::GetMessageText(Language::kMsgNoSubtitleInTrim) + ExtractFileName(Clip->s_SubtitleFile));
            return kMuxNone;
        case TSubtitleShift::Unreadable:
            AddLog(Language::GetMessageText(Language::kMsgUnreadableSubtitle) + ExtractFileName(Clip->s_SubtitleFile));
            return kMuxNone;
        case TSubtitleShift::Shifted: break;
    }
    TSubtitleXmlValues values;
    values.s_SubtitlePath = srt;
    values.s_CharacterSet =
        SubtitleCharacterSet(copy.Encoding, Language::GetRegionCharacterSet(Clip->i_SubtitleLanguageIndex));
    values.i_FontSize = Clip->i_SubtitleFontSize;
    std::u32string codePoints;
    CodePointsOf(copy.Text, values.s_CharacterSet, codePoints);
    values.s_FontFile = SubtitleFontFor(Language::GetRegionFontFileName(Clip->i_SubtitleLanguageIndex), codePoints);
    values.i_VideoStandard = i_VideoStandard;
    const String xml = s_TempFolder + "subtitle.xml";
    if (!WriteSubtitleXml(xml, values)) return kMuxFailed;
    s_MuxIn = Clip->s_VobFile;
    s_MuxOut = Pubfunction::RemoveFileExt(s_MuxIn) + "_srt.vob";
    s_MuxXml = xml;
    AddLog(ExtractFileName(s_MuxIn) + " <<<< " + ExtractFileName(Clip->s_SubtitleFile));
    return kMuxReady;
}
