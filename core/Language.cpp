#include "core/Language.h"

#include "platform/vcl/Graphics.h"

#include <fstream>
#include <memory>

#include "core/LanguageMessages.h"
#include "core/Pubfunction.h"
#include "platform/vcl/SysUtils.h"

namespace Language {

namespace {

TCaptionSetter GroupBoxCaptionSetter = nullptr;

// Every occurrence of From, left to right, without rescanning what was put in.
String ReplaceAll(String S, const String& From, const String& To) {
    for (size_t at = S.find(From); at != String::npos; at = S.find(From, at + To.size()))
        S.replace(at, From.size(), To);
    return S;
}

String Unescaped(const String& Text) {
    return ReplaceAll(ReplaceAll(Text, "#1", "\n"), "#2", " ");
}

// A language is a plain file name inside Lang/; anything that would reach elsewhere is not one.
bool IsLanguageFileName(const String& Name) {
    return !Name.empty() && Name != "." && Name != ".." && Name.find(PathDelim) == String::npos;
}

// A file that cannot be read would only hide the texts now shown behind the defaults.
bool IsReadableFile(const String& Path) {
    return FileExists(Path) && std::ifstream(Path, std::ios::binary).good();
}

void SetControlCaption(TControl* Control, const String& ClassName, const String& Caption) {
    if (ClassName == "TsuiGroupBox" && GroupBoxCaptionSetter != nullptr)
        GroupBoxCaptionSetter(Control, Caption);
    else
        Control->SetCaption(Caption);
}

// Labels, group boxes, check and radio boxes: caption, then font; "nodef" leaves it all alone.
void ApplyCaption(TIniFile* Ini, const String& Section, TControl* Control, const String& ClassName) {
    const String& name = Control->GetName();
    String caption = Ini->ReadString(Section, name + "-Caption", "nodef");
    if (caption == "nodef") return;
    SetControlCaption(Control, ClassName, caption);
    Control->GetFont()->SetName(Ini->ReadString(Section, name + "-FontName", "Tahoma"));
    Control->GetFont()->SetSize(Ini->ReadInteger(Section, name + "-FontSize", 8));
}

void ApplyHint(TIniFile* Ini, const String& Section, TControl* Control) {
    Control->SetHint(Ini->ReadString(Section, Control->GetName() + "-Hint", ""));
    Control->SetShowHint(true);
    // A picture button that draws a word ("Start", "Erase") takes it from the file too; its font
    // is the skin's.
    const String caption = Ini->ReadString(Section, Control->GetName() + "-Caption", "nodef");
    if (caption != "nodef") Control->SetCaption(caption);
}

bool TakesCaption(const String& ClassName) {
    return ClassName == "TLabel" || ClassName == "TsuiGroupBox" || ClassName == "TsuiCheckBox" ||
           ClassName == "TsuiRadioButton";
}

// ---- region tables

struct TRegionAttribute {
    const char* Section;
    const char* Default;
};

constexpr TRegionAttribute CharacterSet{"CharacterSet", "ISO-8859-1"};
constexpr TRegionAttribute FontFileName{"RegionFontFileName", "ARIAL.TTF"};
constexpr TRegionAttribute LanguageCode{"LanguageCode", "EN"};

// Read afresh on every call: the settings dialog may have added a region a moment ago.
String RegionAttribute(int Index, const TRegionAttribute& Attribute) {
    TIniFile subtitle(ExePath + "Subtitle.ini");
    TIniFile shipped(ExePath + "Language.ini");
    String name = shipped.ReadString("RegionLanguage", "Region" + IntToStr(Index), "Nodef");
    if (name == "Nodef") {
        // Wide arithmetic: a count near the int limits must not wrap into a valid index.
        Int64 own = static_cast<Int64>(Index) - shipped.ReadInteger("RegionCount", "Region", 0);
        name = subtitle.ReadString("RegionLanguage", "Region" + IntToStr(own), "Other");
    }
    String value = subtitle.ReadString(Attribute.Section, name, "Nodef");
    if (value == "Nodef") value = shipped.ReadString(Attribute.Section, name, Attribute.Default);
    return value;
}

}  // namespace

String GetMessageText(int N) {
    if (N < 0 || N >= MessageCount) return "";
    String builtIn = MessageTexts[N];
    if (LanguageIni == nullptr) return builtIn;
    return Unescaped(LanguageIni->ReadString("Text", IntToStr(N), builtIn));
}

bool LoadLanguageFile(const String& Name) {
    if (!IsLanguageFileName(Name)) return false;
    String path = ExePath + "Lang/" + Name;
    if (!IsReadableFile(path)) return false;
    auto next = std::make_unique<TIniFile>(path);
    delete LanguageIni;
    LanguageIni = next.release();
    UILanguage = Name;
    return true;
}

void ApplyMessageCaptions(const std::vector<TMessageCaption>& Captions) {
    for (const TMessageCaption& c : Captions)
        if (c.Control != nullptr) c.Control->SetCaption(GetMessageText(c.Message));
}

void FitCaption(TControl* Control, int Reserved) {
    if (Control == nullptr) return;
    TBitmap measure;
    TCanvas* canvas = measure.GetCanvas();
    const int room = Control->GetWidth() - Reserved;
    canvas->SetFont(Control->GetFont());
    while (Control->GetFont()->GetSize() > 6 && canvas->TextWidth(Control->GetCaption()) > room) {
        Control->GetFont()->SetSize(Control->GetFont()->GetSize() - 1);
        canvas->SetFont(Control->GetFont());
    }
}

void ShowHintsAsCaptions(const std::vector<TControl*>& Buttons) {
    for (TControl* b : Buttons) {
        b->SetCaption(b->GetHint());
        b->GetFont()->SetColor(clWhite);
        b->GetFont()->SetSize(8);
        FitCaption(b, 6);
    }
}

void ApplyLanguageToForm(TCustomForm* Form) {
    if (Form == nullptr || LanguageIni == nullptr) return;
    const String& section = Form->GetName();
    for (int i = 0; i < Form->ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(Form->Components(i));
        if (control == nullptr) continue;
        String className = control->ClassName();
        if (TakesCaption(className))
            ApplyCaption(LanguageIni, section, control, className);
        else if (className == "TsuiImageButton")
            ApplyHint(LanguageIni, section, control);
    }
}

void ApplyLanguageToForms(std::initializer_list<TCustomForm*> Forms) {
    for (TCustomForm* form : Forms) ApplyLanguageToForm(form);
}

void SetGroupBoxCaptionSetter(TCaptionSetter Setter) { GroupBoxCaptionSetter = Setter; }

String GetRegionCharacterSet(int Index) { return RegionAttribute(Index, CharacterSet); }
String GetRegionFontFileName(int Index) { return RegionAttribute(Index, FontFileName); }
String GetRegionLanguageCode(int Index) { return RegionAttribute(Index, LanguageCode); }

}  // namespace Language
