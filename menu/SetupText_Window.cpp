#include "menu/SetupText_Window.h"

#include <vector>

#include "core/Language.h"
#include "core/Pubfunction.h"
#include "app/ResPictures.h"
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
    CreateComponents();
}

TSetupTextWindow::~TSetupTextWindow() {
    if (SetupTextWindow == this) SetupTextWindow = nullptr;
}

TLabel* TSetupTextWindow::MakeCaption(TWinControl* Parent, const String& Name, const String& Caption, int Left,
                                      int Top) {
    auto* label = new TLabel(this);
    label->SetName(Name);
    label->SetParent(Parent);
    label->SetTransparent(true);
    label->SetCaption(Caption);
    label->SetLeft(Left);
    label->SetTop(Top);
    return label;
}

void TSetupTextWindow::CreateComponents() {
    suiSkinForm1 = new TsuiSkinForm(this);
    suiSkinForm1->SetName("suiSkinForm1");
    suiSkinForm1->SetParent(this);
    suiSkinForm1->SetTransparentColor(clFuchsia);
    TPicture skin;
    LoadResPicture(&skin, "text_skin.bmp");
    if (skin.GetGraphic() != nullptr) suiSkinForm1->SetGlyph(skin.GetBitmap());

    suiGroupBox2 = new TsuiGroupBox(this);
    suiGroupBox2->SetName("suiGroupBox2");
    suiGroupBox2->SetParent(this);
    suiGroupBox2->SetBounds(20, 40, 414, 65);
    suiGroupBox2->SetCaption("Sample :");
    // A mid grey behind the sample: white and black texts both read on it.
    suiGroupBox2->SetColor(static_cast<TColor>(0x807870));
    Label_Sample = MakeCaption(suiGroupBox2, "Label_Sample", "", 0, 0);
    Label_Sample->SetAlignment(taCenter);
    Label_Sample->SetAutoSize(true);

    suiGroupBox1 = new TsuiGroupBox(this);
    suiGroupBox1->SetName("suiGroupBox1");
    suiGroupBox1->SetParent(this);
    suiGroupBox1->SetBounds(20, 120, 414, 89);
    suiGroupBox1->SetCaption("Font & Effects");
    MakeCaption(suiGroupBox1, "Label_Font", "Font :", 10, 18);
    suiFontComboBox = new TsuiFontComboBox(this);
    suiFontComboBox->SetName("suiFontComboBox");
    suiFontComboBox->SetParent(suiGroupBox1);
    suiFontComboBox->SetBounds(10, 34, 150, 21);
    MakeCaption(suiGroupBox1, "Label_Style", "Font style :", 166, 18);
    suiComboBox_Style = new TsuiComboBox(this);
    suiComboBox_Style->SetName("suiComboBox_Style");
    suiComboBox_Style->SetParent(suiGroupBox1);
    suiComboBox_Style->SetStyle(csDropDownList);
    suiComboBox_Style->SetBounds(166, 34, 92, 21);
    MakeCaption(suiGroupBox1, "Label_Size", "Size :", 264, 18);
    suiFontSizeComboBox = new TsuiFontSizeComboBox(this);
    suiFontSizeComboBox->SetName("suiFontSizeComboBox");
    suiFontSizeComboBox->SetParent(suiGroupBox1);
    suiFontSizeComboBox->SetStyle(csDropDownList);
    suiFontSizeComboBox->SetBounds(264, 34, 46, 21);
    suiCheckBox_Strikeout = new TsuiCheckBox(this);
    suiCheckBox_Strikeout->SetName("suiCheckBox_Strikeout");
    suiCheckBox_Strikeout->SetParent(suiGroupBox1);
    suiCheckBox_Strikeout->SetBounds(10, 62, 100, 17);
    suiCheckBox_Strikeout->SetCaption("  Strikeout");
    suiCheckBox_Underline = new TsuiCheckBox(this);
    suiCheckBox_Underline->SetName("suiCheckBox_Underline");
    suiCheckBox_Underline->SetParent(suiGroupBox1);
    suiCheckBox_Underline->SetBounds(120, 62, 100, 17);
    suiCheckBox_Underline->SetCaption("  Underline");
    MakeCaption(suiGroupBox1, "Label_Color", "Color :", 316, 18);
    suiColorBox = new TsuiColorBox(this);
    suiColorBox->SetName("suiColorBox");
    suiColorBox->SetParent(suiGroupBox1);
    suiColorBox->SetBounds(316, 34, 92, 22);
    suiColorBox->SetStyle(TColorBoxStyles{cbStandardColors, cbExtendedColors, cbPrettyNames});

    MakeCaption(this, "Label_Input", "Input Text :", 20, 224);
    suiEdit_Sample = new TsuiEdit(this);
    suiEdit_Sample->SetName("suiEdit_Sample");
    suiEdit_Sample->SetParent(this);
    suiEdit_Sample->SetBounds(96, 221, 329, 21);

    suiImageButton2 = new TsuiImageButton(this);
    suiImageButton2->SetName("suiImageButton2");
    suiImageButton2->SetParent(this);
    LoadResButton(suiImageButton2, "text_ok");
    suiImageButton2->SetBounds(250, 280, 80, 28);
    suiImageButton1 = new TsuiImageButton(this);
    suiImageButton1->SetName("suiImageButton1");
    suiImageButton1->SetParent(this);
    LoadResButton(suiImageButton1, "text_cancel");
    suiImageButton1->SetBounds(345, 280, 80, 28);
    suiImageButton1->SetModalResult(mrCancel);
    CloseOnEscape(this, suiImageButton1);
    ShowButtonWords();

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
