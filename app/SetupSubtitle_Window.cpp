#include "app/SetupSubtitle_Window.h"

#include <exception>

#include "app/FormBuilder.h"
#include "app/Option_Window.h"
#include "app/ResPictures.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "model/CustomClass.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/SysUtils.h"

TSetupSubtitleWindow* SetupSubtitleWindow = nullptr;

namespace {

void AddRegions(TStrings* Items, const String& IniName, int DefaultCount) {
    TIniFile ini(ExePath + IniName);
    const int count = ini.ReadInteger("RegionCount", "Region", DefaultCount);
    for (int i = 0; i < count; ++i) Items->Add(ini.ReadString("RegionLanguage", "Region" + IntToStr(i), "Others"));
}

}  // namespace

int SubtitleSampleLeft(int TextWidth) { return (SubtitlePreviewWidth - TextWidth) / 2; }
int SubtitleSampleTop(int TextHeight) { return SubtitlePreviewBaseline - TextHeight; }

TSetupSubtitleWindow::TSetupSubtitleWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("SetupSubtitleWindow");
    SetPosition(poScreenCenter);
    SetClientWidth(460);
    SetClientHeight(300);
    suiSkinForm1 = NewSkinForm(this);
    // Without its artwork the dialog keeps the window system's frame.
    if (!LoadResSkin(suiSkinForm1, "subtitle_skin.bmp")) SetBorderStyle(bsDialog);
    CreateControls();
    OpenDialog = new TOpenDialog(this);
    OpenDialog->SetName("OpenDialog");
    OpenDialog->SetTitle("Select a Subtitle File");
    InstallHandlers();
    ShowButtonWords();
    CloseOnEscape(this, suiImageButton_Cancel);
    AfterConstruction();
}

// The destroy event runs while this window is still whole (the base would run it after).
TSetupSubtitleWindow::~TSetupSubtitleWindow() {
    if (SetupSubtitleWindow == this) SetupSubtitleWindow = nullptr;
    DoDestroy();
}

// The sample line's picture lies over the thumbnail, so it comes after it.
void TSetupSubtitleWindow::CreateControls() {
    using W = TSetupSubtitleWindow;
    static constexpr TControlRow kRows[] = {
        Place<&W::Label_Subtitle>("Label_Subtitle", 16, 32, 425, 0),
        Place<&W::Label2>("Label2", 320, 88, 0, 0, "Subtitle Language :"),
        Place<&W::suiComboBox_SubtitleLanguage>("suiComboBox_SubtitleLanguage", 320, 104, 130, 21),
        Place<&W::Label3>("Label3", 320, 136, 0, 0, "Subtitle Size :"),
        Place<&W::suiFontSizeComboBox>("suiFontSizeComboBox", 320, 152, 130, 21),
        Place<&W::Label1>("Label1", 320, 184, 0, 0, "Subtitle Font : "),
        Place<&W::suiFontComboBox>("suiFontComboBox", 320, 200, 130, 21),
        Place<&W::Image_Preview>("Image_Preview", 13, 62, 296, 220),
        Place<&W::Image_PreviewSubtitle>("Image_PreviewSubtitle", 13, 62, 296, 220),
        Place<&W::suiImageButton_Load>("suiImageButton_Load", 318, 56, 65, 26, "SUBTITLELOAD"),
        Place<&W::suiImageButton_Clear>("suiImageButton_Clear", 386, 56, 65, 26, "SUBTITLECLEAR"),
        Place<&W::suiImageButton_Ok>("suiImageButton_Ok", 386, 247, 42, 42, "SUBTITLEOK"),
        Place<&W::suiImageButton_Cancel>("suiImageButton_Cancel", 339, 247, 42, 42, "SUBTITLECANCEL"),
    };
    BuildControls(this, kRows);
    // The path line keeps its width whatever file it names.
    Label_Subtitle->SetAutoSize(false);
    SetListStyles();
    SetPreviewStyles();
    Label1->SetVisible(false);
    suiFontComboBox->SetVisible(false);
}

void TSetupSubtitleWindow::SetListStyles() {
    suiComboBox_SubtitleLanguage->SetStyle(csDropDownList);
    suiFontSizeComboBox->SetStyle(csDropDownList);
    suiFontComboBox->SetOptions(TFontListOptions{foTrueTypeOnly, foNoOEMFonts});
}

void TSetupSubtitleWindow::SetPreviewStyles() {
    Image_Preview->SetCenter(true);
    Image_PreviewSubtitle->SetStretch(true);
    Image_PreviewSubtitle->SetTransparent(true);
}

