// The Converter mode as a person runs it: the main window's Converter button, the clip editor,
// Next, Start in the convert window; playable VOBs land in the output folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupClip_Window.h"
#include "platform/win32/Windows.h"
#include "productionwindows/Convert_Window.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/StartUpFixture.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace fs = std::filesystem;

namespace {


std::string Capture(const std::string& Command) {
    std::string out;
    if (FILE* p = popen(Command.c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

class productionConverterFromMainWindow : public testing_vcl::TStartUpTest {
protected:
    productionConverterFromMainWindow() : TStartUpTest("convertmain") {}
    // The settings window chooses a work folder on a first run: in a scratch home, never the real one.
    testing_vcl::TScratchHome scratch;
    testing_vcl::TTempFolder out{"convertmain_out"};
    testing_vcl::TTempFolder clips{"convertmain_clips"};
    String savedOutput = g_s_OutputFolder;
    std::vector<std::string> opened;

    void SetUp() override {
        ASSERT_TRUE(testing_vcl::Ffmpeg("-f lavfi -i testsrc2=s=320x240:r=25:d=3 -f lavfi -i sine=f=440:d=3 "
                                        "-c:v libx264 -pix_fmt yuv420p -c:a aac -shortest",
                                        clips["holiday.mp4"]));
        OpenProgramFolder("[Option]\nUseDefault=0\nOpenDialogFilter=Video|*.mp4\n");
        Win32_SetOpener([this](const std::string& target) { opened.push_back(target); return true; });
        MakeStartUpWindows();
        ConvertWindow = new TConvertWindow(nullptr);
        ConvertWindow->AfterConstruction();
        g_s_OutputFolder = out.Path() + "/";
    }
    void TearDown() override {
        delete ConvertWindow;
        ConvertWindow = nullptr;
        FreeStartUpWindows();
        Win32_SetOpener(nullptr);
        g_s_OutputFolder = savedOutput;
    }
};

TEST_F(productionConverterFromMainWindow, AClipBecomesAPlayableVobInTheOutputFolder) {
    String lastLine;
    ask.ModalActions.push_back([&](TCustomForm* Form) {
        ASSERT_EQ(Form, SetupClipWindow);
        ask.AnswerFiles({clips["holiday.mp4"]});
        testing_vcl::Click(SetupClipWindow->suiImageButton_AddFile);
        ASSERT_EQ(ClipInfo.size(), 1u);
        testing_vcl::Click(SetupClipWindow->suiImageButton_Menu);
        Form->Close();
    });
    ask.ModalActions.push_back([&](TCustomForm* Form) {
        ASSERT_EQ(Form, ConvertWindow);
        ConvertWindow->suiImageButton_StartClick(nullptr);
        TStrings* lines = ConvertWindow->Memo_Msg->GetLines();
        if (lines->Count() > 0) lastLine = lines->Strings(lines->Count() - 1);
        Form->Close();
    });
    testing_vcl::Click(MainWindow->suiImageButton_Converter);

    EXPECT_EQ(lastLine, "<<< Process finish");
    ASSERT_EQ(opened.size(), 1u) << "the run ends by opening the output folder";
    EXPECT_EQ(opened[0], g_s_OutputFolder);
    const fs::path vob = fs::path(out.Path()) / "OutputVOB_0.vob";
    ASSERT_TRUE(fs::exists(vob));
    const std::string probe = "ffprobe -v error -show_entries stream=codec_name -of default=nw=1:nk=1 '" +
                              vob.string() + "'";
    const std::string codecs = Capture(probe);
    EXPECT_NE(codecs.find("mpeg2video"), std::string::npos) << codecs;
    EXPECT_NE(codecs.find("ac3"), std::string::npos) << codecs;
    const double seconds = std::atof(Capture("ffprobe -v error -show_entries format=duration -of "
                                             "default=nw=1:nk=1 '" + vob.string() + "'").c_str());
    EXPECT_NEAR(seconds, 3.0, 0.2);
    EXPECT_TRUE(ask.Failures.empty());
}

}  // namespace
