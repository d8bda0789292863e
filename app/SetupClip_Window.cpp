#include "app/SetupClip_Window.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/FormBuilder.h"
#include "app/Option_Window.h"
#include "app/Progress_Window.h"
#include "app/ResPictures.h"
#include "app/SetupSubtitle_Window.h"
#include "core/ClipListScroll.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "menu/SetupMenu_Window.h"
#include "model/CustomClass.h"
#include "model/SetupClip_WindowRows.h"
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

// A word on the window's skin: a label of the control table and its message.
struct TSkinWord {
    const char* Name;
    int Message;
    bool Bold;     // the areas' names
    bool Centred;  // the buttons' names sit centred under their buttons
};

constexpr TSkinWord kSkinWords[] = {
    {"Label_SkinTitle", Language::kMsgClipListWord, false, false},
    {"Label_SkinPreview", Language::kMsgPreviewWord, true, false},
    {"Label_SkinClips", Language::kMsgClipsWord, true, false},
    {"Label_SkinDiscSize", Language::kMsgDiscSizeWord, false, false},
    {"Label_SkinAdd", Language::kMsgAddWord, false, true},
    {"Label_SkinRemove", Language::kMsgRemoveWord, false, true},
    {"Label_SkinUp", Language::kMsgUpWord, false, true},
    {"Label_SkinDown", Language::kMsgDownWord, false, true},
    {"Label_SkinOptions", Language::kMsgOptionsWord, false, true},
    {"Label_SkinNext", Language::kMsgNextWord, false, true},
};

void ShapeTimeEdit(TsuiMaskEdit* Edit) {
    Edit->SetEditMask("!90:00:00;1;_");
    Edit->SetMaxLength(8);
    Edit->SetColor(static_cast<TColor>(0xE8E8E8));
    // A size at which all eight characters fit the box, so no digit scrolls out of sight.
    Edit->GetFont()->SetSize(7);
    Edit->SetText(ClipTrim::EmptyTimeText);
}

}  // namespace

TSetupClipWindow::TSetupClipWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("SetupClipWindow");
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientWidth(kWidth);
    SetClientHeight(kHeight);
    GetFont()->SetName("Tahoma");
    CreateComponents();
    m_grabber = std::make_unique<TFrameGrabberClient>();
    InstallHandlers();
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

void TSetupClipWindow::CreateComponents() {
    suiSkinForm1 = NewSkinForm(this);
    CreateControls();

    OpenDialog = new TOpenDialog(this);
    OpenDialog->SetName("OpenDialog");
    OpenDialog->SetOptions(TOpenOptions{ofHideReadOnly, ofAllowMultiSelect, ofEnableSizing});
    SaveDialog = new TSaveDialog(this);
    SaveDialog->SetName("SaveDialog");
    SaveDialog->SetFilter("JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp");
    LoadSkin();
}

