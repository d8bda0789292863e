// The production window's burner group and its burning step: the drive and speed lists, the
// facade's notifications, and the burn of the authored folder with its disc questions.
#include "productionwindows/Production_Window.h"

#include <map>

#include "app/FormBuilder.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "disc/Starburn_control.h"
#include "discwindows/Device_Window.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/SysUtils.h"

namespace {

constexpr int kMaxBurners = 100;
// Room the file system and the lead-out take beyond the folder's own bytes.
constexpr std::int64_t kBurnHeadroomBytes = 52428800;

// Results of BurnFolder.
constexpr int kBurnFailed = 0;
constexpr int kBurnt = 1;
constexpr int kNotBlank = 2;
constexpr int kBadMedia = 3;
constexpr int kTooSmall = 4;

String Text(int Message) { return Language::GetMessageText(Message); }

void ErrorBox(int Message) {
    MessageDlg(Text(Language::kMsgCannotCreateBurning) + Text(Message), mtError, TMsgDlgButtons{mbOK});
}

// The Device button's re-entry guard, one per window class.
bool& DeviceButtonGuard(const char* ClassName) {
    static std::map<String, bool> guards;
    return guards[ClassName];
}

// Clears a flag however the scope is left.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : m_flag(Flag) { m_flag = true; }
    ~TFlagScope() { m_flag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& m_flag;
};

}  // namespace

void TProductionWindow::CreateDeviceButton() {
    using W = TProductionWindow;
    static constexpr TControlRow kRows[] = {
        Place<&W::suiImageButton_Device>("suiImageButton_Device", 408, 16, 66, 28, "prod_device",
                                         "suiGroupBox_Burner"),
    };
    BuildControls(this, kRows, TArtSource::kResFolder);
    suiImageButton_Device->SetCaption("Device");
}

// ---- the lists -------------------------------------------------------------------------------------

bool TProductionWindow::MayRescanDevices() const {
    // A scan replaces the device list that a run or the Device window is working on.
    if (IsBusy() || IsBurnerBusy()) return false;
    if (DeviceWindow != nullptr && DeviceWindow->IsShowing()) return false;
    // A hidden window refills its lists when it is shown.
    return GetVisible();
}

void TProductionWindow::FillDriveList(int Index) {
    b_DeviceChangeNoted = 0;
    InitBurner(GetHandle());
    FindDevices(b_UseSTPI, true);
    TStrings* drives = suiComboBox_Drive->GetItems();
    drives->Clear();
    for (int i = 0; i < kMaxBurners; ++i) {
        const std::string name = GetDeviceName(i);
        if (name.empty()) break;
        drives->Add(name);
    }
    suiComboBox_Drive->SetEnabled(false);
    if (drives->Count() == 0) return;
    // Start is hidden, not disabled, during a run: the lists follow the idle state.
    suiComboBox_Drive->SetEnabled(suiImageButton_Start->GetEnabled() && !IsBusy());
    if (Index >= 0) {
        suiComboBox_Drive->SetItemIndex(Index);
        FillWriteSpeedList(false);
        return;
    }
    for (int i = 0; i < drives->Count(); ++i) {
        suiComboBox_Drive->SetItemIndex(i);
        FillWriteSpeedList(false);
        if (suiComboBox_WriteSpeed->GetItems()->Strings(0) != Text(Language::kMsgUnsupported)) return;
    }
}

void TProductionWindow::FillWriteSpeedList(bool Refresh) {
    TStrings* speeds = suiComboBox_WriteSpeed->GetItems();
    speeds->Clear();
    TStringList* list = GetWriteSpeedList(suiComboBox_Drive->GetItemIndex(), Refresh);
    if (list != nullptr && list->Count() > 0) {
        for (int i = 0; i < list->Count(); ++i) speeds->Add(list->Strings(i));
        suiComboBox_WriteSpeed->SetEnabled(suiImageButton_Start->GetEnabled() && !IsBusy());
    } else {
        speeds->Add(Text(Language::kMsgUnsupported));
        suiComboBox_WriteSpeed->SetEnabled(false);
    }
    suiComboBox_WriteSpeed->SetItemIndex(speeds->Count() - 1);
}

void TProductionWindow::suiComboBox_DriveChange(TObject*) {
    FillWriteSpeedList(false);
    g_i_BurnerIndex = suiComboBox_Drive->GetItemIndex();
}

void TProductionWindow::WMDeviceChange(TMessage& Message) {
    if (Message.WParam != DBT_DEVICEARRIVAL && Message.WParam != DBT_DEVICEREMOVECOMPLETE) return;
    if (!MayRescanDevices()) {
        b_DeviceChangeNoted = 1;
        return;
    }
    FillDriveList(suiComboBox_Drive->GetItemIndex());
}

