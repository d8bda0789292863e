// The designer's geometry without a window.
#include "core/MenuLayout.h"

#include <gtest/gtest.h>

#include "model/DiscSize.h"

using namespace MenuLayout;

namespace {

TEST(MenuLayout, PreviewGeometry) {
    EXPECT_EQ(PreviewHeight(TMenuAspect::Standard4x3), 388);
    EXPECT_EQ(PreviewHeight(TMenuAspect::Wide16x9), 292);
    EXPECT_EQ(PreviewTop(TMenuAspect::Standard4x3), 92);
    EXPECT_EQ(PreviewTop(TMenuAspect::Wide16x9), 140);
    EXPECT_EQ(SafeFrameRect(518, 388, 10), (TRect{10, 10, 508, 378}));
    EXPECT_TRUE(SafeFrameRect(518, 388, 0).IsEmpty()) << "no frame for d = 0";
}

TEST(MenuLayout, SafeFrameClamp) {
    struct {
        const char* what;
        int left, top, width, height, previewHeight, d;
        TPoint placed;
    } const cases[] = {
        {"inside", 100, 100, 104, 78, 388, 10, {100, 100}},
        {"past the bottom right", 1000, 1000, 104, 78, 388, 10, {404, 300}},
        {"above the top left", -50, 1, 104, 78, 388, 10, {10, 10}},
        {"a label wider than the preview", 30, 30, 600, 20, 388, 10, {10, 30}},
        {"d = 0 touches the edges", 1000, -4, 104, 78, 388, 0, {414, 0}},
        {"a button at Top 300 on 16:9", 20, 300, 104, 78, 292, 10, {20, 204}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClampPlacement(c.left, c.top, c.width, c.height, c.previewHeight, c.d), c.placed) << c.what;
    }
}

TEST(MenuLayout, HitZones) {
    struct {
        int x, y, zone;
    } const cases[] = {
        {0, 0, ZoneTopLeft},     {7, 40, ZoneLeft},      {8, 40, ZoneMove},      {96, 40, ZoneMove},
        {97, 40, ZoneRight},     {103, 77, ZoneBottomRight}, {50, 7, ZoneTop},   {50, 70, ZoneMove},
        {50, 71, ZoneBottom},    {7, 71, ZoneBottomLeft},    {97, 0, ZoneTopRight},
    };
    for (const auto& c : cases) EXPECT_EQ(HitTestButton(104, 78, c.x, c.y), c.zone) << c.x << "," << c.y;
    EXPECT_EQ(ZoneCursor(ZoneMove), crHandPoint);
    EXPECT_EQ(ZoneCursor(ZoneLeft), crSizeWE);
    EXPECT_EQ(ZoneCursor(ZoneBottom), crSizeNS);
    EXPECT_EQ(ZoneCursor(ZoneBottomRight), crSizeNWSE);
    EXPECT_EQ(ZoneCursor(ZoneTopRight), crSizeNESW);
    EXPECT_EQ(ZoneCursor(ZoneNone), crDefault);
}

TEST(MenuLayout, MoveAndResize) {
    const TBounds start{20, 15, 104, 78};
    struct {
        const char* what;
        int zone, dx, dy, previewHeight, d;
        TBounds current, result;
    } const cases[] = {
        {"left edge 100 right: the minimum width", ZoneLeft, 100, 0, 388, 10, start, {44, 15, 80, 78}},
        {"left edge 200 left: the maximum width, kept inside", ZoneLeft, -200, 0, 388, 10, start, {10, 15, 240, 78}},
        {"body far away stops at the safe frame", ZoneMove, 1000, 1000, 388, 10, start, {404, 300, 104, 78}},
        {"body on 16:9", ZoneMove, 0, 1000, 292, 10, start, {20, 204, 104, 78}},
        {"top edge 100 down: the minimum height", ZoneTop, 0, 100, 388, 10, start, {20, 33, 104, 60}},
        {"right edge", ZoneRight, 50, 0, 388, 10, start, {20, 15, 154, 78}},
        {"bottom edge past the maximum", ZoneBottom, 0, 500, 388, 10, start, {20, 15, 104, 180}},
        {"top-left", ZoneTopLeft, -30, -30, 388, 10, start, {10, 10, 134, 108}},
        {"bottom-left", ZoneBottomLeft, 10, 10, 388, 10, start, {30, 15, 94, 88}},
        {"top-right", ZoneTopRight, 10, 10, 388, 10, start, {20, 25, 114, 68}},
        {"bottom-right", ZoneBottomRight, 500, 500, 388, 10, start, {20, 15, 240, 180}},
        {"right edge touching the frame widens leftwards", ZoneRight, 40, 0, 388, 10, {404, 100, 104, 78},
         {364, 100, 144, 78}},
        {"no zone", ZoneNone, 40, 40, 388, 10, start, start},
    };
    for (const auto& c : cases) {
        TBounds s = c.current;
        TBounds got = DragButton(c.zone, s, c.current, c.dx, c.dy, c.previewHeight, c.d);
        EXPECT_EQ(got.Left, c.result.Left) << c.what;
        EXPECT_EQ(got.Top, c.result.Top) << c.what;
        EXPECT_EQ(got.Width, c.result.Width) << c.what;
        EXPECT_EQ(got.Height, c.result.Height) << c.what;
    }
}

TEST(MenuLayout, LayoutGrid) {
    struct {
        int k, d, previewHeight;
        TPoint place;
    } const cases[] = {
        {0, 10, 388, {20, 15}}, {1, 10, 388, {140, 15}}, {3, 10, 388, {380, 15}}, {4, 10, 388, {20, 105}},
        {11, 10, 388, {380, 195}}, {11, 10, 292, {380, 195}}, {11, 50, 292, {364, 164}}, {0, 50, 388, {50, 50}},
        {0, 0, 388, {20, 15}}, {15, 10, 388, {380, 195}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GridPosition(c.k, 104, 78, c.previewHeight, c.d), c.place) << c.k << " d " << c.d;
    }
}

TEST(MenuLayout, StripAndBackgroundListScroll) {
    struct {
        int thumb, count, left;
    } const strip[] = {{550, 6, 0}, {550, 7, -102}, {275, 8, -102}, {549, 8, -102}, {550, 8, -204}, {0, 20, 0},
                       {900, 7, -102}};
    for (const auto& c : strip) EXPECT_EQ(StripLeft(c.thumb, c.count), c.left) << c.thumb << " " << c.count;
    struct {
        int thumb, count, top;
    } const backgrounds[] = {{338, 4, 0}, {338, 6, -194}, {169, 6, -97}, {168, 6, 0}, {-20, 6, 0}};
    for (const auto& c : backgrounds) EXPECT_EQ(BackgroundListTop(c.thumb, c.count), c.top) << c.thumb;
    EXPECT_EQ(BackgroundEntryTop(5), 497);
    EXPECT_EQ(ClampStripThumb(600), 550);
    EXPECT_EQ(ClampBackgroundThumb(-1), 0);
}

TEST(MenuLayout, AspectShiftOnlyOnARealChange) {
    const auto standard = TMenuAspect::Standard4x3;
    const auto wide = TMenuAspect::Wide16x9;
    struct {
        int y;
        TMenuAspect from, to;
        int backHeight, d, shifted;
    } const cases[] = {
        {300, standard, wide, 40, 10, 204},
        {300, standard, wide, 100, 10, 182},   // 282 - the back's height
        {50, standard, wide, 40, 10, 10},
        {100, wide, standard, 40, 10, 196},
        {100, standard, standard, 40, 10, 100},   // no change: no move
        {100, wide, wide, 40, 10, 100},
        {1000, standard, standard, 40, 10, 338},  // clamped all the same
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShiftBackY(c.y, c.from, c.to, c.backHeight, c.d), c.shifted) << c.y;
    }
    EXPECT_EQ(ClampBackX(600, 60, 10), 448);
}

TEST(MenuLayout, TheDesignersBarIsNarrower) {
    EXPECT_EQ(DiscSize::BarWidth(9000000, 4403200, DiscSize::DesignerBarWidth), 640);
    EXPECT_EQ(DiscSize::BarWidth(1843200, 4403200, DiscSize::DesignerBarWidth), 267);
}

}  // namespace
