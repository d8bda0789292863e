#include "core/ClipListScroll.h"

#include "core/Pubfunction.h"

namespace ClipListScroll {

int RowTop(int Index) { return Index * RowHeight; }

int ClampThumbTop(int Top) { return Pubfunction::ClampRange(Top, 0, ThumbTravel); }

int FirstVisibleRow(int ThumbTop, int Count) {
    if (Count <= VisibleRows) return 0;
    return ClampThumbTop(ThumbTop) * (Count - VisibleRows) / ThumbTravel;
}

int PanelTop(int ThumbTop, int Count) { return -RowHeight * FirstVisibleRow(ThumbTop, Count); }

}  // namespace ClipListScroll
