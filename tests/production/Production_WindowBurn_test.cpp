// The production window's burning step on the scripted SDK: the burn with its disc questions,
// erases and notifications, the drive and speed lists, device changes during a run or under the
// Device window, and the step as a loop however many discs are asked for.
#include <gtest/gtest.h>
#include <ucontext.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "core/Language.h"
#include "core/Pubfunction.h"
#include "discwindows/Device_Window.h"
#include "disc/Starburn_control.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Compiler_Window.h"
#include "productionwindows/Convert_Window.h"
#include "tests/disc/FakeSdkFixture.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

namespace fs = std::filesystem;
using fake_starburn::FakeDrive;
using testing_vcl::TQuestionKind;

constexpr std::uint32_t kCdRom = 1, kDvdMinusR = 5, kDvdRom = 4, kDvdPlusRW = 9;
constexpr std::uint8_t kBlank = 0, kWritten = 2;
constexpr std::int64_t kHeadroom = 52428800;

String Msg(int n) { return Language::GetMessageText(n); }

class BurnStepTest : public FakeSdkTest {
public:
    // One VOB of the given size (sparse) is the whole folder.
    void SetFolderBytes(std::int64_t bytes) {
        const std::string vob = dvd_ + "/VTS_01_1.VOB";
        std::ofstream(vob).close();
        fs::resize_file(vob, static_cast<std::uintmax_t>(bytes));
    }
    const std::string& Dvd() const { return dvd_; }

protected:
    void SetUp() override {
        FakeSdkTest::SetUp();
        g_i_BurnerIndex = 0;
        ASSERT_FALSE(folder_.Path().empty());
        dvd_ = folder_["VIDEO_TS"];
        fs::create_directories(dvd_);
        SetFolderBytes(4096);
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
        drive.nwa = 100;
        return drive;
    }

    void MakeWindow() {
        window_ = std::make_unique<TBuilderWindow>(nullptr);
        window_->SetBuildMode();
        window_->s_DVDFolder = dvd_;
    }

    // As the run calls the step: busy, then the step, then the run's own end on success.
    bool RunStep() {
        window_->SetConvertParameters();
        window_->EnterBusyState();
        fake_starburn::State().calls.clear();
        const bool burnt = window_->BurnDisc();
        if (burnt) window_->EnterIdleState(1);
        return burnt;
    }

    std::vector<String> Log() const {
        std::vector<String> lines;
        TStrings* memo = window_->Memo_Msg->GetLines();
        for (int i = 0; i < memo->Count(); ++i) lines.push_back(memo->Strings(i));
        return lines;
    }

    static int Calls(const char* op) {
        const auto& calls = fake_starburn::State().calls;
        return static_cast<int>(std::count(calls.begin(), calls.end(), op));
    }

    std::vector<String> Items(TsuiComboBox* combo) const {
        std::vector<String> items;
        for (int i = 0; i < combo->GetItems()->Count(); ++i) items.push_back(combo->GetItems()->Strings(i));
        return items;
    }

    testing_vcl::TTempFolder folder_{"burnstep"};
    std::string dvd_;
    std::unique_ptr<TBuilderWindow> window_;
    testing_vcl::TScriptedInteraction ask_;
    testing_vcl::TInstallInteraction installed_{ask_};
};

// ---- the step --------------------------------------------------------------------------------------

struct BurnCase {
    const char* Name;
    std::function<void(BurnStepTest&, FakeDrive*)> Setup;   // drive is null: no burner
    bool WithDrive;
    std::vector<TModalResult> Answers;
    std::vector<String> Log;
    bool Burnt;
    int Ejects, Loads;
    std::vector<String> Boxes;   // texts of the boxes asked, in order
};

