// MDI: the client window of an fsMDIForm form, which holds its fsMDIChild forms and answers
// the WM_MDI* messages. Its procedure is replaceable like any control's (WindowProc).
//
//   Parent->SetFormStyle(fsMDIForm);           // creates the client window
//   Child->SetFormStyle(fsMDIChild);           // the child moves into the main form's client
//   Child->Show();                             // WM_MDIACTIVATE: the child becomes active
//   SendMessage(Parent->ClientHandle(), WM_MDICASCADE, 0, 0);
#pragma once

#include "platform/vcl/Forms.h"

class TMDIClient : public TWinControl {
    VCL_CLASS(TMDIClient)
    explicit TMDIClient(TCustomForm* Form);

    TCustomForm* GetForm() const { return m_form; }
    TCustomForm* GetActiveChild() const { return m_active; }
    // The MDI children, the frontmost (active) first, as MDIChildren counts them.
    std::vector<TCustomForm*> Children() const;

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void PaintWindow(TCanvas* Canvas) override;

private:
    void Activate(TCustomForm* Child);
    void TileChildren();
    void CascadeChildren();

    TCustomForm* m_form;
    TCustomForm* m_active = nullptr;
};

// The MDI child behind a window handle carried by a WM_MDI* message, or nullptr.
TCustomForm* MDIChildFromHandle(WPARAM Handle);
