#include "platform/vcl/AppEvnts.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<TApplicationEvents*>& Listeners() {
    static std::vector<TApplicationEvents*> listeners;
    return listeners;
}

}  // namespace

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) { Listeners().push_back(this); }

TApplicationEvents::~TApplicationEvents() { std::erase(Listeners(), this); }

bool PreviewApplicationMessage(MSG& Msg) {
    // A copy: a handler may free a listener.
    std::vector<TApplicationEvents*> listeners = Listeners();
    for (TApplicationEvents* e : listeners) {
        if (std::find(Listeners().begin(), Listeners().end(), e) == Listeners().end()) continue;
        TMessageEvent handler = e->OnMessage;
        if (!handler) continue;
        bool handled = false;
        handler(Msg, handled);
        if (handled) return true;
    }
    return false;
}
