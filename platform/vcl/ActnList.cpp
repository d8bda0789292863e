#include "platform/vcl/ActnList.h"

#include <algorithm>

#include "platform/vcl/Controls.h"
#include "platform/vcl/ImgList.h"

// ---- TBasicAction -------------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() { Destroying(); }

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

void TBasicAction::RegisterClient(TControl* Client) {
    if (Client == nullptr || std::find(m_clients.begin(), m_clients.end(), Client) != m_clients.end()) return;
    m_clients.push_back(Client);
    FreeNotification(Client);
}

void TBasicAction::UnRegisterClient(TControl* Client) { std::erase(m_clients, Client); }

void TBasicAction::Change() {
    // A client may drop the action while it takes it on.
    for (TControl* client : std::vector<TControl*>(m_clients))
        if (std::find(m_clients.begin(), m_clients.end(), client) != m_clients.end()) client->ActionChange(this, false);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) std::erase(m_clients, AComponent);
}

// ---- TCustomActionList --------------------------------------------------------------------------

TCustomActionList::~TCustomActionList() { Destroying(); }

void TCustomActionList::SetImages(TImageList* Value) {
    if (m_images != nullptr) m_images->RemoveFreeNotification(this);
    m_images = Value;
    if (m_images != nullptr) m_images->FreeNotification(this);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_images) m_images = nullptr;
}

// ---- TCustomAction ------------------------------------------------------------------------------

TCustomAction::TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TCustomAction::~TCustomAction() { Destroying(); }

void TCustomAction::SetCaption(const String& Value) {
    if (Value == m_caption) return;
    m_caption = Value;
    Change();
}

void TCustomAction::SetEnabled(bool Value) {
    if (Value == m_enabled) return;
    m_enabled = Value;
    Change();
}

void TCustomAction::SetHint(const String& Value) {
    if (Value == m_hint) return;
    m_hint = Value;
    Change();
}

void TCustomAction::SetVisible(bool Value) {
    if (Value == m_visible) return;
    m_visible = Value;
    Change();
}

void TCustomAction::SetImageIndex(int Value) {
    if (Value == m_imageIndex) return;
    m_imageIndex = Value;
    Change();
}

void TCustomAction::SetActionList(TCustomActionList* Value) {
    if (Value == m_actionList) return;
    if (m_actionList != nullptr) m_actionList->RemoveFreeNotification(this);
    m_actionList = Value;
    if (m_actionList != nullptr) m_actionList->FreeNotification(this);
    Change();
}

void TCustomAction::Notification(TComponent* AComponent, TOperation Operation) {
    TBasicAction::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_actionList) m_actionList = nullptr;
}
