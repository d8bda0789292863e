// The trim slider and time edits without a window: handle places, what a release or a
// confirmed entry stores and seeks, and the edits' time text.
#include "core/ClipTrim.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/Pubfunction.h"

using namespace ClipTrim;

namespace {

TEST(ClipTrim, HandlePlacement) {
    struct {
        int start, end, duration;
        int startLeft, endLeft, barLeft, barWidth;
        bool enabled;
    } const cases[] = {
        {0, 100, 100, 0, 230, 10, 220, true},
        {50, 100, 100, 110, 230, 120, 110, true},
        {0, 0, 100, 0, 10, 10, 0, true},
        {0, 7, 7, 0, 230, 10, 220, true},
        {0, 0, 0, 0, 230, 10, 0, false},   // duration 0: as without a clip
        {5, 3, -4, 0, 230, 10, 0, false},
    };
    for (const auto& c : cases) {
        TTrimHandles h = SyncTrimHandles(c.start, c.end, c.duration);
        EXPECT_EQ(h.StartLeft, c.startLeft) << c.start << ".." << c.end << " of " << c.duration;
        EXPECT_EQ(h.EndLeft, c.endLeft) << c.start << ".." << c.end << " of " << c.duration;
        EXPECT_EQ(h.BarLeft, c.barLeft);
        EXPECT_EQ(h.BarWidth, c.barWidth);
        EXPECT_EQ(h.Enabled, c.enabled);
    }
    // Ratios that are not numbers (0 / 0) never become pixels.
    TTrimHandles nan = PlaceTrimHandles(std::nan(""), std::nan(""));
    EXPECT_FALSE(nan.Enabled);
    TTrimHandles half = PlaceTrimHandles(std::nan(""), 0.5);
    EXPECT_EQ(half.StartLeft, 0);
    EXPECT_EQ(half.EndLeft, 120);
}

TEST(ClipTrim, DragsStayOnTheTrack) {
    TTrimHandles h = SyncTrimHandles(20, 80, 100);
    ASSERT_EQ(h.StartLeft, 44);
    ASSERT_EQ(h.EndLeft, 186);
    DragStartHandle(h, 44, 500);
    EXPECT_EQ(h.StartLeft, 176) << "stops at the end handle";
    EXPECT_EQ(h.BarWidth, 0);
    DragStartHandle(h, 44, -500);
    EXPECT_EQ(h.StartLeft, 0);
    DragEndHandle(h, 186, 500);
    EXPECT_EQ(h.EndLeft, 232) << "the track picture's width bounds it";
    DragEndHandle(h, 186, -500);
    EXPECT_EQ(h.EndLeft, 10);
    h = SyncTrimHandles(20, 80, 100);
    int width = h.BarWidth;
    DragRangeBar(h, h.BarLeft, 1000);
    EXPECT_EQ(h.BarWidth, width);
    EXPECT_EQ(h.EndLeft, 232);
    DragRangeBar(h, h.BarLeft, -1000);
    EXPECT_EQ(h.StartLeft, 0);
    EXPECT_EQ(h.BarWidth, width);
}

TTrimRatios RatiosAt(int StartLeft, int EndLeft) {
    TTrimHandles h;
    h.StartLeft = StartLeft;
    h.EndLeft = EndLeft;
    return GetTrimRatios(h);
}

TEST(ClipTrim, ReleaseResults) {
    enum Kind { Start, End, Bar };
    struct {
        const char* what;
        Kind kind;
        int startLeft, endLeft;
        int trimStart, trimEnd, duration;
        int storedStart, storedEnd, seek;
    } const cases[] = {
        {"100 s: start to the track's end", Start, 220, 230, 0, 100, 100, 90, 100, 90},
        {"100 s: end to the end", End, 0, 230, 0, 80, 100, 0, 100, 90},
        {"100 s: start in the middle", Start, 110, 230, 0, 100, 100, 50, 100, 50},
        {"7 s: start anywhere", Start, 150, 230, 0, 7, 7, 0, 7, 1},
        {"7 s: end", End, 0, 200, 0, 7, 7, 0, 6, 1},
        {"rounding: start placed from 507 of 1000 reads 509", Start, 112, 122, 507, 508, 1000, 508, 508, 508},
        {"rounding: end below the start", End, 112, 120, 507, 508, 1000, 507, 507, 507},
        {"range bar moved to the end", Bar, 176, 230, 0, 20, 100, 80, 100, 80},
        {"range bar on a 7 s clip", Bar, 60, 230, 0, 7, 7, 0, 7, 1},
        {"duration 0", Start, 0, 230, 0, 0, 0, 0, 0, 1},
        {"duration 0, end", End, 0, 230, 0, 0, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        TTrimRatios r = RatiosAt(c.startLeft, c.endLeft);
        TTrimChange change = c.kind == Start ? ReleaseStartHandle(r, c.trimStart, c.trimEnd, c.duration)
                             : c.kind == End ? ReleaseEndHandle(r, c.trimStart, c.trimEnd, c.duration)
                                             : ReleaseRangeBar(r, c.trimStart, c.trimEnd, c.duration);
        EXPECT_TRUE(change.Changed) << c.what;
        EXPECT_EQ(change.TrimStart, c.storedStart) << c.what;
        EXPECT_EQ(change.TrimEnd, c.storedEnd) << c.what;
        EXPECT_EQ(change.SeekSecond, c.seek) << c.what;
        EXPECT_LE(change.TrimStart, change.TrimEnd) << c.what;
    }
}

TEST(ClipTrim, TheRoundingCaseNeedsTheClamp) {
    // A start of 507 of 1000 s sits at pixel 112, which reads back as 509: past the end of 508.
    TTrimHandles h = SyncTrimHandles(507, 508, 1000);
    ASSERT_EQ(h.StartLeft, 112);
    EXPECT_EQ(RatioSecond(1000, GetTrimRatios(h).Start), 509);
    EXPECT_EQ(ReleaseStartHandle(GetTrimRatios(h), 507, 508, 1000).TrimStart, 508);
}

TEST(ClipTrim, ConfirmResults) {
    enum Kind { Start, Stop };
    struct {
        const char* what;
        Kind kind;
        const char* entry;
        int trimStart, trimEnd, duration;
        bool changed;
        int storedStart, storedEnd, seek;
    } const cases[] = {
        {"unchanged start", Start, "00:00:05", 5, 50, 100, false, 5, 50, 5},
        {"unchanged stop", Stop, "00:00:50", 5, 50, 100, false, 5, 50, 50},
        {"start 00:75:00", Start, "00:75:00", 0, 5000, 5000, true, 4500, 5000, 4500},
        {"start past D - 10", Start, "00:01:39", 0, 100, 100, true, 90, 100, 90},
        {"start past the end", Start, "00:00:40", 0, 30, 100, true, 30, 30, 30},
        {"7 s clip: start", Start, "00:00:05", 0, 7, 7, true, 0, 7, 1},
        {"stop beyond the duration", Stop, "01:00:00", 0, 50, 100, true, 0, 100, 100},
        {"stop below the start", Stop, "00:00:10", 20, 50, 100, true, 20, 20, 20},
        {"stop inside", Stop, "00:01:00", 0, 50, 100, true, 0, 60, 60},
        {"stop of 0 on a 0 s clip", Stop, "00:00:03", 0, 0, 0, true, 0, 0, 1},
    };
    for (const auto& c : cases) {
        int entry = ParseTimeEdit(c.entry);
        TTrimChange change = c.kind == Start ? ConfirmStart(entry, c.trimStart, c.trimEnd, c.duration)
                                             : ConfirmStop(entry, c.trimStart, c.trimEnd, c.duration);
        EXPECT_EQ(change.Changed, c.changed) << c.what;
        EXPECT_EQ(change.TrimStart, c.storedStart) << c.what;
        EXPECT_EQ(change.TrimEnd, c.storedEnd) << c.what;
        if (c.changed) {
            EXPECT_EQ(change.SeekSecond, c.seek) << c.what;
        }
    }
}

TEST(ClipTrim, TimeTextAndItsParse) {
    struct {
        const char* text;
        int seconds;
    } const parses[] = {
        {"00:00:00", 0}, {"01:02:03", 3723}, {"00:75:00", 4500}, {"00:00:99", 99}, {"99:99:99", 362439},
        {"  :  :  ", 0}, {"1_:__:_5", 36005}, {"", 0}, {"00:0", 0}, {"ab:cd:ef", 0},
    };
    for (const auto& p : parses) EXPECT_EQ(ParseTimeEdit(p.text), p.seconds) << p.text;
    for (int seconds : {0, 59, 3600, 3723, 86399, 359999}) {
        EXPECT_EQ(ParseTimeEdit(Pubfunction::SecondsToHMS(seconds)), seconds);
    }
    EXPECT_EQ(Pubfunction::SecondsToHMS(4500), "01:15:00");
    EXPECT_EQ(EmptyTimeText, "  :  :  ");
}

TEST(ClipTrim, EntryColours) {
    EXPECT_TRUE(StartEntryValid(0, 50));
    EXPECT_TRUE(StartEntryValid(50, 50));
    EXPECT_FALSE(StartEntryValid(51, 50));
    EXPECT_TRUE(StopEntryValid(100, 20, 100));
    EXPECT_FALSE(StopEntryValid(101, 20, 100));
    EXPECT_FALSE(StopEntryValid(19, 20, 100));
}

}  // namespace
