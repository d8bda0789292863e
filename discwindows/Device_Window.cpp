#include "discwindows/Device_Window.h"

#include <algorithm>

#include "app/FormBuilder.h"
#include "app/Progress_Window.h"
#include "app/ResPictures.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "disc/Starburn_control.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/SysUtils.h"

TDeviceWindow* DeviceWindow = nullptr;

namespace {

// An erase is taken to last three minutes: 360 half-second ticks.
constexpr int kAssumedEraseTicks = 360;
constexpr const char* kNotAvailable = "N/A";

String Text(int Message) { return Language::GetMessageText(Message); }

// The last label of a facade list, or "N/A" for none.
String LastLabel(TStringList* List) {
    if (List == nullptr || List->Count() == 0) return kNotAvailable;
    return List->Strings(List->Count() - 1);
}

}  // namespace

int EraseTickPercent(int Ticks) { return std::min(Ticks * 100 / kAssumedEraseTicks, 99); }

int EraseBarPixels(int Percent) {
    // The factor is held in single precision (2.5799999...): a full bar draws 257 pixels.
    const float factor = 2.58f;
    return static_cast<int>(static_cast<double>(std::clamp(Percent, 0, 100)) * static_cast<double>(factor));
}

TDeviceWindow::TDeviceWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("DeviceWindow");
    SetCaption("DeviceWindow");
    SetPosition(poScreenCenter);
    SetClientWidth(360);
    SetClientHeight(410);
    suiSkinForm1 = NewSkinForm(this);
    // Without its artwork the shape has nothing to draw; the dialog stays a plain rectangle.
    LoadResSkin(suiSkinForm1, "dev_skin.bmp");
    CreateControls();
    Timer = new TTimer(this);
    Timer->SetName("Timer");
    Timer->SetEnabled(false);
    Timer->SetInterval(500);
    InstallHandlers();
    CloseOnEscape(this, suiImageButton_Close);
    AfterConstruction();
}