const String Check = "Check DVD disc >>>", Size = "Get source DVD size >>>", Burn = "Start to burn DVD disc >>>",
             BurnEnd = "<<< Burn DVD disc finish", Finish = "<<< Process finish",
             Cancelled = "<<< User cancels burning process", Wrong = "<<< Burning process wrong",
             EraseEnd = "<<< Erase disc finish",
             NoErase = "Can not erase this disc, please use other special disc tool to erase it";

String Media(const char* name) { return String("Inserted media : ") + name; }
String Erase(int n) { return "Start to erase disc -- " + IntToStr(n); }
String Another(int n) { return Msg(59) + Msg(n); }

TEST_F(BurnStepTest, TheStepForEachDisc) {
    constexpr std::uint32_t kFreeBlocks = 40000;   // 81,920,000 bytes
    const std::vector<BurnCase> cases = {
        {"blank DVD-R", [](BurnStepTest&, FakeDrive* d) { d->mediaType = kDvdMinusR; }, true, {},
         {Check, Media("DVD-R"), Size, Burn, BurnEnd, Finish}, true, 1, 0, {}},
        {"written DVD-R, a blank one put in",
         [](BurnStepTest&, FakeDrive* d) {
             d->discStatus = kWritten;
             d->onLoad = [](FakeDrive& drive) { drive.discStatus = kBlank; };
         },
         true, {mrOk}, {Check, Check, Media("DVD-R"), Size, Burn, BurnEnd, Finish}, true, 2, 1, {Another(61)}},
        {"written DVD-R, cancelled", [](BurnStepTest&, FakeDrive* d) { d->discStatus = kWritten; }, true, {mrCancel},
         {Check, Cancelled}, false, 1, 1, {Another(61)}},
        {"written DVD+RW erased",
         [](BurnStepTest&, FakeDrive* d) {
             d->mediaType = kDvdPlusRW;
             d->discStatus = kWritten;
         },
         true, {}, {Check, Erase(1), EraseEnd, Check, Media("DVD+RW"), Size, Burn, BurnEnd, Finish}, true, 1, 0, {}},
        {"erase failing",
         [](BurnStepTest&, FakeDrive* d) {
             d->mediaType = kDvdPlusRW;
             d->discStatus = kWritten;
             d->failing = {"Format"};
         },
         true, {mrCancel}, {Check, Erase(1), EraseEnd, NoErase, Cancelled}, false, 1, 1, {Another(61)}},
        {"three erases, then another disc",
         [](BurnStepTest&, FakeDrive* d) {
             d->mediaType = kDvdPlusRW;
             d->discStatus = kWritten;
             d->onBlank = [](FakeDrive& drive) { drive.discStatus = kWritten; };
             d->onLoad = [](FakeDrive& drive) {
                 drive.onBlank = nullptr;
                 drive.discStatus = kBlank;
             };
         },
         true, {mrOk},
         {Check, Erase(1), EraseEnd, Check, Erase(2), EraseEnd, Check, Erase(3), EraseEnd, NoErase, Check,
          Media("DVD+RW"), Size, Burn, BurnEnd, Finish},
         true, 2, 1, {Another(61)}},
        {"exactly the free space less the headroom",
         [](BurnStepTest& t, FakeDrive* d) {
             d->freeBlocks = kFreeBlocks;
             t.SetFolderBytes(std::int64_t{kFreeBlocks} * 2048 - kHeadroom);
         },
         true, {}, {Check, Media("DVD-R"), Size, Burn, BurnEnd, Finish}, true, 1, 0, {}},
        {"one byte more",
         [](BurnStepTest& t, FakeDrive* d) {
             d->freeBlocks = kFreeBlocks;
             t.SetFolderBytes(std::int64_t{kFreeBlocks} * 2048 - kHeadroom + 1);
         },
         true, {mrCancel}, {Check, Media("DVD-R"), Size, Cancelled}, false, 1, 1, {Another(63)}},
        {"no burner", [](BurnStepTest&, FakeDrive*) {}, false, {}, {Check, Wrong}, false, 0, 0, {Another(60)}},
        {"a drive another program holds", [](BurnStepTest&, FakeDrive* d) { d->inUse = true; }, true, {},
         {Check, Msg(240), Wrong}, false, 0, 0, {Another(60)}},
        {"a written DVD-RAM is written over",
         [](BurnStepTest&, FakeDrive* d) {
             d->mediaType = 6;
             d->discStatus = kWritten;
         },
         true, {}, {Check, Media("DVD-RAM"), Size, Burn, BurnEnd, Finish}, true, 1, 0, {}},
        {"folder gone", [](BurnStepTest& t, FakeDrive*) { fs::remove_all(t.Dvd()); }, true, {}, {Wrong}, false, 0, 0,
         {Another(62)}},
        {"burn failing", [](BurnStepTest&, FakeDrive* d) { d->failing = {"TrackAtOnceFromTree"}; }, true, {},
         {Check, Media("DVD-R"), Size, Burn, BurnEnd, Wrong}, false, 1, 0, {}},
        {"padding in pairs",
         [](BurnStepTest&, FakeDrive* d) {
             d->burnEvents = {{STARBURN_CN_DVD_MEDIA_PADDING_BEGIN, 0, 0}, {STARBURN_CN_DVD_MEDIA_PADDING_END, 0, 0}};
         },
         true, {}, {Check, Media("DVD-R"), Size, Burn, Msg(112), Msg(113), BurnEnd, Finish}, true, 1, 0, {}},
        {"padding end without a begin",
         [](BurnStepTest&, FakeDrive* d) { d->burnEvents = {{STARBURN_CN_DVD_MEDIA_PADDING_END, 0, 0}}; }, true, {},
         {Check, Media("DVD-R"), Size, Burn, BurnEnd, Finish}, true, 1, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        fake_starburn::State().drives.clear();
        fs::create_directories(dvd_);
        SetFolderBytes(4096);
        FakeDrive* drive = c.WithDrive ? &Writer(kDvdMinusR, kBlank) : nullptr;
        c.Setup(*this, drive);
        MakeWindow();
        ask_.Questions.clear();
        ask_.MessageAnswers.assign(c.Answers.begin(), c.Answers.end());
        EXPECT_EQ(RunStep(), c.Burnt);
        EXPECT_EQ(Log(), c.Log);
        EXPECT_EQ(Calls("Eject"), c.Ejects);
        EXPECT_EQ(Calls("Load"), c.Loads);
        std::vector<String> boxes;
        for (const auto& q : ask_.Of(TQuestionKind::MessageBox)) boxes.push_back(q.Text);
        EXPECT_EQ(boxes, c.Boxes);
        for (const auto& q : ask_.Of(TQuestionKind::MessageBox)) {
            const bool question = q.Text == Another(61) || q.Text == Another(63);
            EXPECT_EQ(q.DlgType, question ? mtConfirmation : mtError) << q.Text;
            EXPECT_EQ(q.Buttons, question ? (TMsgDlgButtons{mbOK, mbCancel}) : TMsgDlgButtons{mbOK}) << q.Text;
        }
        EXPECT_TRUE(ask_.AllAnswersUsed());
        EXPECT_EQ(window_->Label_Progress2->GetCaption(), c.Burnt ? "100 %" : "0 %");
        EXPECT_FALSE(window_->IsBusy());
        window_.reset();
    }
}

// ---- the step as a loop ------------------------------------------------------------------------------

constexpr std::size_t kSmallStack = 1024 * 1024;

struct StackRun {
    ucontext_t caller{}, callee{};
    std::function<void()> body;
#if defined(__SANITIZE_ADDRESS__)
    void* fakeStack = nullptr;
#endif
    static StackRun* current;

    static void Entry() {
#if defined(__SANITIZE_ADDRESS__)
        __sanitizer_finish_switch_fiber(nullptr, nullptr, nullptr);
#endif
        current->body();
#if defined(__SANITIZE_ADDRESS__)
        __sanitizer_start_switch_fiber(nullptr, nullptr, 0);
#endif
    }
};
StackRun* StackRun::current = nullptr;

// Runs Body on this thread (the windows' thread) but on a stack of Bytes: a recursion without
// bound overflows it.
void RunOnSmallStack(std::size_t Bytes, std::function<void()> Body) {
    std::vector<char> stack(Bytes);
    StackRun run;
    run.body = std::move(Body);
    StackRun::current = &run;
    getcontext(&run.callee);
    run.callee.uc_stack.ss_sp = stack.data();
    run.callee.uc_stack.ss_size = stack.size();
    run.callee.uc_link = &run.caller;
    makecontext(&run.callee, &StackRun::Entry, 0);
#if defined(__SANITIZE_ADDRESS__)
    void* saved = nullptr;
    __sanitizer_start_switch_fiber(&saved, stack.data(), stack.size());
#endif
    swapcontext(&run.caller, &run.callee);
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_finish_switch_fiber(saved, nullptr, nullptr);
#endif
    StackRun::current = nullptr;
}

TEST_F(BurnStepTest, ManyDiscsAskedForKeepTheStackFlat) {
    constexpr int kRounds = 20000;
    Writer(kDvdRom, kWritten);   // never usable: every round asks for another disc
    MakeWindow();
    int asked = 0;
    ask_.MessageResponder = [&asked](const testing_vcl::TRecordedQuestion&) {
        return ++asked <= kRounds ? mrOk : mrCancel;
    };
    bool burnt = true;
    RunOnSmallStack(kSmallStack, [&] { burnt = RunStep(); });
    EXPECT_FALSE(burnt);
    EXPECT_EQ(asked, kRounds + 1);
    EXPECT_EQ(Calls("Eject"), kRounds + 1);
    EXPECT_EQ(Calls("Load"), kRounds + 1);
    const std::vector<String> log = Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), Check), kRounds + 1);
    EXPECT_EQ(log.back(), Cancelled);
}

