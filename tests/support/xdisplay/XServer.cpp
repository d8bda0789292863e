#include "tests/support/xdisplay/XServer.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace testing_x::server {

namespace {

// A connection of its own: the toolkit's connection is not ours to use.
Display* Connection() {
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

void Flush() {
    if (Display* d = Connection()) XSync(d, False);
}

}  // namespace

bool Open() { return Connection() != nullptr; }

void Motion(int X, int Y) {
    if (Display* d = Connection()) XTestFakeMotionEvent(d, -1, X, Y, CurrentTime);
    Flush();
}

void Button(int Button, bool Down) {
    if (Display* d = Connection()) XTestFakeButtonEvent(d, static_cast<unsigned>(Button), Down, CurrentTime);
    Flush();
}

void Key(const char* KeysymName, bool Shift) {
    Display* d = Connection();
    if (!d) return;
    KeyCode code = XKeysymToKeycode(d, XStringToKeysym(KeysymName));
    KeyCode shift = XKeysymToKeycode(d, XStringToKeysym("Shift_L"));
    if (Shift) XTestFakeKeyEvent(d, shift, True, CurrentTime);
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    if (Shift) XTestFakeKeyEvent(d, shift, False, CurrentTime);
    Flush();
}

bool RootArea(int X, int Y, int Width, int Height, unsigned char* Rgb) {
    Display* d = Connection();
    if (!d || Width <= 0 || Height <= 0) return false;
    XImage* image = XGetImage(d, DefaultRootWindow(d), X, Y, static_cast<unsigned>(Width),
                              static_cast<unsigned>(Height), AllPlanes, ZPixmap);
    if (!image) return false;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            unsigned long pixel = XGetPixel(image, x, y);
            unsigned char* out = Rgb + (static_cast<long>(y) * Width + x) * 3;
            out[0] = (pixel >> 16) & 0xFF;
            out[1] = (pixel >> 8) & 0xFF;
            out[2] = pixel & 0xFF;
        }
    XDestroyImage(image);
    return true;
}

long RootPixel(int X, int Y) {
    unsigned char rgb[3];
    if (!RootArea(X, Y, 1, 1, rgb)) return -1;
    return (static_cast<long>(rgb[0]) << 16) | (rgb[1] << 8) | rgb[2];
}

}  // namespace testing_x::server
