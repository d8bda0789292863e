#include "skin/core/SUIMainMenu.h"

#include "platform/vcl/Forms.h"

IsuiMenuHost* SUIFindMenuHost(TComponent* Form) {
    auto* form = Form != nullptr ? Form->As<TCustomForm>() : nullptr;
    if (form == nullptr) return nullptr;
    for (int i = 0; i < form->ControlCount(); ++i)
        if (auto* host = dynamic_cast<IsuiMenuHost*>(form->Controls(i))) return host;
    return nullptr;
}

TsuiMainMenu::TsuiMainMenu(TComponent* AOwner)
    : TMainMenu(AOwner), TsuiMenuStyle(this), m_checkGlyphs(SUICreateCheckGlyphList()) {
    TMainMenu::SetOwnerDraw(true);
    TMenu::SetImages(m_checkGlyphs.get());
    TsuiMenuStyle::SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiMainMenu::~TsuiMainMenu() {
    Destroying();
    TMenu::SetImages(nullptr);
}

void TsuiMainMenu::AfterConstruction() {
    auto* form = GetOwner() != nullptr ? GetOwner()->As<TCustomForm>() : nullptr;
    if (form == nullptr) return;
    form->SetMenu(nullptr);
    if (IsuiMenuHost* host = SUIFindMenuHost(form)) host->SetMenu(this);
}

TImageList* TsuiMainMenu::GetImages() const {
    TImageList* images = TMenu::GetImages();
    return images == m_checkGlyphs.get() ? nullptr : images;
}

void TsuiMainMenu::SetImages(TImageList* Value) { TMenu::SetImages(Value != nullptr ? Value : m_checkGlyphs.get()); }

void TsuiMainMenu::SetForm(IsuiMenuHost* Host) {
    if (m_hostComponent != nullptr) m_hostComponent->RemoveFreeNotification(this);
    m_host = Host;
    m_hostComponent = Host != nullptr ? Host->MenuHostComponent() : nullptr;
    if (m_hostComponent != nullptr) m_hostComponent->FreeNotification(this);
}

void TsuiMainMenu::SetUseSystemFont(bool v) {
    TsuiMenuStyle::SetUseSystemFont(v);
    if (m_host != nullptr) m_host->RepaintMenuBar();
}

void TsuiMainMenu::MenuAdded() {
    TMenuItem* root = GetItems();
    for (int i = 0; i < root->Count(); ++i) SetItemHandlers(root->Items(i));
    if (m_host != nullptr) m_host->UpdateMenu();
}

void TsuiMainMenu::Loaded() {
    TMainMenu::Loaded();
    MenuAdded();
}

void TsuiMainMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
    TMainMenu::MenuChanged(Sender, Source, Rebuild);
    if (GetComponentState().Contains(csDestroying)) return;
    // Items added to the tree draw skinned at once.
    if (Rebuild)
        for (int i = 0; i < GetItems()->Count(); ++i) SetItemHandlers(GetItems()->Items(i));
    if (m_host == nullptr) return;
    if (GetOwner() == nullptr || GetOwner()->As<TCustomForm>() == nullptr) return;
    m_host->UpdateTopMenu();
    if (GetComponentState().Contains(csDesigning) && !GetComponentState().Contains(csLoading)) m_host->UpdateMenu();
}

void TsuiMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMainMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_hostComponent && AComponent != nullptr) {
        m_host = nullptr;
        m_hostComponent = nullptr;
        return;
    }
    if (StyleThemeRemoved(AComponent, Operation)) return;
    if (Operation == opInsert)
        if (auto* item = dynamic_cast<TMenuItem*>(AComponent)) SetItemHandlers(item);
}
