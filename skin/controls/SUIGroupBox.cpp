#include "skin/controls/SUIGroupBox.h"

#include <algorithm>
#include <cstdlib>

#include "platform/vcl/Graphics.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

namespace {

constexpr TColor DisabledCaptionColor = 0x808080;
constexpr int CaptionX = 5;

}  // namespace

TsuiCaptionGap SUIGroupBoxCaptionGap(int TextWidth, bool HasCaption) {
    if (!HasCaption) return {};
    return {2, TextWidth + 6};
}

TsuiCustomGroupBox::TsuiCustomGroupBox(TComponent* AOwner) : TsuiCustomPanel(AOwner) {
    SetText(" ");
    SetBounds(GetLeft(), GetTop(), 185, 105);
    SetParentColor(true);
    SetTransparent(false);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiCustomGroupBox::~TsuiCustomGroupBox() { Destroying(); }

void TsuiCustomGroupBox::SetCaption(const String& Value) {
    m_caption = Value;
    Invalidate();
}

void TsuiCustomGroupBox::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    Invalidate();
}

void TsuiCustomGroupBox::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    UpdateUIStyle(Value, m_style.GetFileTheme());
}

void TsuiCustomGroupBox::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiCustomGroupBox::UpdateUIStyle(TsuiUIStyle UIStyle, TsuiFileTheme* FileTheme) {
    ContainerApplyUIStyle(this, UIStyle, FileTheme);
    TsuiThemeValues theme = m_style.Values();
    m_borderColor = theme.Color(SUI_THEME_CONTROL_BORDER_COLOR);
    GetFont()->SetColor(theme.Color(SUI_THEME_CONTROL_FONT_COLOR));
    Invalidate();
}

int TsuiCustomGroupBox::CaptionHeight() const { return std::abs(GetFont()->GetHeight()); }

TRect TsuiCustomGroupBox::GetClient() const {
    TRect r = GetClientRect();
    return Rect(r.Left + 3, r.Top + CaptionHeight(), r.Right - 2, r.Bottom - 2);
}

void TsuiCustomGroupBox::AlignControls(TControl* AControl, TRect& Rect) {
    Rect.Left += 3;
    Rect.Right -= 3;
    Rect.Bottom -= 3;
    Rect.Top += CaptionHeight() + 5;
    TsuiCustomPanel::AlignControls(AControl, Rect);
}

void TsuiCustomGroupBox::Notification(TComponent* AComponent, TOperation Operation) {
    TsuiCustomPanel::Notification(AComponent, Operation);
    if (!m_style.ThemeRemoved(AComponent, Operation)) return;
    ContainerApplyUIStyle(this, DeepBlue, nullptr);
    SetUIStyle(DeepBlue);
}

void TsuiCustomGroupBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_FONTCHANGED:
            TsuiCustomPanel::Dispatch(Message);
            Invalidate();
            return;
        default: TsuiCustomPanel::Dispatch(Message); return;
    }
}

void TsuiCustomGroupBox::PaintFrame(TCanvas* C) {
    TRect r = GetClientRect();
    r.Top += CaptionHeight() / 2 + 1;
    C->GetPen()->SetColor(m_borderColor);
    TsuiCaptionGap gap = SUIGroupBoxCaptionGap(C->TextWidth(m_caption), !m_caption.empty());
    // Drawn from the gap's left end round the box to its right end; without a caption the
    // line closes at the top-left corner.
    C->Polyline({TPoint{r.Left + gap.From, r.Top}, TPoint{r.Left, r.Top}, TPoint{r.Left, r.Bottom - 1},
                 TPoint{r.Right - 1, r.Bottom - 1}, TPoint{r.Right - 1, r.Top}, TPoint{r.Left + gap.To, r.Top}});
}

void TsuiCustomGroupBox::Paint() {
    TBitmap buf(std::max(GetWidth(), 0), std::max(GetHeight(), 0), pf32bit);
    TCanvas* c = buf.GetCanvas();
    if (GetTransparent()) {
        DoTrans(c, this);
        if (GetPicture()->GetGraphic() != nullptr) c->Draw(0, 0, GetPicture()->GetGraphic());
    } else {
        c->GetBrush()->SetColor(GetColor());
        c->FillRect(GetClientRect());
    }
    c->SetFont(GetFont());
    PaintFrame(c);
    c->SetFont(GetFont());
    if (!GetEnabled()) c->GetFont()->SetColor(DisabledCaptionColor);
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(CaptionX, 0, m_caption);
    Canvas()->Draw(0, 0, &buf);
}

void SUISetGroupBoxCaption(TControl* GroupBox, const String& Caption) {
    if (auto* group = dynamic_cast<TsuiCustomGroupBox*>(GroupBox))
        group->SetCaption(Caption);
    else if (GroupBox != nullptr)
        GroupBox->SetCaption(Caption);
}