void TSetupSubtitleWindow::InstallHandlers() {
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    suiFontSizeComboBox->OnChange = [this](TObject* s) { suiFontSizeComboBoxChange(s); };
    suiFontComboBox->OnChange = [this](TObject* s) { suiFontComboBoxChange(s); };
    suiImageButton_Load->OnClick = [this](TObject* s) { suiImageButton_LoadClick(s); };
    suiImageButton_Clear->OnClick = [this](TObject* s) { suiImageButton_ClearClick(s); };
    suiImageButton_Ok->OnClick = [this](TObject* s) { suiImageButton_OkClick(s); };
    suiImageButton_Cancel->OnClick = [this](TObject* s) { suiImageButton_CancelClick(s); };
}

void TSetupSubtitleWindow::ApplyLanguage() {
    Language::ApplyLanguageToForm(this);
    ShowButtonWords();
}

void TSetupSubtitleWindow::ShowButtonWords() {
    Language::ApplyMessageCaptions(
        {{suiImageButton_Load, Language::kMsgLoadWord}, {suiImageButton_Clear, Language::kMsgClearWord}});
}

void TSetupSubtitleWindow::FormCreate(TObject*) {
    Clip = nullptr;
    FillLanguageList();
    SetDoubleBuffered(true);
}

void TSetupSubtitleWindow::FormShow(TObject*) { FillLanguageList(); }

void TSetupSubtitleWindow::FormDestroy(TObject*) { FreePreview(); }

void TSetupSubtitleWindow::FreePreview() {
    TObject::FreeAndNil(PreviewLabel);
    TObject::FreeAndNil(PreviewBitmap);
}

void TSetupSubtitleWindow::FillLanguageList() {
    TStrings* items = suiComboBox_SubtitleLanguage->GetItems();
    items->Clear();
    AddRegions(items, "Language.ini", 1);
    AddRegions(items, "Subtitle.ini", 0);
    if (items->Count() > 0) suiComboBox_SubtitleLanguage->SetItemIndex(0);
    if (Clip != nullptr) SelectLanguage(Clip->i_SubtitleLanguageIndex);
}

// An index the box does not hold shows no selection; OK then keeps the clip's index.
void TSetupSubtitleWindow::SelectLanguage(int Index) {
    const bool held = Index >= 0 && Index < suiComboBox_SubtitleLanguage->GetItems()->Count();
    suiComboBox_SubtitleLanguage->SetItemIndex(held ? Index : -1);
}

void TSetupSubtitleWindow::DrawPreview() {
    if (PreviewBitmap == nullptr) {
        PreviewBitmap = new TBitmap();
        PreviewBitmap->SetPixelFormat(pf24bit);
        PreviewBitmap->SetSize(SubtitlePreviewWidth, SubtitlePreviewHeight);
    }
    TCanvas* canvas = PreviewBitmap->GetCanvas();
    canvas->GetPen()->SetColor(clBlack);
    canvas->GetBrush()->SetColor(clBlack);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(TRect(0, 0, SubtitlePreviewWidth, SubtitlePreviewHeight));
    canvas->GetFont()->SetName(ChosenFontName());
    canvas->GetFont()->SetSize(ChosenFontSize());
    canvas->GetFont()->SetColor(clWhite);
    if (PreviewLabel == nullptr) {
        PreviewLabel = new TLabel(this);
        PreviewLabel->SetAutoSize(true);
        PreviewLabel->SetCaption(Language::GetMessageText(Language::kMsgSubtitleTextSample));
    }
    PreviewLabel->GetFont()->SetName(canvas->GetFont()->GetName());
    PreviewLabel->GetFont()->SetSize(canvas->GetFont()->GetSize());
    // The label has no window to measure in; the bitmap's canvas has the same font.
    const String text = PreviewLabel->GetCaption();
    const int w = canvas->TextWidth(text);
    const int h = canvas->TextHeight(text);
    SampleTop = SubtitleSampleTop(h);
    SampleBottom = SubtitlePreviewBaseline;
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->TextOut(SubtitleSampleLeft(w), SampleTop, text);
    PreviewBitmap->SetTransparent(true);
    PreviewBitmap->SetTransparentColor(clBlack);
    Image_PreviewSubtitle->GetPicture()->SetBitmap(PreviewBitmap);
}

String TSetupSubtitleWindow::ChosenFontName() const {
    const String name = suiFontComboBox->GetFontName();
    if (!name.empty() || Clip == nullptr) return name;
    return Clip->s_SubtitleFontName;
}

int TSetupSubtitleWindow::ChosenFontSize() const {
    const int size = suiFontSizeComboBox->GetFontSize();
    if (size > 0) return size;
    if (Clip != nullptr && Clip->i_SubtitleFontSize > 0) return Clip->i_SubtitleFontSize;
    return i_FontSize;
}

