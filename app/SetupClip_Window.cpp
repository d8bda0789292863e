#include "app/SetupClip_Window.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/ClipListScroll.h"
#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Option_Window.h"
#include "app/Progress_Window.h"
#include "core/Pubfunction.h"
#include "app/ResPictures.h"
#include "model/SetupClip_WindowRows.h"
#include "app/SetupSubtitle_Window.h"
#include "menu/SetupMenu_Window.h"
#include "platform/vcl/SysUtils.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Convert_Window.h"

TSetupClipWindow* SetupClipWindow = nullptr;

namespace {

constexpr int kWidth = 812;
constexpr int kHeight = 601;
constexpr int kFewFilesForSubtitles = 3;  // fewer chosen files than this pick up ".srt" files
constexpr int kLargestSide = 8192;

// A clip the editor can work with: a size the picture arithmetic can divide by.
bool UsableSize(const TMediaInfoRecord& Record) {
    return Record.Width() >= 1 && Record.Width() <= kLargestSide && Record.Height() >= 1 && Record.Height() <= kLargestSide;
}

float WordAsFloat(std::int32_t Word) {
    float f = 0;
    static_assert(sizeof f == sizeof Word);
    std::memcpy(&f, &Word, sizeof f);
    return f;
}

int TrimmedLength(const TClipInfo* Clip) { return Clip->i_TrimEnd - Clip->i_TrimStart; }

}  // namespace

TSetupClipWindow::TSetupClipWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("SetupClipWindow");
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientWidth(kWidth);
    SetClientHeight(kHeight);
    GetFont()->SetName("Tahoma");
    CreateComponents();
    InstallHandlers();
    m_grabber = std::make_unique<TFrameGrabberClient>();
    m_grabber->OnMessage = [this](UINT m, WPARAM w, LPARAM l) { OnGrabberMessage(m, w, l); };
    m_grabber->OnTimeOut = [this] { SetPreviewIdle(true); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
}

TSetupClipWindow::~TSetupClipWindow() {
    if (SetupClipWindow == this) SetupClipWindow = nullptr;
    DoDestroy();
    // The rows belong to their clips; none may outlive the panel that shows it.
    for (TClipInfo* clip : ClipInfo) {
        if (clip->ListRow != nullptr && clip->ListRow->GetParent() == suiImagePanel_InfoMove) clip->ListRow->SetParent(nullptr);
        if (clip->SrtIcon != nullptr && clip->SrtIcon->GetParent() == suiImagePanel_InfoMove) clip->SrtIcon->SetParent(nullptr);
    }
    m_grabber.reset();
}

// ---- construction ------------------------------------------------------------------------------

TsuiImageButton* TSetupClipWindow::MakeButton(TWinControl* Parent, const String& Name, int Left, int Top, int Width,
                                              int Height) {
    auto* b = new TsuiImageButton(this);
    b->SetName(Name);
    b->SetParent(Parent);
    b->SetBounds(Left, Top, Width, Height);
    b->SetCursor(crHandPoint);
    return b;
}

TImage* TSetupClipWindow::MakeImage(TWinControl* Parent, const String& Name, int Left, int Top, int Width, int Height) {
    auto* image = new TImage(this);
    image->SetName(Name);
    image->SetParent(Parent);
    image->SetBounds(Left, Top, Width, Height);
    return image;
}

TLabel* TSetupClipWindow::MakeLabel(const String& Name, const String& Caption, int Left, int Top) {
    auto* label = new TLabel(this);
    label->SetName(Name);
    label->SetParent(this);
    label->SetTransparent(true);
    label->SetCaption(Caption);
    label->SetLeft(Left);
    label->SetTop(Top);
    return label;
}

TsuiMaskEdit* TSetupClipWindow::MakeTimeEdit(const String& Name, int Left) {
    auto* edit = new TsuiMaskEdit(this);
    edit->SetName(Name);
    edit->SetParent(this);
    edit->SetBounds(Left, 380, 49, 19);
    edit->SetEditMask("!90:00:00;1;_");
    edit->SetMaxLength(8);
    edit->SetColor(static_cast<TColor>(0xE8E8E8));
    // A size at which all eight characters fit the box, so no digit scrolls out of sight.
    edit->GetFont()->SetSize(7);
    edit->SetText(ClipTrim::EmptyTimeText);
    return edit;
}

void TSetupClipWindow::CreateComponents() {
    suiSkinForm1 = new TsuiSkinForm(this);
    suiSkinForm1->SetName("suiSkinForm1");
    suiSkinForm1->SetParent(this);
    suiSkinForm1->SetTransparentColor(clFuchsia);

    Image_Preview = MakeImage(this, "Image_Preview", 25, 95, 296, 220);
    Image_Preview->SetCenter(true);
    CreateListControls();
    CreateTrimControls();
    CreateDiscControls();
    Label_Info = MakeLabel("Label_Info", "Seeking please wait...", 112, 195);
    Label_Info->GetFont()->SetColor(clWhite);
    Label_Info->SetVisible(false);

    OpenDialog = new TOpenDialog(this);
    OpenDialog->SetName("OpenDialog");
    OpenDialog->SetOptions(TOpenOptions{ofHideReadOnly, ofAllowMultiSelect, ofEnableSizing});
    SaveDialog = new TSaveDialog(this);
    SaveDialog->SetName("SaveDialog");
    SaveDialog->SetFilter("JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp");
    LoadArtwork();
}

