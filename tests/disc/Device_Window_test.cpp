// The device dialog on the scripted SDK: what it shows of a burner and its disc, the erase with
// its refusals while running, and the bar's arithmetic.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/Language.h"
#include "discwindows/Device_Window.h"
#include "disc/Starburn_control.h"
#include "platform/vcl/PngWriter.h"
#include "tests/disc/FakeSdkFixture.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TestHelpers.h"

namespace {

using fake_starburn::FakeDrive;
using testing_vcl::TQuestionKind;

TEST(DeviceWindowArithmetic, TheEraseBarAssumesThreeMinutesAndHoldsAt99) {
    const std::pair<int, int> ticks[] = {{0, 0}, {1, 0}, {4, 1}, {180, 50}, {356, 98}, {360, 99}, {1000, 99}};
    for (auto [t, p] : ticks) EXPECT_EQ(EraseTickPercent(t), p) << t;
    const std::pair<int, int> pixels[] = {{100, 257}, {150, 257}, {-3, 0}, {50, 128}};
    for (auto [p, px] : pixels) EXPECT_EQ(EraseBarPixels(p), px) << p;
}

class DeviceWindowTest : public FakeSdkTest {
protected:
    void SetUp() override {
        FakeSdkTest::SetUp();
        window_ = std::make_unique<TDeviceWindow>(nullptr);
    }

    void TearDown() override {
        window_.reset();
        UninitBurner();
        FakeSdkTest::TearDown();
    }

    FakeDrive& Writer(std::uint32_t media, std::uint8_t status) {
        FakeDrive& drive = AddDrive("CdRom" + std::to_string(fake_starburn::State().drives.size()));
        drive.mediaType = media;
        drive.discStatus = status;
        drive.nwaValid = false;
        drive.freeBlocks = 1024 * 1024;
        return drive;
    }

    void Scan() {
        InitBurner(nullptr);
        ASSERT_TRUE(FindDevices(true, true));
    }

    // Shows the dialog; Inside runs from its message loop, then the dialog is closed.
    void ShowWith(int Index, std::function<void()> Inside) {
        ask_.ModalActions.push_back([this, Inside](TCustomForm*) {
            Application->QueueCall([this, Inside] {
                if (Inside) Inside();
                window_->suiImageButton_CloseClick(nullptr);
            });
        });
        window_->ShowDevice(Index);
    }

    void Render(const char* Name) { testing_vcl::SaveRender(window_.get(), "burn", Name); }

    std::vector<String> Boxes() const {
        std::vector<String> texts;
        for (const auto& q : ask_.Of(TQuestionKind::MessageBox)) texts.push_back(q.Text);
        return texts;
    }