void TSetupClipWindow::CreateControls() {
    using W = TSetupClipWindow;
    constexpr int kEndHandleLeft = ClipTrim::HandleWidth + ClipTrim::TrackLength;
    static constexpr TControlRow kRows[] = {
        Place<&W::Image_Preview>("Image_Preview", 25, 95, 296, 220),
        // The clip list: the rows scroll in InfoMove, the bar on the right scrolls them.
        Place<&W::suiImagePanel_ClipInfo>("suiImagePanel_ClipInfo", 350, 86, 452, 386),
        Place<&W::suiImagePanel_InfoMove>("suiImagePanel_InfoMove", 0, 0, 457, 0, "", "suiImagePanel_ClipInfo"),
        Place<&W::Panel_Bar>("Panel_Bar", 452 - 14, 0, 14, 386, "", "suiImagePanel_ClipInfo"),
        Place<&W::Image_BarBack>("Image_BarBack", 0, 0, 14, 386, "clip_bar_back.bmp", "Panel_Bar"),
        Place<&W::suiImageButton_InfoBar>("suiImageButton_InfoBar", 1, 0, 13, 53, "clip_thumb", "Panel_Bar"),
        Place<&W::suiImageButton_AddFile>("suiImageButton_AddFile", 31, 537, 51, 50, "clip_add"),
        Place<&W::suiImageButton_RemoveFile>("suiImageButton_RemoveFile", 99, 537, 51, 50, "clip_remove"),
        Place<&W::suiImageButton_Up>("suiImageButton_Up", 167, 537, 51, 50, "clip_up"),
        Place<&W::suiImageButton_Down>("suiImageButton_Down", 235, 537, 51, 50, "clip_down"),
        Place<&W::suiImageButton_Option>("suiImageButton_Option", 303, 537, 51, 50, "clip_option"),
        Place<&W::suiImageButton_Menu>("suiImageButton_Menu", 557, 537, 51, 50, "clip_next"),
        // The skin's words; their captions come from the language (kSkinWords).
        PlaceUnnamed<TLabel>("Label_SkinTitle", 252, 17, 200, 14),
        PlaceUnnamed<TLabel>("Label_SkinPreview", 25, 70, 200, 14),
        PlaceUnnamed<TLabel>("Label_SkinClips", 350, 66, 200, 14),
        PlaceUnnamed<TLabel>("Label_SkinDiscSize", 108, 484, 200, 14),
        PlaceUnnamed<TLabel>("Label_SkinAdd", 24, 588, 65, 14),
        PlaceUnnamed<TLabel>("Label_SkinRemove", 92, 588, 65, 14),
        PlaceUnnamed<TLabel>("Label_SkinUp", 160, 588, 65, 14),
        PlaceUnnamed<TLabel>("Label_SkinDown", 228, 588, 65, 14),
        PlaceUnnamed<TLabel>("Label_SkinOptions", 296, 588, 65, 14),
        PlaceUnnamed<TLabel>("Label_SkinNext", 550, 588, 65, 14),
        Place<&W::suiImageButton_Close>("suiImageButton_Close", 760, 1, 46, 20, "clip_close"),
        Place<&W::CheckBox_AddLetterBox>("CheckBox_AddLetterBox", 24, 466, 158, 17, " Auto Add Letter Box"),
        Place<&W::suiCheckBox_AddDVDMenu>("suiCheckBox_AddDVDMenu", 184, 466, 141, 17, " Add DVD Menu"),
        // The trim slider: the track, the range bar between the handles, the two handles.
        Place<&W::Panel_Progress>("Panel_Progress", 24, 330, 242, 14),
        Place<&W::Image_ProgressBack>("Image_ProgressBack", 0, 0, ClipTrim::TrackPictureWidth, 14, "clip_track.bmp",
                                      "Panel_Progress"),
        Place<&W::Image_Stretch>("Image_Stretch", ClipTrim::HandleWidth, 3, 0, 8, "clip_range.bmp", "Panel_Progress"),
        Place<&W::Image_Left>("Image_Left", 0, 0, ClipTrim::HandleWidth, 14, "clip_handle_left", "Panel_Progress"),
        Place<&W::Image_Right>("Image_Right", kEndHandleLeft, 0, ClipTrim::HandleWidth, 14, "clip_handle_right",
                               "Panel_Progress"),
        Place<&W::suiImageButton_Snapshoot>("suiImageButton_Snapshoot", 271, 322, 50, 30, "clip_snapshot"),
        Place<&W::suiEdit_Start>("suiEdit_Start", 91, 380, 49, 19),
        Place<&W::suiEdit_Stop>("suiEdit_Stop", 243, 380, 49, 19),
        Place<&W::suiImageButton_ConfirmStart>("suiImageButton_ConfirmStart", 145, 379, 32, 20, "clip_confirm"),
        Place<&W::suiImageButton_ConfirmStop>("suiImageButton_ConfirmStop", 297, 379, 32, 20, "clip_confirm"),
        Place<&W::Label_Start>("Label_Start", 24, 383, 0, 0, "Start Time :"),
        Place<&W::Label_Stop>("Label_Stop", 184, 383, 0, 0, "End Time :"),
        // The disc size: the bar, the type button showing the current type, the DVD-9 mark.
        Place<&W::Image_DiscSizeProgress>("Image_DiscSizeProgress", 108, 501, 0, 10, "clip_disc_fill.bmp"),
        Place<&W::suiImageButton_DVD5>("suiImageButton_DVD5", 2, 492, 90, 28, "clip_dvd5"),
        Place<&W::suiImageButton_DVD9>("suiImageButton_DVD9", 2, 492, 90, 28, "clip_dvd9"),
        Place<&W::Image8500>("Image8500", 745, 523, 58, 12, "clip_8500.bmp"),
        Place<&W::suiGroupBox1>("suiGroupBox1", 24, 407, 305, 50, " Aspect "),
        Place<&W::suiCheckBox_4_3>("suiCheckBox_4_3", 10, 22, 148, 17, "4:3 For Standard TV", "suiGroupBox1"),
        Place<&W::suiCheckBox_16_9>("suiCheckBox_16_9", 160, 22, 142, 17, "16:9 For Wide Screen TV", "suiGroupBox1"),
        Place<&W::suiImageButton_4_3>("suiImageButton_4_3", 24, 407, 20, 20),
        Place<&W::suiImageButton_16_9>("suiImageButton_16_9", 48, 407, 20, 20),
        Place<&W::Label_Info>("Label_Info", 112, 195, 0, 0, "Seeking please wait..."),
    };
    BuildControls(this, kRows, TArtSource::kResFolder, TButtonCursor::kHand);
    ShapeListControls();
    ShapeTrimControls();
    ShapeDiscControls();
    ShowSkinWords();
}

