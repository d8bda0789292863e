#include "discwindows/Device_Window.h"

#include <algorithm>

#include "core/Language.h"
#include "core/Pubfunction.h"
#include "app/ResPictures.h"
#include "disc/Starburn_control.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/SysUtils.h"

TDeviceWindow* DeviceWindow = nullptr;

namespace {

constexpr int kBarLength = 258;
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
    suiSkinForm1 = new TsuiSkinForm(this);
    suiSkinForm1->SetName("suiSkinForm1");
    suiSkinForm1->SetParent(this);
    suiSkinForm1->SetTransparentColor(clFuchsia);
    // Without its artwork the shape has nothing to draw; the dialog stays a plain rectangle.
    LoadResSkin(suiSkinForm1, "dev_skin.bmp");
    CreateDeviceGroup();
    CreateDiscGroup();
    CreateEraseControls();
    LoadResButton(suiImageButton_Close, "prod_close");
    LoadResButton(suiImageButton_Start, "dev_erase");
    CloseOnEscape(this, suiImageButton_Close);
    OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    AfterConstruction();
}

TLabel* TDeviceWindow::NewLabel(TWinControl* Parent, const char* Name, const String& Caption, int Left, int Top) {
    auto* label = new TLabel(this);
    label->SetName(Name);
    label->SetParent(Parent);
    label->SetTransparent(true);
    label->SetCaption(Caption);
    label->SetLeft(Left);
    label->SetTop(Top);
    return label;
}

TsuiCheckBox* TDeviceWindow::NewDiscBox(const char* Name, const String& Caption, int Left, int Top) {
    auto* box = new TsuiCheckBox(this);
    box->SetName(Name);
    box->SetParent(GroupBox1);
    box->SetBounds(Left, Top, 90, 17);
    box->SetCaption(Caption);
    box->SetChecked(true);
    box->SetEnabled(false);
    return box;
}

void TDeviceWindow::CreateDeviceGroup() {
    GroupBox1 = new TsuiGroupBox(this);
    GroupBox1->SetName("GroupBox1");
    GroupBox1->SetParent(this);
    GroupBox1->SetBounds(20, 40, 321, 137);
    GroupBox1->SetCaption(" Device Info ");
    Label1 = NewLabel(GroupBox1, "Label1", "Type :", 16, 20);
    lblDriveType = NewLabel(GroupBox1, "lblDriveType", "", 100, 20);
    Label3 = NewLabel(GroupBox1, "Label3", "MaxRead :", 16, 42);
    lblMaxRead = NewLabel(GroupBox1, "lblMaxRead", "", 100, 42);
    Label4 = NewLabel(GroupBox1, "Label4", "MaxWrite :", 170, 42);
    lblMaxWrite = NewLabel(GroupBox1, "lblMaxWrite", "", 250, 42);
    Label2 = NewLabel(GroupBox1, "Label2", "Support Disc Type", 16, 66);
    DVDPLUS_R = NewDiscBox("DVDPLUS_R", "DVD+R", 16, 88);
    DVDPLUS_RW = NewDiscBox("DVDPLUS_RW", "DVD+RW", 116, 88);
    DVDPLUS_R_DL = NewDiscBox("DVDPLUS_R_DL", "DVD+R DL", 216, 88);
    DVD_R = NewDiscBox("DVD_R", "DVD-R", 16, 112);
    DVD_RW = NewDiscBox("DVD_RW", "DVD-RW", 116, 112);
    DVD_R_DL = NewDiscBox("DVD_R_DL", "DVD-R DL", 216, 112);
}

void TDeviceWindow::CreateDiscGroup() {
    GroupBox2 = new TsuiGroupBox(this);
    GroupBox2->SetName("GroupBox2");
    GroupBox2->SetParent(this);
    GroupBox2->SetBounds(20, 184, 321, 97);
    GroupBox2->SetCaption(" Disc Info ");
    Label6 = NewLabel(GroupBox2, "Label6", "Type :", 16, 20);
    lblType = NewLabel(GroupBox2, "lblType", "UNKNOWN", 150, 20);
    Label7 = NewLabel(GroupBox2, "Label7", "Available Size (MB) :", 16, 38);
    lblAvailableSize = NewLabel(GroupBox2, "lblAvailableSize", "", 150, 38);
    Label8 = NewLabel(GroupBox2, "Label8", "Used Size (MB) :", 16, 56);
    lblUsedSize = NewLabel(GroupBox2, "lblUsedSize", "", 150, 56);
    Label10 = NewLabel(GroupBox2, "Label10", "Tracks :", 16, 74);
    lblTracks = NewLabel(GroupBox2, "lblTracks", "", 80, 74);
    Label11 = NewLabel(GroupBox2, "Label11", "Sessions :", 170, 74);
    lblSessions = NewLabel(GroupBox2, "lblSessions", "", 250, 74);
}

void TDeviceWindow::CreateEraseControls() {
    Label9 = NewLabel(this, "Label9", "Time Used :", 30, 313);
    Label_UsedTime = NewLabel(this, "Label_UsedTime", Pubfunction::SecondsToHMS(0), 132, 313);
    Label14 = NewLabel(this, "Label14", "Erase Process :", 30, 336);
    Image_Progress1 = new TImage(this);
    Image_Progress1->SetName("Image_Progress1");
    Image_Progress1->SetParent(this);
    TBitmap* fill = Image_Progress1->GetPicture()->GetBitmap();
    fill->SetPixelFormat(pf24bit);
    fill->SetSize(kBarLength, 10);
    fill->GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(0xC08040));
    fill->GetCanvas()->FillRect(TRect(0, 0, kBarLength, 10));
    Image_Progress1->SetBounds(49, 375, 0, 10);
    Label_Progress1 = NewLabel(this, "Label_Progress1", "0 %", 167, 373);
    Label_Progress1->SetAlignment(taRightJustify);
    suiImageButton_Start = new TsuiImageButton(this);
    suiImageButton_Start->SetName("suiImageButton_Start");
    suiImageButton_Start->SetParent(this);
    suiImageButton_Start->SetBounds(266, 286, 77, 77);
    suiImageButton_Start->SetCaption("Erase");
    suiImageButton_Start->OnClick = [this](TObject* s) { suiImageButton_StartClick(s); };
    suiImageButton_Close = new TsuiImageButton(this);
    suiImageButton_Close->SetName("suiImageButton_Close");
    suiImageButton_Close->SetParent(this);
    suiImageButton_Close->SetBounds(308, 1, 46, 20);
    suiImageButton_Close->SetHint("Close");
    suiImageButton_Close->OnClick = [this](TObject* s) { suiImageButton_CloseClick(s); };
    Timer = new TTimer(this);
    Timer->SetName("Timer");
    Timer->SetEnabled(false);
    Timer->SetInterval(500);
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
