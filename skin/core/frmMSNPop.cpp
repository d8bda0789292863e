#include "skin/core/frmMSNPop.h"

#include "platform/vcl/FormWindow.h"
#include "platform/vcl/Resources.h"
#include "skin/core/Suipublic.h"

TfrmMSNPopForm::TfrmMSNPopForm(TComponent* AOwner) : TForm(AOwner), m_background(std::make_unique<TBitmap>()) {
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    Timer1 = new TTimer(this);
    Timer1->SetEnabled(false);
    Timer1->SetInterval(100);
    Timer1->OnTimer = [this](TObject* Sender) { Timer1Timer(Sender); };
    lbl_title = new TLabel(this);
    lbl_title->SetParent(this);
    lbl_title->SetTransparent(true);
    lbl_title->SetAutoSize(false);
    lbl_text = new TLabel(this);
    lbl_text->SetParent(this);
    lbl_text->SetTransparent(true);
    lbl_text->SetAutoSize(false);
    lbl_text->SetAlignment(taCenter);
    lbl_text->SetWordWrap(true);
    FormCreate();
}

TfrmMSNPopForm::~TfrmMSNPopForm() { Destroying(); }

void TfrmMSNPopForm::FormCreate() {
    m_background->LoadFromResourceName(HInstance, "MSNPOPFORM");
    m_closedByUser = false;
    SetWidth(m_background->GetWidth());
    SetHeight(m_background->GetHeight());
    TRect work = GetWorkAreaRect();
    SetLeft(work.Right - GetWidth() - 18);
    SetTop(work.Bottom - GetHeight());
    lbl_title->SetBounds(10, 5, GetClientWidth() - 30, 18);
    lbl_text->SetBounds(10, 40, GetClientWidth() - 20, GetClientHeight() - 50);
}

void TfrmMSNPopForm::InvalidateAll(TWinControl* Control) {
    for (int i = 0; i < Control->ControlCount(); ++i) {
        if (auto* w = dynamic_cast<TWinControl*>(Control->Controls(i))) InvalidateAll(w);
        Control->Controls(i)->Invalidate();
    }
    Control->Invalidate();
}

void TfrmMSNPopForm::DoShow() {
    TForm::DoShow();
    SetWindowPos(GetHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    SUIAnimateWindow(GetHandle(), static_cast<DWORD>(m_animateTime), AW_SLIDE | AW_VER_NEGATIVE);
    InvalidateAll(this);
    m_showTick = GetTickCount();
}

void TfrmMSNPopForm::DoHide() {
    if (!m_closedByUser) {
        SetWindowPos(GetHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        SUIAnimateWindow(GetHandle(), static_cast<DWORD>(m_animateTime), AW_SLIDE | AW_HIDE | AW_VER_POSITIVE);
        InvalidateAll(this);
    } else {
        m_closedByUser = false;
    }
    TForm::DoHide();
    if (OnHideEvent) OnHideEvent(this);
}

void TfrmMSNPopForm::Timer1Timer(TObject*) {
    // The difference read as signed: a wrap of the tick count does no harm.
    const auto elapsed = static_cast<std::int32_t>(GetTickCount() - m_showTick);
    if (elapsed >= 0 && elapsed < m_stayTime) return;
    Timer1->SetEnabled(false);
    Hide();
}

void TfrmMSNPopForm::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TForm::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || X < 162 || X > 175 || Y < 6 || Y > 19) return;
    m_closedByUser = true;
    Timer1->SetEnabled(false);
    Hide();
}

void TfrmMSNPopForm::PaintWindow(TCanvas* Canvas) {
    Canvas->Draw(0, 0, m_background.get());
    PaintControls(Canvas);
}

void TfrmMSNPopForm::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_PRINTCLIENT && Message.WParam != 0) {
        PaintTo(reinterpret_cast<TCanvas*>(Message.WParam), 0, 0);
        return;
    }
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TForm::Dispatch(Message);
}
