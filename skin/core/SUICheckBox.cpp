#include "skin/core/SUICheckBox.h"

#include <algorithm>
#include <cctype>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

int SUICheckFrame(bool Checked, bool Enabled) {
    if (Enabled) return Checked ? 1 : 2;
    return Checked ? 3 : 4;
}

// ---- TsuiCheckBox -------------------------------------------------------------------------------

TsuiCheckBox::TsuiCheckBox(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(GetLeft(), GetTop(), 93, 17);
    ControlStyle().Exclude(csDoubleClicks);
    SetTabStop(true);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiCheckBox::~TsuiCheckBox() { Destroying(); }

void TsuiCheckBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiCheckBox::SetChecked(bool v) {
    if (v == m_checked) return;
    m_checked = v;
    Invalidate();
    CheckStateChanged();
}

void TsuiCheckBox::SetTransparent(bool v) {
    m_transparent = v;
    Invalidate();
}

void TsuiCheckBox::SetAutoSize(bool v) {
    m_autoSize = v;
    Invalidate();
}

void TsuiCheckBox::SetUIStyle(TsuiUIStyle v) {
    m_style.StoreUIStyle(v);
    Invalidate();
}

void TsuiCheckBox::SetFileTheme(TsuiFileTheme* v) {
    m_style.StoreFileTheme(v);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiCheckBox::SetEnabled(bool v) {
    TCustomControl::SetEnabled(v);
    Invalidate();
}

void TsuiCheckBox::FireClick() {
    if (!GetComponentState().Contains(csLoading) && OnClick) OnClick(this);
}

void TsuiCheckBox::CheckStateChanged() { FireClick(); }

void TsuiCheckBox::DoClick() {
    Toggle();
    SetChecked(!m_checked);
}

// OnClick is this control's "checked changed" event, fired by CheckStateChanged; the inherited
// click would fire it a second time, so it is not called.
void TsuiCheckBox::Click() { DoClick(); }

bool TsuiCheckBox::NeedDrawFocus() { return GetTabStop() && Focused(); }

void TsuiCheckBox::Paint() {
    TBitmap pic;
    pic.SetTransparent(GetPicTransparent());
    TBitmap buf;
    TCanvas* c = buf.GetCanvas();
    c->SetFont(GetFont());
    try {
        TsuiThemeValues(GetFileTheme(), GetUIStyle())
            .Bitmap(GetPicThemeIndex(), &pic, 4, SUICheckFrame(m_checked, GetEnabled()));
    } catch (const std::exception&) {
        // A theme picture that can't be loaded draws no box; the caption still paints.
        pic.SetSize(0, 0);
    }
    pic.SetTransparent(GetPicTransparent());
    int lineH = c->TextHeight("W");
    if (m_autoSize) {
        int h = std::max(lineH + 2, pic.GetHeight()) + 4;
        int w = pic.GetWidth() + 8 + c->TextWidth(GetCaption());
        SetBounds(GetLeft(), GetTop(), w, h);
    }
    buf.SetPixelFormat(pf32bit);
    buf.SetSize(std::max(GetWidth(), 0), std::max(GetHeight(), 0));
    if (m_transparent) {
        TWinControl* p = GetParent();
        DoTrans(c, p != nullptr && p->ClassNameIs("TTabSheet") ? p : this);
    } else {
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(GetColor());
        c->FillRect(GetClientRect());
    }
    c->Draw(1, (GetClientHeight() - pic.GetHeight()) / 2, &pic);
    c->GetBrush()->SetStyle(bsClear);
    int ty = (GetClientHeight() - lineH) / 2;
    TRect text = Rect(pic.GetWidth() + 4, ty, GetWidth(), GetHeight());
    c->DrawText(GetCaption(), text, DT_SINGLELINE);
    if (NeedDrawFocus()) {
        c->GetBrush()->SetStyle(bsSolid);
        c->DrawFocusRect(Rect(pic.GetWidth() + 3, ty, GetWidth(), ty + lineH + 2));
    }
    Canvas()->Draw(0, 0, &buf);
}

void TsuiCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && CanFocus()) SetFocus();
}

void TsuiCheckBox::DialogChar(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    char key = static_cast<char>(std::toupper(static_cast<unsigned char>(Message.WParam)));
    if (key != 0 && GetHotkey(GetCaption()) == key && GetEnabled()) {
        if (CanFocus()) SetFocus();
        Click();
        Message.Result = 1;
    } else {
        Message.Result = 0;
    }
}

void TsuiCheckBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_DIALOGCHAR: DialogChar(Message); return;
        case WM_KEYUP: {
            TCustomControl::Dispatch(Message);
            Word key = static_cast<Word>(Message.WParam);
            if (WantKeyUp() && (key == VK_SPACE || key == VK_RETURN) && Focused() && GetEnabled()) {
                Invalidate();
                Click();
            }
            return;
        }
        case CM_FOCUSCHANGED:
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TCustomControl::Dispatch(Message);
            Invalidate();
            return;
        case WM_ERASEBKGND: Message.Result = 1; return;
        default: TCustomControl::Dispatch(Message); return;
    }
}

// ---- TsuiRadioButton ----------------------------------------------------------------------------

TsuiRadioButton::TsuiRadioButton(TComponent* AOwner) : TsuiCheckBox(AOwner) {
    ControlStyle().Include(csDoubleClicks);
}

void TsuiRadioButton::DoClick() {
    if (!GetChecked()) SetChecked(true);
}

void TsuiRadioButton::CheckStateChanged() {
    if (!GetChecked()) return;
    UnCheckGroup();
    FireClick();
}

void TsuiRadioButton::UnCheckGroup() {
    TWinControl* parent = GetParent();
    if (parent == nullptr) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TsuiRadioButton*>(parent->Controls(i));
        if (other != nullptr && other != this && other->m_groupIndex == m_groupIndex) other->SetChecked(false);
    }
}

void TsuiRadioButton::Dispatch(TMessage& Message) {
    if (Message.Msg != WM_SETFOCUS) {
        TsuiCheckBox::Dispatch(Message);
        return;
    }
    TsuiCheckBox::Dispatch(Message);
    // Arrow keys inside a radio group move the focus; the newly focused button checks itself.
    auto lost = reinterpret_cast<HWND>(Message.WParam);
    TWinControl* from = lost != nullptr ? FindControl(lost) : nullptr;
    if (from != nullptr && from != this && from->ClassNameIs("TsuiRadioGroupButton")) Click();
}