void TSetupClipWindow::CreateListControls() {
    suiImagePanel_ClipInfo = new TsuiImagePanel(this);
    suiImagePanel_ClipInfo->SetName("suiImagePanel_ClipInfo");
    suiImagePanel_ClipInfo->SetParent(this);
    suiImagePanel_ClipInfo->SetBounds(350, 86, 452, 386);
    suiImagePanel_ClipInfo->SetTransparent(true);
    suiImagePanel_ClipInfo->SetCaption("");
    suiImagePanel_InfoMove = new TsuiImagePanel(this);
    suiImagePanel_InfoMove->SetName("suiImagePanel_InfoMove");
    suiImagePanel_InfoMove->SetParent(suiImagePanel_ClipInfo);
    suiImagePanel_InfoMove->SetBounds(0, 0, 457, 0);
    suiImagePanel_InfoMove->SetTransparent(true);
    suiImagePanel_InfoMove->SetCaption("");

    Panel_Bar = new TPanel(this);
    Panel_Bar->SetName("Panel_Bar");
    Panel_Bar->SetParent(suiImagePanel_ClipInfo);
    Panel_Bar->SetBevelOuter(bvNone);
    Panel_Bar->SetCaption("");
    Panel_Bar->SetBounds(452 - 14, 0, 14, 386);
    Panel_Bar->SetAlign(alRight);
    Image_BarBack = MakeImage(Panel_Bar, "Image_BarBack", 0, 0, 14, 386);
    suiImageButton_InfoBar = MakeButton(Panel_Bar, "suiImageButton_InfoBar", 1, 0, 13, 53);

    const std::pair<TsuiImageButton**, const char*> buttons[] = {
        {&suiImageButton_AddFile, "suiImageButton_AddFile"}, {&suiImageButton_RemoveFile, "suiImageButton_RemoveFile"},
        {&suiImageButton_Up, "suiImageButton_Up"},           {&suiImageButton_Down, "suiImageButton_Down"},
        {&suiImageButton_Option, "suiImageButton_Option"}};
    int left = 31;
    for (const auto& [button, name] : buttons) {
        *button = MakeButton(this, name, left, 537, 51, 50);
        left += 68;
    }
    suiImageButton_Menu = MakeButton(this, "suiImageButton_Menu", 557, 537, 51, 50);
    CreateSkinWords();
    suiImageButton_Close = MakeButton(this, "suiImageButton_Close", 760, 1, 46, 20);
    suiImageButton_Close->SetHint("Close");
    suiImageButton_Close->SetShowHint(true);

    CheckBox_AddLetterBox = new TsuiCheckBox(this);
    CheckBox_AddLetterBox->SetName("CheckBox_AddLetterBox");
    CheckBox_AddLetterBox->SetParent(this);
    CheckBox_AddLetterBox->SetBounds(24, 466, 158, 17);
    CheckBox_AddLetterBox->SetCaption(" Auto Add Letter Box");
    CheckBox_AddLetterBox->SetTransparent(true);
    CheckBox_AddLetterBox->SetChecked(true);
    suiCheckBox_AddDVDMenu = new TsuiCheckBox(this);
    suiCheckBox_AddDVDMenu->SetName("suiCheckBox_AddDVDMenu");
    suiCheckBox_AddDVDMenu->SetParent(this);
    suiCheckBox_AddDVDMenu->SetBounds(184, 466, 141, 17);
    suiCheckBox_AddDVDMenu->SetCaption(" Add DVD Menu");
    suiCheckBox_AddDVDMenu->SetTransparent(true);
    suiCheckBox_AddDVDMenu->SetChecked(true);
    // Light text: the boxes sit on the dark body of the skin.
    for (TsuiCheckBox* box : {CheckBox_AddLetterBox, suiCheckBox_AddDVDMenu}) box->GetFont()->SetColor(clWhite);
}

void TSetupClipWindow::CreateTrimControls() {
    Panel_Progress = new TPanel(this);
    Panel_Progress->SetName("Panel_Progress");
    Panel_Progress->SetParent(this);
    Panel_Progress->SetBevelOuter(bvNone);
    Panel_Progress->SetCaption("");
    Panel_Progress->SetBounds(24, 330, 242, 14);
    Image_ProgressBack = MakeImage(Panel_Progress, "Image_ProgressBack", 0, 0, ClipTrim::TrackPictureWidth, 14);
    Image_Stretch = MakeImage(Panel_Progress, "Image_Stretch", ClipTrim::HandleWidth, 3, 0, 8);
    Image_Stretch->SetStretch(true);
    Image_Left = MakeButton(Panel_Progress, "Image_Left", 0, 0, ClipTrim::HandleWidth, 14);
    Image_Right = MakeButton(Panel_Progress, "Image_Right", ClipTrim::HandleWidth + ClipTrim::TrackLength, 0,
                             ClipTrim::HandleWidth, 14);

    suiImageButton_Snapshoot = MakeButton(this, "suiImageButton_Snapshoot", 271, 322, 50, 30);
    suiEdit_Start = MakeTimeEdit("suiEdit_Start", 91);
    suiEdit_Stop = MakeTimeEdit("suiEdit_Stop", 243);
    suiImageButton_ConfirmStart = MakeButton(this, "suiImageButton_ConfirmStart", 145, 379, 32, 20);
    suiImageButton_ConfirmStop = MakeButton(this, "suiImageButton_ConfirmStop", 297, 379, 32, 20);
    Label_Start = MakeLabel("Label_Start", "Start Time :", 24, 383);
    Label_Stop = MakeLabel("Label_Stop", "End Time :", 184, 383);
    for (TLabel* label : {Label_Start, Label_Stop}) label->GetFont()->SetColor(clWhite);
}

