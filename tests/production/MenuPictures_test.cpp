// The menu pictures and masks: the preview-to-frame arithmetic as tables, backgrounds, and the
// masks' pixels read back from their PNG files with libpng.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "model/MenuObjects.h"
#include "platform/vcl/Jpeg.h"
#include "production/MenuPictures.h"
#include "production/MenuFiles.h"
#include "production/MenuXml.h"
#include "platform/vcl/SysUtils.h"
#include "tests/support/TempFolder.h"

namespace {

const TMenuFrame kPal43{576, 540};
const TMenuFrame kNtsc169{480, 404};

struct RectCase {
    const char* name;
    TRect bounds;  // editor left, top, right, bottom
    TMenuFrame frame;
    TRect out;
};

void ExpectRect(const TRect& r, const TRect& out) {
    EXPECT_EQ(r.Left, out.Left);
    EXPECT_EQ(r.Top, out.Top);
    EXPECT_EQ(r.Right, out.Right);
    EXPECT_EQ(r.Bottom, out.Bottom);
}

TEST(productionMenuGeometryTest, ButtonFrameRects) {
    const RectCase cases[] = {
        // inset (108, 58)-(172, 102), x 1.39 (150, 80)-(239, 141), rows x 576 / 540
        {"the designer's example", TRect(100, 50, 180, 110), kPal43, TRect(150, 85, 239, 150)},
        {"NTSC 16:9 rows", TRect(100, 50, 180, 110), kNtsc169, TRect(150, 95, 239, 167)},
        // inset (308, 208)-(392, 292), x 1.39 (428, 289)-(544, 405), rows 308.3 and 432
        {"far corner", TRect(300, 200, 400, 300), kPal43, TRect(428, 308, 544, 432)},
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(c.name);
        TImage button(nullptr);
        button.SetBounds(c.bounds.Left, c.bounds.Top, c.bounds.Width(), c.bounds.Height());
        ExpectRect(GetButtonFrameRect(&button, c.frame), c.out);
    }
    ExpectRect(GetButtonRect(nullptr), TRect(0, 0, 0, 0));
    ExpectRect(GetButtonFrameRect(nullptr, kPal43), TRect(0, 0, 0, 0));
}

TEST(productionMenuGeometryTest, TextRectsHaveNoInset) {
    const RectCase cases[] = {
        // 50 x 1.39 = 69.5 -> 69, x 576 / 540 = 73.6; 80 x 1.39 = 111.2 -> 111, x 576 / 540 = 118.4
        {"PAL 4:3", TRect(100, 50, 200, 80), kPal43, TRect(139, 73, 278, 118)},
        {"NTSC 16:9", TRect(100, 50, 200, 80), kNtsc169, TRect(139, 81, 278, 131)},
        {"origin", TRect(0, 0, 10, 10), kPal43, TRect(0, 0, 13, 13)},
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(c.name);
        TLabel label(nullptr);
        label.SetAutoSize(false);
        label.SetBounds(c.bounds.Left, c.bounds.Top, c.bounds.Width(), c.bounds.Height());
        ExpectRect(GetTextRect(&label, c.frame), c.out);
    }
    ExpectRect(GetTextRect(nullptr, kPal43), TRect(0, 0, 0, 0));
}

TEST(productionMenuGeometryTest, ProductsAreTruncatedDoubles) {
    EXPECT_EQ(ScaleToFrame(100), 139);
    EXPECT_EQ(ScaleToFrame(300), 416) << "300 x 1.39 is 416.99999... as a double";
    EXPECT_EQ(ScaleToFrame(-10), -13) << "toward zero";
    EXPECT_EQ(ScaleRow(540, kPal43), 576);
    EXPECT_EQ(ScaleRow(404, kNtsc169), 480);
    EXPECT_EQ(MenuLabelSize(20), 28);
    EXPECT_EQ(MenuLabelSize(9), 12);
    EXPECT_EQ(MenuLabelSize(10), 14);
    EXPECT_EQ(MenuFrameFor(1, 2).i_FrameHeight, 576);
    EXPECT_EQ(MenuFrameFor(1, 2).i_SquareHeight, 540);
    EXPECT_EQ(MenuFrameFor(2, 1).i_FrameHeight, 480);
    EXPECT_EQ(MenuFrameFor(2, 1).i_SquareHeight, 404);
}

// ---- pictures ----------------------------------------------------------------------------------

TBitmap* Solid(int w, int h, TColor colour) {
    TBitmap* b = new TBitmap(w, h, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(colour);
    b->GetCanvas()->FillRect(TRect(0, 0, w, h));
    return b;
}

void SaveSolid(const String& path, int w, int h, TColor colour) {
    std::unique_ptr<TBitmap> b(Solid(w, h, colour));
    b->SaveToFile(path);
}

struct PngPixels {
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    bool transparencyChunk = true;
    std::vector<Byte> rgb;
    TColor At(int x, int y) const {
        const Byte* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return static_cast<TColor>(p[0] | (p[1] << 8) | (p[2] << 16));
    }
};

bool ReadPng(const String& path, PngPixels& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    out.width = png_get_image_width(png, info);
    out.height = png_get_image_height(png, info);
    out.bitDepth = png_get_bit_depth(png, info);
    out.colorType = png_get_color_type(png, info);
    out.transparencyChunk = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    if (out.colorType == PNG_COLOR_TYPE_RGB && out.bitDepth == 8) {
        for (png_uint_32 y = 0; y < out.height; ++y) png_read_row(png, out.rgb.data() + y * out.width * 3, nullptr);
        png_read_end(png, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return true;
}

class productionMenuPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.Path().empty());
        std::filesystem::create_directory(folder["RES"]);
        pictures.s_ProgramFolder = folder.Path() + "/";
        pictures.Frame = kPal43;
    }
    void TearDown() override {
        Pubfunction::ClearClipInfo();
        Pubfunction::ClearTitleMenuLabel();
        s_BackgroundSrcFile = "";
    }

    // A clip whose title button has the designer's bounds and whose picture is one colour.
    TClipInfo* AddClip(const TRect& bounds, TColor colour) {
        auto* clip = new TClipInfo();
        clip->Picture = Solid(64, 48, colour);
        clip->TitleButton = new TButtonImage(nullptr, clip);
        clip->TitleButton->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        ClipInfo.push_back(clip);
        return clip;
    }
    // The cursor pictures: a 10 x 8 block of the key with a one-pixel frame of the mask's colour.
    void WriteCursors() {
        for (TMenuMask kind : {TMenuMask::Highlight, TMenuMask::Select}) {
            std::unique_ptr<TBitmap> b(Solid(10, 8, MaskKeyColour));
            b->GetCanvas()->GetBrush()->SetColor(kind == TMenuMask::Highlight ? HighlightFrameColour : SelectFrameColour);
            b->GetCanvas()->FrameRect(TRect(0, 0, 10, 8));
            b->SaveToFile(pictures.CursorFile(kind));
        }
    }
    // The back button: shown picture 12 x 10 green; its shape an L on a white key.
    void WriteBackPictures(bool shape = true) {
        SaveSolid(pictures.BackPictureFile(), 12, 10, static_cast<TColor>(0x00FF00));
        if (!shape) return;
        std::unique_ptr<TBitmap> b(Solid(12, 10, clWhite));
        b->GetCanvas()->SetPixels(1, 1, clBlack);
        b->GetCanvas()->SetPixels(1, 2, clBlack);
        b->GetCanvas()->SetPixels(2, 2, clBlack);
        b->SaveToFile(pictures.BackShapeFile());
    }
    PngPixels MaskPng(TBitmap* mask) {
        PngPixels png;
        const String path = folder["mask.png"];
        EXPECT_TRUE(WriteMaskPng(mask, path));
        EXPECT_TRUE(ReadPng(path, png));
        return png;
    }

    testing_vcl::TTempFolder folder{"menu_pictures"};
    TMenuPictures pictures;
};

TEST_F(productionMenuPicturesTest, BackgroundCases) {
    const String exact = folder["exact.bmp"];
    SaveSolid(exact, 720, 576, static_cast<TColor>(0x336699));
    const String small = folder["small.bmp"];
    SaveSolid(small, 360, 288, static_cast<TColor>(0x00FF00));
    const String jpg = folder["photo.jpg"];
    {
        std::unique_ptr<TBitmap> b(Solid(720, 576, static_cast<TColor>(0xFF0000)));
        TJPEGImage jpeg;
        jpeg.Assign(b.get());
        jpeg.SaveToFile(jpg);
    }
    const String broken = folder["broken.bmp"];
    {
        FILE* f = std::fopen(broken.c_str(), "wb");
        std::fputs("no picture", f);
        std::fclose(f);
    }
    struct {
        const char* name;
        String file;
        TColor centre;  // expected at the middle; -1 for "as it was made"
    } cases[] = {
        {"missing file gives black", folder["none.bmp"], clBlack},
        {"empty name gives black", "", clBlack},
        {"exact size taken whole", exact, static_cast<TColor>(0x336699)},
        {"other sizes resampled", small, static_cast<TColor>(0x00FF00)},
        {"lower-case .jpg decoded as JPEG", jpg, static_cast<TColor>(-1)},
        {"no picture leaves it as made", broken, static_cast<TColor>(0x123456)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<TBitmap> picture(Solid(720, 576, static_cast<TColor>(0x123456)));
        DrawMenuBackground(picture.get(), c.file);
        EXPECT_EQ(picture->GetWidth(), 720);
        EXPECT_EQ(picture->GetHeight(), 576);
        const TColor centre = picture->GetCanvas()->GetPixels(360, 288);
        if (c.centre == static_cast<TColor>(-1)) {
            // JPEG is lossy: mostly blue, little else.
            EXPECT_GT((centre >> 16) & 0xFF, 0xF0);
            EXPECT_LT(centre & 0xFF, 0x10);
        } else {
            EXPECT_EQ(centre, c.centre);
        }
    }
}

TEST_F(productionMenuPicturesTest, TitleMaskHasKeyFramesAndCentredCursors) {
    WriteCursors();
    AddClip(TRect(100, 50, 180, 110), clRed);
    const TRect r(150, 85, 239, 150);
    for (TMenuMask kind : {TMenuMask::Highlight, TMenuMask::Select}) {
        SCOPED_TRACE(kind == TMenuMask::Highlight ? "highlight" : "select");
        const TColor frame = kind == TMenuMask::Highlight ? HighlightFrameColour : SelectFrameColour;
        PngPixels png = MaskPng(pictures.DrawTitleMenuMask(kind));
        EXPECT_EQ(png.width, 720u);
        EXPECT_EQ(png.height, 576u);
        EXPECT_EQ(png.bitDepth, 8);
        EXPECT_EQ(png.colorType, PNG_COLOR_TYPE_RGB);
        EXPECT_FALSE(png.transparencyChunk);
        EXPECT_EQ(png.At(0, 0), MaskKeyColour);
        EXPECT_EQ(png.At(719, 575), MaskKeyColour);
        EXPECT_EQ(png.At(r.Left, r.Top + 20), frame) << "left side";
        EXPECT_EQ(png.At(r.Left + 20, r.Top), frame) << "top side";
        EXPECT_EQ(png.At(r.Left + 5, r.Top + 5), MaskKeyColour) << "inside";
        EXPECT_EQ(png.At(r.Left - 3, r.Top - 3), MaskKeyColour) << "outside";
        // cursor 10 x 8 centred on (194, 117): its frame from (189, 113) to (198, 120)
        EXPECT_EQ(png.At(189, 113), frame);
        EXPECT_EQ(png.At(198, 120), frame);
        EXPECT_EQ(png.At(193, 116), MaskKeyColour);
        EXPECT_EQ(png.At(188, 116), MaskKeyColour);
        // only the key and the frame colour
        for (size_t i = 0; i < png.rgb.size(); i += 3) {
            const TColor c = static_cast<TColor>(png.rgb[i] | (png.rgb[i + 1] << 8) | (png.rgb[i + 2] << 16));
            ASSERT_TRUE(c == MaskKeyColour || c == frame) << std::hex << c;
        }
    }
}

TEST_F(productionMenuPicturesTest, MissingCursorPicturesKeepTheFrames) {
    AddClip(TRect(100, 50, 180, 110), clRed);
    PngPixels png = MaskPng(pictures.DrawTitleMenuMask(TMenuMask::Highlight));
    EXPECT_EQ(png.At(150, 105), HighlightFrameColour);
    EXPECT_EQ(png.At(194, 117), MaskKeyColour);
}

TEST_F(productionMenuPicturesTest, ClipsWithoutTitleButtonsAreLeftOut) {
    WriteCursors();
    TClipInfo* clip = AddClip(TRect(100, 50, 180, 110), clRed);
    delete clip->TitleButton;
    clip->TitleButton = nullptr;
    PngPixels png = MaskPng(pictures.DrawTitleMenuMask(TMenuMask::Select));
    EXPECT_EQ(png.At(150, 105), MaskKeyColour);
    std::unique_ptr<TBitmap> picture(pictures.DrawTitleMenuImage());
    EXPECT_EQ(picture->GetCanvas()->GetPixels(190, 115), clBlack);
}

TEST_F(productionMenuPicturesTest, TitlePictureShowsThumbnailsAndLabels) {
    AddClip(TRect(100, 50, 180, 110), clRed);
    auto* label = new TLabel(nullptr);
    label->SetCaption("MENU");
    label->GetFont()->SetSize(20);
    label->GetFont()->SetColor(clWhite);
    label->SetBounds(300, 300, 200, 40);
    TitleMenuLabel.push_back(label);
    std::unique_ptr<TBitmap> picture(pictures.DrawTitleMenuImage());
    ASSERT_EQ(picture->GetWidth(), 720);
    ASSERT_EQ(picture->GetHeight(), 576);
    EXPECT_EQ(picture->GetPixelFormat(), pf24bit);
    EXPECT_EQ(picture->GetCanvas()->GetPixels(160, 95), clRed);
    EXPECT_EQ(picture->GetCanvas()->GetPixels(149, 84), clBlack);
    // The label at (416, 443) in frame pixels, drawn at size 28: white pixels in its first lines.
    int white = 0;
    for (int y = 444; y < 444 + 40; ++y)
        for (int x = 417; x < 417 + 120; ++x) white += picture->GetCanvas()->GetPixels(x, y) == clWhite;
    EXPECT_GT(white, 100);
    for (int y = 0; y < 444; ++y) ASSERT_NE(picture->GetCanvas()->GetPixels(430, y), clWhite) << y;
}

TEST_F(productionMenuPicturesTest, TitleBackButtonOnlyWithARootMenu) {
    WriteBackPictures();
    AddClip(TRect(100, 50, 180, 110), clRed);
    pictures.i_BackX = 20;
    pictures.i_BackY = 20;
    const TPoint at = GetBackButtonPos(20, 20, kPal43);  // (27, 28)
    for (bool root : {false, true}) {
        SCOPED_TRACE(root ? "root menu" : "no root menu");
        pictures.b_RootMenuVob = root;
        std::unique_ptr<TBitmap> picture(pictures.DrawTitleMenuImage());
        EXPECT_EQ(picture->GetCanvas()->GetPixels(at.x + 5, at.y + 5), root ? static_cast<TColor>(0x00FF00) : clBlack);
        PngPixels png = MaskPng(pictures.DrawTitleMenuMask(TMenuMask::Highlight));
        EXPECT_EQ(png.At(at.x + 1, at.y + 2), root ? HighlightBackColour : MaskKeyColour);
    }
}

TEST_F(productionMenuPicturesTest, ChapterBackShapeInBothMasks) {
    WriteBackPictures();
    TSubChapter menu(nullptr);
    std::unique_ptr<TBitmap> frame(Solid(64, 48, clBlue));
    menu.AddButton(frame.get(), 0);
    menu.GetButton(0)->SetBounds(200, 100, 80, 60);
    pictures.i_BackX = 20;
    pictures.i_BackY = 20;
    const TPoint at = GetBackButtonPos(20, 20, kPal43);
    std::unique_ptr<TBitmap> picture(pictures.DrawChapterMenuImage(&menu));
    EXPECT_EQ(picture->GetCanvas()->GetPixels(at.x, at.y), static_cast<TColor>(0x00FF00));
    const TRect r = GetButtonFrameRect(menu.GetButton(0), kPal43);
    EXPECT_EQ(picture->GetCanvas()->GetPixels((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clBlue);
    for (TMenuMask kind : {TMenuMask::Highlight, TMenuMask::Select}) {
        const TColor back = kind == TMenuMask::Highlight ? HighlightBackColour : SelectBackColour;
        PngPixels png = MaskPng(pictures.DrawChapterMenuMask(&menu, kind));
        EXPECT_EQ(png.At(at.x + 1, at.y + 1), back);
        EXPECT_EQ(png.At(at.x + 1, at.y + 2), back);
        EXPECT_EQ(png.At(at.x + 2, at.y + 2), back);
        EXPECT_EQ(png.At(at.x + 2, at.y + 1), MaskKeyColour) << "the shape's key leaves the mask";
        EXPECT_EQ(png.At(at.x, at.y), MaskKeyColour);
    }
    EXPECT_EQ(pictures.DrawChapterMenuImage(nullptr), nullptr);
    EXPECT_EQ(pictures.DrawChapterMenuMask(nullptr, TMenuMask::Select), nullptr);
}

TEST_F(productionMenuPicturesTest, NoShapeMeansNoBackButtonAnywhere) {
    WriteBackPictures(false);
    TSubChapter menu(nullptr);
    const TPoint at = GetBackButtonPos(pictures.i_BackX, pictures.i_BackY, kPal43);
    EXPECT_FALSE(pictures.HasBackButton());
    std::unique_ptr<TBitmap> picture(pictures.DrawChapterMenuImage(&menu));
    EXPECT_EQ(picture->GetCanvas()->GetPixels(at.x + 5, at.y + 5), clBlack);
}

TEST_F(productionMenuPicturesTest, AnUnreadableBackPictureRemovesTheBackButton) {
    WriteBackPictures();
    {
        FILE* f = std::fopen(pictures.BackPictureFile().c_str(), "wb");
        std::fputs("broken", f);
        std::fclose(f);
    }
    EXPECT_TRUE(pictures.HasBackButton());
    TSubChapter menu(nullptr);
    std::unique_ptr<TBitmap> picture(pictures.DrawChapterMenuImage(&menu));
    EXPECT_FALSE(pictures.b_BackButtonUsable);
    EXPECT_FALSE(pictures.HasBackButton());
    PngPixels png = MaskPng(pictures.DrawChapterMenuMask(&menu, TMenuMask::Highlight));
    const TPoint at = GetBackButtonPos(pictures.i_BackX, pictures.i_BackY, kPal43);
    EXPECT_EQ(png.At(at.x + 1, at.y + 1), MaskKeyColour);
}

TEST_F(productionMenuPicturesTest, BoldLabelsAreDrawnRegular) {
    auto picture = [&](TFontStyles style) {
        Pubfunction::ClearTitleMenuLabel();
        auto* label = new TLabel(nullptr);
        label->SetCaption("Chapter");
        label->GetFont()->SetSize(20);
        label->GetFont()->SetColor(clWhite);
        label->GetFont()->SetStyle(style);
        label->SetBounds(100, 100, 200, 40);
        TitleMenuLabel.push_back(label);
        return std::unique_ptr<TBitmap>(pictures.DrawTitleMenuImage());
    };
    std::unique_ptr<TBitmap> regular = picture(TFontStyles());
    std::unique_ptr<TBitmap> bold = picture(TFontStyles() << fsBold);
    int differing = 0, lit = 0;
    for (int y = 0; y < 576; ++y) {
        for (int x = 0; x < 720; ++x) {
            differing += regular->GetCanvas()->GetPixels(x, y) != bold->GetCanvas()->GetPixels(x, y);
            lit += regular->GetCanvas()->GetPixels(x, y) != clBlack;
        }
    }
    EXPECT_GT(lit, 0);
    EXPECT_EQ(differing, 0);
}

TEST_F(productionMenuPicturesTest, XmlButtonsFollowThePicturesBackButtonRules) {
    WriteBackPictures();
    AddClip(TRect(100, 50, 180, 110), clRed);
    TClipInfo* second = AddClip(TRect(300, 50, 380, 110), clRed);
    delete second->TitleButton;
    second->TitleButton = nullptr;
    AddClip(TRect(200, 200, 280, 260), clRed);
    pictures.i_BackX = 20;
    pictures.i_BackY = 20;
    TMenuXmlValues title = TitleMenuXmlValues(pictures, "on.png", "down.png", 12, 10);
    EXPECT_FALSE(title.BackButton.has_value()) << "no root menu, no way back from the title menu";
    ASSERT_EQ(title.Buttons.size(), 2u);
    ExpectRect(title.Buttons[0], TRect(150, 85, 239, 150));
    pictures.b_RootMenuVob = true;
    title = TitleMenuXmlValues(pictures, "on.png", "down.png", 12, 10);
    ASSERT_TRUE(title.BackButton.has_value());
    ExpectRect(*title.BackButton, TRect(27, 28, 39, 38));

    TSubChapter menu(nullptr);
    std::unique_ptr<TBitmap> frame(Solid(64, 48, clBlue));
    menu.AddButton(frame.get(), 0);
    menu.GetButton(0)->SetBounds(100, 50, 80, 60);
    pictures.b_RootMenuVob = false;
    TMenuXmlValues chapter = ChapterMenuXmlValues(pictures, &menu, "on.png", "down.png", 12, 10);
    EXPECT_TRUE(chapter.BackButton.has_value()) << "a chapter menu always leads back";
    ASSERT_EQ(chapter.Buttons.size(), 1u);
    std::filesystem::remove(pictures.BackShapeFile());
    chapter = ChapterMenuXmlValues(pictures, &menu, "on.png", "down.png", 12, 10);
    EXPECT_FALSE(chapter.BackButton.has_value()) << "without the shape picture there is no back button";
}

TEST_F(productionMenuPicturesTest, MenuFilesAreWrittenOrReportedMissing) {
    AddClip(TRect(100, 50, 180, 110), clRed);
    const String temp = folder.Path() + "/";
    const TMenuFiles title = TitleMenuFiles(temp);
    EXPECT_EQ(title.s_Vob, temp + "Title.vob");
    EXPECT_EQ(title.s_MuxOut, temp + "Title_sub.vob");
    ASSERT_EQ(WriteTitleMenuFiles(pictures, title, 12, 10), 1);
    for (const String& f : {title.s_Bmp, title.s_OnPng, title.s_DownPng, title.s_Xml}) EXPECT_TRUE(FileExists(f)) << f;
    TBitmap bmp;
    bmp.LoadFromFile(title.s_Bmp);
    EXPECT_EQ(bmp.GetWidth(), 720);
    EXPECT_EQ(bmp.GetHeight(), 576);
    EXPECT_EQ(bmp.GetPixelFormat(), pf24bit);

    TSubChapter menu(nullptr);
    const TMenuFiles chapter = ChapterMenuFiles(temp, 2);
    EXPECT_EQ(chapter.s_Bmp, temp + "Chapter_2.bmp");
    EXPECT_EQ(chapter.s_OnPng, temp + "Chapter_on_2.png");
    EXPECT_EQ(chapter.s_DownPng, temp + "Chapter_down_2.png");
    EXPECT_EQ(chapter.s_MuxOut, temp + "Chapter_sub_2.vob");
    EXPECT_EQ(WriteChapterMenuFiles(pictures, nullptr, chapter, 12, 10), 2);
    EXPECT_EQ(WriteChapterMenuFiles(pictures, &menu, chapter, 12, 10), 1);

    // An unwritable work folder: 0, and nothing raises.
    const TMenuFiles nowhere = ChapterMenuFiles(temp + "missing/", 0);
    EXPECT_EQ(WriteChapterMenuFiles(pictures, &menu, nowhere, 12, 10), 0);
    EXPECT_EQ(WriteTitleMenuFiles(pictures, TitleMenuFiles(temp + "missing/"), 12, 10), 0);
    // The XML alone unwritable: still 0.
    TMenuFiles blocked = title;
    blocked.s_Xml = temp + "missing/Title.xml";
    EXPECT_EQ(WriteTitleMenuFiles(pictures, blocked, 12, 10), 0);
}

TEST_F(productionMenuPicturesTest, AnUnwritableMaskGivesFalse) {
    EXPECT_FALSE(WriteMaskPng(pictures.DrawTitleMenuMask(TMenuMask::Select), folder["missing/x.png"]));
    EXPECT_FALSE(WriteMaskPng(nullptr, folder["x.png"]));
}

}  // namespace
