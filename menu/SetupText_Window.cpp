#include "menu/SetupText_Window.h"

#include <vector>

#include "app/FormBuilder.h"
#include "app/ResPictures.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "platform/vcl/SysUtils.h"

TSetupTextWindow* SetupTextWindow = nullptr;

namespace {
constexpr int kWidth = 465;
constexpr int kHeight = 340;

}  // namespace

String TrimLabelText(const String& Text) {
    std::size_t first = 0;
    std::size_t last = Text.size();
    while (first < last && static_cast<unsigned char>(Text[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(Text[last - 1]) <= 32) --last;
    return Text.substr(first, last - first);
}

namespace {

// Where each UTF-8 character starts: continuation bytes (10xxxxxx) belong to the one before.
std::vector<std::size_t> CharacterStarts(const String& Text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < Text.size(); ++i)
        if ((static_cast<unsigned char>(Text[i]) & 0xC0) != 0x80) starts.push_back(i);
    return starts;
}

}  // namespace

String FitSampleText(const String& Text, int SampleWidth, int BoxWidth) {
    if (SampleWidth <= BoxWidth || SampleWidth <= 0) return Text;
    // Counted and cut in characters, so a cut never leaves half of an accented letter.
    const std::vector<std::size_t> starts = CharacterStarts(Text);
    const long long n = static_cast<long long>(starts.size()) * BoxWidth / SampleWidth;
    if (n <= 0) return String();
    if (n >= static_cast<long long>(starts.size())) return Text;
    return Text.substr(0, starts[static_cast<std::size_t>(n)]);
}

int StyleIndexOf(TFontStyles Style) {
    const bool bold = Style.Contains(fsBold);
    const bool italic = Style.Contains(fsItalic);
    if (bold && italic) return 3;
    if (bold) return 2;
    return italic ? 1 : 0;
}

TFontStyles FontStyleOf(int StyleIndex, bool Strikeout, bool Underline) {
    TFontStyles style;
    if (Strikeout) style.Include(fsStrikeOut);
    if (Underline) style.Include(fsUnderline);
    if (StyleIndex == 1 || StyleIndex == 3) style.Include(fsItalic);
    if (StyleIndex == 2 || StyleIndex == 3) style.Include(fsBold);
    return style;
}

TSetupTextWindow::TSetupTextWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("SetupTextWindow");
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientWidth(kWidth);
    SetClientHeight(kHeight);
    GetFont()->SetName("Tahoma");
    CreateSkin();
    CreateControls();
    InstallHandlers();
    ShowButtonWords();
}

TSetupTextWindow::~TSetupTextWindow() {
    if (SetupTextWindow == this) SetupTextWindow = nullptr;
}

void TSetupTextWindow::CreateSkin() {
    suiSkinForm1 = NewSkinForm(this);
    ShowResSkin(suiSkinForm1, "text_skin.bmp");
}

void TSetupTextWindow::CreateControls() {
    using W = TSetupTextWindow;
    static constexpr TControlRow kRows[] = {
        Place<&W::suiGroupBox2>("suiGroupBox2", 20, 40, 414, 65, "Sample :"),
        Place<&W::Label_Sample>("Label_Sample", 0, 0, 0, 0, "", "suiGroupBox2"),
        Place<&W::suiGroupBox1>("suiGroupBox1", 20, 120, 414, 89, "Font & Effects"),
        PlaceUnnamed<TLabel>("Label_Font", 10, 18, 0, 0, "Font :", "suiGroupBox1"),
        Place<&W::suiFontComboBox>("suiFontComboBox", 10, 34, 150, 21, "", "suiGroupBox1"),
        PlaceUnnamed<TLabel>("Label_Style", 166, 18, 0, 0, "Font style :", "suiGroupBox1"),
        Place<&W::suiComboBox_Style>("suiComboBox_Style", 166, 34, 92, 21, "", "suiGroupBox1"),
        PlaceUnnamed<TLabel>("Label_Size", 264, 18, 0, 0, "Size :", "suiGroupBox1"),
        Place<&W::suiFontSizeComboBox>("suiFontSizeComboBox", 264, 34, 46, 21, "", "suiGroupBox1"),
        Place<&W::suiCheckBox_Strikeout>("suiCheckBox_Strikeout", 10, 62, 100, 17, "  Strikeout", "suiGroupBox1"),
        Place<&W::suiCheckBox_Underline>("suiCheckBox_Underline", 120, 62, 100, 17, "  Underline", "suiGroupBox1"),
        PlaceUnnamed<TLabel>("Label_Color", 316, 18, 0, 0, "Color :", "suiGroupBox1"),
        Place<&W::suiColorBox>("suiColorBox", 316, 34, 92, 22, "", "suiGroupBox1"),
        PlaceUnnamed<TLabel>("Label_Input", 20, 224, 0, 0, "Input Text :"),
        Place<&W::suiEdit_Sample>("suiEdit_Sample", 96, 221, 329, 21),
        Place<&W::suiImageButton2>("suiImageButton2", 250, 280, 80, 28, "text_ok"),
        Place<&W::suiImageButton1>("suiImageButton1", 345, 280, 80, 28, "text_cancel"),
    };
    BuildControls(this, kRows, TArtSource::kResFolder);
    ShowGroups();
    SetBoxStyles();
    Label_Sample->SetAlignment(taCenter);
    Label_Sample->SetAutoSize(true);
    suiImageButton1->SetModalResult(mrCancel);
}

