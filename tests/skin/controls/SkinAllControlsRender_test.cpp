// One render per look of the skinned standard controls side by side, for a person to look at
// (build/skin_controls/Controls_<Look>.png): a group box with an edit, a time mask edit, a spin
// edit, a combo, the font, size and colour boxes, a list box and a string grid with a
// selection, a memo with an external bar, and scroll and track bars in both orientations.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/PngWriter.h"
#include "skin/controls/SUIColorBox.h"
#include "skin/controls/SUIComboBox.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIFontComboBox.h"
#include "skin/controls/SUIGrid.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIListBox.h"
#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIScrollBar.h"
#include "skin/controls/SUITrackBar.h"
#include "tests/support/SkinRender.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(SkinAllControlsRender, EveryStandardControlInEachLookToPng) {
    const std::filesystem::path folder = SkinRenderFolder("skin_controls");
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TForm form(nullptr);
        DressRenderForm(form, look, 760, 470);

        auto* group = PlaceSkinned<TsuiGroupBox>(&form, &form, 10, 10, 230, 150, look);
        group->SetCaption(" Output Property ");
        auto* edit = PlaceSkinned<TsuiEdit>(&form, group, 12, 28, 200, 22, look);
        edit->SetText("DVD_Disc");
        auto* mask = PlaceSkinned<TsuiMaskEdit>(&form, group, 12, 58, 90, 22, look);
        mask->SetEditMask("!90:00:00;1;_");
        mask->SetText("00:01:30");
        auto* spin = PlaceSkinned<TsuiSpinEdit>(&form, group, 12, 88, 90, 22, look);
        spin->SetMinValue(0);
        spin->SetMaxValue(50);
        spin->SetValue(8);

        auto* combo = PlaceSkinned<TsuiComboBox>(&form, &form, 250, 10, 150, 22, look);
        combo->SetStyle(csDropDownList);
        for (const char* s : {"High quality", "Normal", "Fast"}) combo->GetItems()->Add(s);
        combo->SetItemIndex(0);
        auto* fonts = PlaceSkinned<TsuiFontComboBox>(&form, &form, 250, 40, 180, 22, look);
        fonts->SetOptions(TFontListOptions{foTrueTypeOnly, foNoOEMFonts});
        fonts->GetHandle();
        if (fonts->GetItems()->Count() > 0) fonts->SetItemIndex(0);
        auto* sizes = PlaceSkinned<TsuiFontSizeComboBox>(&form, &form, 440, 40, 60, 22, look);
        sizes->SetFontName(fonts->GetFontName());
        sizes->SetFontSize(12);
        auto* colours = PlaceSkinned<TsuiColorBox>(&form, &form, 250, 70, 180, 22, look);
        colours->SetStyle(TColorBoxStyles{cbStandardColors, cbCustomColor, cbPrettyNames});
        colours->SetSelected(clNavy);

        auto* list = PlaceSkinned<TsuiListBox>(&form, &form, 10, 170, 150, 110, look);
        list->SetItemHeight(16);
        for (int i = 0; i < 12; ++i) list->GetItems()->Add("00:0" + std::to_string(i % 10) + ":30");
        list->SetItemIndex(2);

        auto* grid = PlaceSkinned<TsuiStringGrid>(&form, &form, 250, 110, 310, 200, look);
        grid->SetColCount(4);
        grid->SetRowCount(17);
        grid->SetFixedCols(0);
        grid->SetDefaultRowHeight(18);
        grid->SetColWidths(0, 130);
        grid->SetOptions(grid->GetOptions() + TGridOptions{goRowSelect});
        grid->SetSelectedColor(clMenuHighlight);
        for (int c = 0; c < 4; ++c) grid->SetCells(c, 0, c == 0 ? "File" : c == 1 ? "Size" : c == 2 ? "Length" : "Type");
        for (int r = 1; r < 17; ++r) grid->SetCells(0, r, "VTS_01_" + std::to_string(r) + ".VOB");
        grid->SetRow(3);

        auto* memo = PlaceSkinned<TsuiMemo>(&form, &form, 10, 320, 300, 120, look);
        for (int i = 0; i < 30; ++i) memo->GetLines()->Add("Converting clip " + std::to_string(i + 1) + " >>>");
        auto* memoBar = new TsuiScrollBar(&form);
        memoBar->SetParent(&form);
        memoBar->SetOrientation(suiVertical);
        memoBar->SetUIStyle(look);
        memo->SetVScrollBar(memoBar);

        auto* hbar = PlaceSkinned<TsuiScrollBar>(&form, &form, 330, 330, 220, 16, look);
        hbar->SetPageSize(25);
        hbar->SetPosition(40);
        auto* htrack = PlaceSkinned<TsuiTrackBar>(&form, &form, 330, 360, 220, 0, look);
        htrack->SetMax(20);
        htrack->SetPosition(7);
        PlaceSkinnedVertical<TsuiScrollBar>(&form, &form, 570, 110, 200, look)->SetPosition(30);
        PlaceSkinnedVertical<TsuiTrackBar>(&form, &form, 600, 110, 200, look)->SetPosition(4);
        form.Show();

        TBitmap shot;
        Snapshot(&form, &shot);
        EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(list->GetLeft(), list->GetTop() + 50)), list->GetBorderColor());
        std::filesystem::path file = folder / (String("Controls_") + LookName(look) + ".png");
        SaveBitmapToPng(shot, file.string());
        EXPECT_GT(std::filesystem::file_size(file), 0u);
    }
}

}  // namespace
