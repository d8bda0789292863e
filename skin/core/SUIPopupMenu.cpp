#include "skin/core/SUIPopupMenu.h"

#include <memory>

TsuiPopupMenu::TsuiPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner), TsuiMenuStyle(this) {
    TPopupMenu::SetOwnerDraw(true);
    TsuiMenuStyle::SetUIStyle(GetSUIFormStyle(AOwner));
}

TImageList* TsuiPopupMenu::SharedCheckGlyphs() {
    static std::unique_ptr<TImageList> shared(SUICreateCheckGlyphList());
    return shared.get();
}

void TsuiPopupMenu::MenuAdded() {
    TMenuItem* root = GetItems();
    for (int i = 0; i < root->Count(); ++i) SetItemHandlers(root->Items(i));
}

void TsuiPopupMenu::Loaded() {
    TPopupMenu::Loaded();
    MenuAdded();
}

void TsuiPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TPopupMenu::Notification(AComponent, Operation);
    if (StyleThemeRemoved(AComponent, Operation)) return;
    if (Operation == opInsert)
        if (auto* item = dynamic_cast<TMenuItem*>(AComponent)) SetItemHandlers(item);
}

void TsuiPopupMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
    TPopupMenu::MenuChanged(Sender, Source, Rebuild);
    if (!Rebuild || GetComponentState().Contains(csDestroying)) return;
    TMenuItem* root = GetItems();
    for (int i = 0; i < root->Count(); ++i) SetItemHandlers(root->Items(i));
}
