// The notice window of TsuiMSNPopForm: its picture, a title and a message, sliding up in the
// work area's bottom-right corner, staying StayTime ms, then sliding down again; the close box
// in its picture hides it at once.
#pragma once

#include <memory>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

class TfrmMSNPopForm : public TForm {
    VCL_CLASS(TfrmMSNPopForm)
    explicit TfrmMSNPopForm(TComponent* AOwner);
    ~TfrmMSNPopForm() override;

    TTimer* Timer1 = nullptr;
    TLabel* lbl_title = nullptr;
    TLabel* lbl_text = nullptr;

    void SetAnimateTime(int v) { m_animateTime = v; }
    int GetAnimateTime() const { return m_animateTime; }
    void SetStayTime(int v) { m_stayTime = v; }
    void SetClickHide(bool v) { m_clickHide = v; }
    // GetTickCount when the window last appeared.
    DWORD ShowTick() const { return m_showTick; }
    TBitmap* Background() const { return m_background.get(); }

    // Runs after the window hid (the component's close handler).
    TNotifyEvent OnHideEvent;

    void Dispatch(TMessage& Message) override;

protected:
    void DoShow() override;
    void DoHide() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void PaintWindow(TCanvas* Canvas) override;

private:
    void FormCreate();
    void Timer1Timer(TObject* Sender);
    void InvalidateAll(TWinControl* Control);

    std::unique_ptr<TBitmap> m_background;
    DWORD m_showTick = 0;
    bool m_closedByUser = false;
    int m_animateTime = 400;
    int m_stayTime = 2000;
    bool m_clickHide = false;
};
