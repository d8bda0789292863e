#include "app/StarUp.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/vcl/Graphics.h"

namespace {

// One pause of the fade: the opacity the window had when it paused, and for how long.
struct TStep {
    int Alpha;
    int Ms;
    bool operator==(const TStep&) const = default;
};

std::vector<TStep> Expected(int From, int To, int By, int Ms) {
    std::vector<TStep> steps;
    for (int a = From; By > 0 ? a <= To : a >= To; a += By) steps.push_back({a, Ms});
    return steps;
}

class StartFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_form = std::make_unique<TStartForm>(nullptr);
        m_form->SetPause([this](int Ms) { m_steps.push_back({m_form->GetAlphaBlendValue(), Ms}); });
    }
    // The pauses of one Fade.
    std::vector<TStep> Fade() {
        m_steps.clear();
        m_form->Fade();
        return m_steps;
    }

    std::unique_ptr<TStartForm> m_form;
    std::vector<TStep> m_steps;
};

TEST_F(StartFormTest, StartsInvisibleBorderlessAndOnTopWithTheSplashPicture) {
    EXPECT_TRUE(m_form->GetAlphaBlend());
    EXPECT_EQ(m_form->GetAlphaBlendValue(), 0);
    EXPECT_EQ(m_form->GetBorderStyle(), bsNone);
    EXPECT_EQ(m_form->GetFormStyle(), fsStayOnTop);
    EXPECT_EQ(m_form->GetPosition(), poScreenCenter);
    EXPECT_EQ(m_form->GetClientWidth(), 446);
    EXPECT_EQ(m_form->GetClientHeight(), 243);
    EXPECT_EQ(m_form->Image1->GetPicture()->GetWidth(), 446);
    EXPECT_EQ(m_form->Image1->GetPicture()->GetHeight(), 243);
}

TEST_F(StartFormTest, FadesInByTensWithTwentyMsPausesThenSettlesOn255WithoutAPause) {
    std::vector<TStep> steps = Fade();
    EXPECT_EQ(steps, Expected(10, 250, 10, 20));
    EXPECT_EQ(steps.size(), 25u);
    EXPECT_EQ(m_form->GetAlphaBlendValue(), 255);
}

TEST_F(StartFormTest, SecondFadeFadesOutByFivesWithTenMsPausesDownToZero) {
    Fade();
    std::vector<TStep> steps = Fade();
    EXPECT_EQ(steps, Expected(250, 0, -5, 10));
    EXPECT_EQ(steps.size(), 51u);
    EXPECT_EQ(m_form->GetAlphaBlendValue(), 0);
}

TEST_F(StartFormTest, FadeAfterTheFadeOutReturnsAtOnce) {
    Fade();
    Fade();
    EXPECT_TRUE(Fade().empty());
    EXPECT_EQ(m_form->GetAlphaBlendValue(), 0);
}

TEST_F(StartFormTest, ClearingThePauseRestoresTheRealOneThatServesMessages) {
    m_form->SetPause(nullptr);
    m_form->Show();
    m_form->Fade();
    EXPECT_EQ(m_form->GetAlphaBlendValue(), 255);
    EXPECT_TRUE(m_steps.empty());
}

}  // namespace
