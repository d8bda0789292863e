// TApplicationEvents: a component that sees the application's messages. Every key message our
// windows receive (WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR, WM_SYSCHAR, ...) is offered to each
// object's OnMessage before the focused control gets it; Handled stops it there.
//
//   auto* Events = new TApplicationEvents(Form);
//   Events->OnMessage = [](MSG& Msg, bool& Handled) {
//       if (Msg.message == WM_SYSCHAR && Msg.wParam == ' ') Handled = true;
//   };
#pragma once

#include <functional>

#include "platform/vcl/Component.h"
#include "platform/win32/Windows.h"

using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;

class TApplicationEvents : public TComponent {
    VCL_CLASS(TApplicationEvents)
    explicit TApplicationEvents(TComponent* AOwner);
    ~TApplicationEvents() override;

    TMessageEvent OnMessage;
};

// Offers Msg to every TApplicationEvents in creation order until one handles it; true then.
bool PreviewApplicationMessage(MSG& Msg);
