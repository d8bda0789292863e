// Renders of the skin library's periphery in each look, for a person to look at
// (build/skin_periphery/): a skinned form window (title bar, menu bar, tool bar, check and radio
// groups, both progress bars), an open popup menu, an MDI parent with two cascaded children,
// and the notice pop-up.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/MDIForms.h"
#include "platform/vcl/PngWriter.h"
#include "platform/vcl/QtDialogs.h"
#include "skin/controls/SUIRadioGroup.h"
#include "skin/controls/SUIToolBar.h"
#include "skin/core/SUIForm.h"
#include "skin/core/SUIPopupMenu.h"
#include "skin/core/SUIProgressBar.h"
#include "skin/core/frmMSNPop.h"
#include "tests/support/SkinRender.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {


void Save(TBitmap& B, const String& Name) {
    auto file = SkinRenderFolder("skin_periphery") / Name;
    SaveBitmapToPng(B, file.string());
    EXPECT_GT(std::filesystem::file_size(file), 0u);
}

TMenuItem* Item(TComponent* Owner, TMenuItem* Parent, const String& Caption) {
    auto* item = new TMenuItem(Owner);
    item->SetCaption(Caption);
    Parent->Add(item);
    return item;
}

TEST(SkinPeriphery, FormWindowInEachLook) {
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TForm form(nullptr);
        form.SetBorderStyle(bsSingle);
        form.SetBounds(30, 30, 480, 360);
        form.SetCaption(String("Skinned form - ") + LookName(look));
        auto* frame = new TsuiForm(&form);
        frame->SetUIStyle(look);
        auto* menu = new TsuiMainMenu(&form);
        for (const char* c : {"&File", "&Edit", "&Help"}) Item(&form, menu->GetItems(), c);
        Item(&form, menu->GetItems()->Items(0), "&Open");
        menu->AfterConstruction();
        frame->SetUIStyle(look);

        auto* tools = new TsuiToolBar(&form);
        tools->SetParent(frame);
        tools->SetShowCaptions(true);
        tools->SetAutoSize(true);
        tools->SetUIStyle(look);
        tools->SetTop(frame->GetMenuBar()->GetTop() + frame->GetMenuBar()->GetHeight());  // below the menu bar
        TToolButton* hot = nullptr;
        for (const char* c : {"&New", "Bold", "Export"}) {
            auto* b = new TToolButton(tools);
            b->SetParent(tools);
            b->SetCaption(c);
            b->SetAutoSize(true);
            if (hot == nullptr) hot = b;
        }
        tools->Buttons(1)->SetStyle(tbsCheck);
        tools->Buttons(1)->SetDown(true);
        tools->Buttons(2)->SetStyle(tbsDropDown);

        auto* checks = new TsuiCheckGroup(&form);
        checks->SetParent(frame);
        checks->SetBounds(12, 110, 200, 100);
        checks->SetCaption(" Options ");
        for (const char* s : {"Subtitles", "Menus", "Chapters"}) checks->GetItems()->Add(s);
        checks->SetUIStyle(look);
        checks->SetChecked(0, true);
        auto* radios = new TsuiRadioGroup(&form);
        radios->SetParent(frame);
        radios->SetBounds(224, 110, 200, 100);
        radios->SetCaption(" Video format ");
        for (const char* s : {"NTSC", "PAL", "SECAM"}) radios->GetItems()->Add(s);
        radios->SetUIStyle(look);
        radios->SetItemIndex(1);

        auto* progress = new TsuiProgressBar(&form);
        progress->SetParent(frame);
        progress->SetBounds(12, 230, 300, 14);
        progress->SetUIStyle(look);
        progress->SetPosition(64);
        auto* vertical = new TsuiProgressBar(&form);
        vertical->SetParent(frame);
        vertical->SetOrientation(suiVertical);
        vertical->SetBounds(440, 110, 14, 180);
        vertical->SetUIStyle(look);
        vertical->SetPosition(40);

        form.Show();
        MouseMoveTo(hot, 4, 4);
        TBitmap shot;
        form.PaintWindowTo(&shot);
        EXPECT_EQ(frame->GetMenuBar()->ButtonCount(), 3);
        Save(shot, String("Form_") + LookName(look) + ".png");
    }
}

TEST(SkinPeriphery, OpenPopupMenuInEachLook) {
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TForm form(nullptr);
        TsuiPopupMenu menu(&form);
        menu.SetUIStyle(look);
        menu.SetFlatMenu(true);
        menu.SetUseSystemFont(false);
        menu.SetFontName("DejaVu Sans");
        TMenuItem* open = Item(&form, menu.GetItems(), "&Open...");
        open->SetShortCut(ShortCut('O', {ssCtrl}));
        Item(&form, menu.GetItems(), "&Checked")->SetChecked(true);
        Item(&form, menu.GetItems(), "-");
        Item(&form, menu.GetItems(), "&Disabled")->SetEnabled(false);
        TMenuItem* selected = Item(&form, menu.GetItems(), "&Selected");
        Item(&form, menu.GetItems(), "E&xit");
        menu.MenuAdded();
        TBitmap shot;
        QtMenus_RenderPopup(&menu, selected, &shot);
        ASSERT_GT(shot.GetWidth(), 0);
        Save(shot, String("Menu_") + LookName(look) + ".png");
    }
}

TEST(SkinPeriphery, MDIParentWithTwoCascadedChildrenInEachLook) {
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TForm parent(nullptr);
        parent.SetBorderStyle(bsSizeable);
        parent.SetBounds(20, 20, 560, 420);
        parent.SetFormStyle(fsMDIForm);
        parent.SetCaption(String("MDI parent - ") + LookName(look));
        auto* frame = new TsuiMDIForm(&parent);
        auto* menu = new TMainMenu(&parent);
        for (const char* c : {"&File", "&Window", "&Help"}) Item(&parent, menu->GetItems(), c);
        frame->SetMenu(menu);
        frame->SetUIStyle(look);
        for (int i = 1; i <= 2; ++i) {
            auto* child = new TForm(&parent);
            child->SetFormStyle(fsMDIChild);
            child->SetCaption("Child " + std::to_string(i));
            auto* childFrame = new TsuiForm(child);
            childFrame->SetUIStyle(look);
            child->Show();
        }
        parent.Show();
        parent.Cascade();
        TBitmap shot;
        parent.PaintWindowTo(&shot);
        Save(shot, String("MDI_") + LookName(look) + ".png");
    }
}

TEST(SkinPeriphery, NoticePopup) {
    TForm owner(nullptr);
    TsuiMSNPopForm notice(&owner);
    notice.SetAnimateTime(0);
    notice.SetStayTime(100000);
    notice.SetTitle("Quellox DOZ Ezedav");
    notice.SetMessageText("The disc was burned.");
    notice.Popup();
    TBitmap shot;
    notice.Window()->PaintWindowTo(&shot);
    EXPECT_EQ(shot.GetWidth(), 181);
    Save(shot, "MSNPop.png");
    notice.Close();
}

}  // namespace
