// The disc-size estimate and bar: 64-bit sums, the capacity rule and the three bars' widths.
#include "model/DiscSize.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/CustomClass.h"

using namespace DiscSize;

namespace {

constexpr int PerMinute = 30720;
constexpr Int64 DVD5 = 4403200;
constexpr Int64 DVD9 = 8704000;

TEST(DiscSize, Estimates) {
    struct {
        Int64 seconds;
        Int64 kb;
        bool fitsDvd5, fitsDvd9;
    } const cases[] = {
        {3600, 1843200, true, true},
        {8599, 4402688, true, true},
        {8600, 4403200, false, true},   // exactly the capacity no longer fits
        {16999, 8703488, false, true},
        {17000, 8704000, false, false},
        {70000, 35840000, false, false},  // past 69,905 s the 32-bit product would wrap
        {0, 0, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EstimateKB(PerMinute, c.seconds), c.kb) << c.seconds;
        EXPECT_EQ(FitsOnDisc(c.kb, DVD5), c.fitsDvd5) << c.seconds;
        EXPECT_EQ(FitsOnDisc(c.kb, DVD9), c.fitsDvd9) << c.seconds;
    }
}

TEST(DiscSize, BarWidths) {
    struct {
        Int64 kb, capacity;
        int full, width;
    } const cases[] = {
        {1843200, DVD5, ClipEditorBarWidth, 271},
        {1843200, DVD9, ClipEditorBarWidth, 137},
        {DVD5, DVD5, ClipEditorBarWidth, 648},
        {35840000, DVD5, ClipEditorBarWidth, 648},   // above capacity: the full bar
        {35840000, DVD5, DesignerBarWidth, 640},
        {35840000, DVD5, BurnSourceBarWidth, 483},
        {-5, DVD5, ClipEditorBarWidth, 0},
        {1000, 0, ClipEditorBarWidth, 0},             // no capacity: an empty bar
        {1000, -1, DesignerBarWidth, 0},
        {0, DVD5, DesignerBarWidth, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(BarWidth(c.kb, c.capacity, c.full), c.width) << c.kb << " / " << c.capacity;
    EXPECT_EQ(LimitToCapacity(35840000, DVD5), DVD5);
    EXPECT_EQ(LimitToCapacity(-1, DVD5), 0);
    EXPECT_EQ(LimitToCapacity(100, 0), 0);
}

TEST(DiscSize, TheSumOfTrimmedLengths) {
    std::vector<std::unique_ptr<TClipInfo>> owned;
    std::vector<TClipInfo*> clips;
    for (auto [start, end] : std::vector<std::pair<int, int>>{{5, 20}, {0, 30}, {40, 40}, {2000000000, 2147483647}}) {
        owned.push_back(std::make_unique<TClipInfo>());
        owned.back()->i_TrimStart = start;
        owned.back()->i_TrimEnd = end;
        clips.push_back(owned.back().get());
    }
    clips.push_back(nullptr);
    EXPECT_EQ(TrimmedSeconds(clips), 15 + 30 + 0 + 147483647);
    clips.push_back(clips[3]);
    EXPECT_EQ(TrimmedSeconds(clips), 15 + 30 + 2 * Int64{147483647}) << "no 32-bit sum";
    EXPECT_EQ(TrimmedSeconds({}), 0);
}

}  // namespace