// ---- device changes ---------------------------------------------------------------------------------

TEST_F(BurnStepTest, ADeviceChangeDuringABurnWaitsForTheEndAndScansOnce) {
    FakeDrive& drive = Writer(kDvdMinusR, kBlank);
    drive.writeMs = 1500;
    MakeWindow();
    window_->Show();
    const int scansBefore = fake_starburn::State().scans;
    window_->SetConvertParameters();
    window_->EnterBusyState();
    window_->FillDriveList(0);   // a refill while busy leaves the lists as the run wants them
    const bool listsEnabledDuringBurn =
        window_->suiComboBox_Drive->GetEnabled() || window_->suiComboBox_WriteSpeed->GetEnabled();
    const int scansInRun = fake_starburn::State().scans;
    // A burst of changes; the first messages this thread serves are in the burn's wait.
    for (int i = 0; i < 5; ++i)
        PostMessageA(window_->GetHandle(), WM_DEVICECHANGE, i % 2 ? DBT_DEVICEREMOVECOMPLETE : DBT_DEVICEARRIVAL, 0);
    ASSERT_TRUE(window_->BurnDisc());
    EXPECT_FALSE(listsEnabledDuringBurn);
    EXPECT_EQ(fake_starburn::State().scans, scansInRun) << "no scan while the run is busy";
    EXPECT_EQ(drive.writes, 1);
    EXPECT_EQ(Log().back(), BurnEnd) << "the burn completed on its device and told this window";
    EXPECT_EQ(window_->b_DeviceChangeNoted, 1);
    window_->EnterIdleState(1);
    EXPECT_EQ(fake_starburn::State().scans, scansInRun + 1) << "exactly one scan on going idle";
    EXPECT_EQ(window_->b_DeviceChangeNoted, 0);
    EXPECT_TRUE(window_->suiComboBox_Drive->GetEnabled());
    EXPECT_EQ(Log().back(), Finish);
    EXPECT_GT(scansInRun, scansBefore);
    window_->Hide();
}

