// TClipboard: the desktop's clipboard, text only (what the edits cut, copy and paste).
#pragma once

#include "platform/vcl/System.h"

class TClipboard {
public:
    String GetAsText() const;
    void SetAsText(const String& Value);
    bool HasText() const { return !GetAsText().empty(); }
};

// The one clipboard object of the program.
TClipboard* Clipboard();