void TDeviceWindow::CreateControls() {
    using W = TDeviceWindow;
    static constexpr TControlRow kRows[] = {
        Place<&W::GroupBox1>("GroupBox1", 20, 40, 321, 137, " Device Info "),
        Place<&W::Label1>("Label1", 16, 20, 0, 0, "Type :", "GroupBox1"),
        Place<&W::lblDriveType>("lblDriveType", 100, 20, 0, 0, "", "GroupBox1"),
        Place<&W::Label3>("Label3", 16, 42, 0, 0, "MaxRead :", "GroupBox1"),
        Place<&W::lblMaxRead>("lblMaxRead", 100, 42, 0, 0, "", "GroupBox1"),
        Place<&W::Label4>("Label4", 170, 42, 0, 0, "MaxWrite :", "GroupBox1"),
        Place<&W::lblMaxWrite>("lblMaxWrite", 250, 42, 0, 0, "", "GroupBox1"),
        Place<&W::Label2>("Label2", 16, 66, 0, 0, "Support Disc Type", "GroupBox1"),
        Place<&W::DVDPLUS_R>("DVDPLUS_R", 16, 88, 90, 17, "DVD+R", "GroupBox1"),
        Place<&W::DVDPLUS_RW>("DVDPLUS_RW", 116, 88, 90, 17, "DVD+RW", "GroupBox1"),
        Place<&W::DVDPLUS_R_DL>("DVDPLUS_R_DL", 216, 88, 90, 17, "DVD+R DL", "GroupBox1"),
        Place<&W::DVD_R>("DVD_R", 16, 112, 90, 17, "DVD-R", "GroupBox1"),
        Place<&W::DVD_RW>("DVD_RW", 116, 112, 90, 17, "DVD-RW", "GroupBox1"),
        Place<&W::DVD_R_DL>("DVD_R_DL", 216, 112, 90, 17, "DVD-R DL", "GroupBox1"),
        Place<&W::GroupBox2>("GroupBox2", 20, 184, 321, 97, " Disc Info "),
        Place<&W::Label6>("Label6", 16, 20, 0, 0, "Type :", "GroupBox2"),
        Place<&W::lblType>("lblType", 150, 20, 0, 0, "UNKNOWN", "GroupBox2"),
        Place<&W::Label7>("Label7", 16, 38, 0, 0, "Available Size (MB) :", "GroupBox2"),
        Place<&W::lblAvailableSize>("lblAvailableSize", 150, 38, 0, 0, "", "GroupBox2"),
        Place<&W::Label8>("Label8", 16, 56, 0, 0, "Used Size (MB) :", "GroupBox2"),
        Place<&W::lblUsedSize>("lblUsedSize", 150, 56, 0, 0, "", "GroupBox2"),
        Place<&W::Label10>("Label10", 16, 74, 0, 0, "Tracks :", "GroupBox2"),
        Place<&W::lblTracks>("lblTracks", 80, 74, 0, 0, "", "GroupBox2"),
        Place<&W::Label11>("Label11", 170, 74, 0, 0, "Sessions :", "GroupBox2"),
        Place<&W::lblSessions>("lblSessions", 250, 74, 0, 0, "", "GroupBox2"),
        Place<&W::Label9>("Label9", 30, 313, 0, 0, "Time Used :"),
        Place<&W::Label_UsedTime>("Label_UsedTime", 132, 313, 0, 0),
        Place<&W::Label14>("Label14", 30, 336, 0, 0, "Erase Process :"),
        Place<&W::Image_Progress1>("Image_Progress1", 49, 375, 0, 10),
        Place<&W::Label_Progress1>("Label_Progress1", 167, 373, 0, 0, "0 %"),
        Place<&W::suiImageButton_Start>("suiImageButton_Start", 266, 286, 77, 77, "dev_erase"),
        Place<&W::suiImageButton_Close>("suiImageButton_Close", 308, 1, 46, 20, "prod_close"),
    };
    BuildControls(this, kRows, TArtSource::kResFolder);
    ShowDiscBoxes();
    ShowEraseProgress();
    // A picture button's row names its artwork, so its caption is set here.
    suiImageButton_Start->SetCaption("Erase");
    suiImageButton_Close->SetHint("Close");
}

// Read-only: the boxes say what the burner writes, filled in for each device shown.
void TDeviceWindow::ShowDiscBoxes() {
    for (TsuiCheckBox* box : {DVDPLUS_R, DVDPLUS_RW, DVDPLUS_R_DL, DVD_R, DVD_RW, DVD_R_DL}) {
        box->SetChecked(true);
        box->SetEnabled(false);
    }
}

// The bar shows as much of its fill as the erase is done: none yet.
void TDeviceWindow::ShowEraseProgress() {
    Label_UsedTime->SetCaption(Pubfunction::SecondsToHMS(0));
    FillProgressBar(Image_Progress1);
    Label_Progress1->SetAlignment(taRightJustify);
}

void TDeviceWindow::InstallHandlers() {
    OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    suiImageButton_Start->OnClick = [this](TObject* s) { suiImageButton_StartClick(s); };
    suiImageButton_Close->OnClick = [this](TObject* s) { suiImageButton_CloseClick(s); };
    Timer->OnTimer = [this](TObject* s) { TimerTimer(s); };
}

void TDeviceWindow::ApplyLanguage() {
    Language::ApplyLanguageToForm(this);
    // The Erase button says what its hint says, in the user's language.
    if (!suiImageButton_Start->GetHint().empty()) suiImageButton_Start->SetCaption(suiImageButton_Start->GetHint());
}

