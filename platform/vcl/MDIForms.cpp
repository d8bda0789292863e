#include "platform/vcl/MDIForms.h"

#include <algorithm>

#include "platform/vcl/Graphics.h"

TCustomForm* MDIChildFromHandle(WPARAM Handle) {
    auto* form = dynamic_cast<TCustomForm*>(FindControl(reinterpret_cast<HWND>(Handle)));
    return form != nullptr && form->GetFormStyle() == fsMDIChild ? form : nullptr;
}

// ---- the client window --------------------------------------------------------------------------

TMDIClient::TMDIClient(TCustomForm* Form) : TWinControl(Form), m_form(Form) {
    ControlStyle().Include(csAcceptsControls);
    SetColor(clAppWorkSpace);
    SetParent(Form);
    SetAlign(alClient);
}

std::vector<TCustomForm*> TMDIClient::Children() const {
    std::vector<TCustomForm*> out;
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it)
        if (auto* f = dynamic_cast<TCustomForm*>(*it); f != nullptr && f->GetFormStyle() == fsMDIChild) out.push_back(f);
    return out;
}

void TMDIClient::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_active) m_active = nullptr;
}

void TMDIClient::PaintWindow(TCanvas* Canvas) {
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
    PaintControls(Canvas);
}

void TMDIClient::Activate(TCustomForm* Child) {
    if (Child == nullptr || Child == m_active) return;
    TCustomForm* old = m_active;
    if (old != nullptr) old->RemoveFreeNotification(this);
    m_active = Child;
    Child->FreeNotification(this);
    Child->BringToFront();
    const WPARAM from = old != nullptr && old->HandleAllocated() ? reinterpret_cast<WPARAM>(old->GetHandle()) : 0;
    const LPARAM to = static_cast<LPARAM>(reinterpret_cast<WPARAM>(Child->GetHandle()));
    if (old != nullptr) old->Perform(WM_MDIACTIVATE, from, to);
    Child->Perform(WM_MDIACTIVATE, from, to);
}

void TMDIClient::TileChildren() {
    // From the bottom of the stack up: the active child ends last.
    std::vector<TCustomForm*> shown;
    for (TCustomForm* f : Children())
        if (f->GetVisible() && f->GetWindowState() != wsMinimized) shown.insert(shown.begin(), f);
    if (shown.empty()) return;
    const int n = static_cast<int>(shown.size());
    const TRect area = GetClientRect();
    for (int i = 0; i < n; ++i) {
        TCustomForm* f = shown[static_cast<size_t>(i)];
        if (m_form->GetTileMode() == tbVertical)
            f->SetBounds(i * area.Width() / n, 0, area.Width() / n, area.Height());
        else
            f->SetBounds(0, i * area.Height() / n, area.Width(), area.Height() / n);
    }
}

void TMDIClient::CascadeChildren() {
    int step = 0;
    std::vector<TCustomForm*> children = Children();
    std::reverse(children.begin(), children.end());
    for (TCustomForm* f : children) {
        if (!f->GetVisible() || f->GetWindowState() == wsMinimized) continue;
        f->SetBounds(step, step, GetClientWidth() * 2 / 3, GetClientHeight() * 2 / 3);
        step += 22;
    }
}

void TMDIClient::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_MDIACTIVATE: Activate(MDIChildFromHandle(Message.WParam)); return;
        case WM_MDIGETACTIVE:
            Message.Result = m_active != nullptr ? static_cast<LRESULT>(reinterpret_cast<WPARAM>(m_active->GetHandle())) : 0;
            return;
        case WM_MDIMAXIMIZE:
            if (TCustomForm* f = MDIChildFromHandle(Message.WParam)) f->SetWindowState(wsMaximized);
            return;
        case WM_MDIRESTORE:
            if (TCustomForm* f = MDIChildFromHandle(Message.WParam)) f->SetWindowState(wsNormal);
            return;
        case WM_MDITILE: TileChildren(); return;
        case WM_MDICASCADE: CascadeChildren(); return;
        case WM_MDIREFRESHMENU: return;
        default: break;
    }
    TWinControl::Dispatch(Message);
}

// ---- the form's side ----------------------------------------------------------------------------

void TCustomForm::EnterMDIStyle(TFormStyle Old) {
    if (m_formStyle == fsMDIForm && m_mdiClient == nullptr) {
        m_mdiClient = new TMDIClient(this);
    } else if (Old == fsMDIForm && m_mdiClient != nullptr) {
        TWinControl* client = m_mdiClient;
        m_mdiClient = nullptr;
        delete client;
    }
    if (m_formStyle == fsMDIChild && GetParent() == nullptr) {
        // Into the client window of the application's MDI form.
        TCustomForm* parent = Application != nullptr ? Application->GetMainForm() : nullptr;
        if (parent == nullptr || parent->m_mdiClient == nullptr) {
            parent = nullptr;
            for (int i = 0; Screen != nullptr && i < Screen->FormCount(); ++i)
                if (Screen->Forms(i)->m_mdiClient != nullptr) parent = Screen->Forms(i);
        }
        if (parent != nullptr) SetParent(parent->m_mdiClient);
    } else if (Old == fsMDIChild && m_formStyle != fsMDIChild) {
        SetParent(nullptr);
    }
}

HWND TCustomForm::ClientHandle() { return m_mdiClient != nullptr ? m_mdiClient->GetHandle() : nullptr; }

int TCustomForm::MDIChildCount() const {
    auto* client = dynamic_cast<TMDIClient*>(m_mdiClient);
    return client != nullptr ? static_cast<int>(client->Children().size()) : 0;
}

TCustomForm* TCustomForm::MDIChildren(int i) const {
    auto* client = dynamic_cast<TMDIClient*>(m_mdiClient);
    if (client == nullptr) return nullptr;
    auto children = client->Children();
    return i >= 0 && i < static_cast<int>(children.size()) ? children[static_cast<size_t>(i)] : nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    auto* client = dynamic_cast<TMDIClient*>(m_mdiClient);
    return client != nullptr ? client->GetActiveChild() : nullptr;
}

void TCustomForm::Tile() {
    if (m_mdiClient != nullptr) m_mdiClient->Perform(WM_MDITILE, 0, 0);
}

void TCustomForm::Cascade() {
    if (m_mdiClient != nullptr) m_mdiClient->Perform(WM_MDICASCADE, 0, 0);
}