void TSetupClipWindow::CreateDiscControls() {
    Image_DiscSizeProgress = MakeImage(this, "Image_DiscSizeProgress", 108, 501, 0, 10);
    Image_DiscSizeProgress->SetStretch(true);
    suiImageButton_DVD5 = MakeButton(this, "suiImageButton_DVD5", 2, 492, 90, 28);
    suiImageButton_DVD9 = MakeButton(this, "suiImageButton_DVD9", 2, 492, 90, 28);
    Image8500 = MakeImage(this, "Image8500", 745, 523, 58, 12);
    Image8500->SetVisible(false);

    suiGroupBox1 = new TsuiGroupBox(this);
    suiGroupBox1->SetName("suiGroupBox1");
    suiGroupBox1->SetParent(this);
    suiGroupBox1->SetBounds(24, 407, 305, 50);
    suiGroupBox1->SetCaption(" Aspect ");
    suiCheckBox_4_3 = new TsuiRadioButton(this);
    suiCheckBox_4_3->SetName("suiCheckBox_4_3");
    suiCheckBox_4_3->SetParent(suiGroupBox1);
    suiCheckBox_4_3->SetBounds(10, 22, 148, 17);
    suiCheckBox_4_3->SetCaption("4:3 For Standard TV");
    suiCheckBox_16_9 = new TsuiRadioButton(this);
    suiCheckBox_16_9->SetName("suiCheckBox_16_9");
    suiCheckBox_16_9->SetParent(suiGroupBox1);
    suiCheckBox_16_9->SetBounds(160, 22, 142, 17);
    suiCheckBox_16_9->SetCaption("16:9 For Wide Screen TV");
    suiImageButton_4_3 = MakeButton(this, "suiImageButton_4_3", 24, 407, 20, 20);
    suiImageButton_16_9 = MakeButton(this, "suiImageButton_16_9", 48, 407, 20, 20);
    suiImageButton_4_3->SetVisible(false);
    suiImageButton_16_9->SetVisible(false);
}

void TSetupClipWindow::LoadArtwork() {
    TPicture skin;
    LoadResPicture(&skin, "clip_skin.bmp");
    if (skin.GetGraphic() != nullptr) suiSkinForm1->SetGlyph(skin.GetBitmap());
    LoadResButton(suiImageButton_AddFile, "clip_add");
    LoadResButton(suiImageButton_RemoveFile, "clip_remove");
    LoadResButton(suiImageButton_Up, "clip_up");
    LoadResButton(suiImageButton_Down, "clip_down");
    LoadResButton(suiImageButton_Option, "clip_option");
    LoadResButton(suiImageButton_Menu, "clip_next");
    LoadResButton(suiImageButton_Close, "clip_close");
    LoadResButton(suiImageButton_InfoBar, "clip_thumb");
    LoadResButton(Image_Left, "clip_handle_left");
    LoadResButton(Image_Right, "clip_handle_right");
    LoadResButton(suiImageButton_Snapshoot, "clip_snapshot");
    LoadResButton(suiImageButton_ConfirmStart, "clip_confirm");
    LoadResButton(suiImageButton_ConfirmStop, "clip_confirm");
    LoadResButton(suiImageButton_DVD5, "clip_dvd5");
    LoadResButton(suiImageButton_DVD9, "clip_dvd9");
    LoadResPicture(Image_BarBack->GetPicture(), "clip_bar_back.bmp");
    LoadResPicture(Image_ProgressBack->GetPicture(), "clip_track.bmp");
    LoadResPicture(Image_Stretch->GetPicture(), "clip_range.bmp");
    LoadResPicture(Image_DiscSizeProgress->GetPicture(), "clip_disc_fill.bmp");
    LoadResPicture(Image8500->GetPicture(), "clip_8500.bmp");
}

