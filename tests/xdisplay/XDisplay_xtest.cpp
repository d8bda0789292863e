// The real-display harness itself: a click from the X server reaches a shown form's panel.
#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/ExtCtrls.h"
#include "tests/support/TestHelpers.h"
#include "tests/support/xdisplay/XInput.h"

TEST(XDisplay, AServerClickReachesAShownPanel) {
    if (!testing_x::OnRealDisplay()) GTEST_SKIP() << "no X display";
    TForm form(nullptr);
    form.SetBounds(100, 100, 300, 200);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(50, 50, 120, 40);
    int clicks = 0;
    panel->OnClick = [&](TObject*) { ++clicks; };
    form.Show();
    ASSERT_TRUE(testing_vcl::RunUntil([&] { return form.GetVisible(); }));
    testing_x::Settle(300);
    testing_x::ClickOn(panel);
    EXPECT_TRUE(testing_vcl::RunUntil([&] { return clicks == 1; }, 2000));
    TPoint centre = testing_x::ScreenPointOf(panel, 60, 20);
    EXPECT_NE(testing_x::ScreenPixel(centre.x, centre.y), clNone);
}
