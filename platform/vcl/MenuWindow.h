// The window of an open owner-drawn popup, for menus that paint their own flat border, and the
// toolkit's menu font.
//
//   void DrawItem(TObject*, TCanvas* Canvas, TRect R, bool Selected) {
//       if (TMenuWindow* w = MenuWindowFromCanvas(Canvas)) {   // Canvas is a line of a popup
//           TCanvas* whole = w->WindowCanvas();                // the popup's whole window
//           whole->FrameRect(Rect(0, 0, w->ScreenRect().Width(), w->ScreenRect().Height()));
//       }
//   }
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Types.h"

class TMenuWindow {
public:
    virtual ~TMenuWindow() = default;
    // Where the popup window lies on the screen.
    virtual TRect ScreenRect() const = 0;
    // A canvas over the whole popup window, origin at its top-left corner. What is drawn on
    // its two outermost rings of pixels is shown as the window's border.
    virtual TCanvas* WindowCanvas() = 0;
};

// The popup window whose line is being drawn on Canvas, or nullptr for any other canvas.
TMenuWindow* MenuWindowFromCanvas(TCanvas* Canvas);

// Ties a line's canvas to its popup window for as long as the line is being drawn.
class TMenuLineDrawing {
public:
    TMenuLineDrawing(TCanvas* Canvas, TMenuWindow* Window);
    ~TMenuLineDrawing();
    TMenuLineDrawing(const TMenuLineDrawing&) = delete;
    TMenuLineDrawing& operator=(const TMenuLineDrawing&) = delete;

private:
    TCanvas* m_canvas;
};

// The toolkit's menu font (its family and its height in pixels); false when there is no
// toolkit to ask. Defined in QtMenus.cpp.
bool GetSystemMenuFont(String& Name, int& Height);
