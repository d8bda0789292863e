#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::PixelAt;

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 200);
        form->SetColor(clWhite);
        label = new TLabel(form);
        label->SetParent(form);
        label->GetFont()->SetColor(clBlack);
        form->Show();
    }
    void TearDown() override { delete form; }

    // The size DrawText gives a caption in the label's font.
    TSize Measured(const String& text, UINT extra = 0, int width = 0) {
        TCanvas c;
        c.SetFont(label->GetFont());
        TRect r = Rect(0, 0, width, 0);
        c.DrawText(text, r, DT_CALCRECT | DT_EXPANDTABS | extra);
        return {r.Right, r.Bottom};
    }

    // Columns and rows holding pixels of a colour, within the label.
    struct Extent {
        int minX = 100000, maxX = -1, minY = 100000, maxY = -1;
    };
    Extent Find(COLORREF colour) {
        TBitmap shot;
        testing_vcl::Snapshot(form, &shot);
        Extent e;
        for (int y = 0; y < label->GetHeight(); ++y)
            for (int x = 0; x < label->GetWidth(); ++x)
                if (shot.GetPixelColor(label->GetLeft() + x, label->GetTop() + y) == colour) {
                    e.minX = std::min(e.minX, x);
                    e.maxX = std::max(e.maxX, x);
                    e.minY = std::min(e.minY, y);
                    e.maxY = std::max(e.maxY, y);
                }
        return e;
    }

    TForm* form = nullptr;
    TLabel* label = nullptr;
};

TEST_F(LabelTest, AutoSizeFitsTheTextAndKeepsLeftAndTop) {
    EXPECT_TRUE(label->GetAutoSize());
    label->SetBounds(12, 34, 200, 100);
    label->SetCaption("Output folder:");
    TSize want = Measured("Output folder:");
    EXPECT_EQ(label->GetBoundsRect(), Bounds(12, 34, want.cx, want.cy));
    label->GetFont()->SetHeight(-20);
    TSize bigger = Measured("Output folder:");
    EXPECT_GT(bigger.cx, want.cx);
    EXPECT_EQ(label->GetWidth(), bigger.cx);
    EXPECT_EQ(label->GetHeight(), bigger.cy);
    EXPECT_EQ(label->GetLeft(), 12);
}

TEST_F(LabelTest, AutoSizeOfAnEmptyCaptionIsOneLineHigh) {
    label->SetCaption("x");
    label->SetCaption("");
    EXPECT_EQ(label->GetHeight(), Measured(" ").cy);
    EXPECT_GT(label->GetHeight(), 0);
}

TEST_F(LabelTest, AccelCharsAreNotMeasuredUnlessShowAccelCharIsOff) {
    label->SetCaption("&Folder");
    EXPECT_EQ(label->GetWidth(), Measured("Folder").cx);
    label->SetShowAccelChar(false);
    EXPECT_EQ(label->GetWidth(), Measured("&Folder", DT_NOPREFIX).cx);
    EXPECT_GT(label->GetWidth(), Measured("Folder").cx);
}

TEST_F(LabelTest, WordWrapKeepsTheWidthAndGrowsDown) {
    const String text = "a caption long enough to need several lines in a narrow label";
    label->SetAutoSize(false);
    label->SetBounds(5, 5, 80, 10);
    label->SetWordWrap(true);
    label->SetCaption(text);
    label->SetAutoSize(true);
    EXPECT_EQ(label->GetWidth(), 80);
    EXPECT_EQ(label->GetHeight(), Measured(text, DT_WORDBREAK, 80).cy);
    EXPECT_GT(label->GetHeight(), 2 * Measured("a").cy);
}

TEST_F(LabelTest, RightJustifiedAutoSizeKeepsTheRightEdge) {
    label->SetAutoSize(false);
    label->SetAlignment(taRightJustify);
    label->SetBounds(100, 10, 120, 20);
    label->SetCaption("Right");
    label->SetAutoSize(true);
    EXPECT_EQ(label->GetLeft() + label->GetWidth(), 220);
    EXPECT_EQ(label->GetWidth(), Measured("Right").cx);
}

