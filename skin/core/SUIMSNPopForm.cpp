// TsuiMSNPopForm: the notice component (declared in SUIForm.h).
#include "skin/core/SUIForm.h"

#include "skin/core/Suipublic.h"
#include "skin/core/frmMSNPop.h"

TsuiMSNPopForm::TsuiMSNPopForm(TComponent* AOwner)
    : TComponent(AOwner), m_messageFont(std::make_unique<TFont>()), m_titleFont(std::make_unique<TFont>()) {
    m_messageFont->SetColor(0x800000);
    m_titleFont->SetColor(0x800000);
    m_window = new TfrmMSNPopForm(this);
    m_window->OnClick = [this](TObject* s) { WindowClick(s); };
    m_window->lbl_text->OnClick = [this](TObject* s) { WindowClick(s); };
    m_window->lbl_title->OnClick = [this](TObject* s) { TitleClick(s); };
    m_window->OnHideEvent = [this](TObject* s) { WindowClosed(s); };
    m_window->SetAnimateTime(m_animateTime);
    m_window->Hide();
}

TsuiMSNPopForm::~TsuiMSNPopForm() {
    Destroying();
    if (m_window != nullptr) m_window->OnHideEvent = nullptr;
}

void TsuiMSNPopForm::Popup() {
    m_window->SetAnimateTime(m_animateTime);
    m_window->SetStayTime(m_stayTime);
    m_window->SetClickHide(m_clickHide);
    m_window->lbl_title->SetCaption(m_title);
    m_window->lbl_title->SetFont(m_titleFont.get());
    m_window->lbl_text->SetCaption(m_messageText);
    m_window->lbl_text->SetFont(m_messageFont.get());
    if (OnShow) OnShow(this);
    if (m_autoPosition) {
        TRect work = GetWorkAreaRect();
        m_window->SetLeft(work.Right - m_window->GetWidth() - 18);
        m_window->SetTop(work.Bottom - m_window->GetHeight());
    } else {
        m_window->SetLeft(m_positionX);
        m_window->SetTop(m_positionY);
    }
    m_window->Show();
    m_window->Timer1->SetEnabled(true);
}

void TsuiMSNPopForm::Close() {
    m_window->Timer1->SetEnabled(false);
    m_window->Hide();
}

void TsuiMSNPopForm::WindowClick(TObject*) {
    if (OnClick) OnClick(this);
    if (m_clickHide) {
        m_window->Timer1->SetEnabled(false);
        m_window->Hide();
    }
}

void TsuiMSNPopForm::TitleClick(TObject*) {
    if (OnTitleClick) OnTitleClick(this);
}

void TsuiMSNPopForm::WindowClosed(TObject*) {
    if (OnClose) OnClose(this);
}
