// The chapter dialog's list without its window: the proposed split of a clip's trim range, and
// the Insert, Modify and Delete rules with the message each refusal shows. Chapters are whole
// seconds of the source file in [trim start, trim end), ascending and distinct, the first one
// the trim start, at most 12.
#pragma once

#include <vector>

#include "core/LanguageMessages.h"
#include "platform/vcl/System.h"

// The dialog's refusals (message numbers); 0 when the edit was made.
enum TChapterRefusal {
    ChapterEditDone = 0,
    ChapterCountFull = Language::kMsgMaxChapterCount,
    ChapterTimeOutOfRange = Language::kMsgChapterTimeOutOfRange,
    ChapterTimeTaken = Language::kMsgChapterTimeTaken,
    ChapterStartFixed = Language::kMsgChapterStartFixed,
};

constexpr int MaxChapters = 12;
constexpr int SecondsPerProposedChapter = 300;

// One chapter per five minutes of the span, 2 to 12.
int ProposedChapterCount(int TrimStart, int TrimEnd);
// The split into N: TrimStart + (span x i) div N for i = 0..N-1, equal times given once.
std::vector<int> SplitTimes(int TrimStart, int TrimEnd, int N);
// The auto combo's items "2" .. "m + 1", m = span div 300 kept to 1..11.
std::vector<String> AutoSplitItems(int TrimStart, int TrimEnd);

class TChapterList {
public:
    int AutoTimes[MaxChapters] = {};
    int CurrentTime = 0;
    int SelectedIndex = 0;
    int Times[MaxChapters] = {};
    int Count = 0;
    int i_TrimStart = 0;
    int i_TrimEnd = 0;
    std::vector<String> AutoItems;
    int AutoItemIndex = 0;

    // SetupClip: a clip's trim and its chapter menu's button times (empty: no menu, or a menu
    // without buttons; the split is proposed then).
    void SetupClip(int TrimStart, int TrimEnd, const std::vector<int>& ButtonTimes);
    // N > 0 sets Count (at most 12); Times takes the first Count of NewTimes when given; then
    // the list is refilled with the selection on CurrentTime, else on the first item.
    void SetChapterList(const int* NewTimes, int N);
    // The list click: SelectedIndex and CurrentTime.
    void SelectItem(int Index);
    // The auto combo's change: the split into ItemIndex + 2 replaces the list.
    void AutoSplit(int ItemIndex);

    int Insert(int Time);
    int Modify(int Time);
    int Delete();

    // The list box's lines, hh:mm:ss.
    std::vector<String> ListTexts() const;
    // The spin edits for CurrentTime (hours kept to 0..23 by the edit's range).
    int SpinHours() const { return CurrentTime / 3600 % 24; }
    int SpinMinutes() const { return CurrentTime / 60 % 60; }
    int SpinSeconds() const { return CurrentTime % 60; }
    static int EnteredTime(int Hours, int Minutes, int Seconds) { return Hours * 3600 + Minutes * 60 + Seconds; }

private:
    int CheckTime(int Time) const;
    bool Holds(int Time) const;
    void Refill();
};