void TSetupClipWindow::InstallHandlers() {
    suiImageButton_AddFile->OnClick = [this](TObject* s) { suiImageButton_AddFileClick(s); };
    suiImageButton_RemoveFile->OnClick = [this](TObject* s) { suiImageButton_RemoveFileClick(s); };
    suiImageButton_Up->OnClick = [this](TObject* s) { suiImageButton_UpClick(s); };
    suiImageButton_Down->OnClick = [this](TObject* s) { suiImageButton_DownClick(s); };
    suiImageButton_Option->OnClick = [this](TObject* s) { suiImageButton_OptionClick(s); };
    suiImageButton_Menu->OnClick = [this](TObject* s) { suiImageButton_MenuClick(s); };
    suiImageButton_Close->OnClick = [this](TObject* s) { suiImageButton_CloseClick(s); };
    suiImageButton_InfoBar->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        suiImageButton_InfoBarMouseDown(s, b, sh, x, y);
    };
    suiImageButton_InfoBar->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) {
        suiImageButton_InfoBarMouseMove(s, sh, x, y);
    };
    suiImageButton_InfoBar->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        suiImageButton_InfoBarMouseUp(s, b, sh, x, y);
    };
    CheckBox_AddLetterBox->OnClick = [this](TObject* s) { CheckBox_AddLetterBoxClick(s); };
    suiEdit_Start->OnChange = [this](TObject* s) { suiEditChange(s); };
    suiEdit_Stop->OnChange = [this](TObject* s) { suiEditChange(s); };
    suiEdit_Start->OnExit = [this](TObject* s) { suiEdit_StartExit(s); };
    suiEdit_Stop->OnExit = [this](TObject* s) { suiEdit_StartExit(s); };
    suiImageButton_ConfirmStart->OnClick = [this](TObject* s) { suiImageButton_ConfirmClick(s); };
    suiImageButton_ConfirmStop->OnClick = [this](TObject* s) { suiImageButton_ConfirmClick(s); };
    suiImageButton_Snapshoot->OnClick = [this](TObject* s) { suiImageButton_SnapshootClick(s); };
    suiImageButton_DVD5->OnClick = [this](TObject* s) { suiImageButton_DVD5Click(s); };
    suiImageButton_DVD9->OnClick = [this](TObject* s) { suiImageButton_DVD9Click(s); };
    suiCheckBox_4_3->OnClick = [this](TObject* s) { suiCheckBox_4_3Click(s); };
    suiCheckBox_16_9->OnClick = [this](TObject* s) { suiCheckBox_16_9Click(s); };
    suiImageButton_4_3->OnClick = [this](TObject* s) { suiImageButton_4_3Click(s); };
    suiImageButton_16_9->OnClick = [this](TObject* s) { suiImageButton_16_9Click(s); };
}

// ---- entry points ------------------------------------------------------------------------------

void TSetupClipWindow::SetBuilderMode() {
    suiCheckBox_AddDVDMenu->SetVisible(true);
    b_BuilderMode = true;
    b_Busy = false;
    ResetForMode();
}

void TSetupClipWindow::SetConverterMode() {
    suiCheckBox_AddDVDMenu->SetVisible(false);
    b_BuilderMode = false;
    b_Busy = false;
    ResetForMode();
}

void TSetupClipWindow::ApplyLanguage() {
    Language::ApplyLanguageToForm(this);
    Language::ApplyMessageCaptions(SkinWords);
    // The boxes side by side share the column's width; a translation still too long for its box
    // gets a smaller font.
    for (TControl* box : std::initializer_list<TControl*>{suiCheckBox_4_3, suiCheckBox_16_9, CheckBox_AddLetterBox,
                                                          suiCheckBox_AddDVDMenu})
        Language::FitCaption(box, 19);
    for (const Language::TMessageCaption& word : SkinWords) {
        word.Control->GetFont()->SetSize(8);
        Language::FitCaption(word.Control, 0);
    }
}

void TSetupClipWindow::CreateSkinWords() {
    const TColor muted = static_cast<TColor>(0xC4A896);
    struct Word { const char* Name; int Message, Left, Top, Width; bool Bold; };
    const Word words[] = {
        {"Label_SkinTitle", 196, 252, 17, 200, false}, {"Label_SkinPreview", 197, 25, 70, 200, true},
        {"Label_SkinClips", 198, 350, 66, 200, true},  {"Label_SkinDiscSize", 199, 108, 484, 200, false},
        {"Label_SkinAdd", 190, 24, 588, 65, false},    {"Label_SkinRemove", 191, 92, 588, 65, false},
        {"Label_SkinUp", 192, 160, 588, 65, false},    {"Label_SkinDown", 193, 228, 588, 65, false},
        {"Label_SkinOptions", 194, 296, 588, 65, false}, {"Label_SkinNext", 195, 550, 588, 65, false},
    };
    for (const Word& w : words) {
        TLabel* label = MakeLabel(w.Name, Language::GetMessageText(w.Message), w.Left, w.Top);
        label->SetAutoSize(false);
        label->SetWidth(w.Width);
        label->SetHeight(14);
        // The buttons' names sit centred under their buttons.
        if (w.Width < 100) label->SetAlignment(taCenter);
        label->GetFont()->SetColor(muted);
        label->GetFont()->SetSize(8);
        if (w.Bold) label->GetFont()->SetStyle(TFontStyles{fsBold});
        SkinWords.push_back({label, w.Message});
    }
}

void TSetupClipWindow::ResetForMode() {
    if (b_DVD5) SelectDVD5(); else SelectDVD9();
    if (b_4_3) Select4_3(); else Select16_9();
    SelectedRow = nullptr;
    SelectClip(nullptr);
    i_TotalSeconds = 0;
    i_OtherSeconds = 0;
    DrawDiscSizeBar(0);
}

// ---- form ---------------------------------------------------------------------------------------

