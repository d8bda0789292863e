#include "core/ChapterList.h"

#include <algorithm>

#include "core/Pubfunction.h"

namespace {

int Span(int TrimStart, int TrimEnd) { return std::max(0, TrimEnd - TrimStart); }

}  // namespace

int ProposedChapterCount(int TrimStart, int TrimEnd) {
    return Pubfunction::ClampRange(Span(TrimStart, TrimEnd) / SecondsPerProposedChapter, 2, MaxChapters);
}

std::vector<int> SplitTimes(int TrimStart, int TrimEnd, int N) {
    std::vector<int> times;
    const Int64 span = Span(TrimStart, TrimEnd);
    N = Pubfunction::ClampRange(N, 1, MaxChapters);
    for (int i = 0; i < N; ++i) {
        int time = TrimStart + static_cast<int>(span * i / N);
        // A span shorter than N seconds repeats times, which the list can't hold twice.
        if (times.empty() || times.back() != time) times.push_back(time);
    }
    return times;
}

std::vector<String> AutoSplitItems(int TrimStart, int TrimEnd) {
    int m = Pubfunction::ClampRange(Span(TrimStart, TrimEnd) / SecondsPerProposedChapter, 1, MaxChapters - 1);
    std::vector<String> items;
    for (int n = 2; n <= m + 1; ++n) items.push_back(std::to_string(n));
    return items;
}

void TChapterList::SetupClip(int TrimStart, int TrimEnd, const std::vector<int>& ButtonTimes) {
    i_TrimStart = TrimStart;
    i_TrimEnd = TrimEnd;
    std::vector<int> proposed = ButtonTimes;
    int n = static_cast<int>(proposed.size());
    if (proposed.empty()) {
        n = ProposedChapterCount(TrimStart, TrimEnd);
        proposed = SplitTimes(TrimStart, TrimEnd, n);
    }
    int kept = std::min(static_cast<int>(proposed.size()), MaxChapters);
    std::copy_n(proposed.begin(), kept, AutoTimes);
    SetChapterList(AutoTimes, kept);
    AutoItems = AutoSplitItems(TrimStart, TrimEnd);
    AutoItemIndex = Pubfunction::ClampRange(n - 2, 0, static_cast<int>(AutoItems.size()) - 1);
}

void TChapterList::SetChapterList(const int* NewTimes, int N) {
    if (N > 0) Count = std::min(N, MaxChapters);
    if (NewTimes != nullptr && NewTimes != Times) std::copy_n(NewTimes, Count, Times);
    Refill();
}

void TChapterList::Refill() {
    int selected = 0;
    for (int i = 0; i < Count; ++i) {
        if (Times[i] == CurrentTime) {
            selected = i;
            break;
        }
    }
    SelectItem(selected);
}

void TChapterList::SelectItem(int Index) {
    if (Count <= 0) return;
    SelectedIndex = Pubfunction::ClampRange(Index, 0, Count - 1);
    CurrentTime = Times[SelectedIndex];
}

void TChapterList::AutoSplit(int ItemIndex) {
    std::vector<int> split = SplitTimes(i_TrimStart, i_TrimEnd, ItemIndex + 2);
    std::copy(split.begin(), split.end(), AutoTimes);
    SetChapterList(AutoTimes, static_cast<int>(split.size()));
}

bool TChapterList::Holds(int Time) const { return std::find(Times, Times + Count, Time) != Times + Count; }

// Chapters lie in [trim start, trim end): a chapter at the very end would have no picture.
int TChapterList::CheckTime(int Time) const {
    if (Time < i_TrimStart || Time >= i_TrimEnd) return ChapterTimeOutOfRange;
    if (Holds(Time)) return ChapterTimeTaken;
    return ChapterEditDone;
}

int TChapterList::Insert(int Time) {
    if (Count >= MaxChapters) return ChapterCountFull;
    if (int refusal = CheckTime(Time)) return refusal;
    Times[Count++] = Time;
    std::sort(Times, Times + Count);
    Refill();
    return ChapterEditDone;
}

int TChapterList::Modify(int Time) {
    if (SelectedIndex == 0) return ChapterStartFixed;
    if (int refusal = CheckTime(Time)) return refusal;
    Times[SelectedIndex] = Time;
    std::sort(Times, Times + Count);
    Refill();
    return ChapterEditDone;
}

int TChapterList::Delete() {
    if (SelectedIndex == 0) return ChapterStartFixed;
    if (SelectedIndex < 0 || SelectedIndex >= Count) return ChapterEditDone;
    std::copy(Times + SelectedIndex + 1, Times + Count, Times + SelectedIndex);
    --Count;
    Refill();
    return ChapterEditDone;
}

std::vector<String> TChapterList::ListTexts() const {
    std::vector<String> texts;
    for (int i = 0; i < Count; ++i) texts.push_back(Pubfunction::SecondsToHMS(Times[i]));
    return texts;
}