void TSetupClipWindow::ShapeListControls() {
    Image_Preview->SetCenter(true);
    for (TsuiImagePanel* panel : {suiImagePanel_ClipInfo, suiImagePanel_InfoMove}) panel->SetTransparent(true);
    Panel_Bar->SetBevelOuter(bvNone);
    Panel_Bar->SetAlign(alRight);
    suiImageButton_Close->SetHint("Close");
    suiImageButton_Close->SetShowHint(true);
    for (TsuiCheckBox* box : {CheckBox_AddLetterBox, suiCheckBox_AddDVDMenu}) {
        box->SetTransparent(true);
        box->SetChecked(true);
        // Light text: the boxes sit on the dark body of the skin.
        box->GetFont()->SetColor(clWhite);
    }
}

void TSetupClipWindow::ShapeTrimControls() {
    Panel_Progress->SetBevelOuter(bvNone);
    // The range bar spans the handles: no width until a clip is chosen.
    Image_Stretch->SetStretch(true);
    for (TsuiMaskEdit* edit : {suiEdit_Start, suiEdit_Stop}) ShapeTimeEdit(edit);
    for (TLabel* label : {Label_Start, Label_Stop}) label->GetFont()->SetColor(clWhite);
    Label_Info->GetFont()->SetColor(clWhite);
    Label_Info->SetVisible(false);
}

void TSetupClipWindow::ShapeDiscControls() {
    // The bar is as wide as the clips' size fills the disc: none yet.
    Image_DiscSizeProgress->SetStretch(true);
    Image8500->SetVisible(false);
    suiImageButton_4_3->SetVisible(false);
    suiImageButton_16_9->SetVisible(false);
}

void TSetupClipWindow::ShowSkinWords() {
    const TColor muted = static_cast<TColor>(0xC4A896);
    for (const TSkinWord& word : kSkinWords) {
        auto* label = static_cast<TLabel*>(FindComponent(word.Name));
        // The row's bounds hold whatever the translation's length.
        label->SetAutoSize(false);
        if (word.Centred) label->SetAlignment(taCenter);
        label->GetFont()->SetColor(muted);
        label->GetFont()->SetSize(8);
        if (word.Bold) label->GetFont()->SetStyle(TFontStyles{fsBold});
        SkinWords.push_back({label, word.Message});
    }
    Language::ApplyMessageCaptions(SkinWords);
}

void TSetupClipWindow::LoadSkin() {
    ShowResSkin(suiSkinForm1, "clip_skin.bmp");
}

void TSetupClipWindow::InstallHandlers() {
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
    m_grabber->OnMessage = [this](UINT m, WPARAM w, LPARAM l) { OnGrabberMessage(m, w, l); };
    m_grabber->OnTimeOut = [this] { SetPreviewIdle(true); };
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
    Image_Left->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        StartHandleMouseDown(s, b, sh, x, y);
    };
    Image_Left->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { StartHandleMouseMove(s, sh, x, y); };
    Image_Left->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        StartHandleMouseUp(s, b, sh, x, y);
    };
    Image_Right->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        EndHandleMouseDown(s, b, sh, x, y);
    };
    Image_Right->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { EndHandleMouseMove(s, sh, x, y); };
    Image_Right->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        EndHandleMouseUp(s, b, sh, x, y);
    };
    Image_Stretch->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        RangeBarMouseDown(s, b, sh, x, y);
    };
    Image_Stretch->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { RangeBarMouseMove(s, sh, x, y); };
    Image_Stretch->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        RangeBarMouseUp(s, b, sh, x, y);
    };
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
