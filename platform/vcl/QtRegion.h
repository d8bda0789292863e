// Window regions behind HRGN, on QRegion.
#pragma once

#include <QRegion>

#include "platform/win32/Windows.h"

bool IsRegion(HRGN Rgn);
const QRegion& RegionOf(HRGN Rgn);
// The toolkit clears a widget's mask when given an empty one; a window whose region is empty is
// masked with this single pixel outside it instead, so that it shows nothing.
QRegion EmptyWindowMask();
