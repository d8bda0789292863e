// Skinned menus: the drawing helpers and the one measuring and drawing rule both skinned menu
// classes (TsuiMainMenu, TsuiPopupMenu) follow, with the style fields they share.
//
//   class TsuiPopupMenu : public TPopupMenu, public TsuiMenuStyle, ... {
//       TsuiPopupMenu(TComponent* Owner) : TPopupMenu(Owner), TsuiMenuStyle(this) {
//           SetUIStyle(GetSUIFormStyle(Owner));                 // the look rule fills the colours
//       }
//   };
//   Suimenu::Menu_SetItemEvent(Item, Measure, Draw);            // Measure/Draw call the rule
#pragma once

#include <memory>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/MenuWindow.h"
#include "platform/vcl/Menus.h"
#include "skin/core/SUIThemes.h"

class TsuiFileTheme;

namespace Suimenu {
// Sets Item's measure and draw events, then the same on every sub-item, recursively.
void Menu_SetItemEvent(TMenuItem* Item, const TMenuMeasureItemEvent& Measure, const TMenuDrawItemEvent& Draw);
// One-pixel frame in Colour (the brush colour).
void Menu_DrawBorder(TCanvas* Canvas, const TRect& R, TColor Colour);
void Menu_DrawBackGround(TCanvas* Canvas, const TRect& R, TColor Colour);
// A separator line from (Left + BarWidth + 4, Top + 2) to (Right - 2, Top + 2).
void Menu_DrawLineItem(TCanvas* Canvas, const TRect& R, TColor Colour, int BarWidth);
// The MacOS pictures, cut to their used rows and stretched over R.
void Menu_DrawMacOSLineItem(TCanvas* Canvas, const TRect& R);
void Menu_DrawMacOSSelectedItem(TCanvas* Canvas, const TRect& R);
void Menu_DrawMacOSNonSelectedItem(TCanvas* Canvas, const TRect& R);
// The flat border over the popup window's whole area: a frame in FrameColour, a white frame
// inside it, and the top and right edges redrawn in LineColour. Nothing without a window.
void Menu_DrawWindowBorder(TMenuWindow* Window, TColor FrameColour, TColor LineColour);
// Font takes the toolkit's menu font and clMenuText; unchanged when there is none.
void Menu_GetSystemFont(TFont* Font);
}  // namespace Suimenu

// The style fields of a skinned menu, the look rule that sets them and the item rule that
// measures and draws with them. The owning menu repaints through StyleChanged.
class TsuiMenuStyle : public IsuiStyled {
public:
    explicit TsuiMenuStyle(TComponent* Self);
    ~TsuiMenuStyle() override;
    TsuiMenuStyle(const TsuiMenuStyle&) = delete;
    TsuiMenuStyle& operator=(const TsuiMenuStyle&) = delete;

    TsuiUIStyle GetUIStyle() const override { return m_link.GetUIStyle(); }
    // The look rule: BarWidth 26, the heights and separator colour of the look (MacOS 20, 12
    // and black; others 21, 5 and 0x848284), the colours from keys 23, 21, 22, 18, 19, 20.
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_link.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;