// A mid grey behind the sample: white and black texts both read on it.
void TSetupTextWindow::ShowGroups() {
    suiGroupBox2->SetColor(static_cast<TColor>(0x807870));
}

void TSetupTextWindow::SetBoxStyles() {
    suiComboBox_Style->SetStyle(csDropDownList);
    suiFontSizeComboBox->SetStyle(csDropDownList);
    suiColorBox->SetStyle(TColorBoxStyles{cbStandardColors, cbExtendedColors, cbPrettyNames});
}

void TSetupTextWindow::InstallHandlers() {
    auto update = [this](TObject*) { UpdateSample(); };
    suiFontComboBox->OnChange = update;
    suiComboBox_Style->OnChange = update;
    suiFontSizeComboBox->OnChange = update;
    suiColorBox->OnChange = update;
    suiEdit_Sample->OnChange = update;
    suiCheckBox_Strikeout->OnClick = update;
    suiCheckBox_Underline->OnClick = update;
    suiImageButton2->OnClick = [this](TObject*) {
        ApplyToLabel();
        SetModalResult(mrOk);
    };
    CloseOnEscape(this, suiImageButton1);
}

void TSetupTextWindow::FillStyles() {
    TStrings* items = suiComboBox_Style->GetItems();
    items->Clear();
    for (int message = Language::kMsgFontRegular; message <= Language::kMsgFontBoldItalic; ++message)
        items->Add(Language::GetMessageText(message));
}

void TSetupTextWindow::LoadLabel(TLabel* Label) {
    if (Label == nullptr) return;
    FillStyles();
    b_SampleReady = false;
    EditedLabel = Label;
    TFont* font = Label->GetFont();
    m_labelFontName = font->GetName();
    m_labelFontSize = font->GetSize();
    m_labelColour = font->GetColor();
    suiEdit_Sample->SetText(Label->GetCaption());
    suiFontComboBox->SetFontName(m_labelFontName);
    suiFontSizeComboBox->SetFontName(ChosenFontName());
    suiFontSizeComboBox->SetFontSize(m_labelFontSize);
    suiColorBox->SetSelected(m_labelColour);
    suiComboBox_Style->SetItemIndex(StyleIndexOf(font->GetStyle()));
    suiCheckBox_Strikeout->SetChecked(font->GetStyle().Contains(fsStrikeOut));
    suiCheckBox_Underline->SetChecked(font->GetStyle().Contains(fsUnderline));
    b_SampleReady = true;
    UpdateSample();
}

void TSetupTextWindow::EditLabel(TLabel* Label) {
    if (Label == nullptr) return;
    LoadLabel(Label);
    ShowModal();
}

String TSetupTextWindow::ChosenFontName() const {
    const String name = suiFontComboBox->GetFontName();
    return name.empty() ? m_labelFontName : name;
}

int TSetupTextWindow::ChosenFontSize() const {
    const int size = suiFontSizeComboBox->GetFontSize();
    return size > 0 ? size : m_labelFontSize;
}

TColor TSetupTextWindow::ChosenColour() const {
    const TColor colour = suiColorBox->GetSelected();
    return colour == ColorBoxNothingChosen ? m_labelColour : colour;
}

void TSetupTextWindow::UpdateSample() {
    if (!b_SampleReady) return;
    Label_Sample->SetCaption(TrimLabelText(suiEdit_Sample->GetText()));
    TFont* font = Label_Sample->GetFont();
    font->SetColor(ChosenColour());
    font->SetName(ChosenFontName());
    font->SetSize(ChosenFontSize());
    font->SetStyle(FontStyleOf(suiComboBox_Style->GetItemIndex(), suiCheckBox_Strikeout->GetChecked(),
                               suiCheckBox_Underline->GetChecked()));
    const int boxWidth = suiGroupBox2->GetWidth();
    if (Label_Sample->GetWidth() > boxWidth)
        Label_Sample->SetCaption(FitSampleText(Label_Sample->GetCaption(), Label_Sample->GetWidth(), boxWidth));
    Label_Sample->SetTop(suiGroupBox2->GetHeight() - Label_Sample->GetHeight());
    Label_Sample->SetLeft((boxWidth - Label_Sample->GetWidth()) / 2);
}

void TSetupTextWindow::ApplyToLabel() {
    if (EditedLabel == nullptr) return;
    EditedLabel->SetCaption(TrimLabelText(suiEdit_Sample->GetText()));
    TFont* font = EditedLabel->GetFont();
    TFont* sample = Label_Sample->GetFont();
    font->SetName(sample->GetName());
    font->SetSize(sample->GetSize());
    font->SetColor(sample->GetColor());
    font->SetStyle(sample->GetStyle());
}

void TSetupTextWindow::ApplyLanguage() {
    Language::ApplyLanguageToForm(this);
    ShowButtonWords();
}

void TSetupTextWindow::ShowButtonWords() {
    Language::ApplyMessageCaptions(
        {{suiImageButton2, Language::kMsgOkWord}, {suiImageButton1, Language::kMsgCancelWord}});
    for (TsuiImageButton* b : {suiImageButton2, suiImageButton1}) b->GetFont()->SetColor(clWhite);
}
