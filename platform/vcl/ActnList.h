// Actions: a command with its caption, state and picture that controls take on through their
// Action property (TControl::SetAction); a changed action tells every control that uses it.
//
//   auto* List = new TCustomActionList(Form);
//   List->SetImages(Images);
//   auto* Save = new TCustomAction(Form);
//   Save->SetActionList(List);
//   Save->SetCaption("&Save");
//   Save->SetImageIndex(3);
//   Button->SetAction(Save);         // the button takes the caption (and a glyph, if it shows one)
//   Save->OnExecute = ...;           // a click without its own OnClick runs the action
#pragma once

#include <vector>

#include "platform/vcl/Component.h"
#include "platform/vcl/System.h"

class TControl;
class TImageList;

class TBasicAction : public TComponent {
    VCL_CLASS(TBasicAction)
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;

    // Fires OnExecute; false when there is none.
    virtual bool Execute();
    TNotifyEvent OnExecute;

    // The controls that show this action (kept by TControl::SetAction).
    void RegisterClient(TControl* Client);
    void UnRegisterClient(TControl* Client);
    int ClientCount() const { return static_cast<int>(m_clients.size()); }

protected:
    // Every client takes the action's properties again.
    void Change();
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::vector<TControl*> m_clients;
};

// The list an action belongs to; it lends its images to the actions' ImageIndex.
class TCustomActionList : public TComponent {
    VCL_CLASS(TCustomActionList)
    using TComponent::TComponent;
    ~TCustomActionList() override;

    TImageList* GetImages() const { return m_images; }
    void SetImages(TImageList* Value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TImageList* m_images = nullptr;
};

class TCustomAction : public TBasicAction {
    VCL_CLASS(TCustomAction)
    explicit TCustomAction(TComponent* AOwner);
    ~TCustomAction() override;

    const String& GetCaption() const { return m_caption; }
    void SetCaption(const String& Value);
    bool GetEnabled() const { return m_enabled; }
    void SetEnabled(bool Value);
    const String& GetHint() const { return m_hint; }
    void SetHint(const String& Value);
    bool GetVisible() const { return m_visible; }
    void SetVisible(bool Value);
    // -1: no picture.
    int GetImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int Value);
    TCustomActionList* GetActionList() const { return m_actionList; }
    void SetActionList(TCustomActionList* Value);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    String m_caption;
    bool m_enabled = true;
    String m_hint;
    bool m_visible = true;
    int m_imageIndex = -1;
    TCustomActionList* m_actionList = nullptr;
};
