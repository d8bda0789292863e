#include "skin/core/SUIButton.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImgList.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

constexpr TColor Background = clWhite;
constexpr TColor NormalColour = clRed, OnColour = clLime, DownColour = clBlue, DisabledColour = clYellow;

void Fill(TPicture* Pic, TColor Colour, int W = 30, int H = 20) {
    TBitmap b(W, H, pf24bit);
    b.GetCanvas()->GetBrush()->SetColor(Colour);
    b.GetCanvas()->FillRect(Rect(0, 0, W, H));
    Pic->SetBitmap(&b);
}

class ButtonForm : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(50, 50, 300, 200);
    }
    void TearDown() override {
        MouseMoveTo(form.get(), 290, 190);  // leave whatever the mouse was over
        form.reset();
    }
    TsuiImageButton* NewImageButton(int Left = 10, int Top = 10) {
        auto* b = new TsuiImageButton(form.get());
        b->SetParent(form.get());
        b->SetBounds(Left, Top, 30, 20);
        b->SetColor(Background);
        return b;
    }
    std::unique_ptr<TForm> form;
};

// ---- the state table with fall-back pictures ----

enum class State { Normal, Over, Pressed, Disabled };

TEST_F(ButtonForm, StatePicturesFallBackToPicNormalOrNothing) {
    struct Case {
        const char* name;
        bool normal, on, down, disabled;
        State state;
        TColor expected;
    } cases[] = {
        {"all, normal", true, true, true, true, State::Normal, NormalColour},
        {"all, over", true, true, true, true, State::Over, OnColour},
        {"all, pressed", true, true, true, true, State::Pressed, DownColour},
        {"all, disabled", true, true, true, true, State::Disabled, DisabledColour},
        {"only normal, over", true, false, false, false, State::Over, NormalColour},
        {"only normal, pressed", true, false, false, false, State::Pressed, NormalColour},
        {"only normal, disabled", true, false, false, false, State::Disabled, NormalColour},
        {"none, normal", false, false, false, false, State::Normal, Background},
        {"only over, normal", false, true, false, false, State::Normal, Background},
        {"only over, pressed", false, true, false, false, State::Pressed, Background},
        {"only disabled, disabled", false, false, false, true, State::Disabled, DisabledColour},
    };
    form->Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TsuiImageButton* b = NewImageButton();
        if (c.normal) Fill(b->GetPicNormal(), NormalColour);
        if (c.on) Fill(b->GetPicMouseOn(), OnColour);
        if (c.down) Fill(b->GetPicMouseDown(), DownColour);
        if (c.disabled) Fill(b->GetPicDisabled(), DisabledColour);
        if (c.state == State::Over || c.state == State::Pressed) MouseMoveTo(b, 5, 5);
        if (c.state == State::Pressed) MousePress(b, 5, 5);
        if (c.state == State::Disabled) b->SetEnabled(false);
        EXPECT_EQ(PixelAt(b, 3, 3), c.expected);
        if (c.state == State::Pressed) MouseRelease(b, 5, 5);
        MouseMoveTo(form.get(), 290, 190);
        delete b;
    }
}

TEST_F(ButtonForm, StateFlagsFollowTheMouse) {
    form->Show();
    TsuiImageButton* b = NewImageButton();
    int enters = 0, exits = 0;
    b->OnMouseEnter = [&](TObject*) { ++enters; };
    b->OnMouseExit = [&](TObject*) { ++exits; };
    MouseMoveTo(b, 5, 5);
    EXPECT_TRUE(b->IsMouseOver());
    EXPECT_EQ(enters, 1);
    MousePress(b, 5, 5);
    EXPECT_TRUE(b->IsPressed());
    MouseRelease(b, 5, 5);
    EXPECT_FALSE(b->IsPressed());
    EXPECT_TRUE(b->IsMouseOver());
    MouseMoveTo(form.get(), 200, 150);
    EXPECT_FALSE(b->IsMouseOver());
    EXPECT_EQ(exits, 1);
}

// A state picture whose loading raises draws nothing: the background shows, not a white box.
class TFailingButton : public TsuiCustomButton {
public:
    using TsuiCustomButton::TsuiCustomButton;

protected:
    void PaintButtonNormal(TBitmap*) override { throw EResNotFound("Resource NOPE not found"); }
};