void TSetupClipWindow::FormCreate(TObject*) {
    SelectedRow = nullptr;
    ClipPopupMenu = nullptr;
    SelectClip(nullptr);
    SetDoubleBuffered(true);
    suiImagePanel_InfoMove->SetDoubleBuffered(true);
    Panel_Bar->SetDoubleBuffered(true);
    Panel_Progress->SetDoubleBuffered(true);
    Image_Left->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { StartHandleMouseDown(s, b, sh, x, y); };
    Image_Left->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { StartHandleMouseMove(s, sh, x, y); };
    Image_Left->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { StartHandleMouseUp(s, b, sh, x, y); };
    Image_Right->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { EndHandleMouseDown(s, b, sh, x, y); };
    Image_Right->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { EndHandleMouseMove(s, sh, x, y); };
    Image_Right->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { EndHandleMouseUp(s, b, sh, x, y); };
    Image_Stretch->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { RangeBarMouseDown(s, b, sh, x, y); };
    Image_Stretch->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { RangeBarMouseMove(s, sh, x, y); };
    Image_Stretch->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { RangeBarMouseUp(s, b, sh, x, y); };
    i_DiscCapacityKB[0] = i_DVD5Size;
    i_DiscCapacityKB[1] = i_DVD9Size;
    i_DVDType = 0;
    i_TotalSeconds = 0;
    i_OtherSeconds = 0;
    suiImageButton_InfoBar->SetTop(0);
}

void TSetupClipWindow::FormDestroy(TObject*) {
    delete ClipPopupMenu;
    ClipPopupMenu = nullptr;
}

void TSetupClipWindow::FormClose(TObject*, TCloseAction&) { DiscardProject(); }

void TSetupClipWindow::DiscardProject() {
    DropStaleSelection();
    SelectClip(nullptr);
    Pubfunction::ClearClipInfo();
    Pubfunction::ClearTitleMenuLabel();
    SelectedRow = nullptr;
    UnloadFrameGrabber();
    i_TotalSeconds = 0;
    i_OtherSeconds = 0;
    suiImagePanel_InfoMove->SetHeight(0);
    suiImagePanel_InfoMove->SetTop(0);
    suiImageButton_InfoBar->SetTop(0);
}

void TSetupClipWindow::CloseDiscardingProject() {
    DiscardProject();
    b_ClosedFromDesigner = true;
    Close();
}

void TSetupClipWindow::DropStaleSelection() {
    const bool held = std::any_of(ClipInfo.begin(), ClipInfo.end(), [this](TClipInfo* c) { return c->ListRow == SelectedRow; });
    if (SelectedRow == nullptr || held) return;
    SelectedRow = nullptr;
    i_TotalSeconds = 0;
    for (TClipInfo* clip : ClipInfo) i_TotalSeconds += TrimmedLength(clip);
    i_OtherSeconds = i_TotalSeconds;
    SelectClip(nullptr);
}

void TSetupClipWindow::FormCloseQuery(TObject*, bool& CanClose) { CanClose = !Busy(); }

void TSetupClipWindow::suiImageButton_CloseClick(TObject*) {
    if (!Busy()) Close();
}

bool TSetupClipWindow::Busy() const { return b_Busy || (m_grabber != nullptr && m_grabber->IsUnloading()); }

TClipInfo* TSetupClipWindow::SelectedClip() const { return SelectedRow != nullptr ? SelectedRow->Clip : nullptr; }

int TSetupClipWindow::SelectedIndex() const {
    TClipInfo* clip = SelectedClip();
    for (std::size_t i = 0; i < ClipInfo.size(); ++i)
        if (ClipInfo[i] == clip) return static_cast<int>(i);
    return -1;
}

// ---- adding -------------------------------------------------------------------------------------

void TSetupClipWindow::suiImageButton_AddFileClick(TObject*) { AddFiles(); }

void TSetupClipWindow::AddFiles() {
    if (Busy()) return;
    OpenDialog->SetFileName("");
    OpenDialog->SetFilter(OpenDialogFilter);
    if (!OpenDialog->Execute()) return;
    SetCurrentDir(ExePath);
    UnloadFrameGrabber();
    Update();
    std::vector<String> rejected;
    std::vector<String> files;
    for (int i = 0; i < OpenDialog->GetFiles()->Count(); ++i) files.push_back(OpenDialog->GetFiles()->Strings(i));
    if (files.empty() && !OpenDialog->GetFileName().empty()) files.push_back(OpenDialog->GetFileName());
    i_ChosenFileCount = static_cast<int>(files.size());
    b_Busy = true;
    if (files.size() > 1) {
        ProgressWindow = new TProgressWindow(this);
        ProgressWindow->Start(static_cast<int>(files.size()), Language::kMsgAddingClips);
    }
    for (const String& file : files) {
        TClipInfo* clip = CreateClipFromFile(file);
        if (clip == nullptr) rejected.push_back(file);
        else if (SelectedRow == nullptr) SelectClip(clip->ListRow);
        if (ProgressWindow != nullptr) ProgressWindow->StepIt();
    }
    if (ProgressWindow != nullptr) {
        ProgressWindow->Close();
        TObject::FreeAndNil(ProgressWindow);
    }
    Update();
    b_Busy = false;
    ReportAddedFiles(rejected, static_cast<int>(files.size()));
}

void TSetupClipWindow::ReportAddedFiles(const std::vector<String>& Rejected, int Chosen) {
    if (!Rejected.empty() && Chosen > 1) {
        String text = Language::GetMessageText(Language::kMsgUnsupportedFiles);
        for (const String& name : Rejected) text += name + "\n";
        MessageDlg(text, mtInformation, TMsgDlgButtons{mbOK});
    }
    if (!CheckDiscSize() && b_BuilderMode)
        MessageDlg(Language::GetMessageText(i_DVDType == 0 ? Language::kMsgOverDvd5 : Language::kMsgOverDvd9),
                   mtInformation, TMsgDlgButtons{mbOK});
}

