// The chapter dialog's list without its window: proposals, and sequences of edits with the
// list and the refusal after each.
#include "core/ChapterList.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> ListOf(const TChapterList& list) { return std::vector<int>(list.Times, list.Times + list.Count); }

TEST(ChapterList, Proposals) {
    struct {
        int start, end;
        std::vector<int> times;
        std::vector<String> items;
        int itemIndex;
    } const cases[] = {
        {0, 3600, {0, 300, 600, 900, 1200, 1500, 1800, 2100, 2400, 2700, 3000, 3300},
         {"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}, 10},
        {0, 599, {0, 299}, {"2"}, 0},
        {120, 121, {120}, {"2"}, 0},          // only distinct times
        {50, 50, {50}, {"2"}, 0},             // trimmed to 0 s
        {100, 1000, {100, 400, 700}, {"2", "3", "4"}, 1},
        {0, 200000, {0, 16666, 33333, 50000, 66666, 83333, 100000, 116666, 133333, 150000, 166666, 183333},
         {"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}, 10},   // longer than a day
    };
    for (const auto& c : cases) {
        TChapterList list;
        list.SetupClip(c.start, c.end, {});
        EXPECT_EQ(ListOf(list), c.times) << c.start << ".." << c.end;
        EXPECT_EQ(list.AutoItems, c.items) << c.start << ".." << c.end;
        EXPECT_EQ(list.AutoItemIndex, c.itemIndex) << c.start << ".." << c.end;
        EXPECT_EQ(list.SelectedIndex, 0);
        EXPECT_EQ(list.CurrentTime, c.start);
    }
}

TEST(ChapterList, AMenuOfButtonsOrNone) {
    TChapterList list;
    list.SetupClip(0, 3600, {0, 600, 1200});
    EXPECT_EQ(ListOf(list), (std::vector<int>{0, 600, 1200}));
    EXPECT_EQ(list.AutoItemIndex, 1);
    // One button: one time, the combo on "2".
    list.SetupClip(0, 3600, {0});
    EXPECT_EQ(ListOf(list), (std::vector<int>{0}));
    EXPECT_EQ(list.AutoItemIndex, 0);
    EXPECT_EQ(list.AutoItems[list.AutoItemIndex], "2");
    // No button: the split is proposed, not the previous clip's list kept.
    list.SetupClip(10, 1210, {});
    EXPECT_EQ(ListOf(list), (std::vector<int>{10, 310, 610, 910}));
    // Twelve buttons on a short clip: the combo's index stays among its items.
    list.SetupClip(0, 600, {0, 40, 80, 120, 160, 200, 240, 280, 320, 360, 400, 440});
    ASSERT_EQ(list.AutoItems.size(), 2u);
    EXPECT_EQ(list.AutoItemIndex, 1);
}

TEST(ChapterList, EditSequences) {
    enum Kind { Insert, Modify, Delete, Select };
    struct TStep {
        Kind kind;
        int value;   // the time entered, or the item selected
        int refusal;
        std::vector<int> after;
    };
    TChapterList list;
    list.SetupClip(0, 3600, {});
    const std::vector<int> twelve = ListOf(list);
    std::vector<int> eleven = twelve;
    eleven.erase(eleven.begin() + 3);
    std::vector<int> elevenPlus = eleven;
    elevenPlus.insert(elevenPlus.begin() + 3, 1000);
    const TStep steps[] = {
        {Insert, 1000, ChapterCountFull, twelve},
        {Delete, 0, ChapterStartFixed, twelve},        // the first item is selected
        {Modify, 5, ChapterStartFixed, twelve},
        {Select, 3, ChapterEditDone, twelve},
        {Delete, 0, ChapterEditDone, eleven},            // 900 goes, nothing else
        {Insert, 3600, ChapterTimeOutOfRange, eleven},   // the trim end
        {Insert, 5000, ChapterTimeOutOfRange, eleven},
        {Insert, 600, ChapterTimeTaken, eleven},
        {Insert, 1000, ChapterEditDone, elevenPlus},
        {Select, 4, ChapterEditDone, elevenPlus},
        {Modify, 1000, ChapterTimeTaken, elevenPlus},    // the selected one's own time too
        {Modify, 3600, ChapterTimeOutOfRange, elevenPlus},
        {Modify, 3599, ChapterEditDone, {0, 300, 600, 1000, 1500, 1800, 2100, 2400, 2700, 3000, 3300, 3599}},
    };
    for (const TStep& step : steps) {
        int refusal = ChapterEditDone;
        switch (step.kind) {
        case Insert: refusal = list.Insert(step.value); break;
        case Modify: refusal = list.Modify(step.value); break;
        case Delete: refusal = list.Delete(); break;
        case Select: list.SelectItem(step.value); break;
        }
        EXPECT_EQ(refusal, step.refusal) << step.kind << " " << step.value;
        EXPECT_EQ(ListOf(list), step.after) << step.kind << " " << step.value;
    }
    // After a modify the selection is on the first item.
    EXPECT_EQ(list.SelectedIndex, 0);
}

TEST(ChapterList, TheSelectionFollowsAnInsertedNeighbour) {
    TChapterList list;
    list.SetupClip(0, 599, {});
    list.SelectItem(1);
    ASSERT_EQ(list.CurrentTime, 299);
    ASSERT_EQ(list.Insert(100), ChapterEditDone);
    EXPECT_EQ(ListOf(list), (std::vector<int>{0, 100, 299}));
    EXPECT_EQ(list.SelectedIndex, 2) << "still on 299";
    // Deleting the only other item of a two-item list leaves one.
    list.SetupClip(0, 599, {});
    list.SelectItem(1);
    ASSERT_EQ(list.Delete(), ChapterEditDone);
    EXPECT_EQ(list.Count, 1);
    EXPECT_EQ(list.ListTexts().size(), 1u);
}

TEST(ChapterList, ADeletePastADay) {
    TChapterList list;
    list.SetupClip(0, 200000, {0, 43200, 90000, 100000});
    list.SelectItem(1);
    ASSERT_EQ(list.Delete(), ChapterEditDone);
    EXPECT_EQ(ListOf(list), (std::vector<int>{0, 90000, 100000}));
    list.SelectItem(2);
    EXPECT_EQ(list.SpinHours(), 3) << "27:46:40 shows hour 27 mod 24";
    EXPECT_EQ(list.SpinMinutes(), 46);
    EXPECT_EQ(list.SpinSeconds(), 40);
    EXPECT_EQ(list.ListTexts()[2], "27:46:40");
    EXPECT_EQ(TChapterList::EnteredTime(23, 59, 59), 86399);
}

TEST(ChapterList, AutoSplitReplacesTheList) {
    TChapterList list;
    list.SetupClip(0, 3600, {0, 77});
    list.AutoSplit(1);
    EXPECT_EQ(ListOf(list), (std::vector<int>{0, 1200, 2400}));
    list.SetupClip(0, 1, {});
    list.AutoSplit(10);
    EXPECT_EQ(ListOf(list), (std::vector<int>{0}));
}

}  // namespace
