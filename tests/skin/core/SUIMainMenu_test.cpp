#include "skin/core/SUIMainMenu.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "tests/support/TestHelpers.h"

namespace {

// A menu host that counts what the menu asks of it.
class StubHost : public TPanel, public IsuiMenuHost {
public:
    using TPanel::TPanel;
    TComponent* MenuHostComponent() override { return this; }
    void SetMenu(TMainMenu* Menu) override {
        shown = Menu;
        if (auto* m = dynamic_cast<TsuiMainMenu*>(Menu)) m->SetForm(this);
    }
    void UpdateMenu() override { ++rebuilds; }
    void UpdateTopMenu() override { ++topRefreshes; }
    void RepaintMenuBar() override { ++repaints; }
    TMainMenu* shown = nullptr;
    int rebuilds = 0, topRefreshes = 0, repaints = 0;
};

TEST(MainMenu, AfterConstructionHandsTheMenuToTheFormsHost) {
    TForm form(nullptr);
    auto* host = new StubHost(&form);
    host->SetParent(&form);
    auto* native = new TMainMenu(&form);
    form.SetMenu(native);
    auto* menu = new TsuiMainMenu(&form);
    menu->AfterConstruction();
    EXPECT_EQ(form.GetMenu(), nullptr);
    EXPECT_EQ(host->shown, menu);
    EXPECT_EQ(menu->GetForm(), host);
}

TEST(MainMenu, ChangesReachTheHost) {
    TForm form(nullptr);
    auto* host = new StubHost(&form);
    host->SetParent(&form);
    auto* menu = new TsuiMainMenu(&form);
    menu->AfterConstruction();
    auto* item = new TMenuItem(&form);
    menu->GetItems()->Add(item);
    int before = host->topRefreshes;
    item->SetCaption("&File");
    EXPECT_GT(host->topRefreshes, before);
    menu->MenuAdded();
    EXPECT_EQ(host->rebuilds, 1);
    menu->SetUseSystemFont(false);
    EXPECT_EQ(host->repaints, 1);
}

TEST(MainMenu, AFreedHostIsForgotten) {
    TForm form(nullptr);
    auto* host = new StubHost(&form);
    host->SetParent(&form);
    auto* menu = new TsuiMainMenu(&form);
    menu->AfterConstruction();
    delete host;
    EXPECT_EQ(menu->GetForm(), nullptr);
    auto* item = new TMenuItem(&form);
    menu->GetItems()->Add(item);  // no host to tell: nothing happens
}

TEST(MainMenu, ImagesHidesTheOwnCheckGlyphList) {
    TForm form(nullptr);
    TsuiMainMenu menu(&form);
    EXPECT_EQ(menu.GetImages(), nullptr);
    EXPECT_NE(menu.TMenu::GetImages(), nullptr);
    TImageList images(&form);
    menu.SetImages(&images);
    EXPECT_EQ(menu.GetImages(), &images);
    menu.SetImages(nullptr);
    EXPECT_EQ(menu.GetImages(), nullptr);
    EXPECT_EQ(menu.TMenu::GetImages()->Count(), 1);  // the glyph list is back
}

TEST(MainMenu, TakesTheLookOfTheFormsSkinnedFrameAndFollowsTheTheme) {
    TForm form(nullptr);
    TsuiMainMenu menu(&form);
    EXPECT_EQ(menu.GetUIStyle(), DeepBlue);
    menu.SetUIStyle(MacOS);
    EXPECT_EQ(menu.GetMenuItemHeight(), 20);
    EXPECT_TRUE(menu.GetOwnerDraw());
}

}  // namespace
