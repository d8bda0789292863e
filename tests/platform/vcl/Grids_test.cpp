#include "platform/vcl/Grids.h"

#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::PixelAt;

TEST(GridLayout, CellsFollowWidthsLinesAndScrollOffsets) {
    TGridLayout l;
    l.colWidths = {30, 40, 50, 60};
    l.rowHeights = {10, 20, 20, 20};
    l.fixedCols = 1;
    l.fixedRows = 1;
    l.leftCol = 1;
    l.topRow = 1;
    EXPECT_EQ(l.CellRect(0, 0), (TRect{0, 0, 30, 10}));
    EXPECT_EQ(l.CellRect(2, 1), (TRect{72, 11, 122, 31}));
    l.leftCol = 2;
    l.topRow = 2;
    EXPECT_EQ(l.CellRect(1, 1), TRect{});  // scrolled away
    EXPECT_EQ(l.CellRect(2, 2), (TRect{31, 11, 81, 31}));
    EXPECT_EQ(l.CellRect(9, 9), TRect{});  // outside the grid
    EXPECT_EQ(l.CellAt(35, 15).X, 2);
    EXPECT_EQ(l.CellAt(35, 15).Y, 2);
    EXPECT_EQ(l.CellAt(5000, 5).X, -1);
    EXPECT_EQ(l.CellAt(-1, 5).Y, -1);
    EXPECT_EQ(l.VisibleRows(52), 2);
}

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 400, 300);
        grid = new TStringGrid(form);
        grid->SetParent(form);
        grid->SetBorderStyle(bsNone);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->SetDefaultColWidth(60);
        grid->SetDefaultRowHeight(20);
        form->Show();
    }
    void TearDown() override { delete form; }
    TForm* form = nullptr;
    TStringGrid* grid = nullptr;
};

TEST_F(GridTest, CellsOutsideTheGridReadEmptyAndIgnoreWrites) {
    grid->SetCells(1, 1, "x");
    EXPECT_EQ(grid->Cells(1, 1), "x");
    for (auto [c, r] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{4, 0}, std::pair{0, 4}, std::pair{1000000, 1}}) {
        grid->SetCells(c, r, "y");
        EXPECT_EQ(grid->Cells(c, r), "");
    }
    grid->SetRowCount(2);
    EXPECT_EQ(grid->Cells(1, 3), "");
    EXPECT_EQ(grid->ColWidths(-3), 0);
}

TEST_F(GridTest, MouseToCellAnswersMinusOneOffTheCells) {
    int c = 0, r = 0;
    grid->MouseToCell(65, 25, c, r);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 1);
    grid->MouseToCell(290, 190, c, r);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(r, -1);
}

TEST_F(GridTest, RowSelectHighlightsTheWholeRowAndFixedCellsKeepTheirColour) {
    grid->SetOptions(grid->GetOptions() + TGridOptions{goRowSelect});
    grid->SetRow(2);
    std::vector<TGridDrawState> states(4);
    grid->OnDrawCell = [&](TObject*, int c, int r, const TRect&, TGridDrawState s) {
        if (r == 2) states[static_cast<size_t>(c)] = s;
    };
    EXPECT_EQ(PixelAt(grid, 30, 10), ColorToRGB(clBtnFace));        // fixed
    EXPECT_EQ(PixelAt(grid, 90, 50), ColorToRGB(clHighlight));      // row 2
    EXPECT_EQ(PixelAt(grid, 210, 50), ColorToRGB(clHighlight));
    EXPECT_EQ(PixelAt(grid, 90, 70), ColorToRGB(clWindow));         // row 3
    EXPECT_TRUE(states[0].Contains(gdFixed));
    EXPECT_TRUE(states[1].Contains(gdSelected));
    EXPECT_TRUE(states[3].Contains(gdSelected));
    grid->SetFocus();
    PixelAt(grid, 1, 1);
    EXPECT_TRUE(states[1].Contains(gdFocused));
    EXPECT_FALSE(states[2].Contains(gdFocused));
}

TEST_F(GridTest, FixedCellTextIsDrawnTwoPixelsIn) {
    grid->GetFont()->SetColor(clRed);
    grid->SetCells(1, 0, "WWWW");
    TBitmap shot;
    testing_vcl::Snapshot(grid, &shot);
    bool red = false;
    for (int y = 21; y < 41 && !red; ++y)  // nothing in row 1
        for (int x = 61; x < 121; ++x) red = red || shot.GetPixelColor(x, y) == clRed;
    EXPECT_FALSE(red);
    int first = -1;
    for (int x = 61; x < 121 && first < 0; ++x)
        for (int y = 0; y < 20; ++y)
            if (shot.GetPixelColor(x, y) == clRed) { first = x; break; }
    EXPECT_GE(first, 63);
    EXPECT_LE(first, 64);
}

TEST_F(GridTest, ManyRowsScrollAndKeepTheCurrentRowInView) {
    grid->SetRowCount(40);
    TWinControl::TScrollBarState v;
    ASSERT_TRUE(grid->GetControlScrollBarState(SB_VERT, v));
    EXPECT_TRUE(v.Visible);
    grid->SetRow(30);
    EXPECT_GE(30, grid->GetTopRow());
    EXPECT_LT(30, grid->GetTopRow() + grid->VisibleRowCount());
    grid->Perform(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(grid->GetTopRow(), 1);
    grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid->GetTopRow(), 2);
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(grid->GetHandle(), SB_VERT, &info));
    EXPECT_EQ(info.nPos, 1);
    EXPECT_EQ(info.nMax, 38);
}

}  // namespace
