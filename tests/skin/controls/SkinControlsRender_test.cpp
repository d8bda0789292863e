// Renders of the group boxes, check and radio groups, track bars and scroll bars in each look,
// for a person to look at (build/skin_controls/GroupsAndBars_<Look>.png).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/PngWriter.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIRadioGroup.h"
#include "skin/controls/SUIScrollBar.h"
#include "skin/controls/SUITrackBar.h"
#include "tests/support/SkinRender.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

template <class T>
T* Place(TForm* Form, TWinControl* Parent, int L, int T_, int W, int H) {
    auto* c = new T(Form);
    c->SetParent(Parent);
    c->SetBounds(L, T_, W, H);
    return c;
}

// Bars take their thickness from their pictures once they know their direction.
template <class T>
T* PlaceVertical(TForm* Form, TWinControl* Parent, int L, int T_, int H) {
    auto* c = new T(Form);
    c->SetParent(Parent);
    c->SetOrientation(suiVertical);
    c->SetBounds(L, T_, 16, H);
    return c;
}

TEST(SkinControlsRender, GroupsAndBarsInEachLookToPng) {
    const std::filesystem::path folder = SkinRenderFolder("skin_controls");
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TForm form(nullptr);
        DressRenderForm(form, look, 480, 300);

        auto* group = Place<TsuiGroupBox>(&form, &form, 10, 10, 220, 120);
        group->SetUIStyle(look);
        group->SetCaption(" Output Property ");
        auto* track = Place<TsuiTrackBar>(&form, group, 10, 30, 190, 0);
        track->SetUIStyle(look);
        track->SetMax(20);
        track->SetFrequency(2);
        track->SetPosition(7);
        auto* hbar = Place<TsuiScrollBar>(&form, group, 10, 80, 190, 16);
        hbar->SetUIStyle(look);
        hbar->SetPageSize(25);
        hbar->SetPosition(40);

        auto* vtrack = PlaceVertical<TsuiTrackBar>(&form, &form, 240, 10, 150);
        vtrack->SetUIStyle(look);
        vtrack->SetPosition(3);
        auto* vbar = PlaceVertical<TsuiScrollBar>(&form, &form, 290, 10, 150);
        vbar->SetUIStyle(look);
        vbar->SetPageSize(30);
        vbar->SetPosition(70);

        auto* radios = Place<TsuiRadioGroup>(&form, &form, 10, 150, 220, 110);
        radios->SetCaption(" Video format ");
        for (const char* s : {"NTSC", "PAL", "SECAM", "Auto", "Other"}) radios->GetItems()->Add(s);
        radios->SetColumns(2);
        radios->SetUIStyle(look);
        radios->SetItemIndex(1);
        auto* checks = Place<TsuiCheckGroup>(&form, &form, 320, 10, 150, 110);
        checks->SetCaption(" Options ");
        for (const char* s : {"Subtitles", "Menus", "Chapters"}) checks->GetItems()->Add(s);
        checks->SetUIStyle(look);
        checks->SetChecked(0, true);
        checks->SetItemEnabled(2, false);

        TBitmap shot;
        Snapshot(&form, &shot);
        const int lineY = group->GetTop() + std::abs(group->GetFont()->GetHeight()) / 2 + 1;
        EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(group->GetLeft(), lineY)), group->GetBorderColor());
        std::filesystem::path file = folder / (String("GroupsAndBars_") + LookName(look) + ".png");
        SaveBitmapToPng(shot, file.string());
        EXPECT_GT(std::filesystem::file_size(file), 0u);
    }
}

}  // namespace
