// The clip list scrolls by whole rows.
#include "core/ClipListScroll.h"

#include <gtest/gtest.h>

using namespace ClipListScroll;

namespace {

TEST(ClipListScroll, WholeRows) {
    struct {
        int thumbTop, count, firstRow, panelTop;
    } const cases[] = {
        {332, 5, 0, 0}, {0, 6, 0, 0}, {331, 6, 0, 0}, {332, 6, 1, -77}, {166, 7, 1, -77},
        {332, 7, 2, -154}, {165, 7, 0, 0}, {900, 7, 2, -154}, {-40, 9, 0, 0}, {332, 100, 95, -7315},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstVisibleRow(c.thumbTop, c.count), c.firstRow) << c.thumbTop << " " << c.count;
        EXPECT_EQ(PanelTop(c.thumbTop, c.count), c.panelTop) << c.thumbTop << " " << c.count;
    }
    EXPECT_EQ(ClampThumbTop(400), 332);
    EXPECT_EQ(ClampThumbTop(-3), 0);
    EXPECT_EQ(RowTop(3), 231);
}

}  // namespace
