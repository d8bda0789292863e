#include "platform/vcl/Component.h"

#include <algorithm>
#include <strings.h>

#include "platform/vcl/SysUtils.h"

bool TObject::ClassNameIs(const String& name) const {
    return strcasecmp(ClassName(), name.c_str()) == 0;
}

void TPersistent::Assign(TPersistent* Source) {
    if (Source != nullptr) {
        Source->AssignTo(this);
        return;
    }
    throw EConvertError("Cannot assign a nil to a " + String(ClassName()));
}

void TPersistent::AssignTo(TPersistent* Dest) {
    throw EConvertError("Cannot assign a " + String(ClassName()) + " to a " +
                        (Dest ? String(Dest->ClassName()) : String("nil")));
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Tell those who asked that we are going away; each unlinks itself.
    auto notifies = m_freeNotifies;
    m_freeNotifies.clear();
    for (TComponent* c : notifies) {
        c->RemoveFreeNotification(this);
        c->Notification(this, opRemove);
    }
    DestroyComponents();
    if (m_owner != nullptr) m_owner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    while (!m_components.empty()) {
        TComponent* c = m_components.back();
        RemoveComponent(c);
        delete c;
    }
}

void TComponent::SetName(const String& NewName) {
    if (NewName == m_name) return;
    if (!NewName.empty() && m_owner != nullptr) {
        TComponent* other = m_owner->FindComponent(NewName);
        if (other != nullptr && other != this)
            throw EComponentError("A component named " + NewName + " already exists");
    }
    m_name = NewName;
}

int TComponent::GetComponentIndex() const {
    if (m_owner == nullptr) return -1;
    auto& v = m_owner->m_components;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* c : m_components)
        if (strcasecmp(c->m_name.c_str(), AName.c_str()) == 0) return c;
    return nullptr;
}

void TComponent::SetDesigning(bool v) {
    if (v) m_state.Include(csDesigning); else m_state.Exclude(csDesigning);
    for (TComponent* c : m_components) c->SetDesigning(v);
}

void TComponent::EndLoading() {
    if (!m_state.Contains(csLoading)) return;
    m_state.Exclude(csLoading);
    Loaded();
}

void TComponent::Loaded() {}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent->m_owner == this) return;
    if (AComponent->m_owner != nullptr) AComponent->m_owner->RemoveComponent(AComponent);
    m_components.push_back(AComponent);
    AComponent->m_owner = this;
    // A component dropped on a form being designed is being designed too.
    if (m_state.Contains(csDesigning)) AComponent->SetDesigning(true);
    NotifyOwned(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    auto it = std::find(m_components.begin(), m_components.end(), AComponent);
    if (it == m_components.end()) return;
    NotifyOwned(AComponent, opRemove);
    it = std::find(m_components.begin(), m_components.end(), AComponent);
    if (it != m_components.end()) m_components.erase(it);
    AComponent->m_owner = nullptr;
}

void TComponent::NotifyOwned(TComponent* AComponent, TOperation Operation) {
    Notification(AComponent, Operation);
    auto owned = m_components;
    for (TComponent* c : owned)
        if (c != AComponent) c->Notification(AComponent, Operation);
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent == this) return;
    if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), AComponent) == m_freeNotifies.end())
        m_freeNotifies.push_back(AComponent);
    if (std::find(AComponent->m_freeNotifies.begin(), AComponent->m_freeNotifies.end(), this) ==
        AComponent->m_freeNotifies.end())
        AComponent->m_freeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    // Both directions, as FreeNotification links both: a link left on one side would point at
    // a freed component later.
    std::erase(m_freeNotifies, AComponent);
    if (AComponent != nullptr) std::erase(AComponent->m_freeNotifies, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
}
