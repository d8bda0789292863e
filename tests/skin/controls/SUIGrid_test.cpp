#include "skin/controls/SUIGrid.h"

#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(SUIGridCellColorTable, SelectedThenFocusedElseColor) {
    struct Case {
        TGridDrawState state;
        TColor expected;
    } cases[] = {
        {{}, 3}, {{gdSelected}, 1}, {{gdFocused}, 2}, {{gdSelected, gdFocused}, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(SUIGridCellColor(c.state, 1, 2, 3), c.expected);
}

class SkinGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 500, 300);
        grid = new TsuiStringGrid(form);
        grid->SetParent(form);
        grid->SetBounds(10, 10, 420, 200);
        grid->SetUIStyle(WinXP);
        grid->SetColCount(4);
        grid->SetRowCount(17);
        grid->SetFixedCols(0);
        grid->SetDefaultRowHeight(18);
        grid->SetColWidths(0, 150);
        grid->SetOptions(grid->GetOptions() + TGridOptions{goRowSelect});
        grid->SetBGColor(0xF0F0F0);
        grid->SetBorderColor(0x7F7F7F);
        grid->SetFocusedColor(clHighlight);
        grid->SetSelectedColor(clMenuHighlight);
        grid->SetFixedBGColor(clBtnFace);
        grid->SetFixedFontColor(clRed);
        grid->SetFontColor(clBlack);
        for (int c = 0; c < 4; ++c) grid->SetCells(c, 0, "Header");
        form->Show();
    }
    void TearDown() override { delete form; }
    TPoint Mid(int Col, int Row) {
        TRect r = grid->CellRect(Col, Row);
        return {r.Right - 3, r.Bottom - 3};
    }
    TForm* form = nullptr;
    TsuiStringGrid* grid = nullptr;
};

TEST_F(SkinGridTest, RowSelectFillsTheRowAndTheFocusedCell) {
    grid->SetRow(3);
    grid->SetFocus();
    EXPECT_EQ(PixelAt(grid, Mid(0, 3).x, Mid(0, 3).y), ColorToRGB(clHighlight));       // focused
    EXPECT_EQ(PixelAt(grid, Mid(2, 3).x, Mid(2, 3).y), ColorToRGB(clMenuHighlight));   // same row
    EXPECT_EQ(PixelAt(grid, Mid(2, 4).x, Mid(2, 4).y), 0xF0F0F0);                      // other rows
}

TEST_F(SkinGridTest, FixedCellsKeepTheirColourAndShowTextInFixedFontColor) {
    EXPECT_EQ(PixelAt(grid, Mid(1, 0).x, Mid(1, 0).y), ColorToRGB(clBtnFace));
    TBitmap shot;
    Snapshot(grid, &shot);
    TRect r = grid->CellRect(0, 0);
    bool red = false;
    for (int y = r.Top; y < r.Bottom && !red; ++y)
        for (int x = r.Left; x < r.Right; ++x) red = red || shot.GetPixelColor(x, y) == clRed;
    EXPECT_TRUE(red);
}

TEST_F(SkinGridTest, AWhiteKey22FontTurnsBlack) {
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        grid->SetUIStyle(look);
        TColor key22 = GetInsideThemeColor(look, 22);
        EXPECT_EQ(grid->GetFontColor(), ColorToRGB(key22) == 0xFFFFFF ? clBlack : key22);
    }
}

TEST_F(SkinGridTest, BordersAreOneLineForTheStringGridTwoForTheDrawGrid) {
    // Beside the fixed header row the second line would show: the string grid has none.
    int y = Mid(0, 0).y;
    EXPECT_EQ(PixelAt(grid, 0, y), 0x7F7F7F);
    EXPECT_EQ(PixelAt(grid, 1, y), ColorToRGB(clBtnFace));
    auto* draw = new TsuiDrawGrid(form);
    draw->SetParent(form);
    draw->SetBounds(440, 10, 50, 50);
    draw->SetColor(clAqua);
    draw->SetFixedColor(clBtnFace);
    EXPECT_EQ(PixelAt(draw, 0, 5), draw->GetBorderColor());
    EXPECT_EQ(PixelAt(draw, 1, 5), clAqua);
    EXPECT_EQ(PixelAt(draw, 5, 5), ColorToRGB(clBtnFace));
}

TEST_F(SkinGridTest, NoDefaultDrawingLeavesTheCellsToOnDrawCell) {
    grid->SetDefaultDrawing(false);
    grid->OnDrawCell = [&](TObject*, int, int, const TRect& R, TGridDrawState) {
        grid->GetCanvas()->GetBrush()->SetColor(clFuchsia);
        grid->GetCanvas()->FillRect(R);
    };
    EXPECT_EQ(PixelAt(grid, Mid(2, 5).x, Mid(2, 5).y), clFuchsia);
}

TEST_F(SkinGridTest, Ctl3DReadsFalseAndPastSeventeenRowsTheGridScrolls) {
    grid->SetCtl3D(true);
    EXPECT_FALSE(grid->GetCtl3D());
    grid->SetRowCount(40);
    grid->SetRow(35);
    EXPECT_GT(grid->GetTopRow(), 1);
    int c = 0, r = 0;
    TPoint p = Mid(1, 35);
    grid->MouseToCell(p.x, p.y, c, r);
    EXPECT_EQ(r, 35);
    EXPECT_EQ(grid->Cells(9, 99), "");
}

}  // namespace