    int GetMenuItemHeight() const { return m_menuItemHeight; }
    // Both heights are fixed while the look is MacOS.
    void SetHeight(int Value);
    int GetSeparatorHeight() const { return m_separatorHeight; }
    void SetSeparatorHeight(int Value);
    TColor GetBarColor() const { return m_barColor; }
    void SetBarColor(TColor v) { m_barColor = v; }
    int GetBarWidth() const { return m_barWidth; }
    void SetBarWidth(int v) { m_barWidth = v; }
    TColor GetColor() const { return m_color; }
    void SetColor(TColor v) { m_color = v; }
    TColor GetSeparatorColor() const { return m_separatorColor; }
    void SetSeparatorColor(TColor v) { m_separatorColor = v; }
    TColor GetSelectedBorderColor() const { return m_selectedBorderColor; }
    void SetSelectedBorderColor(TColor v) { m_selectedBorderColor = v; }
    TColor GetSelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(TColor v) { m_selectedColor = v; }
    TColor GetSelectedFontColor() const { return m_selectedFontColor; }
    void SetSelectedFontColor(TColor v) { m_selectedFontColor = v; }
    TColor GetFontColor() const { return m_fontColor; }
    void SetFontColor(TColor v) { m_fontColor = v; }
    // Stored only: the flat frame is always black.
    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor v) { m_borderColor = v; }
    bool GetFlatMenu() const { return m_flatMenu; }
    void SetFlatMenu(bool v) { m_flatMenu = v; }
    const String& GetFontName() const { return m_fontName; }
    void SetFontName(const String& v) { m_fontName = v; }
    int GetFontSize() const { return m_fontSize; }
    void SetFontSize(int v) { m_fontSize = v; }
    TFontCharset GetFontCharset() const { return m_fontCharset; }
    void SetFontCharset(TFontCharset v) { m_fontCharset = v; }
    bool GetUseSystemFont() const { return m_useSystemFont; }
    virtual void SetUseSystemFont(bool v) { m_useSystemFont = v; }

    // The item rule: a separator ("-" exactly) is SeparatorHeight high, any other item
    // MenuItemHeight; the width holds the caption, the shortcut text, the bar and 40 pixels.
    void MeasureMenuItem(TMenuItem* Item, TCanvas* Canvas, int& Width, int& Height) const;
    // Images is the list the item's ImageIndex refers to (nullptr for none); CheckGlyphs holds
    // the check glyph at index 0.
    void DrawMenuItem(TMenuItem* Item, TCanvas* Canvas, const TRect& R, bool Selected,
                      TImageList* CheckGlyphs, TImageList* Images) const;
    // Sets the font of a drawn item: the system menu font or FontName, FontSize, FontCharset.
    void ApplyItemFont(TFont* Font) const;

    // Sets the measure and draw handlers of this menu on Item and its sub-items. The handlers
    // do nothing once the menu is gone (an item may outlive the menu that set them).
    void SetItemHandlers(TMenuItem* Item);

protected:
    // The check glyph list and the list item images come from, for the draw handler.
    virtual TImageList* CheckGlyphList() const = 0;
    virtual TImageList* ItemImages() const = 0;
    // The file theme went away: forget it, back to DeepBlue.
    bool StyleThemeRemoved(TComponent* AComponent, TOperation Operation);
    // Called after the look changed.
    virtual void StyleChanged() {}

private:
    void DrawSeparator(TCanvas* Canvas, const TRect& R) const;
    void DrawItemBackground(TMenuItem* Item, TCanvas* Canvas, const TRect& R, bool Selected) const;
    void DrawItemText(TMenuItem* Item, TCanvas* Canvas, const TRect& R, bool Selected) const;
    void DrawItemGlyphs(TMenuItem* Item, TCanvas* Canvas, const TRect& R, TImageList* CheckGlyphs,
                        TImageList* Images) const;

    TsuiStyleLink m_link;
    std::shared_ptr<TsuiMenuStyle*> m_alive;
    int m_menuItemHeight = 21;
    int m_separatorHeight = 21;
    TColor m_barColor = clBtnFace;
    int m_barWidth = 0;
    TColor m_color = clWhite;
    TColor m_separatorColor = clGray;
    TColor m_selectedBorderColor = clHighlight;
    TColor m_selectedColor = clHighlight;
    TColor m_selectedFontColor = clWhite;
    TColor m_fontColor = clWhite;
    TColor m_borderColor = 0;
    bool m_flatMenu = false;
    String m_fontName = "MS Sans Serif";
    int m_fontSize = 8;
    TFontCharset m_fontCharset = 1;
    bool m_useSystemFont = true;
};

// True when Item has an image of List to draw: an index that is not -1 and lies in the list.
bool SUIMenuItemHasImage(TMenuItem* Item, TImageList* List);
// A new image list (no owner) holding the 16 x 16 check glyph, white see-through.
TImageList* SUICreateCheckGlyphList();
