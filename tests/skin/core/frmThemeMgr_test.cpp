// The theme manager's dialog and its editor: the listed components, the tick buttons, and what
// OK and Cancel leave in the manager's list.
#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/frmThemeMgr.h"
#include "tests/support/ScriptedInteraction.h"

namespace {

class TsuiStyledThing : public TComponent, public IsuiStyled {
    VCL_CLASS(TsuiStyledThing)
    explicit TsuiStyledThing(TComponent* AOwner, const String& Name) : TComponent(AOwner), m_link(this) {
        SetName(Name);
    }
    TsuiUIStyle GetUIStyle() const override { return m_link.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle v) override { m_link.StoreUIStyle(v); }
    TsuiFileTheme* GetFileTheme() const override { return m_link.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* v) override { m_link.StoreFileTheme(v); }

private:
    TsuiStyleLink m_link;
};

std::vector<String> Items(TfrmMgr* d) {
    std::vector<String> v;
    for (int i = 0; i < d->List->Count(); ++i) v.push_back(d->List->Item(i) + (d->List->GetChecked(i) ? "+" : "-"));
    return v;
}

}  // namespace

TEST(frmThemeMgr, IsADialogOfItsSize) {
    TfrmMgr d(nullptr);
    EXPECT_EQ(d.GetCaption(), "Theme Manager - SkinKit");
    EXPECT_EQ(d.GetBorderStyle(), bsDialog);
    EXPECT_EQ(d.GetPosition(), poScreenCenter);
    EXPECT_EQ(d.GetClientWidth(), 233);
    EXPECT_EQ(d.GetClientHeight(), 301);
    EXPECT_EQ(d.btn_sel->GetCaption(), "&Select all");
    EXPECT_EQ(d.btn_unsel->GetCaption(), "&Unselect all");
    EXPECT_EQ(d.btn_ok->GetCaption(), "&OK");
    EXPECT_TRUE(d.btn_ok->GetDefault());
    EXPECT_EQ(d.btn_ok->GetModalResult(), mrOk);
}

TEST(frmThemeMgr, SelectAndUnselectAll) {
    TfrmMgr d(nullptr);
    d.List->Add("a", false);
    d.List->Add("b", true);
    d.btn_sel->Click();
    EXPECT_EQ(Items(&d), (std::vector<String>{"a+", "b+"}));
    d.btn_unsel->Click();
    EXPECT_EQ(Items(&d), (std::vector<String>{"a-", "b-"}));
    EXPECT_EQ(d.List->ItemAtPos(5, 1 + TsuiMgrCheckList::kRowHeight + 3), 1);
    EXPECT_EQ(d.List->ItemAtPos(5, 1 + 5 * TsuiMgrCheckList::kRowHeight), -1);
}

TEST(frmThemeMgr, OkStoresTheTickedNamesAndUpdates) {
    TForm form(nullptr);
    auto* a = new TsuiStyledThing(&form, "A");
    new TsuiStyledThing(&form, "B");
    new TComponent(&form);  // not skinned: not listed
    auto* mgr = new TsuiThemeManager(&form);
    mgr->SetName("Mgr");
    mgr->GetCompList()->Add("B");

    testing_vcl::TScriptedInteraction script;
    testing_vcl::TInstallInteraction install(script);
    std::vector<String> shown;
    script.ModalActions.push_back([&](TCustomForm* f) {
        auto* d = dynamic_cast<TfrmMgr*>(f);
        ASSERT_NE(d, nullptr);
        shown = Items(d);
        d->List->SetChecked(0, true);
        d->List->SetChecked(1, false);
        d->btn_ok->Click();
    });
    mgr->SetUIStyle(WinXP);  // nobody follows yet but B
    SUIEditThemeManager(mgr);
    EXPECT_EQ(shown, (std::vector<String>{"A-", "B+"}));
    ASSERT_EQ(mgr->GetCompList()->Count(), 1);
    EXPECT_EQ(mgr->GetCompList()->Strings(0), "A");
    EXPECT_EQ(a->GetUIStyle(), WinXP);  // updated after the dialog
}

TEST(frmThemeMgr, CancelKeepsTheList) {
    TForm form(nullptr);
    new TsuiStyledThing(&form, "A");
    auto* mgr = new TsuiThemeManager(&form);
    mgr->GetCompList()->Add("A");
    testing_vcl::TScriptedInteraction script;
    testing_vcl::TInstallInteraction install(script);
    script.AnswerModal(mrCancel);
    SUIEditThemeManager(mgr);
    ASSERT_EQ(mgr->GetCompList()->Count(), 1);
    EXPECT_EQ(mgr->GetCompList()->Strings(0), "A");
}
