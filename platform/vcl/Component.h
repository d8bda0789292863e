// TPersistent and TComponent: assignment, ownership, names and notifications.
#pragma once

#include <vector>

#include "platform/vcl/System.h"

class TPersistent : public TObject {
    VCL_CLASS(TPersistent)
    // Copies Source into this object; raises EConvertError when the classes don't match.
    virtual void Assign(TPersistent* Source);

protected:
    // Called by Assign of a class that doesn't know Source, so the target may copy itself.
    virtual void AssignTo(TPersistent* Dest);
};

enum class TComponentStateE { csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups };
using TComponentState = Set<TComponentStateE>;
constexpr TComponentStateE csLoading = TComponentStateE::csLoading;
constexpr TComponentStateE csReading = TComponentStateE::csReading;
constexpr TComponentStateE csWriting = TComponentStateE::csWriting;
constexpr TComponentStateE csDestroying = TComponentStateE::csDestroying;
constexpr TComponentStateE csDesigning = TComponentStateE::csDesigning;
constexpr TComponentStateE csUpdating = TComponentStateE::csUpdating;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    VCL_CLASS(TComponent)
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* GetOwner() const { return m_owner; }
    const String& GetName() const { return m_name; }
    // Raises EComponentError for a name that is taken among the owner's components.
    virtual void SetName(const String& NewName);
    int GetTag() const { return m_tag; }
    void SetTag(int v) { m_tag = v; }

    int ComponentCount() const { return static_cast<int>(m_components.size()); }
    TComponent* Components(int i) const { return m_components.at(static_cast<size_t>(i)); }
    int GetComponentIndex() const;
    // Case-insensitive, among the components this one owns.
    TComponent* FindComponent(const String& AName) const;

    TComponentState GetComponentState() const { return m_state; }
    void SetDesigning(bool v);
    // Marks the component as loading; Loaded() clears it and is called once loading ends.
    void BeginLoading() { m_state.Include(csLoading); }
    void EndLoading();

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Asks to be told (opRemove) when AComponent is destroyed, although not its owner.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);
    // Tells every component this one owns, and itself, of an insertion or removal.
    void NotifyOwned(TComponent* AComponent, TOperation Operation);

    // Marks destruction early so that derived destructors see csDestroying.
    void Destroying() { m_state.Include(csDestroying); }

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void Loaded();
    void DestroyComponents();

private:
    TComponent* m_owner = nullptr;
    String m_name;
    int m_tag = 0;
    TComponentState m_state;
    std::vector<TComponent*> m_components;
    std::vector<TComponent*> m_freeNotifies;
};