TEST_F(ButtonForm, APictureThatFailsToLoadDrawsNothing) {
    auto* b = new TFailingButton(form.get());
    b->SetParent(form.get());
    b->SetBounds(10, 10, 80, 30);
    b->SetColor(clYellow);
    b->SetCaption("Go");
    EXPECT_EQ(PixelAt(b, 2, 2), clYellow);
    EXPECT_EQ(PixelAt(b, 70, 25), clYellow);
}

TEST_F(ButtonForm, DisabledCaptionIsWhiteShadowUnderGrey) {
    TsuiImageButton* b = NewImageButton();  // no pictures: only the background and the caption
    b->SetBounds(10, 10, 80, 30);
    b->SetColor(clBlack);
    b->GetFont()->SetColor(clLime);
    b->SetCaption("MWM");
    auto count = [&](TColor c) {
        TBitmap shot;
        Snapshot(form.get(), &shot);
        int n = 0;
        for (int y = 10; y < 40; ++y)
            for (int x = 10; x < 90; ++x)
                if (static_cast<TColor>(shot.GetPixelColor(x, y)) == c) ++n;
        return n;
    };
    EXPECT_GT(count(clLime), 0);
    EXPECT_EQ(count(clWhite), 0);
    b->SetEnabled(false);
    EXPECT_EQ(count(clLime), 0);
    EXPECT_GT(count(clWhite), 0);
    EXPECT_GT(count(clGray), 0);
}

// ---- the repeat timer ----

TEST_F(ButtonForm, RepeatTimerTicksWhileHeldAndStopsOnRelease) {
    form->Show();
    TsuiImageButton* b = NewImageButton();
    b->SetMouseContinuouslyDownInterval(20);
    int ticks = 0;
    b->OnMouseContinuouslyDown = [&](TObject*) { ++ticks; };
    EXPECT_EQ(b->RepeatTimer(), nullptr);
    MouseMoveTo(b, 5, 5);
    MousePress(b, 5, 5);
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_EQ(b->RepeatTimer()->GetInterval(), 20u);
    EXPECT_EQ(ticks, 0) << "the first tick comes one interval after the press";
    EXPECT_TRUE(RunUntil([&] { return ticks >= 2; }));
    MouseRelease(b, 5, 5);
    EXPECT_EQ(b->RepeatTimer(), nullptr);
    int atRelease = ticks;
    RunFor(80);
    EXPECT_EQ(ticks, atRelease);
}

TEST_F(ButtonForm, RepeatTimerStopsWhenTheMouseLeaves) {
    form->Show();
    TsuiImageButton* b = NewImageButton();
    MouseMoveTo(b, 5, 5);
    MousePress(b, 5, 5);
    ASSERT_NE(b->RepeatTimer(), nullptr);
    MouseMoveTo(form.get(), 200, 150);
    EXPECT_EQ(b->RepeatTimer(), nullptr);
    EXPECT_FALSE(b->IsPressed());
    MouseRelease(form.get(), 200, 150);
}

TEST_F(ButtonForm, NegativeRepeatIntervalCountsAsZero) {
    form->Show();
    TsuiImageButton* b = NewImageButton();
    b->SetMouseContinuouslyDownInterval(-40);
    MouseMoveTo(b, 5, 5);
    MousePress(b, 5, 5);
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_EQ(b->RepeatTimer()->GetInterval(), 0u);
    MouseRelease(b, 5, 5);
}

TEST_F(ButtonForm, RightPressStartsNoRepeatTimer) {
    form->Show();
    TsuiImageButton* b = NewImageButton();
    MouseMoveTo(b, 5, 5);
    MousePress(b, 5, 5, mbRight);
    EXPECT_EQ(b->RepeatTimer(), nullptr);
    EXPECT_FALSE(b->IsPressed());
    MouseRelease(b, 5, 5, mbRight);
}

// ---- ModalResult ----

TEST_F(ButtonForm, ModalResultIsCopiedToTheModalForm) {
    TsuiImageButton* b = NewImageButton();
    b->SetModalResult(mrRetry);
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    ask.ModalActions.push_back([b](TCustomForm*) { Application->QueueCall([b] { Click(b); }); });
    EXPECT_EQ(form->ShowModal(), mrRetry);
    EXPECT_TRUE(ask.Failures.empty());
}

