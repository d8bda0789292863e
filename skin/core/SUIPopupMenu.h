// The skinned popup menu: every item owner-drawn by the skinned menu rule, the check glyph taken
// from one list all popup menus share.
//
//   auto* Popup = new TsuiPopupMenu(Form);      // takes the look of the form's TsuiForm
//   Popup->GetItems()->Add(Item);               // an item created with the form as owner
//   Popup->MenuAdded();                         // items added by code draw skinned from now on
#pragma once

#include "platform/vcl/Menus.h"
#include "skin/core/Suimenu.h"

class TsuiPopupMenu : public TPopupMenu, public TsuiMenuStyle {
    VCL_CLASS(TsuiPopupMenu)
    explicit TsuiPopupMenu(TComponent* AOwner);

    // Sets the measure and draw handlers on every item of the tree.
    void MenuAdded();
    void SetOwnerDraw(bool) override {}
    // Items added to the tree draw skinned at once.
    void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;

    // The list every popup menu's check glyph comes from (built on first use).
    static TImageList* SharedCheckGlyphs();

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TImageList* CheckGlyphList() const override { return SharedCheckGlyphs(); }
    TImageList* ItemImages() const override { return GetImages(); }
};