namespace {

TBitmap* BlackFrame(int Width, int Height) {
    auto* frame = new TBitmap(std::max(Width, 1), std::max(Height, 1), pf24bit);
    frame->GetCanvas()->GetBrush()->SetColor(clBlack);
    frame->GetCanvas()->FillRect(TRect(0, 0, frame->GetWidth(), frame->GetHeight()));
    return frame;
}

}  // namespace

// Null when the file is no clip the program can use; nothing is added then.
TClipInfo* TSetupClipWindow::ReadClip(TMediaLibrary& Library, const String& FileName) {
    TMediaInfoRecord record;
    if (Library.GetFileInfo(FileName, record) == -1 || !UsableSize(record)) return nullptr;
    auto clip = std::make_unique<TClipInfo>();
    clip->SetFileName(FileName);
    const auto& w = record.Words;
    clip->SetMediaInfo(w[0], WordAsFloat(w[1]), WordAsFloat(w[2]), w[3], w[4], w[5], w[6], w[7], WordAsFloat(w[8]), w[9]);
    clip->SetSubtitleFile("");
    PickUpSubtitle(clip.get(), FileName);
    // A first frame that can't be decoded, or whose call raised, leaves a black picture, so the
    // clip still gets its thumbnail, tile and title button.
    std::unique_ptr<TBitmap> frame;
    try {
        frame.reset(Library.GetFrame(record.Width(), record.Height(), "2.bmp"));
    } catch (const std::exception&) {
        frame.reset();
    }
    if (!frame) frame.reset(BlackFrame(clip->i_DisplayWidth, clip->i_DisplayHeight));
    clip->SetPicture(frame.get());
    clip->b_AddLetterBox = CheckBox_AddLetterBox->GetChecked();
    clip->RefreshListRow();
    return clip.release();
}

void TSetupClipWindow::PickUpSubtitle(TClipInfo* Clip, const String& FileName) {
    if (!b_BuilderMode || i_ChosenFileCount >= kFewFilesForSubtitles) return;
    // "Film.SRT" beside "Film.mpg" is its subtitle as much as "Film.srt" is.
    const String srt = Pubfunction::FindIgnoringCase(ChangeFileExt(FileName, ".srt"), Pubfunction::TEntryKind::File);
    if (!srt.empty()) Clip->SetSubtitleFile(srt);
}

TClipInfo* TSetupClipWindow::CreateClipFromFile(const String& FileName) {
    std::unique_ptr<TMediaLibrary> library = TMediaLibrary::Load(TMediaEntries::Information);
    if (!library) return nullptr;
    TClipInfo* clip = nullptr;
    try {
        clip = ReadClip(*library, FileName);
    } catch (const std::exception&) {
        clip = nullptr;
    }
    library.reset();
    Update();
    if (clip != nullptr) AddClipRow(clip);
    return clip;
}

void TSetupClipWindow::AddClipRow(TClipInfo* Clip) {
    const int n = static_cast<int>(ClipInfo.size());
    TSetupImage* row = Clip->ListRow;
    row->SetParent(suiImagePanel_InfoMove);
    row->SetTop(ClipListScroll::RowTop(n));
    row->SetLeft(31);
    row->OnClick = [this](TObject* s) { ClipRowClick(s); };
    row->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { ClipRowMouseUp(s, b, sh, x, y); };
    TSrtImage* icon = Clip->SrtIcon;
    icon->SetParent(suiImagePanel_InfoMove);
    icon->SetTop(ClipListScroll::RowTop(n) + 1);
    icon->SetLeft(2);
    icon->OnClick = [this](TObject* s) { SrtIconClick(s); };
    icon->SetCursor(crHandPoint);
    icon->SetVisible(b_BuilderMode);
    ClipInfo.push_back(Clip);
    suiImagePanel_InfoMove->SetHeight(row->GetTop() + row->GetHeight());
    i_TotalSeconds += TrimmedLength(Clip);
    i_OtherSeconds += TrimmedLength(Clip);
    ScrollClipList();
    CheckDiscSize();
}

// ---- list layout and scrolling ------------------------------------------------------------------

void TSetupClipWindow::LayoutClipRows() {
    for (std::size_t i = 0; i < ClipInfo.size(); ++i) {
        const int top = ClipListScroll::RowTop(static_cast<int>(i));
        TClipInfo* clip = ClipInfo[i];
        if (clip->ListRow->GetTop() != top) {
            clip->ListRow->SetTop(top);
            clip->SrtIcon->SetTop(top + 1);
        }
    }
    suiImagePanel_InfoMove->SetHeight(static_cast<int>(ClipInfo.size()) * ClipListScroll::RowHeight);
    ScrollClipList();
}

void TSetupClipWindow::ScrollClipList() {
    const int top = ClipListScroll::PanelTop(suiImageButton_InfoBar->GetTop(), static_cast<int>(ClipInfo.size()));
    if (suiImagePanel_InfoMove->GetTop() != top) suiImagePanel_InfoMove->SetTop(top);
}

void TSetupClipWindow::suiImageButton_InfoBarMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbLeft) return;
    b_DraggingThumb = true;
    ThumbDragStart = CursorOf(suiImageButton_InfoBar, X, Y);
    i_ThumbTopAtStart = suiImageButton_InfoBar->GetTop();
}

