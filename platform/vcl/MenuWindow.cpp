#include "platform/vcl/MenuWindow.h"

#include <map>

namespace {

// Lines are drawn one at a time on the user-interface thread; a map keeps nesting honest.
std::map<TCanvas*, TMenuWindow*>& Drawing() {
    static std::map<TCanvas*, TMenuWindow*> drawing;
    return drawing;
}

}  // namespace

TMenuWindow* MenuWindowFromCanvas(TCanvas* Canvas) {
    auto it = Drawing().find(Canvas);
    return it == Drawing().end() ? nullptr : it->second;
}

TMenuLineDrawing::TMenuLineDrawing(TCanvas* Canvas, TMenuWindow* Window) : m_canvas(Canvas) {
    if (Canvas != nullptr && Window != nullptr) Drawing()[Canvas] = Window;
}

TMenuLineDrawing::~TMenuLineDrawing() { Drawing().erase(m_canvas); }
