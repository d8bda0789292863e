// Drawing steps the build-time artwork generators share.
#pragma once

#include <memory>

#include "platform/vcl/Graphics.h"

namespace artcanvas {

// A 24-bit picture filled with one colour.
inline std::unique_ptr<TBitmap> NewPicture(int w, int h, TColor fill) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(fill);
    c->FillRect(TRect{0, 0, w, h});
    return b;
}

// A filled rounded rectangle with a one-pixel edge.
inline void Box(TCanvas* c, int x1, int y1, int x2, int y2, TColor fill, TColor edge, int radius) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(fill);
    c->GetPen()->SetStyle(psSolid);
    c->GetPen()->SetColor(edge);
    c->GetPen()->SetWidth(1);
    c->RoundRect(x1, y1, x2, y2, radius, radius);
}

}  // namespace artcanvas
