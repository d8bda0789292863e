#include "platform/vcl/ToolWin.h"

#include <algorithm>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"

namespace {

constexpr int CaptionMargin = 8;   // left and right of a caption in a self-sizing button
constexpr int SeparatorWidth = 8;

}  // namespace

// ---- buttons ------------------------------------------------------------------------------------

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
    ControlStyle() = {csCaptureMouse, csClickEvents, csSetCaption};
    SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() {
    Destroying();
    if (m_menuItem != nullptr) m_menuItem->RemoveFreeNotification(this);
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(GetParent()); }

int TToolButton::GetIndex() const {
    TToolBar* bar = ToolBar();
    if (bar == nullptr) return -1;
    for (int i = 0; i < bar->ButtonCount(); ++i)
        if (bar->Buttons(i) == this) return i;
    return -1;
}

void TToolButton::SetStyle(TToolButtonStyle v) {
    m_style = v;
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
    Invalidate();
}

void TToolButton::SetDown(bool v) {
    if (v == m_down) return;
    m_down = v;
    // A grouped check button is one of a radio group among its neighbours.
    if (v && m_grouped && m_style == tbsCheck)
        if (TToolBar* bar = ToolBar())
            for (int i = 0; i < bar->ButtonCount(); ++i) {
                TToolButton* b = bar->Buttons(i);
                if (b != this && b->m_grouped && b->m_style == tbsCheck) b->m_down = false;
            }
    if (TToolBar* bar = ToolBar()) bar->Invalidate();
}

void TToolButton::SetImageIndex(int v) {
    m_imageIndex = v;
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetAutoSize(bool v) {
    m_autoSize = v;
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetMenuItem(TMenuItem* v) {
    if (m_menuItem != nullptr) m_menuItem->RemoveFreeNotification(this);
    m_menuItem = v;
    if (v != nullptr) {
        v->FreeNotification(this);
        SetCaption(v->GetCaption());
        SetEnabled(v->GetEnabled());
    }
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_menuItem) m_menuItem = nullptr;
}

void TToolButton::Paint() {
    // The bar paints its buttons (the custom draw events draw on the bar's canvas).
}

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !GetEnabled()) return;
    m_pressed = true;
    if (TToolBar* bar = ToolBar()) bar->Invalidate();
}

void TToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const bool was = m_pressed;
    m_pressed = false;
    if (TToolBar* bar = ToolBar()) bar->Invalidate();
    if (was && m_style == tbsCheck) SetDown(!m_down || m_grouped);
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TToolButton::Click() {
    if (m_menuItem != nullptr) {
        if (m_menuItem->Count() > 0) DropMenu();
        else m_menuItem->Click();
        return;
    }
    TGraphicControl::Click();
}

// The item's sub-items are lent to a popup for as long as it shows, then handed back.
void TToolButton::DropMenu() {
    TMenuItem* item = m_menuItem;
    TMenu* owner = item->GetParentMenu();
    TPopupMenu popup(nullptr);
    if (owner != nullptr) {
        popup.SetOwnerDraw(owner->GetOwnerDraw());
        popup.SetImages(owner->GetImages());
        popup.SetAutoHotkeys(owner->GetAutoHotkeys());
    }
    std::vector<TMenuItem*> lent;
    while (item->Count() > 0) {
        lent.push_back(item->Items(0));
        item->Delete(0);
    }
    for (TMenuItem* i : lent) popup.GetItems()->Add(i);
    TPoint p = ClientToScreen({0, GetHeight()});
    m_pressed = true;
    try {
        popup.Popup(p.x, p.y);
    } catch (...) {
        m_pressed = false;
        while (popup.GetItems()->Count() > 0) popup.GetItems()->Delete(0);
        for (TMenuItem* i : lent) item->Add(i);
        throw;
    }
    m_pressed = false;
    while (popup.GetItems()->Count() > 0) popup.GetItems()->Delete(0);
    for (TMenuItem* i : lent) item->Add(i);
    if (TToolBar* bar = ToolBar()) bar->Invalidate();
}

void TToolButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER:
            m_hot = true;
            if (TToolBar* bar = ToolBar()) bar->Invalidate();
            break;
        case CM_MOUSELEAVE:
            m_hot = false;
            if (TToolBar* bar = ToolBar()) bar->Invalidate();
            break;
        case CM_TEXTCHANGED:
            if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
            break;
        default: break;
    }
    TGraphicControl::Dispatch(Message);
}

// ---- the bar ------------------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle() = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
    SetColor(clBtnFace);
}

TToolBar::~TToolBar() { Destroying(); }

int TToolBar::ButtonCount() const {
    int n = 0;
    for (TControl* c : m_controls) n += dynamic_cast<TToolButton*>(c) != nullptr;
    return n;
}

TToolButton* TToolBar::Buttons(int Index) const {
    if (Index < 0) return nullptr;
    for (TControl* c : m_controls)
        if (auto* b = dynamic_cast<TToolButton*>(c))
            if (Index-- == 0) return b;
    return nullptr;
}

void TToolBar::SetFlat(bool v) { m_flat = v; Invalidate(); }
void TToolBar::SetShowCaptions(bool v) { m_showCaptions = v; ArrangeButtons(); }
void TToolBar::SetList(bool v) { m_list = v; ArrangeButtons(); }
void TToolBar::SetAutoSize(bool v) { m_autoSize = v; ArrangeButtons(); }
void TToolBar::SetWrapable(bool v) { m_wrapable = v; ArrangeButtons(); }
void TToolBar::SetTransparent(bool v) { m_transparent = v; Invalidate(); }
void TToolBar::SetButtonWidth(int v) { m_buttonWidth = v; ArrangeButtons(); }
void TToolBar::SetButtonHeight(int v) { m_buttonHeight = v; ArrangeButtons(); }
void TToolBar::SetEdgeBorders(TEdgeBorders v) { m_edgeBorders = v; ArrangeButtons(); }
void TToolBar::SetEdgeInner(TEdgeStyle v) { m_edgeInner = v; Invalidate(); }
void TToolBar::SetEdgeOuter(TEdgeStyle v) { m_edgeOuter = v; Invalidate(); }

void TToolBar::SetImages(TImageList* v) {
    if (m_images != nullptr) m_images->RemoveFreeNotification(this);
    m_images = v;
    if (v != nullptr) v->FreeNotification(this);
    ArrangeButtons();
}

void TToolBar::SetHotImages(TImageList* v) {
    if (m_hotImages != nullptr) m_hotImages->RemoveFreeNotification(this);
    m_hotImages = v;
    if (v != nullptr) v->FreeNotification(this);
    Invalidate();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == m_images) m_images = nullptr;
    if (AComponent == m_hotImages) m_hotImages = nullptr;
}

int TToolBar::ButtonWidthOf(TToolButton* Button) {
    if (Button->GetStyle() == tbsSeparator || Button->GetStyle() == tbsDivider) return SeparatorWidth;
    int w = m_buttonWidth;
    if (Button->GetAutoSize() || m_showCaptions) {
        TBitmap scratch(1, 1, pf24bit);
        TCanvas* c = scratch.GetCanvas();
        c->SetFont(GetFont());
        int text = m_showCaptions ? c->TextWidth(StripHotkey(Button->GetCaption())) : 0;
        int picture = m_images != nullptr ? m_images->GetWidth() : 0;
        int content = m_list ? picture + (text > 0 ? text + 4 : 0) : std::max(picture, text);
        int natural = content + 2 * CaptionMargin;
        w = Button->GetAutoSize() ? natural : std::max(m_buttonWidth, natural);
    }
    if (Button->GetStyle() == tbsDropDown) w += 14;
    return w;
}

void TToolBar::AlignControls(TControl* AControl, TRect& Rect) {
    (void)AControl;
    (void)Rect;
    ArrangeButtons();
}

void TToolBar::ArrangeButtons() {
    if (m_arranging) return;
    m_arranging = true;
    const int top = m_edgeBorders.Contains(TEdgeBorderE::ebTop) ? 2 : 0;
    const int left = m_edgeBorders.Contains(TEdgeBorderE::ebLeft) ? 2 : 0;
    int x = left, y = top, rowHeight = m_buttonHeight;
    for (int i = 0; i < ButtonCount(); ++i) {
        TToolButton* b = Buttons(i);
        if (!b->GetVisible()) continue;
        int w = ButtonWidthOf(b);
        if (m_wrapable && x > left && x + w > GetClientWidth()) {
            x = left;
            y += rowHeight;
        }
        b->SetBounds(x, y, w, m_buttonHeight);
        x += w;
    }
    if (m_autoSize) {
        int bottom = ButtonCount() > 0 ? y + rowHeight : top + m_buttonHeight;
        if (m_edgeBorders.Contains(TEdgeBorderE::ebBottom)) bottom += 2;
        SetHeight(bottom);
    }
    m_arranging = false;
    Invalidate();
}

