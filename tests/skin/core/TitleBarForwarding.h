// The check shared by the two skinned frames: the title bar's flags and collections they
// publish are the bar's own.
#pragma once

#include <gtest/gtest.h>

#include "skin/core/SUIForm.h"

inline void ExpectTitleBarFlagsForwarded(TsuiTitleBarForwarders& Frame, TsuiTitleBar* Bar) {
    for (bool v : {true, false}) {
        Frame.SetTitleBarCustom(v);
        EXPECT_EQ(Bar->GetCustom(), v);
        EXPECT_EQ(Frame.GetTitleBarCustom(), v);
        Frame.SetTitleBarDrawAppIcon(v);
        EXPECT_EQ(Bar->GetDrawAppIcon(), v);
        EXPECT_EQ(Frame.GetTitleBarDrawAppIcon(), v);
    }
    EXPECT_EQ(Frame.GetTitleBarButtons(), Bar->GetButtons());
    EXPECT_EQ(Frame.GetTitleBarSections(), Bar->GetSections());
}
