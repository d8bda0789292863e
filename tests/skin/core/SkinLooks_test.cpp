// Renders one test window in each of the five looks to PNG files under the build folder, for a
// person to look at: a skin form, three image buttons (one disabled), a check box, two radio
// buttons, a picture panel, a themed panel, a themed button and a URL label.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/PngWriter.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUIImagePanel.h"
#include "skin/core/SUISkinForm.h"
#include "skin/core/SUIURLLabel.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

constexpr int FormW = 360, FormH = 270;

std::unique_ptr<TBitmap> Glyph(TColor Face) {
    auto b = std::make_unique<TBitmap>(FormW, FormH, pf24bit);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, FormW, FormH));
    c->GetBrush()->SetColor(Face);
    c->GetPen()->SetColor(clGray);
    c->RoundRect(0, 0, FormW, FormH, 24, 24);
    return b;
}

void ButtonPicture(TPicture* Pic, TColor Fill, const String& Text) {
    TBitmap b(90, 26, pf24bit);
    TCanvas* c = b.GetCanvas();
    c->GetBrush()->SetColor(Fill);
    c->GetPen()->SetColor(clBlack);
    c->Rectangle(0, 0, 90, 26);
    c->GetBrush()->SetStyle(bsClear);
    TRect r = Rect(0, 0, 90, 26);
    c->DrawText(Text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    Pic->SetBitmap(&b);
}

TsuiImageButton* ImageButton(TForm* Form, int Left, const String& Text) {
    auto* b = new TsuiImageButton(Form);
    b->SetParent(Form);
    b->SetLeft(Left);
    b->SetTop(20);
    b->SetAutoSize(true);
    TPicture pic;
    ButtonPicture(&pic, 0xE0C8A0, Text);
    b->SetPicNormal(&pic);
    ButtonPicture(&pic, 0xF0E0C0, Text);
    b->SetPicMouseOn(&pic);
    ButtonPicture(&pic, 0xC0A070, Text);
    b->SetPicMouseDown(&pic);
    ButtonPicture(&pic, 0xC0C0C0, Text);
    b->SetPicDisabled(&pic);
    return b;
}

const char* LookName(TsuiUIStyle Look) {
    switch (Look) {
        case MacOS: return "MacOS";
        case WinXP: return "WinXP";
        case DeepBlue: return "DeepBlue";
        case Protein: return "Protein";
        case BlueGlass: return "BlueGlass";
        default: return "FromThemeFile";
    }
}

TEST(SkinLooks, TestWindowInEachLookToPng) {
    std::filesystem::path folder = std::filesystem::path(TEST_PEER_DIR) / ".." / ".." / "skin_looks";
    std::filesystem::create_directories(folder);
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(LookName(look));
        TForm form(nullptr);
        form.SetBounds(30, 30, FormW, FormH);
        form.SetColor(GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR));
        auto* skin = new TsuiSkinForm(&form);
        skin->SetParent(&form);
        auto glyph = Glyph(GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR));
        skin->SetGlyph(glyph.get());

        ImageButton(&form, 20, "Start");
        ImageButton(&form, 130, "Options");
        TsuiImageButton* off = ImageButton(&form, 240, "Burn");
        off->SetEnabled(false);

        auto* check = new TsuiCheckBox(&form);
        check->SetParent(&form);
        check->SetBounds(20, 62, 150, 17);
        check->SetUIStyle(look);
        check->SetCaption("Delete temporary files");
        check->SetChecked(true);
        for (int i = 0; i < 2; ++i) {
            auto* radio = new TsuiRadioButton(&form);
            radio->SetParent(&form);
            radio->SetBounds(20, 88 + 24 * i, 100, 17);
            radio->SetUIStyle(look);
            radio->SetCaption(i == 0 ? "NTSC" : "PAL");
            radio->SetChecked(i == 0);
        }

        auto* picture = new TsuiImagePanel(&form);
        picture->SetParent(&form);
        picture->SetBounds(200, 62, 140, 70);
        TBitmap tile(8, 8, pf24bit);
        tile.GetCanvas()->GetBrush()->SetColor(0xD0E0F0);
        tile.GetCanvas()->FillRect(Rect(0, 0, 8, 8));
        tile.GetCanvas()->GetBrush()->SetColor(0xA0C0E0);
        tile.GetCanvas()->FillRect(Rect(0, 0, 4, 4));
        tile.GetCanvas()->FillRect(Rect(4, 4, 8, 8));
        TPicture pic;
        pic.SetBitmap(&tile);
        picture->SetPicture(&pic);
        picture->SetDrawStyle(suiTile);
        picture->SetCaption("Picture panel");

        auto* panel = new TsuiPanel(&form);
        panel->SetParent(&form);
        panel->SetBounds(20, 150, 170, 80);
        panel->SetHeight(80);
        panel->SetUIStyle(look);
        panel->SetCaption("Themed panel");

        auto* themed = new TsuiButton(&form);
        themed->SetParent(&form);
        themed->SetBounds(220, 150, 100, 27);
        themed->SetUIStyle(look);
        themed->SetCaption("OK");

        auto* link = new TsuiURLLabel(&form);
        link->SetParent(&form);
        link->SetLeft(220);
        link->SetTop(200);
        link->SetCaption("Visit the home page");
        link->SetURL("https://example.org/");

        TBitmap shot;
        Snapshot(&form, &shot);
        // Probes: the skin shows between the controls, the disabled button its own picture.
        EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(FormW / 2, FormH - 12)),
                  GetInsideThemeColor(look, SUI_THEME_FORM_BACKGROUND_COLOR));
        EXPECT_EQ(static_cast<TColor>(shot.GetPixelColor(off->GetLeft() + 3, off->GetTop() + 3)), 0xC0C0C0);
        std::filesystem::path file = folder / (String("SkinLooks_") + LookName(look) + ".png");
        SaveBitmapToPng(shot, file.string());
        EXPECT_TRUE(std::filesystem::exists(file));
        EXPECT_GT(std::filesystem::file_size(file), 0u);
    }
}

}  // namespace
