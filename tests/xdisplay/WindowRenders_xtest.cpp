// Every window of the program as a user sees it on a real display, in each shipped language:
// the forms are made as start-up makes them, shown one at a time and grabbed from the screen
// into build/renders/windows/<language>/<window>.png; probes read the pixels where a user
// would first notice a fault (a hidden edit, a bar without a well, a faint tick, unreadable text).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/About_Window.h"
#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "app/ProgramForms.h"
#include "app/Progress_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupChapter_Window.h"
#include "app/SetupClip_Window.h"
#include "app/SetupDVDFile_Window.h"
#include "app/SetupSubtitle_Window.h"
#include "discwindows/Device_Window.h"
#include "menu/SetupImage_Window.h"
#include "menu/SetupMenu_Window.h"
#include "menu/SetupText_Window.h"
#include "platform/vcl/Forms.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Burn_Window.h"
#include "productionwindows/Compiler_Window.h"
#include "productionwindows/Convert_Window.h"
#include "skin/controls/SUIGroupBox.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"
#include "tests/support/xdisplay/XInput.h"

namespace fs = std::filesystem;

namespace {

const fs::path kDist = fs::path(TEST_PEER_DIR) / ".." / ".." / "dist";
const fs::path kRenders = fs::path(TEST_PEER_DIR) / ".." / ".." / "renders" / "windows";
const char* const kLanguages[] = {"English", "Deutsch", "Francais"};

int Channel(TColor c, int Shift) { return (c >> Shift) & 0xFF; }

// Relative luminance as the contrast formula of the accessibility guidelines uses it.
double Luminance(TColor c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(Channel(c, 0)) + 0.7152 * lin(Channel(c, 8)) + 0.0722 * lin(Channel(c, 16));
}

double Contrast(TColor a, TColor b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The pixel of a screen area that stands out most from Background.
double StrongestContrast(int X, int Y, int W, int H, TColor Background) {
    double best = 1;
    for (int y = Y; y < Y + H; ++y)
        for (int x = X; x < X + W; ++x) best = std::max(best, Contrast(testing_x::ScreenPixel(x, y), Background));
    return best;
}

// A program folder of its own (pictures, languages, libraries), every form made in start-up
// order, as the program does.
class WindowRenders : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!testing_x::OnRealDisplay()) return;
        folder = new testing_vcl::TTempFolder("windowrenders");
        fs::copy(kDist, folder->Path(), fs::copy_options::recursive | fs::copy_options::skip_existing);
        fs::create_directories(folder->Path() + "/Output");
        std::ofstream(folder->Path() + "/Option.ini")
            << "[Option]\nUseDefault=0\nOutputFolder=" << folder->Path() << "/Output/\n";
        savedExePath = ExePath;
        ExePath = folder->Path() + "/";
        ask = new testing_vcl::TScriptedInteraction();
        installed = new testing_vcl::TInstallInteraction(*ask);
        Language::SetGroupBoxCaptionSetter(&SUISetGroupBoxCaption);
        CreateProgramForms();
        OptionWindow->OnDestroy = nullptr;
    }
    static void TearDownTestSuite() {
        if (folder == nullptr) return;
        while (Application->ComponentCount() > 0) delete Application->Components(Application->ComponentCount() - 1);
        Pubfunction::ClearClipInfo();
        Pubfunction::FreeSharedBitmaps();
        delete installed;
        delete ask;
        ExePath = savedExePath;
        delete folder;
        folder = nullptr;
    }
    void SetUp() override {
        if (!testing_x::OnRealDisplay()) GTEST_SKIP() << "no X display";
    }

    static void UseLanguage(const String& Name) {
        ASSERT_TRUE(Language::LoadLanguageFile(Name + ".ini"));
        UILanguage = Name + ".ini";
        ApplyLanguageToAllForms(MainWindow);
    }

    // Shows Form (after Prepare), waits until the server has drawn it, and leaves it shown.
    static void ShowOnScreen(TForm* Form) {
        Form->Show();
        ASSERT_TRUE(testing_vcl::RunUntil([&] { return Form->GetVisible(); }));
        testing_x::Settle(400);
    }
    static TPoint Origin(TForm* Form) { return testing_x::ScreenPointOf(Form, 0, 0); }

    static void Grab(TForm* Form, const String& Language, const String& Name) {
        const fs::path dir = kRenders / Language;
        fs::create_directories(dir);
        const TPoint o = Origin(Form);
        EXPECT_TRUE(testing_x::SaveScreenArea(o.x, o.y, Form->GetClientWidth(), Form->GetClientHeight(),
                                              (dir / (Name + ".png")).string()))
            << Name;
    }

    static testing_vcl::TTempFolder* folder;
    static String savedExePath;
    static testing_vcl::TScriptedInteraction* ask;
    static testing_vcl::TInstallInteraction* installed;
};