TCustomDrawState TToolBar::ButtonState(TToolButton* Button) const {
    TCustomDrawState s;
    if (Button->IsHot() && Button->GetEnabled()) s.Include(cdsHot);
    if (Button->IsPressed()) s.Include(cdsSelected);
    if (Button->GetDown()) s.Include(cdsChecked);
    if (!Button->GetEnabled()) s.Include(cdsDisabled).Include(cdsGrayed);
    return s;
}

void TToolBar::Paint() {
    TCanvas* c = Canvas();
    bool defaultDraw = true;
    if (OnCustomDraw) OnCustomDraw(this, GetClientRect(), defaultDraw);
    if (defaultDraw && !m_transparent) {
        c->GetBrush()->SetColor(GetColor());
        c->FillRect(GetClientRect());
    }
    for (int i = 0; i < ButtonCount(); ++i) {
        TToolButton* b = Buttons(i);
        if (b->GetVisible()) PaintButton(b);
    }
}

void TToolBar::PaintButton(TToolButton* Button) {
    bool defaultDraw = true;
    if (OnCustomDrawButton) OnCustomDrawButton(this, Button, ButtonState(Button), defaultDraw);
    if (defaultDraw) DefaultDrawButton(Button, Canvas());
}

void TToolBar::DefaultDrawButton(TToolButton* Button, TCanvas* C) {
    TRect r = Button->GetBoundsRect();
    if (Button->GetStyle() == tbsSeparator || Button->GetStyle() == tbsDivider) return;
    TCustomDrawState s = ButtonState(Button);
    const bool sunk = s.Contains(cdsSelected) || s.Contains(cdsChecked);
    if (sunk || s.Contains(cdsHot) || !m_flat) {
        TRect frame = r;
        Frame3D(C, frame, sunk ? clBtnShadow : clBtnHighlight, sunk ? clBtnHighlight : clBtnShadow, 1);
    }
    const int shift = sunk ? 1 : 0;
    int textTop = r.Top + 4 + shift;
    int textLeft = r.Left;
    int width = r.Width() - (Button->GetStyle() == tbsDropDown ? 14 : 0);
    TImageList* images = s.Contains(cdsHot) && m_hotImages != nullptr ? m_hotImages : m_images;
    if (images != nullptr && Button->GetImageIndex() >= 0) {
        int px = m_list ? r.Left + 4 : r.Left + (width - images->GetWidth()) / 2;
        images->Draw(C, px + shift, r.Top + 3 + shift, Button->GetImageIndex(), Button->GetEnabled());
        if (m_list) textLeft = px + images->GetWidth() + 4;
        else textTop = r.Top + 3 + images->GetHeight() + 1 + shift;
    }
    if (m_showCaptions && !Button->GetCaption().empty()) {
        C->GetBrush()->SetStyle(bsClear);
        C->SetFont(GetFont());
        if (!Button->GetEnabled()) C->GetFont()->SetColor(clGrayText);
        TRect text = m_list ? Rect(textLeft + shift, r.Top, r.Left + width, r.Bottom)
                            : Rect(r.Left + shift, textTop, r.Left + width + shift, r.Bottom);
        C->DrawText(Button->GetCaption(), text, (m_list ? DT_VCENTER : DT_CENTER) | DT_SINGLELINE);
    }
    if (Button->GetStyle() == tbsDropDown) {
        const int ax = r.Right - 10, ay = r.Top + r.Height() / 2 - 1;
        C->GetBrush()->SetStyle(bsSolid);
        C->GetBrush()->SetColor(clBlack);
        C->GetPen()->SetColor(clBlack);
        C->Polygon({{ax, ay}, {ax + 4, ay}, {ax + 2, ay + 2}});
    }
}