    std::unique_ptr<TDeviceWindow> window_;
    testing_vcl::TScriptedInteraction ask_;
    testing_vcl::TInstallInteraction installed_{ask_};
};

TEST_F(DeviceWindowTest, ABlankDvdMinusRCannotBeErased) {
    FakeDrive& drive = Writer(5, 0);
    drive.caps[8] = 1;
    Scan();
    ShowWith(0, [this] {
        EXPECT_TRUE(window_->IsShowing());
        EXPECT_EQ(window_->lblType->GetCaption(), "DVD-R");
        EXPECT_FALSE(window_->suiImageButton_Start->GetEnabled());
        EXPECT_EQ(window_->lblDriveType->GetCaption(), "Writer FAKE 1.00");
        EXPECT_EQ(window_->lblAvailableSize->GetCaption(), "2048.00");
        EXPECT_TRUE(window_->DVD_R->GetChecked());
        EXPECT_TRUE(window_->DVD_RW->GetChecked());
        EXPECT_FALSE(window_->DVDPLUS_R->GetChecked());
        EXPECT_NE(window_->lblMaxWrite->GetCaption(), "N/A");
    });
    EXPECT_FALSE(window_->IsShowing());
    EXPECT_TRUE(Boxes().empty());
}

// libburn blanks a sequential DVD-RW; a disc written over in place is erased by overwriting it.
TEST_F(DeviceWindowTest, AWrittenRewritableDiscIsErasedToTheEnd) {
    struct Case {
        std::uint32_t media;
        const char* type;
        int blanks, formats;
    };
    for (const Case& c : {Case{8, "DVD-RW", 1, 0}, Case{7, "DVD-RW", 0, 1}, Case{9, "DVD+RW", 0, 1}}) {
        SCOPED_TRACE(c.media);
        fake_starburn::State().drives.clear();
        ask_.Questions.clear();
        Writer(c.media, 2);
        Scan();
        ask_.MessageAnswers = {mrYes, mrOk};
        ShowWith(0, [this, c] {
            EXPECT_EQ(window_->lblType->GetCaption(), c.type);
            ASSERT_TRUE(window_->suiImageButton_Start->GetEnabled());
            if (c.media == 8) Render("device_written_dvdrw.png");
            window_->suiImageButton_StartClick(nullptr);
            EXPECT_EQ(window_->Label_Progress1->GetCaption(), "100 %");
            EXPECT_EQ(window_->Image_Progress1->GetWidth(), 257);
            EXPECT_EQ(window_->b_Erasing, 0);
        });
        EXPECT_EQ(Boxes(), (std::vector<String>{Language::GetMessageText(135), "Erase disc finish"}));
        EXPECT_EQ(fake_starburn::State().drives[0].blanks, c.blanks);
        EXPECT_EQ(fake_starburn::State().drives[0].formats, c.formats);
        EXPECT_EQ(fake_starburn::State().drives[0].holding, 0) << "closing the window let go of the drive";
    }
}

TEST_F(DeviceWindowTest, DuringAnEraseCloseAndEraseOnlySayWait) {
    FakeDrive& drive = Writer(8, 2);
    drive.blankMs = 1200;
    Scan();
    ask_.MessageAnswers = {mrYes};
    ask_.MessageResponder = [](const testing_vcl::TRecordedQuestion&) { return mrOk; };
    bool stillShown = false;
    ShowWith(0, [&] {
        // Clicks that arrive while the erase runs, from the messages its wait keeps flowing.
        Application->QueueCall([&] {
            window_->suiImageButton_CloseClick(nullptr);
            window_->suiImageButton_StartClick(nullptr);
            bool canClose = true;
            window_->FormCloseQuery(nullptr, canClose);
            EXPECT_FALSE(canClose);
            window_->i_EraseTicks = 150;
            window_->TimerTimer(nullptr);
            Render("device_mid_erase.png");
            stillShown = window_->b_Erasing == 1 && window_->IsShowing();
        });
        window_->suiImageButton_StartClick(nullptr);
    });
    EXPECT_TRUE(stillShown);
    const String wait = "Erasing disc now, please wait.";
    EXPECT_EQ(Boxes(), (std::vector<String>{Language::GetMessageText(135), wait, wait, "Erase disc finish"}));
    EXPECT_EQ(drive.blanks, 1) << "no second erase";
}

TEST_F(DeviceWindowTest, AFailedEraseSaysSo) {
    FakeDrive& drive = Writer(9, 2);
    drive.failing = {"Format"};
    Scan();
    ask_.MessageAnswers = {mrYes, mrOk};
    ShowWith(0, [this] { window_->suiImageButton_StartClick(nullptr); });
    const auto boxes = ask_.Of(TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, "Can not erase this disc, please use other special disc tool to erase it");
    EXPECT_EQ(boxes[1].DlgType, mtError);
}

TEST_F(DeviceWindowTest, NoAnswerYesLeavesTheDiscAlone) {
    Writer(7, 2);
    Scan();
    ask_.MessageAnswers = {mrNo};
    ShowWith(0, [this] { window_->suiImageButton_StartClick(nullptr); });
    EXPECT_EQ(fake_starburn::State().drives[0].blanks, 0);
    EXPECT_EQ(window_->Label_Progress1->GetCaption(), "0 %");
}

TEST_F(DeviceWindowTest, TheBarHoldsAt99UntilTheEraseEnds) {
    Writer(7, 2);
    Scan();
    ShowWith(0, [this] {
        window_->i_EraseTicks = 359;
        window_->TimerTimer(nullptr);
        EXPECT_EQ(window_->Label_Progress1->GetCaption(), "99 %");
        window_->i_EraseTicks = 2000;
        window_->TimerTimer(nullptr);
        EXPECT_EQ(window_->Label_Progress1->GetCaption(), "99 %");
        EXPECT_EQ(window_->Label_UsedTime->GetCaption(), "00:16:40");
    });
}

TEST_F(DeviceWindowTest, MissingSpeedsAndNoDiscShowNA) {
    FakeDrive& drive = Writer(5, 0);
    drive.failing = {"GetSpeeds"};
    Scan();
    ShowWith(0, [this] {
        EXPECT_EQ(window_->lblMaxRead->GetCaption(), "N/A");
        EXPECT_EQ(window_->lblMaxWrite->GetCaption(), "N/A");
    });
    ShowWith(5, [this] {
        for (TLabel* label : {window_->lblType, window_->lblAvailableSize, window_->lblUsedSize,
                              window_->lblTracks, window_->lblSessions})
            EXPECT_EQ(label->GetCaption(), "N/A") << label->GetName();
        EXPECT_FALSE(window_->suiImageButton_Start->GetEnabled());
        EXPECT_FALSE(window_->DVD_R->GetChecked());
    });
}

TEST_F(DeviceWindowTest, EveryShowingStartsFromZero) {
    Writer(7, 2);
    Scan();
    ShowWith(0, [this] {
        for (int i = 0; i < 7; ++i) window_->TimerTimer(nullptr);
        EXPECT_EQ(window_->Label_UsedTime->GetCaption(), "00:00:03");
    });
    ShowWith(0, [this] {
        EXPECT_EQ(window_->Label_UsedTime->GetCaption(), "00:00:00");
        window_->TimerTimer(nullptr);
        EXPECT_EQ(window_->Label_Progress1->GetCaption(), "0 %");
        EXPECT_EQ(window_->Label_UsedTime->GetCaption(), "00:00:00");
    });
}

}  // namespace
