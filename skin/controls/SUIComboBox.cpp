#include "skin/controls/SUIComboBox.h"

#include "platform/db/DBCtrls.h"
#include "skin/controls/SUIControlLook.h"

TPoint SUIComboArrowOrigin(const TRect& R) { return TPoint{(R.Right - R.Left) / 2 + R.Left - 3, (R.Bottom - R.Top) / 2}; }

void SUIDrawComboArrow(TCanvas* Canvas, int X, int Y, bool Enabled, TColor ArrowColor) {
    if (!Enabled) {
        Canvas->GetBrush()->SetColor(clWhite);
        Canvas->GetPen()->SetColor(clWhite);
        Canvas->Polygon({TPoint{X + 1, Y + 1}, TPoint{X + 7, Y + 1}, TPoint{X + 4, Y + 4}});
        Canvas->GetBrush()->SetColor(0x808080);
        Canvas->GetPen()->SetColor(0x808080);
    } else {
        Canvas->GetBrush()->SetColor(ArrowColor);
        Canvas->GetPen()->SetColor(ArrowColor);
    }
    Canvas->Polygon({TPoint{X, Y}, TPoint{X + 6, Y}, TPoint{X + 3, Y + 3}});
}

template <class Base>
TsuiComboSkin<Base>::~TsuiComboSkin() {
    delete m_buttonPicture;
}

template <class Base>
void TsuiComboSkin<Base>::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    TsuiControlColors colors = SUIControlColors(m_style.Values());
    m_arrowColor = colors.ArrowColor;
    m_borderColor = colors.BorderColor;
    m_buttonColor = colors.ButtonColor;
    LoadButtonPicture();
    this->Invalidate();
}

// Loaded once per look, so painting never goes to the resources; a look without its picture
// draws the plain face.
template <class Base>
void TsuiComboSkin<Base>::LoadButtonPicture() {
    delete m_buttonPicture;
    m_buttonPicture = nullptr;
    TsuiUIStyle look = GetUIStyle();
    if (look != MacOS && look != WinXP) return;
    auto* picture = new TBitmap();
    try {
        picture->LoadFromResourceName(0, look == MacOS ? "MACOS_COMBOBOX_BUTTON" : "WINXP_COMBOBOX_BUTTON");
    } catch (const std::exception&) {
        delete picture;
        return;
    }
    m_buttonPicture = picture;
}

template <class Base>
bool TsuiComboSkin<Base>::GetSystemComboBoxInfo(COMBOBOXINFO& Info) {
    Info.rcItem = this->ItemRect();
    Info.rcButton = this->ButtonRect();
    Info.stateButton = 0;
    Info.hwndCombo = this->GetHandle();
    Info.hwndItem = this->EditControl() != nullptr ? this->EditControl()->GetHandle() : nullptr;
    TWinControl* list = this->DropDownWindow();
    Info.hwndList = list != nullptr ? list->GetHandle() : nullptr;
    return true;
}

template <class Base>
void TsuiComboSkin<Base>::Dispatch(TMessage& Message) {
    Base::Dispatch(Message);
    if ((Message.Msg == WM_PAINT || Message.Msg == WM_ERASEBKGND) && Message.WParam != 0)
        DrawButton(reinterpret_cast<TCanvas*>(Message.WParam));
}

template <class Base>
void TsuiComboSkin<Base>::DrawButton(TCanvas* Canvas) {
    COMBOBOXINFO info;
    if (!SUIGetComboBoxInfo(this->GetHandle(), &info) || !DrawsSkin()) return;
    int saved = Canvas->SaveDC();
    TRect client = this->GetClientRect();
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(m_borderColor);
    Canvas->FrameRect(client);
    InflateRect(client, -1, -1);
    Canvas->GetBrush()->SetColor(this->GetColor());
    Canvas->FrameRect(client);
    // There is no desktop surface to draw on: the dropped list's own window wears the frame.
    if (this->GetDroppedDown() && this->DropDownWindow() != nullptr) this->DropDownWindow()->SetColor(m_borderColor);
    const TRect& r = info.rcButton;
    bool picture = m_buttonPicture != nullptr && !m_buttonPicture->GetEmpty();
    if (picture) {
        Canvas->StretchDraw(r, m_buttonPicture);
    } else {
        Canvas->GetBrush()->SetColor(m_buttonColor);
        Canvas->FillRect(r);
        Canvas->GetPen()->SetColor(m_borderColor);
        Canvas->MoveTo(r.Left, r.Top - 1);
        Canvas->LineTo(r.Left, r.Bottom + 1);
    }
    // WinXP's picture carries its own arrow.
    if (!(picture && GetUIStyle() == WinXP)) {
        TPoint at = SUIComboArrowOrigin(r);
        DrawArrow(Canvas, at.x, at.y);
    }
    Canvas->RestoreDC(saved);
}

template <class Base>
void TsuiComboSkin<Base>::DrawArrow(TCanvas* Canvas, int X, int Y) {
    SUIDrawComboArrow(Canvas, X, Y, this->GetEnabled(), m_arrowColor);
}

template class TsuiComboSkin<TCustomComboBox>;
template class TsuiComboSkin<TDriveComboBox>;
template class TsuiComboSkin<TFilterComboBox>;
template class TsuiComboSkin<TDBComboBox>;

TsuiCustomComboBox::TsuiCustomComboBox(TComponent* AOwner) : TsuiComboSkin<TCustomComboBox>(AOwner) {
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiDriveComboBox::TsuiDriveComboBox(TComponent* AOwner) : TsuiComboSkin<TDriveComboBox>(AOwner) {
    SetItemHeight(15);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiFilterComboBox::TsuiFilterComboBox(TComponent* AOwner) : TsuiComboSkin<TFilterComboBox>(AOwner) {
    SetItemHeight(15);
    SetUIStyle(GetSUIFormStyle(AOwner));
}
