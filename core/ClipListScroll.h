// The clip editor's list of rows: 77-pixel rows in a viewport of five, scrolled by whole rows
// from the thumb of its own scroll bar.
#pragma once

namespace ClipListScroll {

constexpr int RowHeight = 77;
constexpr int VisibleRows = 5;
constexpr int ThumbTravel = 332;  // the thumb's Top runs 0..332

// A clip row's Top on the moving panel.
int RowTop(int Index);
// The thumb's Top for a drag, kept on its track.
int ClampThumbTop(int Top);
// The first row shown for the thumb at ThumbTop with Count rows (0 with five or fewer).
int FirstVisibleRow(int ThumbTop, int Count);
// The moving panel's Top: -77 per row scrolled.
int PanelTop(int ThumbTop, int Count);

}  // namespace ClipListScroll