TEST_F(BurnStepTest, ADeviceChangeUnderTheDeviceWindowWaitsForItToClose) {
    Writer(kDvdMinusR, kBlank);
    DeviceWindow = new TDeviceWindow(nullptr);
    MakeWindow();
    window_->Show();
    int scansWhileShown = -1;
    const int scansBefore = fake_starburn::State().scans;
    ask_.ModalActions.push_back([&](TCustomForm* dialog) {
        Application->QueueCall([&, dialog] {
            window_->Perform(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
            window_->Perform(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
            // The button again while its dialog is up: nothing, not even a scan.
            window_->suiImageButton_DeviceClick(nullptr);
            scansWhileShown = fake_starburn::State().scans;
            dialog->SetModalResult(mrCancel);
        });
    });
    window_->suiImageButton_DeviceClick(nullptr);
    EXPECT_EQ(scansWhileShown, scansBefore + 1) << "only the Device button's own scan";
    EXPECT_EQ(fake_starburn::State().scans, scansBefore + 2) << "one scan once the dialog closed";
    EXPECT_EQ(window_->suiComboBox_Drive->GetItems()->Count(), 1);
    EXPECT_EQ(ask_.Of(TQuestionKind::ShowModal).size(), 1u);
    window_->Hide();
    delete DeviceWindow;
    DeviceWindow = nullptr;
}

TEST_F(BurnStepTest, AChangeOnAnIdleShownWindowRescansAtOnceAndOtherEventsDoNothing) {
    Writer(kDvdMinusR, kBlank);
    MakeWindow();
    window_->Show();
    int scans = fake_starburn::State().scans;
    window_->Perform(WM_DEVICECHANGE, 0x0007, 0);
    EXPECT_EQ(fake_starburn::State().scans, scans);
    Writer(kDvdMinusR, kBlank);
    window_->Perform(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    EXPECT_EQ(fake_starburn::State().scans, scans + 1);
    EXPECT_EQ(window_->suiComboBox_Drive->GetItems()->Count(), 2);
    // A hidden window only notes the change; showing it refills the lists once.
    window_->Hide();
    scans = fake_starburn::State().scans;
    window_->Perform(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
    EXPECT_EQ(fake_starburn::State().scans, scans);
    EXPECT_EQ(window_->b_DeviceChangeNoted, 1);
    window_->Show();
    EXPECT_EQ(fake_starburn::State().scans, scans + 1);
    EXPECT_EQ(window_->b_DeviceChangeNoted, 0);
    window_->Hide();
}

TEST_F(BurnStepTest, TheBurnersNotifications) {
    Writer(kDvdMinusR, kBlank);
    MakeWindow();
    struct Case { WPARAM Code; LPARAM Value; std::vector<String> Log; const char* Bar; };
    const Case cases[] = {
        {BURNER_NOTIFY_SCAN_DONE, 0, {}, "0 %"},
        {BURNER_NOTIFY_PROGRESS, 42, {}, "42 %"},
        {BURNER_NOTIFY_PROGRESS, 250, {}, "100 %"},
        {BURNER_NOTIFY_PADDING, 2, {}, "0 %"},
        {BURNER_NOTIFY_PADDING, 1, {}, "0 %"},
        {BURNER_NOTIFY_BURN_DONE, 0, {BurnEnd}, "0 %"},
        {BURNER_NOTIFY_BURN_DONE, 1, {BurnEnd}, "0 %"},
        {9, 1, {}, "0 %"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Code << "/" << c.Value);
        window_->EnterBusyState();
        window_->Perform(WM_BURNER_NOTIFY, c.Code, c.Value);
        EXPECT_EQ(Log(), c.Log);
        EXPECT_EQ(window_->Label_Progress2->GetCaption(), c.Bar);
    }
}

// ---- the lists ----------------------------------------------------------------------------------------

TEST_F(BurnStepTest, TheFirstDriveWithWriteSpeedsIsSelected) {
    Writer(kCdRom, kBlank);
    Writer(kDvdMinusR, kBlank);
    MakeWindow();
    window_->FillDriveList(-1);
    EXPECT_EQ(window_->suiComboBox_Drive->GetItemIndex(), 1);
    EXPECT_EQ(Items(window_->suiComboBox_Drive), (std::vector<String>{"Writer FAKE 1.00", "Writer FAKE 1.00"}));
    EXPECT_TRUE(window_->suiComboBox_Drive->GetEnabled());
    EXPECT_TRUE(window_->suiComboBox_WriteSpeed->GetEnabled());
    const std::vector<String> speeds = Items(window_->suiComboBox_WriteSpeed);
    ASSERT_FALSE(speeds.empty());
    EXPECT_EQ(window_->suiComboBox_WriteSpeed->GetItemIndex(), static_cast<int>(speeds.size()) - 1);
    // Choosing the drive in the list makes it every window's burner.
    window_->suiComboBox_Drive->SetItemIndex(0);
    window_->suiComboBox_DriveChange(nullptr);
    EXPECT_EQ(g_i_BurnerIndex, 0);
    EXPECT_EQ(Items(window_->suiComboBox_WriteSpeed), std::vector<String>{"Unsupport"});
}

// Creating a window fills its drive list; only the all-in-one window makes its choice shared.
TEST_F(BurnStepTest, OnlyTheAllInOneWindowStoresTheBurnerWhenItIsCreated) {
    Writer(kCdRom, kBlank);
    Writer(kDvdMinusR, kBlank);
    const auto make = [](int which) -> std::unique_ptr<TProductionWindow> {
        if (which == 0) return std::make_unique<TCompilerWindow>(nullptr);
        if (which == 1) return std::make_unique<TConvertWindow>(nullptr);
        return std::make_unique<TBuilderWindow>(nullptr);
    };
    const struct { int which; int stored; } cases[] = {{0, 7}, {1, 7}, {2, 1}};
    for (const auto& c : cases) {
        g_i_BurnerIndex = 7;
        std::unique_ptr<TProductionWindow> window = make(c.which);
        EXPECT_EQ(window->suiComboBox_Drive->GetItemIndex(), 1) << c.which;
        EXPECT_EQ(g_i_BurnerIndex, c.stored) << c.which;
    }
}

TEST_F(BurnStepTest, ADiscWithoutWriteSpeedsShowsUnsupport) {
    Writer(kDvdRom, kWritten);
    MakeWindow();
    window_->FillDriveList(-1);
    EXPECT_EQ(window_->suiComboBox_Drive->GetItemIndex(), 0) << "the last drive stays selected";
    EXPECT_EQ(Items(window_->suiComboBox_WriteSpeed), std::vector<String>{"Unsupport"});
    EXPECT_EQ(window_->suiComboBox_WriteSpeed->GetItemIndex(), 0);
    EXPECT_FALSE(window_->suiComboBox_WriteSpeed->GetEnabled());
}

TEST_F(BurnStepTest, NoBurnerLeavesAnEmptyDisabledDriveList) {
    Writer(kDvdMinusR, kBlank);
    MakeWindow();
    const std::vector<String> speeds = Items(window_->suiComboBox_WriteSpeed);
    fake_starburn::State().drives.clear();
    window_->FillDriveList(-1);
    EXPECT_TRUE(Items(window_->suiComboBox_Drive).empty());
    EXPECT_FALSE(window_->suiComboBox_Drive->GetEnabled());
    EXPECT_EQ(Items(window_->suiComboBox_WriteSpeed), speeds) << "the speed list keeps what it had";
}

}  // namespace