// ---- notifications ---------------------------------------------------------------------------------

void TProductionWindow::WMBurnerNotify(TMessage& Message) {
    switch (Message.WParam) {
        case BURNER_NOTIFY_BURN_DONE: AddLog(Text(Language::kMsgBurnFinish)); break;
        case BURNER_NOTIFY_PROGRESS:
            ShowBurnProgress(static_cast<int>(Message.LParam));
            break;
        case BURNER_NOTIFY_PADDING:
            if (Message.LParam == 0) {
                b_Padding = 1;
                AddLog(Text(Language::kMsgStartPad));
            } else if (Message.LParam == 1) {
                if (b_Padding) AddLog(Text(Language::kMsgPadFinish));
                b_Padding = 0;
            }
            break;
        default:
            break;
    }
}

void TProductionWindow::ShowBurnProgress(int Percent) { SetProgress2(Percent); }

// ---- the step --------------------------------------------------------------------------------------

int TProductionWindow::BurnFolder(const String& Folder) {
    if (Folder.empty() || !DirectoryExists(Folder)) {
        ErrorBox(Language::kMsgNoDvdFolderToBurn);
        return kBurnFailed;
    }
    AddLog(Text(Language::kMsgCheckDisc));
    switch (SelectDevice(suiComboBox_Drive->GetItemIndex())) {
        case SELECT_DEVICE_FAILED:
            NoteDriveInUse();
            ErrorBox(Language::kMsgUnknownBurner);
            return kBurnFailed;
        case SELECT_DEVICE_NOT_BLANK: return kNotBlank;
        case SELECT_DEVICE_BAD_MEDIA: return kBadMedia;
        default: break;
    }
    AddLog(Text(Language::kMsgInsertedMedia) + GetMediaTypeNameText());
    AddLog(Text(Language::kMsgGetSourceSize));
    i64_FolderSize = GetFolderSize(Folder);
    if (static_cast<double>(i64_FolderSize + kBurnHeadroomBytes) > GetDiscFreeBytes()) return kTooSmall;
    SetBurnSpeed(suiComboBox_WriteSpeed->GetItemIndex());
    AddLog(Text(Language::kMsgStartBurn));
    const bool burnt = BurnDVD();
    // The burn's last notification may still be queued: it belongs before the result line.
    Application->ProcessMessages();
    EjectDisc();
    return burnt ? kBurnt : kBurnFailed;
}

// One round per disc examined: a disc swapped or erased is examined anew by the next round.
bool TProductionWindow::BurnDisc() {
    for (;;) {
        int question = Language::kMsgVideoSize;
        switch (BurnFolder(s_DVDFolder)) {
            case kBurnt:
                SetProgress2(100);
                return true;
            case kNotBlank: {
                i_EraseCount += 1;
                AddLog(Text(Language::kMsgStartErase) + " -- " + IntToStr(i_EraseCount));
                const bool erased = EraseDisc();
                AddLog(Text(Language::kMsgEraseFinishLog));
                if (erased && i_EraseCount <= 2) continue;
                AddLog(Text(Language::kMsgCannotErase));
                i_EraseCount = 0;
                question = Language::kMsgUnusableDisc;
                break;
            }
            case kBadMedia: question = Language::kMsgUnusableDisc; break;
            case kTooSmall: question = Language::kMsgDiscTooSmall; break;
            default: EnterIdleState(kIdleBurnFailed); return false;
        }
        if (!AskForAnotherDisc(question)) {
            EnterIdleState(kIdleBurnCancelled);
            return false;
        }
    }
}

// The message of a drive that cannot be used says nothing of why: a held drive is told in the log.
void TProductionWindow::NoteDriveInUse() {
    if (WasDeviceInUse()) AddLog(Text(Language::kMsgBurnerInUse));
}

bool TProductionWindow::AskForAnotherDisc(int Message) {
    EjectDisc();
    const int answer = MessageDlg(Text(Language::kMsgCannotCreateBurning) + Text(Message), mtConfirmation,
                                  TMsgDlgButtons{mbOK, mbCancel});
    Repaint();
    LoadDisc();
    return answer == mrOk;
}

void TProductionWindow::suiImageButton_DeviceClick(TObject*) {
    bool& guard = DeviceButtonGuard(ClassName());
    if (guard) return;
    {
        TFlagScope open(guard);
        FillDriveList(suiComboBox_Drive->GetItemIndex());
        if (DeviceWindow != nullptr) DeviceWindow->ShowDevice(suiComboBox_Drive->GetItemIndex());
        InitBurner(GetHandle());
    }
    if (b_DeviceChangeNoted && MayRescanDevices()) FillDriveList(suiComboBox_Drive->GetItemIndex());
}
