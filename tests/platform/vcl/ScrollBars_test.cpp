#include "platform/vcl/ScrollBars.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

SCROLLINFO Info(int Min, int Max, UINT Page, int Pos) {
    SCROLLINFO i;
    i.nMin = Min;
    i.nMax = Max;
    i.nPage = Page;
    i.nPos = Pos;
    return i;
}

struct ThumbCase {
    int length;
    SCROLLINFO info;
    int start;
    int end;
};

TEST(OwnScrollThumb, LiesBetweenTheArrowsInProportionToPageAndPosition) {
    const ThumbCase cases[] = {
        {116, Info(0, 99, 10, 0), 16, 24},     // 84 px track, 10 of 100 -> 8 (the shortest thumb)
        {216, Info(0, 99, 50, 0), 16, 108},    // half the track
        {216, Info(0, 99, 50, 50), 108, 200},  // at the end
        {216, Info(0, 99, 50, 99), 108, 200},  // past the end: clamped
        {216, Info(0, 9, 10, 0), 16, 16},      // everything fits: no thumb
        {20, Info(0, 99, 10, 0), 10, 10},      // arrows take it all
        {0, Info(0, 0, 0, 0), 0, 0},           // zero size
        {216, Info(INT_MIN, INT_MAX, 1, INT_MAX), 192, 200},  // int32 extremes do not overflow
    };
    for (const ThumbCase& c : cases) {
        int start = -1, end = -1;
        OwnScrollThumb(c.length, c.info, start, end);
        EXPECT_EQ(start, c.start) << c.length << " " << c.info.nPos;
        EXPECT_EQ(end, c.end) << c.length << " " << c.info.nPos;
    }
}

TEST(OwnScrollPositionAt, InvertsTheThumbPlacement) {
    SCROLLINFO info = Info(0, 99, 50, 0);
    for (int pos : {0, 10, 25, 49, 50}) {
        info.nPos = pos;
        int start = 0, end = 0;
        OwnScrollThumb(216, info, start, end);
        EXPECT_EQ(OwnScrollPositionAt(216, info, start), pos);
    }
    EXPECT_EQ(OwnScrollPositionAt(216, info, -50), 0);
    EXPECT_EQ(OwnScrollPositionAt(216, info, 5000), 50);
}

TEST(OwnScrollHitTest, NamesArrowsTrackAndThumb) {
    SCROLLINFO info = Info(0, 99, 50, 0);  // thumb 16..108 on 216
    EXPECT_EQ(OwnScrollHitTest(216, info, 3), shLineUp);
    EXPECT_EQ(OwnScrollHitTest(216, info, 50), shThumb);
    EXPECT_EQ(OwnScrollHitTest(216, info, 150), shPageDown);
    EXPECT_EQ(OwnScrollHitTest(216, info, 210), shLineDown);
    EXPECT_EQ(OwnScrollHitTest(216, info, 216), shNone);
    info.nPos = 50;
    EXPECT_EQ(OwnScrollHitTest(216, info, 50), shPageUp);
}

}  // namespace