int TSetupSubtitleWindow::ChosenLanguage() const {
    const int index = suiComboBox_SubtitleLanguage->GetItemIndex();
    if (index >= 0 || Clip == nullptr) return index;
    return Clip->i_SubtitleLanguageIndex;
}

void TSetupSubtitleWindow::SetupClip(TClipInfo* AClip) {
    Clip = AClip;
    if (Clip == nullptr) return;
    Label_Subtitle->SetCaption("");
    SelectLanguage(Clip->i_SubtitleLanguageIndex);
    suiFontComboBox->SetFontName(Clip->s_SubtitleFontName);
    suiFontSizeComboBox->SetFontName(Clip->s_SubtitleFontName);
    suiFontSizeComboBox->SetFontSize(Clip->i_SubtitleFontSize);
    s_SubtitlePath = Clip->s_SubtitleFile;
    Image_Preview->SetStretch(!Clip->b_AddLetterBox);
    Image_Preview->GetPicture()->SetGraphic(Clip->Thumbnail);
    if (!s_SubtitlePath.empty() && FileExists(s_SubtitlePath)) {
        Label_Subtitle->SetCaption(Language::GetMessageText(Language::kMsgSubtitleFile) + " : " +
                                   ExtractFileName(s_SubtitlePath));
    } else {
        Label_Subtitle->SetCaption(Language::GetMessageText(Language::kMsgNoSubtitleFile));
        Clip->i_SubtitleLanguageIndex = i_SubTitleLanguageCodeIndex;
        SelectLanguage(Clip->i_SubtitleLanguageIndex);
        Clip->i_SubtitleFontSize = i_FontSize;
        suiFontSizeComboBox->SetFontSize(Clip->i_SubtitleFontSize);
    }
    DrawPreview();
    ShowModal();
}

void TSetupSubtitleWindow::suiImageButton_LoadClick(TObject*) {
    OpenDialog->SetFileName("");
    OpenDialog->SetFilter(Language::GetMessageText(Language::kMsgSubtitleFile) + "(*.srt, *.SRT)|*.srt;*.SRT");
    if (!OpenDialog->Execute()) return;
    SetCurrentDir(ExePath);
    s_SubtitlePath = OpenDialog->GetFileName();
    Label_Subtitle->SetCaption(Language::GetMessageText(Language::kMsgSubtitleFile) + ExtractFileName(s_SubtitlePath));
}

void TSetupSubtitleWindow::suiImageButton_ClearClick(TObject*) {
    s_SubtitlePath = "";
    Label_Subtitle->SetCaption(Language::GetMessageText(Language::kMsgNoSubtitleFile));
}

void TSetupSubtitleWindow::suiFontComboBoxChange(TObject*) {
    const int size = suiFontSizeComboBox->GetFontSize();
    suiFontSizeComboBox->SetFontName(suiFontComboBox->GetFontName());
    suiFontSizeComboBox->SetFontSize(size);
    DrawPreview();
}

void TSetupSubtitleWindow::suiFontSizeComboBoxChange(TObject*) { DrawPreview(); }

void TSetupSubtitleWindow::suiImageButton_OkClick(TObject*) {
    if (Clip != nullptr) {
        Clip->s_SubtitleFontName = ChosenFontName();
        Clip->i_SubtitleLanguageIndex = ChosenLanguage();
        Clip->i_SubtitleFontSize = ChosenFontSize();
        if (s_SubtitlePath != Clip->s_SubtitleFile) Clip->SetSubtitleFile(s_SubtitlePath);
        i_SubTitleLanguageCodeIndex = Clip->i_SubtitleLanguageIndex;
        i_FontSize = Clip->i_SubtitleFontSize;
        WriteDefaults(i_SubTitleLanguageCodeIndex, i_FontSize);
    }
    SetModalResult(mrOk);
}

void TSetupSubtitleWindow::suiImageButton_CancelClick(TObject*) { SetModalResult(mrCancel); }

// Only the three keys (the settings dialog owns the rest of the file), all of them or none.
bool TSetupSubtitleWindow::WriteDefaults(int LanguageIndex, int FontSize) {
    try {
        TMemIniFile ini(OptionFileName());
        ini.WriteInteger("Option", "SubtitleLanguage", LanguageIndex);
        ini.WriteInteger("Option", "MenuLanguage", LanguageIndex);
        ini.WriteString("Option", "FontSize", IntToStr(FontSize));
        ini.UpdateFile();
        return true;
    } catch (const std::exception& e) {
        MessageDlg(Language::GetMessageText(Language::kMsgSettingsNotSaved) + OptionFileName() + ": " + e.what(),
                   mtError, TMsgDlgButtons{mbOK});
        return false;
    }
}
