// The default interaction service: the toolkit's own message box, file, folder and colour
// dialogs, and popup menus. Nothing here exposes the toolkit; the Qt side is QtDialogs.cpp and
// QtMenus.cpp.
#pragma once

#include <vector>

#include "platform/vcl/Interaction.h"

class TBitmap;

// The one service that shows real dialogs (created on first use, never freed).
TInteractionService* QtInteractionService();

// A VCL file filter ("Video|*.avi;*.mpg|All files|*.*") as the toolkit's name filters, one per
// pair: {"Video (*.avi *.mpg)", "All files (*)"}. A name that already ends with its own pattern
// list in parentheses keeps one copy; "*.*" becomes "*" (names without a dot match too, as on
// Windows). A trailing name without patterns is dropped.
std::vector<String> VclFilterToQtFilters(const String& Filter);
// The same, joined with ";;" as QFileDialog takes it.
String VclFilterToQt(const String& Filter);

// Shows Menu's visible items as a toolkit popup at a screen point and returns the chosen item
// (nullptr when dismissed). Owner-drawn menus paint each item through the item's measure and
// draw events. Defined in QtMenus.cpp.
TMenuItem* QtMenus_TrackPopup(TPopupMenu* Menu, int X, int Y);
// Closes the popup QtMenus_TrackPopup shows for Menu (nothing when none shows): it answers nullptr.
void QtMenus_CancelPopup(TPopupMenu* Menu);
// The lines of the popup QtMenus_TrackPopup would show, without showing it: each action's text
// ("&Open\tCtrl+O", plus " [x]" when checked and " [disabled]"), "-" for a toolkit separator,
// "<drawn>" for an owner-drawn line; a sub-menu's lines follow it indented by two blanks.
std::vector<String> QtMenus_DescribePopup(TPopupMenu* Menu);
// Paints one owner-drawn line exactly as the popup does (measured size, at least Width wide)
// and copies the result into Out.
void QtMenus_RenderOwnerDrawnLine(TMenuItem* Item, bool Selected, int Width, TBitmap* Out);
// Opens the popup QtMenus_TrackPopup would show without waiting for a choice, with Hot as the
// selected line (may be nullptr), and copies the whole window, border included, into Out.
void QtMenus_RenderPopup(TPopupMenu* Menu, TMenuItem* Hot, TBitmap* Out);