TEST_F(ButtonForm, ClickCopiesModalResultEvenWhenZero) {
    TsuiImageButton* b = NewImageButton();
    form->SetModalResult(mrOk);
    b->Click();
    EXPECT_EQ(form->GetModalResult(), mrNone);
    b->SetModalResult(mrYes);
    b->Click();
    EXPECT_EQ(form->GetModalResult(), mrYes);
}

// ---- Enter and Escape ----

TEST_F(ButtonForm, EnterAndEscapeRoutingWithShiftKeysVeto) {
    form->Show();
    auto* ok = new TsuiButton(form.get());
    ok->SetParent(form.get());
    ok->SetBounds(10, 10, 80, 27);
    ok->SetDefault(true);
    auto* cancel = new TsuiButton(form.get());
    cancel->SetParent(form.get());
    cancel->SetBounds(100, 10, 80, 27);
    cancel->SetCancel(true);
    auto* other = new TsuiCheckBox(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 60, 80, 20);
    int okClicks = 0, cancelClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    cancel->OnClick = [&](TObject*) { ++cancelClicks; };

    other->SetFocus();
    EXPECT_TRUE(ok->IsActiveDefault());
    EXPECT_FALSE(cancel->IsActiveDefault());

    struct Case {
        Word key;
        TShiftState shift;
        int ok, cancel;
    } cases[] = {
        {VK_RETURN, {}, 1, 0},         {VK_ESCAPE, {}, 0, 1},         {VK_RETURN, {ssShift}, 0, 0},
        {VK_RETURN, {ssCtrl}, 0, 0},   {VK_RETURN, {ssAlt}, 0, 0},    {VK_ESCAPE, {ssShift}, 0, 0},
        {VK_ESCAPE, {ssCtrl}, 0, 0},   {VK_ESCAPE, {ssAlt}, 0, 0},
    };
    for (const Case& c : cases) {
        okClicks = cancelClicks = 0;
        PressKey(form.get(), c.key, c.shift);
        EXPECT_EQ(okClicks, c.ok) << "key " << c.key;
        EXPECT_EQ(cancelClicks, c.cancel) << "key " << c.key;
    }

    // The focused TsuiButton takes Enter, not the default one.
    cancel->SetFocus();
    EXPECT_TRUE(cancel->IsActiveDefault());
    EXPECT_FALSE(ok->IsActiveDefault());
    okClicks = cancelClicks = 0;
    PressKey(form.get(), VK_RETURN);
    EXPECT_EQ(okClicks, 0);
    EXPECT_EQ(cancelClicks, 1);

    // Focus back on a control that is no TsuiButton: the default is active again.
    other->SetFocus();
    EXPECT_TRUE(ok->IsActiveDefault());
}

TEST_F(ButtonForm, AcceleratorClicksTheButton) {
    form->Show();
    auto* b = new TsuiButton(form.get());
    b->SetParent(form.get());
    b->SetCaption("&Burn");
    auto* other = new TsuiCheckBox(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 60, 80, 20);
    other->SetCaption("Nothing");
    other->SetFocus();
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    PressKey(form.get(), 'B', {ssAlt});
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    PressKey(form.get(), 'B', {ssAlt});
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonForm, SpaceOnTheFocusedButtonPressesAndClicks) {
    form->Show();
    TsuiImageButton* b = NewImageButton();
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetFocus();
    PressKey(form.get(), VK_SPACE, {}, " ");
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(b->IsPressed());
}

// ---- glyph layout ----

TEST(SUIGlyphOriginsTable, FourLayouts) {
    // An 80 x 27 button, a 30 x 13 caption, a 16 x 16 glyph, spacing 4.
    struct Case {
        TButtonLayout layout;
        TsuiGlyphOrigins expected;
    } cases[] = {
        {blGlyphLeft, {{15, 5}, {35, 7}}},
        {blGlyphRight, {{49, 5}, {15, 7}}},
        {blGlyphTop, {{32, -3}, {25, 17}}},
        {blGlyphBottom, {{32, 14}, {25, -3}}},
    };
    for (const Case& c : cases) {
        TsuiGlyphOrigins got = SUIGlyphOrigins(c.layout, 80, 27, 30, 13, 16, 16, 4);
        EXPECT_EQ(got.Glyph, c.expected.Glyph) << "layout " << c.layout;
        EXPECT_EQ(got.Caption, c.expected.Caption) << "layout " << c.layout;
    }
}

