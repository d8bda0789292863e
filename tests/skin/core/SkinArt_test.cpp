// The built-in artwork: present in the program, with the frame layout the controls expect, each
// state frame different from its siblings, and a contact sheet for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/PngWriter.h"
#include "platform/vcl/Resources.h"
#include "skin/core/SUIThemes.h"

namespace {

const TsuiUIStyle kLooks[] = {MacOS, WinXP, DeepBlue, Protein, BlueGlass};
const char* const kLookNames[] = {"MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};
constexpr TColor kSeeThrough = 0x797571;

bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if (a.GetPixelColor(x, y) != b.GetPixelColor(x, y)) return false;
    return true;
}

struct FrameCase {
    int key;
    int frames;
    int sizes[5][2];  // MacOS, WinXP, DeepBlue, Protein, BlueGlass
};

const FrameCase kFrameCases[] = {
    {SUI_THEME_BUTTON_IMAGE, 3, {{84, 23}, {18, 21}, {74, 21}, {74, 21}, {77, 27}}},
    {SUI_THEME_CHECKBOX_IMAGE, 4, {{15, 17}, {13, 13}, {13, 13}, {13, 13}, {13, 13}}},
    {SUI_THEME_RADIOBUTTON_IMAGE, 4, {{16, 17}, {13, 13}, {13, 13}, {13, 13}, {13, 13}}},
    {SUI_THEME_TITLEBAR_BUTTON_IMAGE, 18, {{17, 17}, {21, 21}, {19, 19}, {19, 19}, {19, 19}}},
    {SUI_THEME_SCROLLBAR_BUTTON_IMAGE, 6, {{16, 22}, {16, 17}, {16, 16}, {16, 16}, {17, 16}}},
    {SUI_THEME_SCROLLBAR_SLIDER_IMAGE, 3, {{11, 16}, {7, 16}, {7, 16}, {7, 16}, {7, 16}}},
};

}  // namespace

TEST(SkinArt, EveryPictureOfEveryLookIsInTheProgram) {
    for (TsuiUIStyle look : kLooks)
        for (int key = 1; key <= SUI_THEME_KEY_COUNT; ++key) {
            if (SUI_ITEM_TYPE[key] != TsuiType::Str) continue;
            const String name = SUIThemes::InsideThemeResourceName(look, key);
            TBitmap bmp;
            ASSERT_NO_THROW(bmp.LoadFromResourceName(HInstance, name)) << name;
            EXPECT_FALSE(bmp.GetEmpty()) << name;
        }
}

TEST(SkinArt, SharedPicturesHaveTheirSizes) {
    struct Case {
        const char* name;
        int w, h;
    };
    const Case cases[] = {{"PANEL_BUTTON", 64, 16},         {"MENU_CHECKED", 16, 16},
                          {"MACOS_MENU_BAR", 1, 22},        {"MACOS_MENU_SELECT", 1, 21},
                          {"MDI_CONTROL_BUTTON", 48, 16},   {"MACOS_FORM_BACKGROUND", 8, 8},
                          {"PROTEIN_FORM_BACKGROUND", 8, 8}};
    for (const Case& c : cases) {
        TBitmap bmp;
        ASSERT_NO_THROW(bmp.LoadFromResourceName(HInstance, c.name)) << c.name;
        EXPECT_EQ(bmp.GetWidth(), c.w) << c.name;
        EXPECT_EQ(bmp.GetHeight(), c.h) << c.name;
    }
}

TEST(SkinArt, StripsHoldTheirFramesAtTheirSizesAndNoTwoFramesAlike) {
    for (const FrameCase& fc : kFrameCases)
        for (int l = 0; l < 5; ++l) {
            TBitmap whole;
            GetInsideThemeBitmap(kLooks[l], fc.key, &whole);
            EXPECT_EQ(whole.GetWidth(), fc.sizes[l][0] * fc.frames) << kLookNames[l] << " key " << fc.key;
            EXPECT_EQ(whole.GetHeight(), fc.sizes[l][1]) << kLookNames[l] << " key " << fc.key;
            std::vector<TBitmap> frames(static_cast<size_t>(fc.frames));
            for (int f = 1; f <= fc.frames; ++f) {
                TBitmap& fr = frames[static_cast<size_t>(f - 1)];
                GetInsideThemeBitmap(kLooks[l], fc.key, &fr, fc.frames, f);
                EXPECT_EQ(fr.GetWidth(), fc.sizes[l][0]);
                EXPECT_EQ(fr.GetHeight(), fc.sizes[l][1]);
                for (int g = 1; g < f; ++g)
                    EXPECT_FALSE(SamePixels(fr, frames[static_cast<size_t>(g - 1)]))
                        << kLookNames[l] << " key " << fc.key << " frames " << g << " and " << f;
            }
        }
}

TEST(SkinArt, LooksDifferFromEachOther) {
    std::vector<TBitmap> buttons(5);
    for (int l = 0; l < 5; ++l) GetInsideThemeBitmap(kLooks[l], SUI_THEME_BUTTON_IMAGE, &buttons[static_cast<size_t>(l)], 3, 1);
    // Each look's normal button has its own face colour in the middle.
    for (int a = 0; a < 5; ++a)
        for (int b = a + 1; b < 5; ++b) {
            const TBitmap& x = buttons[static_cast<size_t>(a)];
            const TBitmap& y = buttons[static_cast<size_t>(b)];
            EXPECT_NE(x.GetPixelColor(x.GetWidth() / 2, x.GetHeight() / 2),
                      y.GetPixelColor(y.GetWidth() / 2, y.GetHeight() / 2))
                << kLookNames[a] << " / " << kLookNames[b];
        }
}

