// Helpers for tests that drive windows headless: mouse, keys, the message loop, pixels.
#pragma once

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

namespace testing_vcl {

// Runs the message loop until Condition holds or TimeoutMs passes; returns Condition().
bool RunUntil(const std::function<bool()>& Condition, int TimeoutMs = 5000);
// Runs the message loop for about Ms milliseconds.
void RunFor(int Ms);

// Mouse input at a point in Control's client coordinates, delivered as the toolkit would:
// to the widget under the point (a graphic control's parent), with capture honoured.
void MouseMoveTo(TControl* Control, int X, int Y, TShiftState Held = {});
void MousePress(TControl* Control, int X, int Y, TMouseButton Button = mbLeft);
void MouseRelease(TControl* Control, int X, int Y, TMouseButton Button = mbLeft);
// Press and release at the control's centre (or at X, Y).
void Click(TControl* Control, TMouseButton Button = mbLeft);
void ClickAt(TControl* Control, int X, int Y, TMouseButton Button = mbLeft);
void DoubleClickAt(TControl* Control, int X, int Y);

// Key input to the focused control of Form (or to Form itself when nothing has the focus).
void PressKey(TCustomForm* Form, Word Key, TShiftState Shift = {}, const String& Text = "");
void TypeText(TCustomForm* Form, const String& Text);

// Renders a windowed control (and its children) as it would appear on screen.
void Snapshot(TWinControl* Control, TBitmap* Out);
// Snapshots Control to build/renders/<Folder>/<File> (a PNG, for a person to look at); the
// file's path.
std::filesystem::path SaveRender(TWinControl* Control, const std::string& Folder, const std::string& File);
// The colour of one pixel of a control, in its client coordinates (graphic controls included).
TColor PixelAt(TControl* Control, int X, int Y);

// What the screen shows of Form's window at X, Y (window coordinates, its frame's top-left is
// 0, 0); clNone while no shown window covers it.
TColor ShownPixel(TCustomForm* Form, int X, int Y);

// A new pf24bit bitmap filled with one colour; the caller owns it.
TBitmap* SolidBitmap(int Width, int Height, TColor Colour);

// Records which of the components it watches were destroyed (through free notification).
class TDeathWatch : public TComponent {
public:
    TDeathWatch() : TComponent(nullptr) {}
    void Watch(TComponent* C);
    std::set<TComponent*> gone;
    int watched = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
};

}  // namespace testing_vcl
