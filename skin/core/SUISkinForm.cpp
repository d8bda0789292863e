#include "skin/core/SUISkinForm.h"

#include "skin/core/Suipublic.h"

TsuiSkinForm::TsuiSkinForm(TComponent* AOwner) : TGraphicControl(AOwner), m_glyph(std::make_unique<TBitmap>()) {
    m_form = dynamic_cast<TForm*>(AOwner);
    if (m_form != nullptr && !GetComponentState().Contains(csDesigning)) m_form->SetBorderStyle(bsNone);
    SetBounds(GetLeft(), GetTop(), 200, 100);
}

TsuiSkinForm::~TsuiSkinForm() { Destroying(); }

void TsuiSkinForm::SetGlyph(TBitmap* Value) {
    m_glyph->Assign(Value);
    ReSetWndRgn();
    Invalidate();
}

void TsuiSkinForm::SetTransparentColor(TColor Value) {
    m_transparentColor = Value;
    ReSetWndRgn();
    Invalidate();
}

void TsuiSkinForm::ReSetWndRgn() {
    if (m_glyph->GetEmpty() || m_form == nullptr) return;
    if (!GetComponentState().Contains(csDesigning)) SetBitmapWindow(m_form->GetHandle(), m_glyph.get(), m_transparentColor);
    SetBounds(0, 0, m_glyph->GetWidth(), m_glyph->GetHeight());
    m_form->SetClientHeight(GetHeight());
    m_form->SetClientWidth(GetWidth());
    if (OnRegionChanged) OnRegionChanged(this);
}

void TsuiSkinForm::Paint() {
    if (!m_glyph->GetEmpty()) {
        Canvas()->Draw(0, 0, m_glyph.get());
    } else {
        // Shows where an empty skin form lies.
        Canvas()->GetBrush()->SetColor(clBlack);
        Canvas()->FrameRect(GetClientRect());
    }
    if (OnPaint) OnPaint(this);
}

void TsuiSkinForm::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (m_form == nullptr) return;
    // Any button: let go of the mouse and "press the caption", so the window moves.
    SetCaptureControl(nullptr);
    TPoint screen = ClientToScreen({X, Y});
    m_form->Perform(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
}

void TsuiSkinForm::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TGraphicControl::Dispatch(Message);
}