TEST_F(LabelTest, AlignmentPlacesTheTextAcrossAFixedWidth) {
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 200, 20);
    label->SetCaption("WWW");
    int textWidth = Measured("WWW").cx;
    struct Case {
        TAlignment alignment;
        int expectedCentre;
    };
    const Case cases[] = {{taLeftJustify, textWidth / 2}, {taCenter, 100}, {taRightJustify, 200 - textWidth / 2}};
    for (const Case& c : cases) {
        label->SetAlignment(c.alignment);
        Extent e = Find(ColorToRGB(clBlack));
        ASSERT_GE(e.maxX, 0);
        EXPECT_NEAR((e.minX + e.maxX) / 2.0, c.expectedCentre, 3) << c.alignment;
    }
}

TEST_F(LabelTest, LayoutPlacesTheTextVertically) {
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 100, 90);
    label->SetCaption("Wg");
    label->SetLayout(tlTop);
    Extent top = Find(ColorToRGB(clBlack));
    label->SetLayout(tlCenter);
    Extent centre = Find(ColorToRGB(clBlack));
    label->SetLayout(tlBottom);
    Extent bottom = Find(ColorToRGB(clBlack));
    ASSERT_GE(top.maxY, 0);
    int lineHeight = Measured("Wg").cy;
    EXPECT_LT(top.maxY, lineHeight);
    EXPECT_EQ(centre.minY - top.minY, (90 - lineHeight) / 2);
    EXPECT_EQ(bottom.minY - top.minY, 90 - lineHeight);
}

TEST_F(LabelTest, OpaqueLabelsFillTheirColourTransparentOnesDont) {
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 50, 20);
    label->SetCaption("");
    label->SetColor(clYellow);
    EXPECT_FALSE(label->GetTransparent());
    EXPECT_EQ(PixelAt(label, 1, 1), ColorToRGB(clYellow));
    label->SetTransparent(true);
    EXPECT_EQ(PixelAt(label, 1, 1), ColorToRGB(clWhite));
}

TEST_F(LabelTest, ADisabledLabelDrawsEmbossedText) {
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 100, 30);
    label->SetCaption("WWW");
    label->SetColor(clYellow);  // neither highlight nor shadow
    Extent enabled = Find(ColorToRGB(clBlack));
    ASSERT_GE(enabled.maxX, 0);
    label->SetEnabled(false);
    Extent black = Find(ColorToRGB(clBlack));
    Extent highlight = Find(ColorToRGB(clBtnHighlight));
    Extent shadow = Find(ColorToRGB(clBtnShadow));
    EXPECT_EQ(black.maxX, -1);
    ASSERT_GE(shadow.maxX, 0);
    ASSERT_GE(highlight.maxX, 0);
    EXPECT_EQ(shadow.minX, enabled.minX);
    EXPECT_EQ(shadow.minY, enabled.minY);
    // The highlight copy shows one pixel further right and down than the shadow copy.
    EXPECT_EQ(highlight.maxX, shadow.maxX + 1);
    EXPECT_EQ(highlight.maxY, shadow.maxY + 1);
}

}  // namespace

namespace {

TEST_F(LabelTest, ItsAcceleratorFocusesTheFocusControlUntilThatIsFreed) {
    auto* target = new TPanel(form);
    target->SetParent(form);
    target->SetTabStop(true);
    label->SetCaption("Output &folder:");
    label->SetFocusControl(target);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'x'), 0);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'F'), 1);
    label->SetShowAccelChar(false);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'F'), 0);
    label->SetShowAccelChar(true);
    delete target;
    EXPECT_EQ(label->GetFocusControl(), nullptr);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, 'F'), 0);
}

}  // namespace
