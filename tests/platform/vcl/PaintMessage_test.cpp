#include "platform/vcl/Controls.h"

#include <gtest/gtest.h>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "tests/support/TestHelpers.h"

namespace {

// A WM_PAINT on someone else's canvas paints the window's graphic children too, once.
TEST(PaintMessage, IncludesGraphicChildren) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 100, 60);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(50, 0, 50, 60);
    int formBoxPaints = 0;
    for (TWinControl* parent : {static_cast<TWinControl*>(&form), static_cast<TWinControl*>(panel)}) {
        auto* box = new TPaintBox(&form);
        box->SetParent(parent);
        box->SetBounds(parent == &form ? 5 : 10, 5, 10, 10);
        box->OnPaint = [box, parent, &form, &formBoxPaints](TObject*) {
            if (parent == &form) ++formBoxPaints;
            box->GetCanvas()->GetBrush()->SetColor(clRed);
            box->GetCanvas()->FillRect(Rect(0, 0, 10, 10));
        };
    }
    TBitmap shot(100, 60, pf32bit);
    form.Perform(WM_PAINT, reinterpret_cast<WPARAM>(shot.GetCanvas()), 0);
    EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(8, 8)), clRed);
    EXPECT_EQ(formBoxPaints, 1);

    TBitmap panelShot(50, 60, pf32bit);
    panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(panelShot.GetCanvas()), 0);
    EXPECT_EQ(static_cast<TColor>(panelShot.GetPixelColor(12, 8)), clRed);

    formBoxPaints = 0;
    TBitmap full;
    testing_vcl::Snapshot(&form, &full);
    EXPECT_EQ(formBoxPaints, 1) << "a full paint paints each graphic control once";
    EXPECT_EQ(static_cast<TColor>(full.GetPixelColor(62, 8)), clRed);
}

}  // namespace
