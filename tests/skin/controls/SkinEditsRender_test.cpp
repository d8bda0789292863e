// Renders of the skinned edits and the memo in each look, for a person to look at
// (build/skin_controls/Edits_<Look>.png).
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/PngWriter.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIScrollBar.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

const char* LookName(TsuiUIStyle Look) {
    switch (Look) {
        case MacOS: return "MacOS";
        case WinXP: return "WinXP";
        case DeepBlue: return "DeepBlue";
        case Protein: return "Protein";
        default: return "BlueGlass";
    }
}

template <class T>
T* Place(TForm* Form, TWinControl* Parent, TsuiUIStyle Look, int L, int T_, int W, int H) {
    auto* c = new T(Form);
    c->SetParent(Parent);
    c->SetUIStyle(Look);
    c->SetBounds(L, T_, W, H);
    return c;
}

TEST(SkinEditsRender, EditsAndMemoInEachLookToPng) {
    std::filesystem::path folder = std::filesystem::path(TEST_PEER_DIR) / ".." / ".." / "skin_controls";
    std::filesystem::create_directories(folder);
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TForm form(nullptr);
        form.SetBorderStyle(bsNone);
        form.SetBounds(20, 20, 480, 240);
        form.SetColor(GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR));
        form.Show();

        auto* group = Place<TsuiGroupBox>(&form, &form, look, 10, 10, 220, 210);
        group->SetCaption(" Output Property ");
        auto* folderEdit = Place<TsuiEdit>(&form, group, look, 12, 25, 196, 21);
        folderEdit->SetText("/home/user/DVDTemp");
        auto* readOnly = Place<TsuiEdit>(&form, group, look, 12, 55, 196, 21);
        readOnly->SetReadOnly(true);
        readOnly->SetColor(0xF0F0F0);
        readOnly->SetText("Read-only");
        auto* time = Place<TsuiMaskEdit>(&form, group, look, 12, 85, 90, 21);
        time->SetEditMask("!90:00:00;1;_");
        time->SetText("01:2");
        auto* number = Place<TsuiNumberEdit>(&form, group, look, 110, 85, 98, 21);
        number->SetValue(1234.5);
        auto* spin = Place<TsuiSpinEdit>(&form, group, look, 12, 115, 60, 21);
        spin->SetMaxValue(50);
        spin->SetValue(25);
        auto* spin2 = Place<TsuiSpinEdit>(&form, group, look, 80, 115, 80, 21);
        spin2->SetMinValue(5);
        spin2->SetMaxValue(999);
        spin2->SetValue(720);

        auto* memo = Place<TsuiMemo>(&form, &form, look, 240, 10, 220, 210);
        auto* bar = new TsuiScrollBar(&form);
        bar->SetParent(&form);
        memo->SetVScrollBar(bar);
        for (int i = 1; i <= 40; ++i) memo->GetLines()->Add("Converting clip " + std::to_string(i) + " >>>");
        memo->Perform(WM_KEYDOWN, VK_SHIFT, 0);  // bars follow at the next key

        TBitmap shot;
        Snapshot(&form, &shot);
        EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(memo->GetLeft(), memo->GetTop() + 100)), memo->GetBorderColor());
        EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(group->GetLeft() + folderEdit->GetLeft(), group->GetTop() + folderEdit->GetTop() + 5)),
                  folderEdit->GetBorderColor());
        std::filesystem::path file = folder / (String("Edits_") + LookName(look) + ".png");
        SaveBitmapToPng(shot, file.string());
        EXPECT_GT(std::filesystem::file_size(file), 0u);
    }
}

}  // namespace