void TDeviceWindow::ShowDevice(int DeviceIndex) {
    b_Showing = true;
    InitBurner(GetHandle());
    b_Erasing = 0;
    i_DeviceIndex = DeviceIndex;
    i_EraseTicks = 0;
    Timer->SetEnabled(false);
    const int selected = SelectDevice(DeviceIndex);
    if (selected != SELECT_DEVICE_FAILED) FillDiscInfo();
    else ClearDiscInfo();
    suiImageButton_Start->SetEnabled(selected == SELECT_DEVICE_NOT_BLANK);
    FillDeviceInfo();
    LockDevice();
    SetProgress(0);
    Label_UsedTime->SetCaption(Pubfunction::SecondsToHMS(0));
    try {
        ShowModal();
    } catch (...) {
        b_Showing = false;
        throw;
    }
    b_Showing = false;
}

void TDeviceWindow::ClearDiscInfo() {
    for (TLabel* label : {lblType, lblAvailableSize, lblUsedSize, lblTracks, lblSessions})
        label->SetCaption(kNotAvailable);
}

void TDeviceWindow::FillDiscInfo() {
    lblType->SetCaption(GetMediaTypeNameText());
    lblAvailableSize->SetCaption(FormatFloat("0.00", GetFreeMB()));
    lblUsedSize->SetCaption(FormatFloat("0.00", GetUsedMB()));
    lblTracks->SetCaption(IntToStr(GetTrackCount()));
    lblSessions->SetCaption(IntToStr(GetSessionCount()));
}

void TDeviceWindow::FillDeviceInfo() {
    lblDriveType->SetCaption(GetDeviceName(i_DeviceIndex));
    // Both lists are the facade's one label list: each is read before the next call.
    lblMaxRead->SetCaption(LastLabel(GetReadSpeedList(i_DeviceIndex, false)));
    lblMaxWrite->SetCaption(LastLabel(GetWriteSpeedList(i_DeviceIndex, false)));
    const bool minusR = CanWriteDVDMinusR();
    DVD_R->SetChecked(minusR);
    DVD_RW->SetChecked(minusR);
    DVDPLUS_R->SetChecked(CanWriteDVDPlusR());
    DVDPLUS_RW->SetChecked(CanWriteDVDPlusRW());
    const bool dualLayer = CanWriteDVDPlusRDL();
    DVDPLUS_R_DL->SetChecked(dualLayer);
    DVD_R_DL->SetChecked(dualLayer);
}

void TDeviceWindow::SetProgress(int Percent) {
    const int p = Pubfunction::ClampRange(Percent, 0, 100);
    Image_Progress1->SetWidth(EraseBarPixels(p));
    Label_Progress1->SetCaption(IntToStr(p) + " %");
}

void TDeviceWindow::suiImageButton_StartClick(TObject*) {
    if (b_Erasing) {
        MessageDlg(Text(Language::kMsgErasingWait), mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    if (MessageDlg(Text(Language::kMsgEraseWarning), mtInformation, TMsgDlgButtons{mbYes, mbNo}) != mrYes) return;
    b_Erasing = 1;
    Timer->SetEnabled(true);
    const bool erased = EraseDisc();
    Timer->SetEnabled(false);
    b_Erasing = 0;
    SetProgress(100);
    if (erased)
        MessageDlg(Text(Language::kMsgEraseFinish), mtInformation, TMsgDlgButtons{mbOK});
    else
        MessageDlg(Text(Language::kMsgCannotErase), mtError, TMsgDlgButtons{mbOK});
}

void TDeviceWindow::suiImageButton_CloseClick(TObject*) {
    if (b_Erasing) {
        MessageDlg(Text(Language::kMsgErasingWait), mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    Close();
}

void TDeviceWindow::TimerTimer(TObject*) {
    Label_UsedTime->SetCaption(Pubfunction::SecondsToHMS(i_EraseTicks / 2));
    SetProgress(EraseTickPercent(i_EraseTicks));
    i_EraseTicks += 1;
}

void TDeviceWindow::FormCloseQuery(TObject*, bool& CanClose) { CanClose = !b_Erasing; }

void TDeviceWindow::FormClose(TObject*, TCloseAction&) {
    Timer->SetEnabled(false);
    ReleaseDevice();
}
