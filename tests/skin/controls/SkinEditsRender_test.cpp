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
#include "tests/support/SkinRender.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(SkinEditsRender, EditsAndMemoInEachLookToPng) {
    const std::filesystem::path folder = SkinRenderFolder("skin_controls");
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TForm form(nullptr);
        DressRenderForm(form, look, 480, 240);
        form.Show();

        auto* group = PlaceSkinned<TsuiGroupBox>(&form, &form, 10, 10, 220, 210, look);
        group->SetCaption(" Output Property ");
        auto* folderEdit = PlaceSkinned<TsuiEdit>(&form, group, 12, 25, 196, 21, look);
        folderEdit->SetText("/home/user/DVDTemp");
        auto* readOnly = PlaceSkinned<TsuiEdit>(&form, group, 12, 55, 196, 21, look);
        readOnly->SetReadOnly(true);
        readOnly->SetColor(0xF0F0F0);
        readOnly->SetText("Read-only");
        auto* time = PlaceSkinned<TsuiMaskEdit>(&form, group, 12, 85, 90, 21, look);
        time->SetEditMask("!90:00:00;1;_");
        time->SetText("01:2");
        auto* number = PlaceSkinned<TsuiNumberEdit>(&form, group, 110, 85, 98, 21, look);
        number->SetValue(1234.5);
        auto* spin = PlaceSkinned<TsuiSpinEdit>(&form, group, 12, 115, 60, 21, look);
        spin->SetMaxValue(50);
        spin->SetValue(25);
        auto* spin2 = PlaceSkinned<TsuiSpinEdit>(&form, group, 80, 115, 80, 21, look);
        spin2->SetMinValue(5);
        spin2->SetMaxValue(999);
        spin2->SetValue(720);

        auto* memo = PlaceSkinned<TsuiMemo>(&form, &form, 240, 10, 220, 210, look);
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