void TSetupClipWindow::suiImageButton_InfoBarMouseMove(TObject*, TShiftState, int X, int Y) {
    if (!b_DraggingThumb) return;
    ThumbDragNow = CursorOf(suiImageButton_InfoBar, X, Y);
    suiImageButton_InfoBar->SetTop(ClipListScroll::ClampThumbTop(i_ThumbTopAtStart + ThumbDragNow.y - ThumbDragStart.y));
    ScrollClipList();
}

void TSetupClipWindow::suiImageButton_InfoBarMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
    if (Button == mbLeft) b_DraggingThumb = false;
}

// ---- selection ----------------------------------------------------------------------------------

void TSetupClipWindow::ShowClipThumbnail(TClipInfo* Clip) {
    if (Clip == nullptr || Clip->Thumbnail == nullptr) {
        Image_Preview->GetPicture()->Assign(nullptr);
        return;
    }
    Image_Preview->GetPicture()->Assign(Clip->Thumbnail);
    Image_Preview->SetStretch(!Clip->b_AddLetterBox);
}

void TSetupClipWindow::SelectClip(TSetupImage* Row) {
    if (SelectedRow != nullptr) {
        SelectedRow->Select(false);
        i_TotalSeconds = TrimmedLength(SelectedRow->Clip) + i_OtherSeconds;
        i_OtherSeconds = i_TotalSeconds;
        UnloadFrameGrabber();
    }
    SelectedRow = nullptr;
    if (Row != nullptr && Row->Clip != nullptr) {
        SelectedRow = Row;
        Row->Select(true);
        TClipInfo* clip = Row->Clip;
        CheckBox_AddLetterBox->SetChecked(clip->b_AddLetterBox);
        ShowClipThumbnail(clip);
        suiImageButton_Snapshoot->SetEnabled(false);
        Panel_Progress->SetEnabled(true);
        SyncTrimHandles(clip);
        ShowTrimTimes(clip);
        i_OtherSeconds = i_TotalSeconds - TrimmedLength(clip);
        return;
    }
    ShowClipThumbnail(nullptr);
    suiImageButton_Snapshoot->SetEnabled(false);
    Panel_Progress->SetEnabled(false);
    SyncTrimHandles(nullptr);
    ShowTrimTimes(nullptr);
    i_OtherSeconds = i_TotalSeconds;
    UnloadFrameGrabber();
}

void TSetupClipWindow::ClipRowClick(TObject* Sender) {
    if (Busy()) return;
    auto* row = dynamic_cast<TSetupImage*>(Sender);
    if (row != nullptr && row != SelectedRow) SelectClip(row);
}

void TSetupClipWindow::CheckBox_AddLetterBoxClick(TObject*) {
    TClipInfo* clip = SelectedClip();
    if (clip == nullptr) return;
    clip->b_AddLetterBox = CheckBox_AddLetterBox->GetChecked();
    Image_Preview->SetStretch(!clip->b_AddLetterBox);
}

// ---- removing and reordering ---------------------------------------------------------------------

void TSetupClipWindow::suiImageButton_RemoveFileClick(TObject*) { RemoveSelectedClip(); }

void TSetupClipWindow::RemoveSelectedClip() {
    if (Busy() || SelectedRow == nullptr) return;
    TClipInfo* clip = SelectedRow->Clip;
    i_TotalSeconds = i_OtherSeconds;
    SelectedRow->Select(false);
    SelectedRow = nullptr;
    SelectClip(nullptr);
    CheckDiscSize();
    const int index = RemoveClipFromList(ClipInfo, clip, true);
    if (index < 0) return;
    LayoutClipRows();
    if (ClipInfo.empty()) return;
    const int next = index < static_cast<int>(ClipInfo.size()) ? index : index - 1;
    SelectClip(ClipInfo[static_cast<std::size_t>(next)]->ListRow);
}

void TSetupClipWindow::SwapClips(int A, int B) { std::swap(ClipInfo[static_cast<std::size_t>(A)], ClipInfo[static_cast<std::size_t>(B)]); }

void TSetupClipWindow::MoveClip(int From, int To) {
    TClipInfo* clip = ClipInfo[static_cast<std::size_t>(From)];
    ClipInfo.erase(ClipInfo.begin() + From);
    ClipInfo.insert(ClipInfo.begin() + To, clip);
}

void TSetupClipWindow::MoveClipUp() {
    const int i = SelectedIndex();
    if (i <= 0) return;
    SwapClips(i, i - 1);
    LayoutClipRows();
}

void TSetupClipWindow::MoveClipDown() {
    const int i = SelectedIndex();
    if (i < 0 || i + 1 >= static_cast<int>(ClipInfo.size())) return;
    SwapClips(i, i + 1);
    LayoutClipRows();
}

void TSetupClipWindow::MoveClipToTop() {
    const int i = SelectedIndex();
    if (i <= 0) return;
    MoveClip(i, 0);
    LayoutClipRows();
}

void TSetupClipWindow::MoveClipToBottom() {
    const int i = SelectedIndex();
    if (i < 0 || i + 1 >= static_cast<int>(ClipInfo.size())) return;
    MoveClip(i, static_cast<int>(ClipInfo.size()) - 1);
    LayoutClipRows();
}

void TSetupClipWindow::suiImageButton_UpClick(TObject*) {
    if (!Busy()) MoveClipUp();
}

void TSetupClipWindow::suiImageButton_DownClick(TObject*) {
    if (!Busy()) MoveClipDown();
}