TEST_F(ButtonForm, TwoFrameGlyphDrawsTheSecondFrameWhenDisabled) {
    auto* b = new TsuiButton(form.get());
    b->SetParent(form.get());
    b->SetBounds(0, 0, 80, 27);
    TBitmap glyph(32, 16, pf24bit);
    glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);  // the mask colour (top-left)
    glyph.GetCanvas()->FillRect(Rect(0, 0, 32, 16));
    glyph.GetCanvas()->GetBrush()->SetColor(clRed);
    glyph.GetCanvas()->FillRect(Rect(2, 2, 14, 14));
    glyph.GetCanvas()->GetBrush()->SetColor(clBlue);
    glyph.GetCanvas()->FillRect(Rect(18, 2, 30, 14));
    b->SetGlyph(&glyph);
    TsuiGlyphOrigins o = SUIGlyphOrigins(blGlyphLeft, 80, 27, 0, 0, 16, 16, 4);  // no caption
    int cx = o.Glyph.x + 8, cy = o.Glyph.y + 8;
    EXPECT_EQ(PixelAt(b, cx, cy), clRed);
    b->SetEnabled(false);
    EXPECT_EQ(PixelAt(b, cx, cy), clBlue);
}

TEST_F(ButtonForm, ArrowButtonTriangle) {
    // On 15 x 10 the triangle spans (4, 3) to (10, 6): down has its flat edge on row 3 and its tip
    // at (7, 6); up is the mirror image. The corners of the flat edge are black, the corners
    // opposite them, beside the tip, are not.
    struct Case {
        TsuiArrowButtonType arrow;
        int edgeRow, tipRow;
    };
    for (const Case c : {Case{suiDown, 3, 6}, Case{suiUp, 6, 3}}) {
        SCOPED_TRACE(c.arrow == suiDown ? "down" : "up");
        auto* b = new TsuiArrowButton(form.get());
        b->SetParent(form.get());
        b->SetBounds(0, 0, 15, 10);
        b->SetArrow(c.arrow);
        EXPECT_EQ(PixelAt(b, 4, c.edgeRow), clBlack);
        EXPECT_EQ(PixelAt(b, 10, c.edgeRow), clBlack);
        EXPECT_EQ(PixelAt(b, 7, c.edgeRow), clBlack);
        EXPECT_EQ(PixelAt(b, 7, c.tipRow), clBlack);
        EXPECT_NE(PixelAt(b, 4, c.tipRow), clBlack);
        EXPECT_NE(PixelAt(b, 10, c.tipRow), clBlack);
        delete b;
    }
}

TEST_F(ButtonForm, ImageButtonAutoSizeTakesPicNormalsSize) {
    TsuiImageButton* b = NewImageButton();
    b->SetAutoSize(true);
    TPicture pic;
    Fill(&pic, clRed, 41, 17);
    b->SetPicNormal(&pic);
    EXPECT_EQ(b->GetWidth(), 41);
    EXPECT_EQ(b->GetHeight(), 17);
}

TEST_F(ButtonForm, ControlButtonWithoutFramesDrawsNothing) {
    auto* b = new TsuiControlButton(form.get());
    b->SetParent(form.get());
    b->SetBounds(0, 0, 20, 20);
    b->SetColor(clAqua);
    b->SetThemeID(SUI_THEME_BUTTON_IMAGE);  // PicCount 0: no frame to take
    EXPECT_EQ(PixelAt(b, 5, 5), clAqua);
}

