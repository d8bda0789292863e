// Renders of the combo, font, size and colour boxes, a list box and a string grid with a
// selection in each look (build/skin_controls/Lists_<Look>.png), and of the colour box with its
// list open (build/skin_controls/Dropped_<Look>.png), for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/PngWriter.h"
#include "skin/controls/SUIColorBox.h"
#include "skin/controls/SUIComboBox.h"
#include "skin/controls/SUIFontComboBox.h"
#include "skin/controls/SUIGrid.h"
#include "skin/controls/SUIListBox.h"
#include "skin/controls/SUIScrollBar.h"
#include "tests/support/SkinRender.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(SkinListsRender, ListsCombosAndGridInEachLookToPng) {
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TForm form(nullptr);
        DressRenderForm(form, look, 560, 330);

        auto* combo = PlaceSkinned<TsuiComboBox>(&form, &form, 10, 10, 150, 22, look);
        combo->SetStyle(csDropDownList);
        for (const char* s : {"High quality", "Normal", "Fast"}) combo->GetItems()->Add(s);
        combo->SetItemIndex(0);
        auto* editable = PlaceSkinned<TsuiComboBox>(&form, &form, 10, 40, 150, 22, look);
        editable->SetText("Typed text");
        auto* fonts = PlaceSkinned<TsuiFontComboBox>(&form, &form, 170, 10, 180, 22, look);
        fonts->SetOptions(TFontListOptions{foTrueTypeOnly, foNoOEMFonts});
        fonts->GetHandle();  // the faces are listed once the window exists
        if (fonts->GetItems()->Count() > 0) fonts->SetItemIndex(0);
        auto* sizes = PlaceSkinned<TsuiFontSizeComboBox>(&form, &form, 360, 10, 60, 22, look);
        sizes->SetFontName(fonts->GetFontName());
        sizes->SetFontSize(12);
        auto* colours = PlaceSkinned<TsuiColorBox>(&form, &form, 170, 40, 180, 22, look);
        colours->SetStyle(TColorBoxStyles{cbStandardColors, cbCustomColor, cbPrettyNames});
        colours->SetSelected(clNavy);

        auto* list = PlaceSkinned<TsuiListBox>(&form, &form, 10, 80, 150, 110, look);
        list->SetItemHeight(16);
        for (int i = 0; i < 12; ++i) list->GetItems()->Add("00:0" + std::to_string(i % 10) + ":30");
        list->SetItemIndex(2);
        auto* bar = new TsuiScrollBar(&form);
        bar->SetParent(&form);
        bar->SetOrientation(suiVertical);
        list->SetVScrollBar(bar);
        bar->SetUIStyle(look);

        auto* grid = PlaceSkinned<TsuiStringGrid>(&form, &form, 170, 80, 380, 240, look);
        grid->SetColCount(4);
        grid->SetRowCount(17);
        grid->SetFixedCols(0);
        grid->SetDefaultRowHeight(18);
        grid->SetColWidths(0, 160);
        grid->SetOptions(grid->GetOptions() + TGridOptions{goRowSelect});
        for (int c = 0; c < 4; ++c) grid->SetCells(c, 0, c == 0 ? "File" : c == 1 ? "Size" : c == 2 ? "Length" : "Type");
        for (int r = 1; r < 17; ++r) grid->SetCells(0, r, "VTS_01_" + std::to_string(r) + ".VOB");
        grid->SetSelectedColor(clMenuHighlight);
        grid->SetRow(3);
        form.Show();

        TBitmap shot;
        Snapshot(&form, &shot);
        EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(list->GetLeft(), list->GetTop() + 50)), list->GetBorderColor());
        std::filesystem::path file = SkinRenderFolder("skin_controls") / (String("Lists_") + LookName(look) + ".png");
        SaveBitmapToPng(shot, file.string());
        EXPECT_GT(std::filesystem::file_size(file), 0u);
    }
}

TEST(SkinListsRender, ColourBoxDroppedInEachLookToPng) {
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TForm form(nullptr);
        DressRenderForm(form, look, 220, 300);
        auto* colours = PlaceSkinned<TsuiColorBox>(&form, &form, 10, 10, 180, 22, look);
        colours->SetStyle(TColorBoxStyles{cbStandardColors, cbCustomColor, cbPrettyNames});
        colours->SetDropDownCount(14);
        colours->SetSelected(clTeal);
        form.Show();
        colours->SetDroppedDown(true);
        TWinControl* dropped = colours->DropDownWindow();
        ASSERT_NE(dropped, nullptr);

        // The form with the list laid where it shows on the screen.
        TBitmap shot;
        Snapshot(&form, &shot);
        TBitmap list;
        Snapshot(dropped, &list);
        TPoint at = form.ScreenToClient(dropped->ClientToScreen({0, 0}));
        shot.GetCanvas()->Draw(at.x, at.y, &list);
        EXPECT_EQ(static_cast<TColor>(list.GetPixelColor(0, 5)), colours->GetBorderColor());
        std::filesystem::path file = SkinRenderFolder("skin_controls") / (String("Dropped_") + LookName(look) + ".png");
        SaveBitmapToPng(shot, file.string());
        EXPECT_GT(std::filesystem::file_size(file), 0u);
        colours->SetDroppedDown(false);
    }
}

}  // namespace