testing_vcl::TTempFolder* WindowRenders::folder = nullptr;
String WindowRenders::savedExePath;
testing_vcl::TScriptedInteraction* WindowRenders::ask = nullptr;
testing_vcl::TInstallInteraction* WindowRenders::installed = nullptr;

struct Shown {
    const char* name;
    std::function<TForm*()> prepare;
};

std::vector<Shown> EveryWindow() {
    return {
        {"main", [] { return static_cast<TForm*>(MainWindow); }},
        {"options", [] { return static_cast<TForm*>(OptionWindow); }},
        {"cliplist_builder", [] { SetupClipWindow->SetBuilderMode(); return static_cast<TForm*>(SetupClipWindow); }},
        {"cliplist_converter", [] { SetupClipWindow->SetConverterMode(); return static_cast<TForm*>(SetupClipWindow); }},
        {"subtitle", [] { return static_cast<TForm*>(SetupSubtitleWindow); }},
        {"menudesigner", [] { SetupMenuWindow->SetupForCompiler(); return static_cast<TForm*>(SetupMenuWindow); }},
        {"chapter", [] { return static_cast<TForm*>(SetupChapterWindow); }},
        {"textstyle", [] { return static_cast<TForm*>(SetupTextWindow); }},
        {"framechooser", [] { return static_cast<TForm*>(SetupImageWindow); }},
        {"about", [] { return static_cast<TForm*>(AboutWindow); }},
        {"burnersource", [] { return static_cast<TForm*>(SetupDVDFileWindow); }},
        {"compiler", [] { CompilerWindow->SetCompileMode(); return static_cast<TForm*>(CompilerWindow); }},
        {"convert", [] { ConvertWindow->SetConvertMode(); return static_cast<TForm*>(ConvertWindow); }},
        {"burn", [] { BurnWindow->SetBurnMode(); return static_cast<TForm*>(BurnWindow); }},
        {"builder", [] { BuilderWindow->SetBuildMode(); return static_cast<TForm*>(BuilderWindow); }},
        {"device", [] { return static_cast<TForm*>(DeviceWindow); }},
    };
}

TEST_F(WindowRenders, EveryWindowInEveryLanguage) {
    for (const char* language : kLanguages) {
        UseLanguage(language);
        for (const Shown& s : EveryWindow()) {
            TForm* form = s.prepare();
            ShowOnScreen(form);
            Grab(form, language, s.name);
            form->Hide();
            testing_vcl::RunFor(50);
        }
    }
    UseLanguage("English");
}

TEST_F(WindowRenders, TheCompilerShowsItsOutputFolder) {
    UseLanguage("English");
    CompilerWindow->SetCompileMode();
    ShowOnScreen(CompilerWindow);
    TsuiEdit* edit = CompilerWindow->suiEdit_OutputFolder;
    TBitmap* skin = CompilerWindow->suiSkinForm1->GetGlyph();
    const TPoint inEdit{edit->GetLeft() + edit->GetWidth() / 2, edit->GetTop() + edit->GetHeight() / 2};
    const TPoint s = testing_x::ScreenPointOf(CompilerWindow, inEdit.x, inEdit.y);
    // The edit's face, not the skin beneath it.
    EXPECT_NE(testing_x::ScreenPixel(s.x, s.y), skin->GetCanvas()->GetPixels(inEdit.x, inEdit.y));
    // Browse shows: its edge and its word stand out from the body around it.
    TControl* browse = CompilerWindow->suiImageButton_Browse;
    const TPoint b = testing_x::ScreenPointOf(browse, 0, 0);
    EXPECT_GT(StrongestContrast(b.x, b.y, browse->GetWidth(), browse->GetHeight(), skin->GetCanvas()->GetPixels(30, 160)), 4.5);
    CompilerWindow->Hide();
}