// ---- row popup and subtitles ---------------------------------------------------------------------

void TSetupClipWindow::ClipRowMouseUp(TObject* Sender, TMouseButton Button, TShiftState, int, int) {
    if (Button != mbRight || Busy() || IsSeeking()) return;
    auto* row = dynamic_cast<TSetupImage*>(Sender);
    if (row == nullptr) return;
    if (row != SelectedRow) SelectClip(row);
    if (!BuildClipPopupMenu()) return;
    const TPoint p = Mouse->GetCursorPos();
    ClipPopupMenu->Popup(p.x, p.y);
}

bool TSetupClipWindow::BuildClipPopupMenu() {
    if (ClipPopupMenu == nullptr) ClipPopupMenu = new TPopupMenu(this);
    ClipPopupMenu->GetItems()->Clear();
    const std::pair<int, const char*> items[] = {{Language::kMsgMoveUp, "MoveUp"},
                                                 {Language::kMsgMoveToTop, "MovetoTop"},
                                                 {Language::kMsgMenuSeparator, ""},
                                                 {Language::kMsgMoveDown, "MoveDown"},
                                                 {Language::kMsgMoveToBottom, "MovetoBottom"},
                                                 {Language::kMsgMenuSeparator, ""},
                                                 {Language::kMsgAddClips, "Add"},
                                                 {Language::kMsgRemoveSelect, "Remove"},
                                                 {Language::kMsgMenuSeparator, ""},
                                                 {Language::kMsgSubtitle, "Subtitle"}};
    TMenuItem* subtitle = nullptr;
    for (const auto& [message, name] : items) {
        auto* item = new TMenuItem(ClipPopupMenu);
        item->SetCaption(Language::GetMessageText(message));
        if (*name != '\0') item->SetName(name);
        item->OnClick = [this](TObject* s) { ClipPopupItemClick(s); };
        ClipPopupMenu->GetItems()->Add(item);
        subtitle = item;
    }
    if (TClipInfo* clip = SelectedClip()) {
        subtitle->SetCaption(clip->s_SubtitleFile.empty() ? Language::GetMessageText(Language::kMsgAddSubtitleFile)
                                                          : Language::GetMessageText(Language::kMsgSetupSubtitleFile) +
                                                                ExtractFileName(clip->s_SubtitleFile));
    }
    subtitle->SetVisible(b_BuilderMode);
    return true;
}

void TSetupClipWindow::ClipPopupItemClick(TObject* Item) {
    auto* item = dynamic_cast<TMenuItem*>(Item);
    if (item == nullptr || Busy()) return;
    const String& name = item->GetName();
    if (name == "MoveUp") MoveClipUp();
    else if (name == "MovetoTop") MoveClipToTop();
    else if (name == "MoveDown") MoveClipDown();
    else if (name == "MovetoBottom") MoveClipToBottom();
    else if (name == "Add") AddFiles();
    else if (name == "Remove") RemoveSelectedClip();
    else if (name == "Subtitle" && b_BuilderMode && SelectedClip() != nullptr) EditClipSubtitle(SelectedClip());
}

void TSetupClipWindow::SrtIconClick(TObject* Sender) {
    auto* icon = dynamic_cast<TSrtImage*>(Sender);
    if (!b_BuilderMode || Busy() || icon == nullptr || icon->Clip == nullptr) return;
    EditClipSubtitle(icon->Clip);
}

void TSetupClipWindow::EditClipSubtitle(TClipInfo* Clip) {
    if (SetupSubtitleWindow != nullptr) SetupSubtitleWindow->SetupClip(Clip);
}

// ---- going on -----------------------------------------------------------------------------------

void TSetupClipWindow::suiImageButton_MenuClick(TObject*) {
    if (Busy()) return;
    UnloadFrameGrabber();
    if (!b_BuilderMode) {
        if (ConvertWindow == nullptr) return;
        ConvertWindow->SetConvertMode();
        ConvertWindow->ShowModal();
        return;
    }
    if (!suiCheckBox_AddDVDMenu->GetChecked()) {
        if (BuilderWindow == nullptr) return;
        BuilderWindow->b_TitleMenu = false;
        BuilderWindow->b_RootMenu = false;
        BuilderWindow->SetBuildMode();
        BuilderWindow->ShowModal();
        return;
    }
    if (SetupMenuWindow != nullptr) ShowMenuDesigner();
}

void TSetupClipWindow::ShowMenuDesigner() {
    for (TClipInfo* clip : ClipInfo) SetupMenuWindow->CreateClipItem(clip);
    SetupMenuWindow->ArrangeClipItems();
    b_ClosedFromDesigner = false;
    Hide();
    // Whatever the designer raises, this window comes back for the person to go on or close.
    try {
        SetupMenuWindow->SetupForBuilder();
        SetupMenuWindow->ShowModal();
    } catch (...) {
        DropStaleSelection();
        Show();
        throw;
    }
    DropStaleSelection();
    if (!b_ClosedFromDesigner) Show();
}

void TSetupClipWindow::suiImageButton_OptionClick(TObject*) {
    if (ProgressWindow != nullptr || Busy() || OptionWindow == nullptr) return;
    OptionWindow->ShowModal();
    if (!OptionWindow->b_OkPressed) return;
    if (b_DVD5) SelectDVD5(); else SelectDVD9();
    if (b_4_3) Select4_3(); else Select16_9();
}
