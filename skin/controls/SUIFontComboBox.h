// The font choosers on the skinned combo box: TsuiFontComboBox lists the installed faces with a
// TrueType or device glyph; TsuiFontSizeComboBox lists the sizes one face offers.
//
//   auto* Fonts = new TsuiFontComboBox(Form);
//   Fonts->SetParent(Form);
//   Fonts->SetOptions(TFontListOptions{foTrueTypeOnly, foNoOEMFonts});
//   Fonts->SetFontName("Arial");
//   Fonts->OnChange = [&](TObject*) { Sizes->SetFontName(Fonts->GetFontName()); };
#pragma once

#include "platform/vcl/FontEnum.h"
#include "skin/controls/SUIComboBox.h"

using TFontDrawComboStyle = TComboBoxStyle;  // csDropDown .. csDropDownList

enum TFontDevice { fdScreen, fdPrinter, fdBoth };
enum class TFontListOptionE { foAnsiOnly, foTrueTypeOnly, foFixedPitchOnly, foNoOEMFonts, foOEMFontsOnly,
                              foScalableOnly, foNoSymbolFonts };
using TFontListOptions = Set<TFontListOptionE>;
constexpr TFontListOptionE foAnsiOnly = TFontListOptionE::foAnsiOnly;
constexpr TFontListOptionE foTrueTypeOnly = TFontListOptionE::foTrueTypeOnly;
constexpr TFontListOptionE foFixedPitchOnly = TFontListOptionE::foFixedPitchOnly;
constexpr TFontListOptionE foNoOEMFonts = TFontListOptionE::foNoOEMFonts;
constexpr TFontListOptionE foOEMFontsOnly = TFontListOptionE::foOEMFontsOnly;
constexpr TFontListOptionE foScalableOnly = TFontListOptionE::foScalableOnly;
constexpr TFontListOptionE foNoSymbolFonts = TFontListOptionE::foNoSymbolFonts;

// An item's object: the font type bits, plus this when the face is not a symbol face.
constexpr std::uintptr_t FontItemNotSymbol = 0x100;

// Whether a face passes the list options (a face's character set and pitch from its LOGFONT).
bool SUIFontPassesOptions(TFontListOptions Options, const LOGFONTA& LogFont, DWORD FontType);
// The point size of one raster size: (lfHeight - tmInternalLeading) x 72 / PixelsPerInch,
// rounded to nearest with halves to even.
int SUIRasterPointSize(int Height, int InternalLeading, int PixelsPerInch);

// An owner-drawn skinned combo whose item height follows its font.
class TsuiFontDrawComboBox : public TsuiCustomComboBox {
    VCL_CLASS(TsuiFontDrawComboBox)
    explicit TsuiFontDrawComboBox(TComponent* AOwner);
    void SetStyle(TComboBoxStyle Value) override;
    // The screen text height of the font: tmHeight + 1 (14 turned into 15), at least 9.
    virtual int MinItemHeight();
    void Dispatch(TMessage& Message) override;

protected:
    bool IsOwnerDraw() const override { return true; }
    void CreateWnd() override;
    void ResetItemHeight();
    bool m_recreating = false;
};

class TsuiFontComboBox : public TsuiFontDrawComboBox {
    VCL_CLASS(TsuiFontComboBox)
    // Raises "Resource FONTCOMBO_... not found" when a glyph is missing.
    explicit TsuiFontComboBox(TComponent* AOwner);
    ~TsuiFontComboBox() override;

    String GetFontName() const { return GetText(); }
    void SetFontName(const String& Value);
    TFontDevice GetDevice() const { return m_device; }
    void SetDevice(TFontDevice Value);
    TFontListOptions GetOptions() const { return m_options; }
    void SetOptions(TFontListOptions Value);
    bool GetUseFonts() const { return m_useFonts; }
    void SetUseFonts(bool Value);
    // Lists the faces again (options, device or installed fonts changed).
    void Reset();
    int MinItemHeight() override;

    // The font box's own change event (a face chosen or typed, or a name set).
    TNotifyEvent OnChange;

    void Dispatch(TMessage& Message) override;

protected:
    virtual void PopulateList();
    void CreateWnd() override;
    void Change() override;
    void Click() override;
    void DoChange();
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;

private:
    int AddFace(const LOGFONTA& LogFont, DWORD FontType);

    TBitmap* m_trueTypeGlyph;
    TBitmap* m_deviceGlyph;
    TFontDevice m_device = fdScreen;
    bool m_resetting = false;
    bool m_useFonts = false;
    TFontListOptions m_options;
};

class TsuiFontSizeComboBox : public TsuiCustomComboBox {
    VCL_CLASS(TsuiFontSizeComboBox)
    explicit TsuiFontSizeComboBox(TComponent* AOwner);
    const String& GetFontName() const { return m_fontName; }
    // Lists the sizes of that face; the selected size stays when the new list has it.
    void SetFontName(const String& Value);
    // The selected size; 0 when nothing is selected or the text is no number.
    int GetFontSize() const;
    // Selects that size's item, or nothing when the list lacks it.
    void SetFontSize(int Value);
    void Build();

private:
    int AddSize(int Size);

    int m_pixelsPerInch = 96;
    String m_fontName;
};
