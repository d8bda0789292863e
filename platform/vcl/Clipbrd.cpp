#include "platform/vcl/Clipbrd.h"

// The toolkit side (QtClipbrd.cpp).
String QtClipboard_GetText();
void QtClipboard_SetText(const String& Text);

String TClipboard::GetAsText() const { return QtClipboard_GetText(); }

void TClipboard::SetAsText(const String& Value) { QtClipboard_SetText(Value); }

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}
