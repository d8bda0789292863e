#include "skin/controls/SUIComboBox.h"

#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Resources.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class SkinComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 200);
        form->SetColor(clWhite);
        combo = new TsuiComboBox(form);
        combo->SetParent(form);
        combo->SetBounds(10, 10, 120, 22);
        combo->SetStyle(csDropDownList);
        for (const char* s : {"a", "b"}) combo->GetItems()->Add(s);
        form->Show();
    }
    void TearDown() override { delete form; }
    // The arrow's tip row and column for the combo's button.
    TPoint ArrowOrigin() const { return SUIComboArrowOrigin(combo->ButtonRect()); }
    TForm* form = nullptr;
    TsuiComboBox* combo = nullptr;
};

TEST(SUIComboArrowOriginTable, CentresXAndMeasuresYFromTheTop) {
    EXPECT_EQ(SUIComboArrowOrigin(TRect{101, 2, 118, 20}), (TPoint{106, 9}));
    EXPECT_EQ(SUIComboArrowOrigin(TRect{0, 0, 0, 0}), (TPoint{-3, 0}));
    // R.Top is not added: a button lower down keeps the same y.
    EXPECT_EQ(SUIComboArrowOrigin(TRect{101, 10, 118, 28}).y, 9);
}

TEST_F(SkinComboTest, DeepBlueDrawsTheButtonColourTheSeparatorAndTheArrow) {
    combo->SetUIStyle(DeepBlue);
    combo->SetButtonColor(0xE8E8E8);
    TRect r = combo->ButtonRect();
    TPoint a = ArrowOrigin();
    EXPECT_EQ(PixelAt(combo, 0, 5), combo->GetBorderColor());          // outer frame
    EXPECT_EQ(PixelAt(combo, 1, 5), ColorToRGB(combo->GetColor()));   // inner frame
    EXPECT_EQ(PixelAt(combo, r.Left, r.Top + 3), combo->GetBorderColor());  // separator
    EXPECT_EQ(PixelAt(combo, r.Right - 2, r.Bottom - 2), 0xE8E8E8);
    EXPECT_EQ(PixelAt(combo, a.x + 3, a.y + 1), clBlack);              // arrow body
    EXPECT_EQ(PixelAt(combo, a.x + 3, a.y + 4), 0xE8E8E8);             // below its tip
}

TEST_F(SkinComboTest, DisabledArrowIsGreyWithAWhiteShadow) {
    combo->SetUIStyle(DeepBlue);
    combo->SetEnabled(false);
    TPoint a = ArrowOrigin();
    EXPECT_EQ(PixelAt(combo, a.x + 3, a.y + 1), 0x808080);
    EXPECT_EQ(PixelAt(combo, a.x + 7, a.y + 1), clWhite);
    combo->SetEnabled(true);
    EXPECT_EQ(PixelAt(combo, a.x + 3, a.y + 1), clBlack);
}

TEST_F(SkinComboTest, UIStyleResetsArrowAndButtonColours) {
    combo->SetArrowColor(clRed);
    combo->SetButtonColor(clGreen);
    combo->SetUIStyle(Protein);
    EXPECT_EQ(combo->GetArrowColor(), clBlack);
    EXPECT_EQ(combo->GetButtonColor(), GetInsideThemeColor(Protein, 15));
    EXPECT_EQ(combo->GetBorderColor(), GetInsideThemeColor(Protein, 25));
}

TEST_F(SkinComboTest, WinXPShowsItsPictureWithoutADrawnArrowAndMacOSWithIt) {
    combo->SetUIStyle(WinXP);
    ASSERT_NE(combo->ButtonPicture(), nullptr);
    TPoint a = ArrowOrigin();
    EXPECT_NE(PixelAt(combo, a.x + 3, a.y + 1), clBlack);
    combo->SetUIStyle(MacOS);
    ASSERT_NE(combo->ButtonPicture(), nullptr);
    EXPECT_EQ(PixelAt(combo, a.x + 3, a.y + 1), clBlack);
}

TEST_F(SkinComboTest, AMissingButtonPictureDrawsThePlainFace) {
    const Byte* data = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(Resources_Find("MACOS_COMBOBOX_BUTTON", "BITMAP", data, size));
    std::vector<Byte> saved(data, data + size);
    ASSERT_TRUE(Resources_Unregister("MACOS_COMBOBOX_BUTTON", "BITMAP"));
    combo->SetUIStyle(MacOS);
    EXPECT_EQ(combo->ButtonPicture(), nullptr);
    TRect r = combo->ButtonRect();
    EXPECT_NO_THROW(PixelAt(combo, 1, 1));
    EXPECT_EQ(PixelAt(combo, r.Right - 2, r.Bottom - 2), combo->GetButtonColor());
    static std::vector<Byte> keep;
    keep = saved;
    Resources_Register("MACOS_COMBOBOX_BUTTON", "BITMAP", keep.data(), keep.size());
}

TEST_F(SkinComboTest, SimpleStyleKeepsTheStandardLook) {
    combo->SetUIStyle(DeepBlue);
    combo->SetStyle(csSimple);
    EXPECT_NE(PixelAt(combo, 0, 5), combo->GetBorderColor());
}

TEST_F(SkinComboTest, DroppedListWearsTheBorderColourAndClosingRepaintsTheParent) {
    combo->SetUIStyle(DeepBlue);
    int closeUps = 0;
    combo->OnCloseUp = [&](TObject*) { ++closeUps; };
    combo->SetDroppedDown(true);
    PixelAt(combo, 1, 1);  // a paint while dropped
    TWinControl* list = combo->DropDownWindow();
    ASSERT_NE(list, nullptr);
    TBitmap shot;
    Snapshot(list, &shot);
    EXPECT_EQ(shot.GetPixelColor(0, 0), combo->GetBorderColor());
    combo->SetDroppedDown(false);
    EXPECT_EQ(closeUps, 1);
}

// Closing the list repaints the parent (the frame drawn around the dropped list goes away); the
// drive and filter combos do that without the inherited close-up, so OnCloseUp stays silent,
// while the plain combo box still fires it.
TEST(SkinDriveAndFilterCombos, CloseUpRepaintsTheParentWithoutOnCloseUp) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 300, 200);
    auto* drive = new TsuiDriveComboBox(&form);
    drive->SetParent(&form);
    auto* filter = new TsuiFilterComboBox(&form);
    filter->SetParent(&form);
    auto* plain = new TsuiComboBox(&form);
    plain->SetParent(&form);
    plain->GetItems()->Add("a");
    form.Show();
    int formPaints = 0;
    form.OnPaint = [&](TObject*) { ++formPaints; };
    EXPECT_EQ(filter->GetItemHeight(), 15);
    const struct { TCustomComboBox* combo; int closeUps; } cases[] = {{drive, 0}, {filter, 0}, {plain, 1}};
    for (const auto& c : cases) {
        int closeUps = 0;
        c.combo->OnCloseUp = [&](TObject*) { ++closeUps; };
        c.combo->Perform(CB_SHOWDROPDOWN, 1, 0);
        EXPECT_NE(c.combo->Perform(CB_GETDROPPEDSTATE, 0, 0), 0);
        RunFor(20);
        formPaints = 0;
        c.combo->Perform(CB_SHOWDROPDOWN, 0, 0);
        RunFor(20);
        EXPECT_EQ(closeUps, c.closeUps) << c.combo->ClassName();
        EXPECT_GT(formPaints, 0) << c.combo->ClassName() << ": the parent repaints";
    }
}

}  // namespace