TEST_F(ButtonForm, SpeedButtonFramesItsGlyphWhileHovered) {
    form->Show();
    auto* b = new TsuiToolBarSpeedButton(form.get());
    b->SetParent(form.get());
    b->SetLeft(100);
    b->SetTop(100);
    b->SetColor(clSilver);
    EXPECT_EQ(b->GetWidth(), 18);
    TBitmap glyph(16, 16, pf24bit);
    glyph.GetCanvas()->GetBrush()->SetColor(clRed);
    glyph.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
    b->SetGlyph(&glyph);
    EXPECT_EQ(PixelAt(b, 0, 0), clSilver);
    MouseMoveTo(b, 9, 9);
    EXPECT_TRUE(b->IsMouseOver());
    EXPECT_EQ(PixelAt(b, 0, 0), clBlack);
    MouseMoveTo(form.get(), 250, 180);
    EXPECT_EQ(PixelAt(b, 0, 0), clSilver);
}

}  // namespace

namespace {

// ---- actions ----

std::unique_ptr<TBitmap> Solid(int W, int H, TColor Colour) {
    auto b = std::make_unique<TBitmap>(W, H, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(Colour);
    b->GetCanvas()->FillRect(Rect(0, 0, W, H));
    return b;
}

// A button given an action takes its caption (and keeps following it), runs it on a click, and
// a glyph-less TsuiButton takes the action's picture from the list's images.
TEST_F(ButtonForm, AnActionGivesCaptionStateAndPicture) {
    TImageList images(form.get());
    images.SetWidth(16);
    images.SetHeight(16);
    for (TColor c : {clRed, clLime, clBlue}) images.Add(Solid(16, 16, c).get(), nullptr);
    TCustomActionList list(form.get());
    list.SetImages(&images);
    TCustomAction save(form.get());
    save.SetActionList(&list);
    save.SetCaption("&Save");
    save.SetImageIndex(2);
    int runs = 0;
    save.OnExecute = [&](TObject*) { ++runs; };

    auto* button = new TsuiButton(form.get());
    button->SetParent(form.get());
    button->SetAction(&save);
    EXPECT_EQ(button->GetCaption(), "&Save");
    EXPECT_EQ(button->GetText(), "&Save");
    ASSERT_FALSE(button->GetGlyph()->GetEmpty());
    EXPECT_EQ(button->GetGlyph()->GetWidth(), 16);
    EXPECT_EQ(button->GetGlyph()->GetPixelColor(8, 8), static_cast<COLORREF>(clBlue));

    save.SetCaption("Save &as");
    save.SetEnabled(false);
    EXPECT_EQ(button->GetCaption(), "Save &as");
    EXPECT_FALSE(button->GetEnabled());
    save.SetEnabled(true);
    save.SetImageIndex(0);
    EXPECT_EQ(button->GetGlyph()->GetPixelColor(8, 8), static_cast<COLORREF>(clBlue)) << "a glyph is kept once it has one";

    form->Show();
    button->Click();
    EXPECT_EQ(runs, 1);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->Click();
    EXPECT_EQ(runs, 1) << "its own OnClick comes first";
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonForm, AnActionWithoutAUsablePictureLeavesTheGlyphAndAllLinksUnwind) {
    TImageList images(form.get());
    images.SetWidth(16);
    images.SetHeight(16);
    images.Add(Solid(16, 16, clRed).get(), nullptr);
    const struct {
        bool inList;
        bool withImages;
        int index;
    } cases[] = {{false, true, 0}, {true, false, 0}, {true, true, -1}, {true, true, 1}};
    for (const auto& c : cases) {
        TCustomActionList list(form.get());
        if (c.withImages) list.SetImages(&images);
        TCustomAction action(form.get());
        if (c.inList) action.SetActionList(&list);
        action.SetImageIndex(c.index);
        auto* button = new TsuiButton(form.get());
        button->SetAction(&action);
        EXPECT_TRUE(button->GetGlyph()->GetEmpty()) << c.inList << c.withImages << c.index;
        delete button;
        EXPECT_EQ(action.ClientCount(), 0) << "a freed button leaves the action";
    }
    // The image button shows no glyph; it still takes the caption. A freed action is forgotten.
    auto* image = NewImageButton();
    {
        TCustomAction action(form.get());
        action.SetCaption("Go");
        image->SetAction(&action);
        EXPECT_EQ(image->GetCaption(), "Go");
        EXPECT_EQ(image->GetAction(), &action);
    }
    EXPECT_EQ(image->GetAction(), nullptr);
    image->Click();  // runs nothing, raises nothing
}

}  // namespace
