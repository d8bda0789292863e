// The toolkit side of synthetic input: builds the toolkit's own mouse and key events and
// delivers them to a control's widget.
#pragma once

#include "platform/vcl/SyntheticInput.h"

class TQtWidgetBridge;

// Delivers one mouse event at ClientPos (ScreenPos on the screen) to Bridge's widget.
void QtSendSyntheticMouse(TQtWidgetBridge* Bridge, TSyntheticMouse Kind, TPoint ClientPos, TPoint ScreenPos,
                          TMouseButton Button, TShiftState Held);
// Delivers a key press, and the release when Release is set, to Bridge's widget.
void QtSendSyntheticKey(TQtWidgetBridge* Bridge, Word Key, TShiftState Shift, const String& Text, bool Release);
// Delivers Text as the input method's composed text, to the widget that has the keyboard.
void QtSendSyntheticComposedText(TQtWidgetBridge* Bridge, const String& Text);
// Reads back the screen's pixels of Area into Out.
bool QtGrabScreen(const TRect& Area, TBitmap& Out);