TEST(SkinArt, SeeThroughButtonsShowTheParentAtTheirCorners) {
    for (int l = 0; l < 5; ++l) {
        TBitmap frame;
        GetInsideThemeBitmap(kLooks[l], SUI_THEME_BUTTON_IMAGE, &frame, 3, 1);
        const bool seeThrough = GetInsideThemeBool(kLooks[l], SUI_THEME_BUTTON_TRANSPARENT_BOOL);
        // A button takes its key colour from its top-left pixel.
        const TColor corner = static_cast<TColor>(frame.GetPixelColor(0, 0));
        if (seeThrough) {
            EXPECT_EQ(corner, kSeeThrough) << kLookNames[l];
            EXPECT_NE(static_cast<TColor>(frame.GetPixelColor(frame.GetWidth() / 2, frame.GetHeight() / 2)), kSeeThrough);
        } else {
            EXPECT_NE(corner, kSeeThrough) << kLookNames[l];
        }
    }
    TBitmap check;
    check.LoadFromResourceName(HInstance, "MENU_CHECKED");
    EXPECT_EQ(check.GetPixelColor(0, 0), 0xFFFFFFu);  // white is its see-through colour
}

// One contact sheet with every button frame of every look, twice the size, for a person to
// judge the artwork.
TEST(SkinArt, RendersTheButtonsOfEveryLookIntoAPng) {
    const int gap = 8;
    const int zoom = 2;
    int width = 0, height = gap;
    for (TsuiUIStyle look : kLooks) {
        TBitmap whole;
        GetInsideThemeBitmap(look, SUI_THEME_BUTTON_IMAGE, &whole);
        width = std::max(width, whole.GetWidth() * zoom + gap * 4);
        height += whole.GetHeight() * zoom + gap;
    }
    TBitmap sheet(width, height, pf24bit);
    sheet.GetCanvas()->GetBrush()->SetColor(clWhite);
    sheet.GetCanvas()->FillRect(TRect(0, 0, width, height));
    int y = gap;
    for (TsuiUIStyle look : kLooks) {
        int x = gap;
        int h = 0;
        for (int f = 1; f <= 3; ++f) {
            TBitmap frame;
            GetInsideThemeBitmap(look, SUI_THEME_BUTTON_IMAGE, &frame, 3, f);
            // As a button draws it: its top-left colour is see-through where the look says so.
            frame.SetTransparentColor(static_cast<TColor>(frame.GetPixelColor(0, 0)));
            frame.SetTransparent(GetInsideThemeBool(look, SUI_THEME_BUTTON_TRANSPARENT_BOOL));
            const int w = frame.GetWidth() * zoom;
            h = frame.GetHeight() * zoom;
            sheet.GetCanvas()->StretchDraw(TRect(x, y, x + w, y + h), &frame);
            x += w + gap;
        }
        y += h + gap;
    }
    const String path = String(TEST_PEER_DIR) + "/../skin_buttons.png";
    ASSERT_NO_THROW(SaveBitmapToPng(sheet, path));
    EXPECT_GT(std::filesystem::file_size(path), 100u);
}

// Every picture, twice its size, one row per picture, for a person to look over.
TEST(SkinArt, RendersEveryPictureIntoAPng) {
    std::vector<String> names;
    for (TsuiUIStyle look : kLooks)
        for (int key = 1; key <= SUI_THEME_KEY_COUNT; ++key)
            if (SUI_ITEM_TYPE[key] == TsuiType::Str) names.push_back(SUIThemes::InsideThemeResourceName(look, key));
    for (const char* n : {"PANEL_BUTTON", "MENU_CHECKED", "MACOS_MENU_BAR", "MACOS_MENU_SELECT",
                          "MDI_CONTROL_BUTTON", "MACOS_FORM_BACKGROUND", "PROTEIN_FORM_BACKGROUND"})
        names.push_back(n);
    std::vector<std::unique_ptr<TBitmap>> pictures;
    int width = 0, height = 2;
    for (const String& n : names) {
        auto bmp = std::make_unique<TBitmap>();
        bmp->LoadFromResourceName(HInstance, n);
        width = std::max(width, bmp->GetWidth() * 2 + 4);
        height += bmp->GetHeight() * 2 + 2;
        pictures.push_back(std::move(bmp));
    }
    TBitmap sheet(width, height, pf24bit);
    sheet.GetCanvas()->GetBrush()->SetColor(clFuchsia);
    sheet.GetCanvas()->FillRect(TRect(0, 0, width, height));
    int y = 2;
    for (auto& bmp : pictures) {
        sheet.GetCanvas()->StretchDraw(TRect(2, y, 2 + bmp->GetWidth() * 2, y + bmp->GetHeight() * 2), bmp.get());
        y += bmp->GetHeight() * 2 + 2;
    }
    const String path = String(TEST_PEER_DIR) + "/../skin_artwork.png";
    ASSERT_NO_THROW(SaveBitmapToPng(sheet, path));
}
