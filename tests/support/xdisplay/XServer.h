// The X server side of XInput, kept apart: Xlib's names (Screen, Time...) clash with the class
// library's, so no file includes both.
#pragma once

namespace testing_x::server {

bool Open();
void Motion(int X, int Y);
void Button(int Button, bool Down);
void Key(const char* KeysymName, bool Shift);
// 0x00RRGGBB of the root window's pixel, or -1.
long RootPixel(int X, int Y);
// Root window area as packed RGB rows; false when it cannot be read.
bool RootArea(int X, int Y, int Width, int Height, unsigned char* Rgb);

}  // namespace testing_x::server
