#include "app/Progress_Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "core/Language.h"
#include "core/Pubfunction.h"
#include "tests/support/TempFolder.h"

namespace {

struct TShown {
    String Percent;
    int BarWidth;
};

class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override { m_window = std::make_unique<TProgressWindow>(nullptr); }
    TShown Shown() const {
        return {m_window->Label_Percent->GetCaption(), m_window->Image_Progress->GetWidth()};
    }
    std::unique_ptr<TProgressWindow> m_window;
};

TEST_F(ProgressWindowTest, IsASkinnedStayOnTopWindowWithTheBarOverItsGroove) {
    EXPECT_EQ(m_window->GetFormStyle(), fsStayOnTop);
    EXPECT_EQ(m_window->GetPosition(), poScreenCenter);
    EXPECT_TRUE(m_window->GetDoubleBuffered());
    EXPECT_EQ(m_window->GetClientWidth(), 370);
    EXPECT_EQ(m_window->GetClientHeight(), 79);
    EXPECT_EQ(m_window->Image_Progress->GetBoundsRect(), Bounds(57, 53, 258, 10));
    EXPECT_EQ(m_window->Label_Text->GetBoundsRect(), Bounds(19, 24, 327, 17));
    EXPECT_EQ(m_window->Label_Percent->GetBoundsRect(), Bounds(170, 51, 32, 13));
    EXPECT_EQ(m_window->Label_Percent->GetAlignment(), taRightJustify);
    EXPECT_EQ(m_window->Label_Text->GetAlignment(), taCenter);
}

struct TPercentCase {
    int Percent;
    const char* Label;
    int BarWidth;
};

TEST_F(ProgressWindowTest, SetPercentHoldsTheValueToZeroToHundred) {
    const TPercentCase cases[] = {
        {-5, "0 %", 0}, {0, "0 %", 0}, {1, "1 %", 2}, {42, "42 %", 108}, {99, "99 %", 255},
        {100, "100 %", 258}, {150, "100 %", 258},
    };
    for (const TPercentCase& c : cases) {
        SCOPED_TRACE(c.Percent);
        m_window->SetPercent(c.Percent);
        EXPECT_EQ(Shown().Percent, c.Label);
        EXPECT_EQ(Shown().BarWidth, c.BarWidth);
    }
}

struct TStepsCase {
    int Max;
    TPercentCase After[3];
};

TEST_F(ProgressWindowTest, StartShowsTheMessageAtZeroAndEachStepAdvancesTheBar) {
    const TStepsCase cases[] = {
        {3, {{1, "33 %", 85}, {2, "66 %", 170}, {3, "100 %", 258}}},
        {9, {{1, "11 %", 28}, {2, "22 %", 56}, {3, "33 %", 85}}},
    };
    for (const TStepsCase& c : cases) {
        SCOPED_TRACE(c.Max);
        m_window->SetPercent(70);
        m_window->Start(c.Max, 50);
        EXPECT_TRUE(m_window->GetVisible());
        EXPECT_EQ(m_window->Label_Text->GetCaption(), "Adding Clip(s)");
        EXPECT_EQ(Shown().Percent, "0 %");
        EXPECT_EQ(Shown().BarWidth, 0);
        for (const TPercentCase& step : c.After) {
            m_window->StepIt();
            EXPECT_EQ(m_window->GetProgressPosition(), step.Percent);
            EXPECT_EQ(Shown().Percent, step.Label);
            EXPECT_EQ(Shown().BarWidth, step.BarWidth);
        }
    }
}

TEST_F(ProgressWindowTest, PositionsBeyondTheEndsShowTheEnds) {
    m_window->Start(4, 49);
    EXPECT_EQ(m_window->Label_Text->GetCaption(), "Creating Menu Image...");
    m_window->SetPosition(-2);
    EXPECT_EQ(Shown().Percent, "0 %");
    m_window->SetPosition(9);
    EXPECT_EQ(Shown().Percent, "100 %");
    m_window->SetPosition(2000000000);  // position x 100 is past the int range
    EXPECT_EQ(Shown().Percent, "100 %");
}

TEST_F(ProgressWindowTest, AWindowStartedWithNoStepsShowsCompleteWhenSteppedInsteadOfFaulting) {
    for (int max : {0, -3}) {
        SCOPED_TRACE(max);
        m_window->Start(max, 50);
        EXPECT_EQ(Shown().Percent, "0 %");
        m_window->StepIt();
        EXPECT_EQ(Shown().Percent, "100 %");
        EXPECT_EQ(Shown().BarWidth, 258);
        m_window->SetPosition(0);
        EXPECT_EQ(Shown().Percent, "100 %");
    }
}

TEST_F(ProgressWindowTest, RefusesEveryClose) {
    m_window->Start(2, 50);
    EXPECT_FALSE(m_window->CloseQuery());
    m_window->Close();  // the owner's request
    EXPECT_TRUE(m_window->GetVisible());
    EXPECT_FALSE(m_window->WidgetCloseRequested());  // the title bar's close, the system key
    EXPECT_TRUE(m_window->GetVisible());
}

TEST(ProgressPercent, DividesWithoutFaultingOnAnyMaximum) {
    struct {
        int Position, Max, Percent;
    } cases[] = {{0, 3, 0}, {1, 3, 33}, {3, 3, 100}, {5, 3, 100}, {-1, 3, 0}, {0, 0, 100}, {7, 0, 100},
                 {1, -1, 100}, {1, 1000, 0}, {10, 1000, 1}};
    for (const auto& c : cases) EXPECT_EQ(ProgressPercent(c.Position, c.Max), c.Percent) << c.Position << "/" << c.Max;
}

// The language file's texts reach the window's labels.
TEST(ProgressWindowLanguage, ApplyLanguageReadsTheWindowsSection) {
    testing_vcl::TTempFolder dir("progress-language");
    ASSERT_FALSE(dir.Path().empty());
    std::filesystem::create_directories(dir["Lang"]);
    std::ofstream(dir["Lang/Test.ini"]) << "[ProgressWindow]\nLabel_Text-Caption=Bitte warten\n"
                                           "Label_Text-FontName=Verdana\nLabel_Text-FontSize=9\n";
    const String savedExePath = ExePath;
    TIniFile* savedIni = LanguageIni;
    const String savedLanguage = UILanguage;
    LanguageIni = nullptr;
    ExePath = dir.Path() + "/";
    {
        TProgressWindow window(nullptr);
        ASSERT_TRUE(Language::LoadLanguageFile("Test.ini"));
        window.ApplyLanguage();
        EXPECT_EQ(window.Label_Text->GetCaption(), "Bitte warten");
        EXPECT_EQ(window.Label_Text->GetFont()->GetName(), "Verdana");
        EXPECT_EQ(window.Label_Text->GetFont()->GetSize(), 9);
    }
    delete LanguageIni;
    LanguageIni = savedIni;
    UILanguage = savedLanguage;
    ExePath = savedExePath;
}

}  // namespace
