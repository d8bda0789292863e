// Title.xml and Chapter_N.xml against golden files written from the table of their lines, byte
// for byte with CR LF; the back button is listed first, and odd button rows are widened to even
// ones in the XML only.
#include <gtest/gtest.h>

#include "production/MenuXml.h"
#include "tests/libs/dozezedav/DozezedavFixture.h"
#include "tests/support/TempFolder.h"

namespace {

using dozezedav_test::ReadText;

const String kGolden = String(TEST_SOURCE_ROOT) + "/tests/production/golden/";

struct MenuXmlCase {
    const char* file;
    TMenuXmlValues values;
};

void PrintTo(const MenuXmlCase& c, std::ostream* os) { *os << c.file; }

class productionMenuXmlGolden : public ::testing::TestWithParam<MenuXmlCase> {};

TEST_P(productionMenuXmlGolden, MatchesByteForByte) {
    const MenuXmlCase& c = GetParam();
    const String golden = ReadText(kGolden + c.file);
    ASSERT_FALSE(golden.empty()) << c.file;
    EXPECT_EQ(MenuXmlText(c.values), golden);

    testing_vcl::TTempFolder folder("menu_xml");
    ASSERT_TRUE(WriteMenuXml(folder[c.file], c.values));
    EXPECT_EQ(ReadText(folder[c.file]), golden);
}

// The designer's (100, 50)-(180, 110) button lands on (150, 85)-(239, 150) of a PAL 4:3 frame.
const TRect kButton1(150, 85, 239, 150);
const TRect kButton2(300, 85, 389, 150);

INSTANTIATE_TEST_SUITE_P(
    Cases, productionMenuXmlGolden,
    ::testing::Values(
        MenuXmlCase{"Title_back.xml",
                    {"/work/Temp/Title_on.png", "/work/Temp/Title_down.png", TRect(55, 400, 135, 440),
                     {kButton1, kButton2}}},
        MenuXmlCase{"Title_noback.xml",
                    {"/work/Temp/Title_on.png", "/work/Temp/Title_down.png", std::nullopt, {kButton1, kButton2}}},
        MenuXmlCase{"Chapter_2.xml",
                    {"/home/me/A & B/Chapter_on_2.png", "/home/me/A & B/\"sel\" <2>.png", TRect(10, 21, 90, 59),
                     {TRect(100, 200, 200, 301), TRect(300, 201, 400, 302), TRect(500, 200, 600, 302)}}}),
    [](const auto& info) {
        String name = info.param.file;
        return name.substr(0, name.find('.'));
    });

struct EvenRowsCase {
    TRect in;
    TRect out;
};

TEST(productionMenuXmlTest, ButtonRowsWidenToEvenRows) {
    const EvenRowsCase cases[] = {
        {TRect(150, 85, 239, 150), TRect(150, 84, 239, 150)},
        {TRect(1, 2, 3, 4), TRect(1, 2, 3, 4)},
        {TRect(1, 3, 3, 5), TRect(1, 2, 3, 6)},
        {TRect(0, 0, 10, 575), TRect(0, 0, 10, 576)},
    };
    for (const EvenRowsCase& c : cases) {
        const TRect r = EvenButtonRows(c.in);
        EXPECT_EQ(r.Left, c.out.Left);
        EXPECT_EQ(r.Top, c.out.Top);
        EXPECT_EQ(r.Right, c.out.Right);
        EXPECT_EQ(r.Bottom, c.out.Bottom);
    }
}

struct BackRectCase {
    int x, y, w, h;
    TMenuFrame frame;
    TRect out;
};

TEST(productionMenuXmlTest, BackButtonPlaceIsScaledAndItsSizeIsThePicturesOwn) {
    const BackRectCase cases[] = {
        // 40 x 1.39 = 55.6; 300 x 1.39 is 416.99999... as a double, so 416, x 576 / 540 = 443.7
        {40, 300, 80, 40, {576, 540}, TRect(55, 443, 135, 483)},
        // NTSC 16:9: 416 x 480 / 404 = 494.3
        {40, 300, 80, 40, {480, 404}, TRect(55, 494, 135, 534)},
        // 100 x 1.39 = 139 exactly as a double; 139 x 576 / 540 = 148.3
        {100, 100, 80, 40, {576, 540}, TRect(139, 148, 219, 188)},
        {0, 0, 10, 12, {576, 540}, TRect(0, 0, 10, 12)},
    };
    for (const BackRectCase& c : cases) {
        const TRect r = BackButtonRect(c.x, c.y, c.w, c.h, c.frame);
        EXPECT_EQ(r.Left, c.out.Left);
        EXPECT_EQ(r.Top, c.out.Top);
        EXPECT_EQ(r.Right, c.out.Right);
        EXPECT_EQ(r.Bottom, c.out.Bottom);
    }
}

TEST(productionMenuXmlTest, AnUnwritablePlaceGivesFalseAndNoFile) {
    testing_vcl::TTempFolder folder("menu_xml");
    TMenuXmlValues values{"a.png", "b.png", std::nullopt, {}};
    EXPECT_FALSE(WriteMenuXml(folder["missing/Title.xml"], values));
    EXPECT_FALSE(WriteMenuXml(folder.Path(), values));
}

}  // namespace
