#include "platform/vcl/SyntheticInput.h"

#include "platform/vcl/QtSyntheticInput.h"

void SendSyntheticMouse(TWinControl* Target, TSyntheticMouse Kind, TPoint ClientPos, TMouseButton Button,
                        TShiftState Held) {
    // Input goes to a widget, so the control gets its window first, as a shown control has one.
    TQtWidgetBridge* bridge = Target->Bridge();
    QtSendSyntheticMouse(bridge, Kind, ClientPos, Target->ClientToScreen(ClientPos), Button, Held);
}

void SendSyntheticKey(TWinControl* Target, Word Key, TShiftState Shift, const String& Text, bool Release) {
    QtSendSyntheticKey(Target->Bridge(), Key, Shift, Text, Release);
}

void SendSyntheticComposedText(TWinControl* Target, const String& Text) { QtSendSyntheticComposedText(Target->Bridge(), Text); }

bool GrabScreen(const TRect& Area, TBitmap* Out) { return Out != nullptr && QtGrabScreen(Area, *Out); }
