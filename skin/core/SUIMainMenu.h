// The skinned main menu: a form's menu drawn by the skinned menu rule, shown by a skinned form
// frame in its own menu bar (the form's native menu bar is not used).
//
//   auto* Menu = new TsuiMainMenu(Form);
//   ... items added ...
//   Menu->AfterConstruction();     // the form's first menu host (its TsuiForm) shows the menu
#pragma once

#include <memory>

#include "platform/vcl/Menus.h"
#include "skin/core/Suimenu.h"

class TsuiMainMenu;

// What shows a main menu in a menu bar (a skinned form frame). The menu tells its host when
// its items change; the host tells the menu it shows it (SetForm).
class IsuiMenuHost {
public:
    virtual ~IsuiMenuHost() = default;
    // The host as a component (for free notification).
    virtual TComponent* MenuHostComponent() = 0;
    // Shows Menu in the host's bar (nullptr removes the bar).
    virtual void SetMenu(TMainMenu* Menu) = 0;
    // One bar button per top-level item, made anew.
    virtual void UpdateMenu() = 0;
    // The bar buttons take their items' captions and enabled states.
    virtual void UpdateTopMenu() = 0;
    // The bar takes the menu's font and repaints.
    virtual void RepaintMenuBar() = 0;
};

// The first menu host among Form's direct child controls, or nullptr.
IsuiMenuHost* SUIFindMenuHost(TComponent* Form);

class TsuiMainMenu : public TMainMenu, public TsuiMenuStyle {
    VCL_CLASS(TsuiMainMenu)
    explicit TsuiMainMenu(TComponent* AOwner);
    ~TsuiMainMenu() override;

    // Called by the code that builds the form, once the menu is filled: the form's own menu is
    // cleared and the form's first menu host shows this menu.
    void AfterConstruction();

    // The assigned list; nullptr while the menu's own check glyph list is in place.
    TImageList* GetImages() const;
    // nullptr puts the own check glyph list back.
    void SetImages(TImageList* Value);

    // The host that shows the menu (set by the host).
    IsuiMenuHost* GetForm() const { return m_host; }
    void SetForm(IsuiMenuHost* Host);

    void SetUseSystemFont(bool v) override;
    void SetOwnerDraw(bool) override {}
    void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;

    // Sets the measure and draw handlers on every item, then rebuilds the host's bar.
    void MenuAdded();

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TImageList* CheckGlyphList() const override { return m_checkGlyphs.get(); }
    TImageList* ItemImages() const override { return GetImages(); }

private:
    std::unique_ptr<TImageList> m_checkGlyphs;
    IsuiMenuHost* m_host = nullptr;
    TComponent* m_hostComponent = nullptr;
};
