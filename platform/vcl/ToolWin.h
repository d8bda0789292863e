// TToolBar and TToolButton: a bar of flat buttons laid out in rows, with pictures, captions,
// check and drop-down buttons, menu buttons that drop their item's sub-menu, and the custom
// draw events through which a program paints the bar and each button itself.
//
//   auto* Bar = new TToolBar(Form);
//   Bar->SetParent(Form);
//   Bar->SetShowCaptions(true);
//   auto* B = new TToolButton(Bar);
//   B->SetParent(Bar);                       // buttons line up in the order they are added
//   B->SetCaption("&File");
//   Bar->OnCustomDrawButton = [](TToolBar* Sender, TToolButton* Button, TCustomDrawState State,
//                                bool& DefaultDraw) { ... Sender->GetCanvas() ... };
#pragma once

#include <functional>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

class TImageList;
class TMenuItem;
class TToolBar;
class TToolButton;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

enum class TCustomDrawStateE { cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault,
                               cdsHot, cdsMarked, cdsIndeterminate };
using TCustomDrawState = Set<TCustomDrawStateE>;
constexpr TCustomDrawStateE cdsSelected = TCustomDrawStateE::cdsSelected;
constexpr TCustomDrawStateE cdsGrayed = TCustomDrawStateE::cdsGrayed;
constexpr TCustomDrawStateE cdsDisabled = TCustomDrawStateE::cdsDisabled;
constexpr TCustomDrawStateE cdsChecked = TCustomDrawStateE::cdsChecked;
constexpr TCustomDrawStateE cdsHot = TCustomDrawStateE::cdsHot;

enum class TEdgeBorderE { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = Set<TEdgeBorderE>;
enum TEdgeStyle { esNone, esRaised, esLowered };

using TTBCustomDrawEvent = std::function<void(TToolBar* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTBCustomDrawBtnEvent =
    std::function<void(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw)>;

class TToolButton : public TGraphicControl {
    VCL_CLASS(TToolButton)
    explicit TToolButton(TComponent* AOwner);
    ~TToolButton() override;

    TToolButtonStyle GetStyle() const { return m_style; }
    void SetStyle(TToolButtonStyle v);
    bool GetDown() const { return m_down; }
    void SetDown(bool v);
    bool GetGrouped() const { return m_grouped; }
    void SetGrouped(bool v) { m_grouped = v; }
    int GetImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int v);
    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    // The item whose caption and enabled state the button shows; a click drops its sub-menu
    // (or clicks it when it has none). Cleared when the item goes.
    TMenuItem* GetMenuItem() const { return m_menuItem; }
    void SetMenuItem(TMenuItem* v);
    // Position among the bar's buttons.
    int GetIndex() const;

    // Under the mouse / held down by the mouse.
    bool IsHot() const { return m_hot; }
    bool IsPressed() const { return m_pressed; }
    TToolBar* ToolBar() const;

    void Click() override;
    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void DropMenu();
    TToolButtonStyle m_style = tbsButton;
    bool m_down = false;
    bool m_grouped = false;
    int m_imageIndex = -1;
    bool m_autoSize = false;
    TMenuItem* m_menuItem = nullptr;
    bool m_hot = false;
    bool m_pressed = false;
};

class TToolBar : public TCustomControl {
    VCL_CLASS(TToolBar)
    explicit TToolBar(TComponent* AOwner);
    ~TToolBar() override;

    int ButtonCount() const;
    // nullptr for an index out of range.
    TToolButton* Buttons(int Index) const;

    bool GetFlat() const { return m_flat; }
    void SetFlat(bool v);
    bool GetShowCaptions() const { return m_showCaptions; }
    void SetShowCaptions(bool v);
    // Captions to the right of the pictures instead of below.
    bool GetList() const { return m_list; }
    void SetList(bool v);
    // The bar's height follows its rows of buttons.
    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    bool GetWrapable() const { return m_wrapable; }
    void SetWrapable(bool v);
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool v);
    int GetButtonWidth() const { return m_buttonWidth; }
    void SetButtonWidth(int v);
    int GetButtonHeight() const { return m_buttonHeight; }
    void SetButtonHeight(int v);
    TImageList* GetImages() const { return m_images; }
    void SetImages(TImageList* v);
    TImageList* GetHotImages() const { return m_hotImages; }
    void SetHotImages(TImageList* v);
    TEdgeBorders GetEdgeBorders() const { return m_edgeBorders; }
    void SetEdgeBorders(TEdgeBorders v);
    TEdgeStyle GetEdgeInner() const { return m_edgeInner; }
    void SetEdgeInner(TEdgeStyle v);
    TEdgeStyle GetEdgeOuter() const { return m_edgeOuter; }
    void SetEdgeOuter(TEdgeStyle v);

    // Lays the buttons out again (after a button changed its size or caption).
    void ArrangeButtons();
    // The width a button takes: its caption and picture when it sizes itself, else ButtonWidth.
    int ButtonWidthOf(TToolButton* Button);
    // Draws a button the default way on the bar's canvas (also used by custom drawing that
    // lets the default run).
    void DefaultDrawButton(TToolButton* Button, TCanvas* Canvas);
    // What the custom draw events see for a button.
    TCustomDrawState ButtonState(TToolButton* Button) const;

    TTBCustomDrawEvent OnCustomDraw;
    TTBCustomDrawBtnEvent OnCustomDrawButton;

    void AlignControls(TControl* AControl, TRect& Rect) override;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TToolButton;
    void PaintButton(TToolButton* Button);
    bool m_flat = false;
    bool m_showCaptions = false;
    bool m_list = false;
    bool m_autoSize = false;
    bool m_wrapable = true;
    bool m_transparent = false;
    int m_buttonWidth = 23;
    int m_buttonHeight = 22;
    TImageList* m_images = nullptr;
    TImageList* m_hotImages = nullptr;
    TEdgeBorders m_edgeBorders{TEdgeBorderE::ebTop};
    TEdgeStyle m_edgeInner = esRaised;
    TEdgeStyle m_edgeOuter = esLowered;
    bool m_arranging = false;
};
