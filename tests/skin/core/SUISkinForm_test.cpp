#include "skin/core/SUISkinForm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/WindowMove.h"
#include "skin/core/SUIButton.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

// A 200 x 100 picture: grey inside, a see-through clFuchsia border of 5 pixels.
std::unique_ptr<TBitmap> BorderedGlyph() {
    auto b = std::make_unique<TBitmap>(200, 100, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(clFuchsia);
    b->GetCanvas()->FillRect(Rect(0, 0, 200, 100));
    b->GetCanvas()->GetBrush()->SetColor(clGray);
    b->GetCanvas()->FillRect(Rect(5, 5, 195, 95));
    return b;
}

class TRecordingMove : public TWindowMoveService {
public:
    explicit TRecordingMove(std::vector<std::string>& Log) : m_log(Log) {}
    void StartMove(TCustomForm*) override { m_log.push_back("move"); }

private:
    std::vector<std::string>& m_log;
};

class SkinForm : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 320, 240);
    }
    void TearDown() override {
        SetWindowMoveService(nullptr);
        form.reset();
    }
    TsuiSkinForm* NewSkin() {
        auto* s = new TsuiSkinForm(form.get());
        s->SetParent(form.get());
        return s;
    }
    std::unique_ptr<TForm> form;
};

TEST_F(SkinForm, TakesOverItsForm) {
    TsuiSkinForm* skin = NewSkin();
    EXPECT_EQ(skin->GetForm(), form.get());
    EXPECT_EQ(form->GetBorderStyle(), bsNone);
    EXPECT_EQ(skin->GetTransparentColor(), clFuchsia);
    EXPECT_EQ(skin->GetWidth(), 200);
    EXPECT_EQ(skin->GetHeight(), 100);
}

TEST_F(SkinForm, RegionFromAGlyphWithASeeThroughBorder) {
    TsuiSkinForm* skin = NewSkin();
    skin->SetBounds(30, 30, 10, 10);
    int changes = 0;
    skin->OnRegionChanged = [&](TObject*) { ++changes; };
    auto glyph = BorderedGlyph();
    skin->SetGlyph(glyph.get());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form->GetClientWidth(), 200);
    EXPECT_EQ(form->GetClientHeight(), 100);
    EXPECT_EQ(skin->GetBoundsRect(), Rect(0, 0, 200, 100));

    HRGN got = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(form->GetHandle(), got), ERROR_REGION);
    HRGN inner = CreateRectRgn(5, 5, 195, 95);
    HRGN diff = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(diff, got, inner, RGN_XOR), NULLREGION) << "the region is exactly the inner 190 x 90";
    DeleteObject(got);
    DeleteObject(inner);
    DeleteObject(diff);

    // The same colour again still rebuilds the shape.
    skin->SetTransparentColor(clFuchsia);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(PixelAt(skin, 100, 50), clGray);
}

TEST_F(SkinForm, EmptyGlyphLeavesTheFormAlone) {
    TsuiSkinForm* skin = NewSkin();
    int changes = 0;
    skin->OnRegionChanged = [&](TObject*) { ++changes; };
    int cw = form->GetClientWidth();
    TBitmap empty;
    skin->SetGlyph(&empty);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(form->GetClientWidth(), cw);
    HRGN got = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(form->GetHandle(), got), ERROR_REGION);
    DeleteObject(got);
    // An empty skin form shows where it lies with a black frame.
    form->SetColor(clWhite);
    EXPECT_EQ(PixelAt(skin, 0, 0), clBlack);
    EXPECT_EQ(PixelAt(skin, 10, 10), clWhite);
}

TEST_F(SkinForm, AnyButtonMovesTheWindowAfterOnMouseDown) {
    std::vector<std::string> log;
    TRecordingMove move(log);
    SetWindowMoveService(&move);
    TsuiSkinForm* skin = NewSkin();
    auto glyph = BorderedGlyph();
    skin->SetGlyph(glyph.get());
    skin->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int, int) {
        log.push_back(b == mbRight ? "right down" : "left down");
    };
    form->Show();
    for (TMouseButton b : {mbRight, mbLeft}) {
        log.clear();
        MousePress(skin, 50, 50, b);
        EXPECT_EQ(log, (std::vector<std::string>{b == mbRight ? "right down" : "left down", "move"}));
        EXPECT_EQ(GetCaptureControl(), nullptr) << "the capture is let go before the move";
        MouseRelease(skin, 50, 50, b);
    }
}

TEST_F(SkinForm, DesignedFormKeepsItsBorder) {
    form->SetDesigning(true);
    TsuiSkinForm* skin = NewSkin();
    EXPECT_TRUE(skin->GetComponentState().Contains(csDesigning));
    EXPECT_EQ(form->GetBorderStyle(), bsSizeable);
    auto glyph = BorderedGlyph();
    skin->SetGlyph(glyph.get());
    EXPECT_EQ(form->GetClientWidth(), 200) << "the client area still follows the picture";
}

// The program's picture buttons see through to the skin's picture behind them.
TEST_F(SkinForm, SeeThroughButtonShowsTheSkin) {
    TsuiSkinForm* skin = NewSkin();
    auto glyph = BorderedGlyph();
    skin->SetGlyph(glyph.get());
    auto* button = new TsuiImageButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(20, 20, 30, 20);
    button->SetTransparent(true);
    TBitmap face(30, 20, pf24bit);  // white corners (the key colour) around a red face
    face.GetCanvas()->GetBrush()->SetColor(clWhite);
    face.GetCanvas()->FillRect(Rect(0, 0, 30, 20));
    face.GetCanvas()->GetBrush()->SetColor(clRed);
    face.GetCanvas()->FillRect(Rect(3, 3, 27, 17));
    TPicture pic;
    pic.SetBitmap(&face);
    button->SetPicNormal(&pic);
    EXPECT_EQ(PixelAt(button, 1, 1), clGray);
    EXPECT_EQ(PixelAt(button, 10, 10), clRed);
}

TEST(SkinFormOwner, NotAFormMeansNoForm) {
    TComponent owner(nullptr);
    auto* skin = new TsuiSkinForm(&owner);
    EXPECT_EQ(skin->GetForm(), nullptr);
    auto glyph = BorderedGlyph();
    skin->SetGlyph(glyph.get());  // kept, shapes nothing
    EXPECT_EQ(skin->GetGlyph()->GetWidth(), 200);
}

}  // namespace
