// Window regions behind HRGN, on QRegion.
#pragma once

#include <QRegion>

#include "platform/win32/Windows.h"

bool IsRegion(HRGN Rgn);
const QRegion& RegionOf(HRGN Rgn);
