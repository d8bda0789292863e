#include "skin/core/SUIURLLabel.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/win32/Windows.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class URLLabelForm : public ::testing::Test {
protected:
    void SetUp() override {
        Win32_SetOpener([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(80, 80, 300, 100);
        label = new TsuiURLLabel(form.get());
        label->SetParent(form.get());
        label->SetBounds(10, 10, 100, 20);
        label->SetCaption("Home page");
    }
    void TearDown() override {
        form.reset();
        Win32_SetOpener(nullptr);
    }
    std::unique_ptr<TForm> form;
    TsuiURLLabel* label = nullptr;
    std::vector<std::string> opened;
};

TEST_F(URLLabelForm, ClickOpensTheAddressThenFiresOnClick) {
    form->Show();
    int clicks = 0;
    label->OnClick = [&](TObject*) {
        ++clicks;
        EXPECT_EQ(opened.size(), 1u) << "the address opens first";
    };
    label->SetURL("https://example.org/dvd");
    ClickAt(label, 5, 5);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/dvd"});
    EXPECT_EQ(clicks, 1);
}

TEST_F(URLLabelForm, BlankAddressOpensNothing) {
    form->Show();
    int clicks = 0;
    label->OnClick = [&](TObject*) { ++clicks; };
    for (const char* url : {"", "   "}) {
        label->SetURL(url);
        ClickAt(label, 5, 5);
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(clicks, 2);
}

TEST_F(URLLabelForm, HoverColours) {
    form->Show();
    EXPECT_EQ(label->GetFont()->GetColor(), clBlue);
    EXPECT_TRUE(label->GetFont()->GetStyle().Contains(fsUnderline));
    EXPECT_EQ(label->GetCursor(), crHandPoint);
    MouseMoveTo(label, 5, 5);
    EXPECT_EQ(label->GetFont()->GetColor(), clRed);
    MouseMoveTo(form.get(), 250, 80);
    EXPECT_EQ(label->GetFont()->GetColor(), clBlue);
    label->SetFontLinkColor(clGreen);
    EXPECT_EQ(label->GetFont()->GetColor(), clGreen);
}

}  // namespace