// An empty bar still shows its track: the pixels where it will run stand out from the body.
TEST_F(WindowRenders, EveryProductionBarHasAWell) {
    UseLanguage("English");
    struct Bar { TForm* form; TImage* bar; std::function<void()> prepare; };
    const Bar bars[] = {
        {CompilerWindow, CompilerWindow->Image_Progress1, [] { CompilerWindow->SetCompileMode(); }},
        {CompilerWindow, CompilerWindow->Image_Progress2, [] { CompilerWindow->SetCompileMode(); }},
        {ConvertWindow, ConvertWindow->Image_Progress1, [] { ConvertWindow->SetConvertMode(); }},
        {BuilderWindow, BuilderWindow->Image_Progress1, [] { BuilderWindow->SetBuildMode(); }},
        {BuilderWindow, BuilderWindow->Image_Progress2, [] { BuilderWindow->SetBuildMode(); }},
        {DeviceWindow, DeviceWindow->Image_Progress1, [] {}},
    };
    for (const Bar& b : bars) {
        b.prepare();
        ShowOnScreen(b.form);
        // The well's edge above the bar stands out from the body; inside, the well is light
        // enough for the black percentage drawn over it.
        const TPoint edge = testing_x::ScreenPointOf(b.form, b.bar->GetLeft() + 120, b.bar->GetTop() - 4);
        const TPoint body = testing_x::ScreenPointOf(b.form, b.bar->GetLeft() + 120, b.bar->GetTop() - 9);
        const TColor bodyColour = testing_x::ScreenPixel(body.x, body.y);
        EXPECT_GT(StrongestContrast(edge.x, edge.y, 1, 3, bodyColour), 3.0) << b.form->GetName() << " " << b.bar->GetName();
        const TPoint inside = testing_x::ScreenPointOf(b.form, b.bar->GetLeft() + 200, b.bar->GetTop() + 5);
        EXPECT_GT(Contrast(testing_x::ScreenPixel(inside.x, inside.y), clBlack), 7.0) << b.form->GetName() << " " << b.bar->GetName();
        b.form->Hide();
    }
    EXPECT_EQ(ConvertWindow->Image_Progress1->GetLeft(), 142);
}

// "Add DVD Menu" ticked can be told at a glance: the tick stands out from its box.
TEST_F(WindowRenders, TheTickStandsOutFromItsBox) {
    UseLanguage("English");
    SetupClipWindow->SetBuilderMode();
    TsuiCheckBox* box = SetupClipWindow->suiCheckBox_AddDVDMenu;
    box->SetChecked(true);
    ShowOnScreen(SetupClipWindow);
    const TPoint o = testing_x::ScreenPointOf(box, 0, 0);
    const int top = (box->GetHeight() - 13) / 2;
    // The box's own face, at its top-left inside the border, against its darkest mark.
    const TColor face = testing_x::ScreenPixel(o.x + 3, o.y + top + 2);
    EXPECT_GT(StrongestContrast(o.x + 2, o.y + top + 2, 11, 10, face), 4.5);
    box->SetChecked(false);
    testing_x::Settle(200);
    EXPECT_LT(StrongestContrast(o.x + 3, o.y + top + 3, 8, 8, face), 2.0);
    box->SetChecked(true);
    // The trim times as a person reads them, every digit whole (for a look: cliplist_times.png).
    SetupClipWindow->suiEdit_Start->SetText("01:23:45");
    SetupClipWindow->suiEdit_Stop->SetText("12:34:56");
    testing_x::Settle(200);
    const TPoint trim = testing_x::ScreenPointOf(SetupClipWindow, 10, 370);
    fs::create_directories(kRenders / "English");
    testing_x::SaveScreenArea(trim.x, trim.y, 340, 40, (kRenders / "English" / "cliplist_times.png").string());
    SetupClipWindow->Hide();
}

// Escape from the keyboard does what the dialog's Close or Cancel does.
TEST_F(WindowRenders, EscapeClosesTheDialogs) {
    UseLanguage("English");
    const std::pair<TForm*, TControl*> dialogs[] = {{DeviceWindow, DeviceWindow->GroupBox1},
                                                    {SetupDVDFileWindow, SetupDVDFileWindow->suiStringGrid_DVDFiles}};
    for (const auto& [dialog, inside] : dialogs) {
        ShowOnScreen(dialog);
        testing_x::ClickOn(inside);  // the window has the keyboard
        testing_x::Key("Escape");
        EXPECT_TRUE(testing_vcl::RunUntil([&] { return !dialog->GetVisible(); }, 2000)) << dialog->GetName();
        dialog->Hide();
    }
}

// The mode description is readable on its navy well in every language.
TEST_F(WindowRenders, TheModeDescriptionIsReadable) {
    for (const char* language : {"Deutsch", "Francais"}) {
        UseLanguage(language);
        ShowOnScreen(MainWindow);
        MainWindow->ShowModeDescription(MainWindow->Image_Builder);
        testing_x::Settle(200);
        TLabel* text = MainWindow->Label_Description;
        const TPoint o = testing_x::ScreenPointOf(MainWindow, text->GetLeft(), text->GetTop());
        const TColor well = testing_x::ScreenPixel(o.x - 10, o.y + 20);
        EXPECT_GT(StrongestContrast(o.x, o.y, text->GetWidth(), 30, well), 7.0) << language;
        const fs::path dir = kRenders / language;
        fs::create_directories(dir);
        testing_x::SaveScreenArea(o.x - 30, o.y - 30, 400, 130, (dir / "main_description.png").string());
        MainWindow->ShowModeDescription(nullptr);
        MainWindow->Hide();
    }
    UseLanguage("English");
}

}  // namespace
