// Whole runs from an offscreen production window with the real media and authoring modules:
// a Builder run with menus, music, a root menu, chapters and subtitles; a Builder run of one
// wide NTSC clip; a Compiler run over the user's PAL VOBs with the NTSC setting. Each disc is
// read back with libdvdread and played with libdvdnav from first play, and stays in
// build/e2e/builder/<case>/ for a person or a player.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "model/MenuObjects.h"
#include "platform/vcl/PngWriter.h"
#include "platform/vcl/SysUtils.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Compiler_Window.h"
#include "tests/libs/dozezedav/DozezedavFixture.h"
#include "tests/support/DvdDisc.h"
#include "tests/support/DvdPlayer.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace {

namespace fs = std::filesystem;
using namespace testing_vcl;

const fs::path kBuild = fs::path(TEST_PEER_DIR) / "../..";

std::string ReadAll(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TBitmap* Solid(int w, int h, TColor colour) {
    auto* b = new TBitmap(w, h, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(colour);
    b->GetCanvas()->FillRect(TRect(0, 0, w, h));
    return b;
}

void Render(TWinControl* Control, const std::string& Name) { testing_vcl::SaveRender(Control, "production", Name + ".png"); }

// The button rectangles a spumux XML lists, in order.
std::vector<TButtonRect> XmlButtons(const std::string& Xml) {
    std::vector<TButtonRect> rects;
    const std::string text = ReadAll(Xml);
    const std::regex button(R"re(<button x0="(\d+)" y0="(\d+)" x1="(\d+)" y1="(\d+)"/>)re");
    for (std::sregex_iterator it(text.begin(), text.end(), button), end; it != end; ++it)
        rects.push_back({std::stoi((*it)[1]), std::stoi((*it)[2]), std::stoi((*it)[3]), std::stoi((*it)[4])});
    return rects;
}

class productionDiscRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v ffmpeg >/dev/null && command -v spumux >/dev/null && command -v dvdauthor >/dev/null") != 0)
            GTEST_SKIP() << "ffmpeg, spumux and dvdauthor are needed";
        savedExePath = ExePath;
        root = fs::weakly_canonical(kBuild / "e2e/builder").string();
        // The tests run side by side: each has its own program and output folder, and its disc
        // is moved to root/<case> at the end.
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        program = root + "/.program " + name + "/";
        std::error_code ec;
        fs::remove_all(program, ec);
        fs::create_directories(program + "RES");
        for (const char* name : {"MouseOn.bmp", "MouseDown.bmp", "BackBmp.bmp", "BackPng.bmp", "MainSubP.vob", "MainSubN.vob",
                                 "MainSubPW.vob", "MainSubNW.vob"}) {
            ASSERT_TRUE(fs::exists(kBuild / "dist/RES" / name)) << name << " is made by the build";
            fs::copy_file(kBuild / "dist/RES" / name, program + "RES/" + name);
        }
        fs::copy_file(fs::path(TEST_PEER_DIR) / "Language.ini", program + "Language.ini");
        ExePath = program;
        output = root + "/.output " + name;
        fs::remove_all(output, ec);
        fs::create_directories(output);
        g_s_OutputFolder = output + "/";
        Win32_SetOpener([this](const std::string& target) { opened.push_back(target); return true; });
        installed = std::make_unique<TInstallInteraction>(ask);
    }
    void TearDown() override {
        Win32_SetOpener(nullptr);
        installed.reset();
        Pubfunction::ClearClipInfo();
        s_BackgroundMusicFile = "";
        b_DeleteTempFile = false;
        b_VideoForamt = false;
        if (!savedExePath.empty()) ExePath = savedExePath;
        std::error_code ec;
        fs::remove_all(program, ec);
        fs::remove_all(output, ec);
    }
    // The disc for a person or a player: build/e2e/builder/<Case> holds its VIDEO_TS.
    void Keep(const std::string& Dest, const std::string& Case) {
        std::error_code ec;
        fs::remove_all(root + "/" + Case, ec);
        fs::rename(Dest, root + "/" + Case, ec);
        fs::remove_all(output, ec);
    }
    // The folder the run authors: the volume name under the output folder, made afresh.
    std::string Disc(const std::string& Volume) {
        std::error_code ec;
        fs::remove_all(output + "/" + Volume, ec);
        return output + "/" + Volume;
    }
    TClipInfo* AddClip(const std::string& Source, int Seconds, int W, int H, int AspectCode) {
        auto* clip = new TClipInfo();
        clip->s_FileName = Source;
        clip->i_Duration = Seconds;
        clip->i_TrimEnd = Seconds;
        clip->i_DisplayWidth = W;
        clip->i_DisplayHeight = H;
        clip->d_AspectRatio = static_cast<double>(W) / H;
        clip->i_SourceHeight = H;
        clip->i_AspectCode = AspectCode;
        clip->Picture = Solid(160, 120, static_cast<TColor>(0x3060C0 + 0x101010 * static_cast<int>(ClipInfo.size())));
        ClipInfo.push_back(clip);
        return clip;
    }
    static String LastLine(TProductionWindow* W) {
        TStrings* lines = W->Memo_Msg->GetLines();
        return lines->Count() > 0 ? lines->Strings(lines->Count() - 1) : String();
    }
    // A Compiler run of one VOB (4 KB that are no MPEG) with a title button on its title menu,
    // started as volume Volume with the finish message answered.
    std::unique_ptr<TCompilerWindow> RunOneVobWithTitleMenu(const std::string& Vob, const std::string& Volume) {
        std::ofstream(Vob) << std::string(4096, 'x');
        TClipInfo* clip = AddClip("", 2, 720, 576, 1);
        clip->s_VobFile = Vob;
        clip->TitleButton = new TButtonImage(nullptr, clip);
        clip->TitleButton->SetBounds(100, 50, 80, 60);
        auto window = std::make_unique<TCompilerWindow>(nullptr);
        window->i_Aspect = 1;
        window->b_TitleMenu = true;
        window->SetCompileMode();
        window->Show();
        window->suiEdit_VolumeName->SetText(Volume);
        ask.MessageAnswers.push_back(mrCancel);
        window->suiImageButton_StartClick(nullptr);
        return window;
    }

    TTempFolder src{"disc run src &"};
    String savedExePath;
    std::string root, program, output;
    std::vector<std::string> opened;
    TScriptedInteraction ask;
    std::unique_ptr<TInstallInteraction> installed;
};

TEST_F(productionDiscRun, BuilderPal4x3WithMenusPlaysEveryButtonToItsPlace) {
    ASSERT_TRUE(Ffmpeg("-f lavfi -i testsrc2=s=320x240:r=25:d=8 -f lavfi -i sine=f=440:d=8 -c:v libx264 -pix_fmt yuv420p -c:a aac",
                       src["first clip.mp4"]));
    ASSERT_TRUE(Ffmpeg("-f lavfi -i smptebars=s=320x240:r=25:d=6 -f lavfi -i sine=f=660:d=6 -c:v libx264 -pix_fmt yuv420p -c:a aac",
                       src["second & clip.mp4"]));
    ASSERT_TRUE(Ffmpeg("-f lavfi -i sine=f=330:d=3", src["menu theme.wav"]));
    fs::rename(src["menu theme.wav"], src["menu 'theme'.wav"]);  // quotes reach the encoder as they are
    std::ofstream(src["subs & more.srt"]) << "1\r\n00:00:01,000 --> 00:00:03,000\r\nBonjour & welcome\r\n";
    const std::string dest = Disc("PAL_MENUS");

    TClipInfo* first = AddClip(src["first clip.mp4"], 8, 320, 240, 1);
    TClipInfo* second = AddClip(src["second & clip.mp4"], 6, 320, 240, 1);
    second->s_SubtitleFile = src["subs & more.srt"];
    second->i_SubtitleFontSize = 24;
    second->i_SubtitleLanguageIndex = 1;
    first->TitleButton = new TButtonImage(nullptr, first);
    first->TitleButton->SetBounds(100, 50, 80, 60);
    second->TitleButton = new TButtonImage(nullptr, second);
    second->TitleButton->SetBounds(260, 50, 80, 60);
    first->ChapterMenu = new TSubChapter(first);
    std::unique_ptr<TBitmap> frame(Solid(80, 60, clYellow));
    const int times[] = {0, 2, 5};
    for (int j = 0; j < 3; ++j) {
        first->ChapterMenu->AddButton(frame.get(), times[j]);
        first->ChapterMenu->GetButton(j)->SetBounds(40 + 150 * j, 100, 100, 75);
    }
    first->ChapterMenu->i_BackX = 20;
    first->ChapterMenu->i_BackY = 320;
    s_BackgroundMusicFile = src["menu 'theme'.wav"];
    b_DeleteTempFile = true;

    auto window = std::make_unique<TBuilderWindow>(nullptr);
    window->i_Aspect = 1;
    window->b_TitleMenu = true;
    window->b_RootMenu = true;
    window->i_BackX = 20;  // the designer's title-menu back position, with no designer here
    window->i_BackY = 330;
    window->SetBuildMode();
    window->Show();
    window->suiEdit_VolumeName->SetText("pal_menus");
    window->suiCheckBox_PAL->SetChecked(true);
    window->Timer_Author->SetInterval(50);
    bool rendered = false;
    TNotifyEvent tick = window->Timer_Author->OnTimer;
    window->Timer_Author->OnTimer = [&](TObject* s) {
        tick(s);
        if (!rendered) Render(window.get(), "BuilderWindow_MidAuthoring");
        rendered = true;
    };
    ask.MessageAnswers.push_back(mrCancel);  // no burner: go on without burning
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(LastLine(window.get()), "<<< Process finish");
    Render(window.get(), "BuilderWindow_ProcessFinish");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], g_s_OutputFolder);
    EXPECT_EQ(window->s_DVDFolder, dest + "/VIDEO_TS/");
    EXPECT_FALSE(fs::exists(first->s_VobFile)) << "the converted VOBs go once the disc is authored";
    const std::string temp = window->s_TempFolder;

    // libdvdread: titles, chapters, streams, menus and their buttons.
    ASSERT_EQ(TitleCount(dest), 2);
    const std::vector<double> starts = ChapterStarts(dest, 1);
    ASSERT_EQ(starts.size(), 3u);
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(starts[j], times[j], 0.05) << "chapter " << j + 1 << " on its frame";
    EXPECT_EQ(ChapterStarts(dest, 2).size(), 1u);
    const TTitleSetStreams streams = TitleSetStreams(dest, 1);
    EXPECT_TRUE(streams.b_Pal);
    EXPECT_FALSE(streams.b_Wide);
    EXPECT_EQ(streams.i_AudioStreams, 1);
    EXPECT_TRUE(streams.b_Ac3);
    EXPECT_EQ(streams.i_SampleRate, 48000);
    EXPECT_EQ(streams.i_Channels, 2);
    EXPECT_EQ(streams.i_SubpictureStreams, 1);
    EXPECT_EQ(LowerCase(streams.s_SubpictureLang), LowerCase(Language::GetRegionLanguageCode(1)));
    EXPECT_EQ(MenuButtons(dest, 0), (std::vector<int>{2})) << "the root menu";
    EXPECT_EQ(MenuButtons(dest, 1), (std::vector<int>{3, 4})) << "the title menu, then the chapter menu";
    // The buttons where the XML put them: the back button first, the rows made even.
    EXPECT_EQ(MenuButtonRects(dest, 1, 1), XmlButtons(temp + "Title.xml"));
    EXPECT_EQ(MenuButtonRects(dest, 1, 2), XmlButtons(temp + "Chapter_0.xml"));
    EXPECT_EQ(XmlButtons(temp + "Title.xml")[1], (TButtonRect{150, 84, 239, 150})) << "the odd top row 85 becomes 84";

    // libdvdnav from first play: every button reaches what its designer button names.
    const TDiscPlace rootMenu = MenuPlace(0, 1, 2), titleMenu = MenuPlace(1, 1, 3), chapterMenu = MenuPlace(1, 2, 4);
    struct Path { std::vector<int> Buttons; bool ToEnd; TDiscPlace Where; };
    const Path paths[] = {
        {{}, false, rootMenu},
        {{1}, false, TitlePlace(1, 1)},              // root: play
        {{2}, false, titleMenu},                     // root: the title menu
        {{2, 1}, false, rootMenu},                   // title menu: back
        {{2, 2}, false, chapterMenu},                // the first clip's button: its chapter menu
        {{2, 3}, false, TitlePlace(2, 1)},           // the second clip has none: its title
        {{2, 2, 1}, false, titleMenu},               // chapter menu: back
        {{2, 2, 2}, false, TitlePlace(1, 1)},        // chapters at 0, 2 and 5 s
        {{2, 2, 3}, false, TitlePlace(1, 2)},
        {{2, 2, 4}, false, TitlePlace(1, 3)},
        {{1}, true, TitlePlace(2, 1)},               // title 1 ends into title 2
        {{2, 3}, true, rootMenu},                    // the last title calls the root menu
    };
    for (const Path& p : paths) {
        std::string route;
        for (int b : p.Buttons) route += std::to_string(b) + " ";
        EXPECT_EQ(PlayPath(dest, p.Buttons, p.ToEnd).Text(), p.Where.Text()) << "buttons " << route << (p.ToEnd ? "then the end" : "");
    }

    // For a person to look at.
    const fs::path renders = kBuild / "renders/menus";
    fs::create_directories(renders);
    for (const char* name : {"Title.bmp", "Title_on.png", "Chapter_0.bmp"})
        fs::copy_file(temp + name, renders / name, fs::copy_options::overwrite_existing);
    EXPECT_TRUE(Ffmpeg("-i '" + dest + "/VIDEO_TS/VTS_01_0.VOB' -frames:v 1", (renders / "AuthoredTitleMenu.png").string()));
    window->Close();
    Keep(dest, "pal_4x3_menus");
}

TEST_F(productionDiscRun, BuilderNtsc16x9OneClip) {
    ASSERT_TRUE(Ffmpeg("-f lavfi -i testsrc2=s=320x180:r=30000/1001:d=4 -f lavfi -i sine=d=4 -c:v libx264 -pix_fmt yuv420p -c:a aac",
                       src["wide.mp4"]));
    const std::string dest = Disc("NTSC_WIDE");
    AddClip(src["wide.mp4"], 4, 320, 180, 3);
    b_VideoForamt = true;
    auto window = std::make_unique<TBuilderWindow>(nullptr);
    window->i_Aspect = 2;
    window->SetBuildMode();
    window->Show();
    window->suiEdit_VolumeName->SetText("ntsc_wide");
    ask.MessageAnswers.push_back(mrCancel);
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(LastLine(window.get()), "<<< Process finish");
    ASSERT_EQ(TitleCount(dest), 1);
    const TTitleSetStreams streams = TitleSetStreams(dest, 1);
    EXPECT_FALSE(streams.b_Pal);
    EXPECT_TRUE(streams.b_Wide);
    EXPECT_EQ(MenuButtons(dest, 0), std::vector<int>{}) << "no root menu without a title menu";
    EXPECT_EQ(PlayPath(dest, {}).Text(), TitlePlace(1, 1).Text());
    EXPECT_EQ(PlayPath(dest, {}, true).Text(), TitlePlace(1, 1).Text()) << "the only title plays again";
    EXPECT_TRUE(fs::exists(ClipInfo[0]->s_VobFile)) << "kept without the delete setting";
    window->Close();
    Keep(dest, "ntsc_16x9_one_clip");
}

// An ordinary UTF-8 file of French and Greek lines beside a trimmed clip, under the French
// region: the disc carries one French sub-picture stream whose pictures are those lines drawn
// from their own letters, as the same words muxed from UTF-8 in the same font show them.
TEST_F(productionDiscRun, BuilderUtf8FrenchAndGreekSubtitlesOnATrimmedClip) {
    ASSERT_TRUE(Ffmpeg("-f lavfi -i testsrc2=s=320x240:r=25:d=9 -f lavfi -i sine=f=440:d=9 -c:v libx264 -pix_fmt yuv420p -c:a aac",
                       src["film.mp4"]));
    const std::string french = "Bonjour, \xC3\xA7" "a va? \xC3\x89l\xC3\xA8ve";
    const std::string greek = "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 \xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5";
    const std::string srt = src["film.srt"];
    std::ofstream(srt, std::ios::binary) << "1\n00:00:00,000 --> 00:00:01,000\nBefore the trim\n\n"
                                         << "2\n00:00:03,000 --> 00:00:05,000\n" << french << "\n\n"
                                         << "3\n00:00:05,500 --> 00:00:07,500\n" << greek << "\n";
    const std::string dest = Disc("UTF8_SUBS");
    TClipInfo* clip = AddClip(src["film.mp4"], 9, 320, 240, 1);
    clip->i_TrimStart = 2;
    clip->s_SubtitleFile = srt;
    clip->i_SubtitleFontSize = 28;
    clip->i_SubtitleLanguageIndex = 1;   // French: CP1252 for files that are not Unicode
    auto window = std::make_unique<TBuilderWindow>(nullptr);
    window->i_Aspect = 1;
    window->SetBuildMode();
    window->Show();
    window->suiEdit_VolumeName->SetText("utf8_subs");
    ask.MessageAnswers.push_back(mrCancel);
    window->suiImageButton_StartClick(nullptr);
    ASSERT_EQ(LastLine(window.get()), "<<< Process finish") << window->Memo_Msg->GetLines()->GetText();
    const std::string xml = ReadAll(window->s_TempFolder + "subtitle.xml");
    std::smatch font;
    ASSERT_TRUE(std::regex_search(xml, font, std::regex("font=\"([^\"]*)\""))) << xml;
    EXPECT_NE(xml.find("characterset=\"UTF-8\""), std::string::npos) << xml;
    const TTitleSetStreams streams = TitleSetStreams(dest, 1);
    EXPECT_EQ(streams.i_SubpictureStreams, 1);
    EXPECT_EQ(streams.s_SubpictureLang, "fr");

    // The same words at the same times (the trim start taken off), muxed from UTF-8.
    const std::string reference = src["reference.vob"];
    ASSERT_TRUE(Ffmpeg("-f lavfi -i testsrc=s=720x576:r=25:d=7 -f lavfi -i sine=d=7:sample_rate=48000 -target pal-dvd -aspect 4:3",
                       reference));
    std::ofstream(src["reference.srt"], std::ios::binary) << "1\r\n00:00:01,000 --> 00:00:03,000\r\n" << french << "\r\n\r\n"
                                                          << "2\r\n00:00:03,500 --> 00:00:05,500\r\n" << greek << "\r\n";
    std::ofstream(src["reference.xml"], std::ios::binary) << dozezedav_test::SubtitleXml(src["reference.srt"], font[1].str(), true);
    dozezedav_test::Module module;
    ASSERT_EQ(module.mux(src["reference.xml"].c_str(), reference.c_str(), reference.c_str()), DOZEZEDAV_OK);
    const std::string title = dest + "/VIDEO_TS/VTS_01_1.VOB";
    for (int frame : {50, 112}) {   // 2.0 s: the French line; 4.5 s: the Greek one
        const std::string shown = dozezedav_test::ShownAt(title, frame);
        ASSERT_EQ(shown.size(), 720u * 576u) << frame;
        EXPECT_GT(dozezedav_test::Ink(shown), 300) << frame;
        EXPECT_TRUE(shown == dozezedav_test::ShownAt(reference, frame)) << "the disc shows other letters at frame " << frame;
        // For a person to look at: the picture with its subtitle, as a player shows it.
        fs::create_directories(kBuild / "renders/production");
        EXPECT_TRUE(Ffmpeg("-i '" + title + "' -filter_complex \"[0:v][0:s:0]overlay,select=eq(n\\," + std::to_string(frame) +
                               ")\" -frames:v 1",
                           (kBuild / ("renders/production/DiscSubtitleAtFrame" + std::to_string(frame) + ".png")).string()));
    }
    window->Close();
    Keep(dest, "utf8_french_greek_subtitles");
    fs::copy_file(srt, root + "/utf8_french_greek_subtitles/film.srt", fs::copy_options::overwrite_existing);
}

TEST_F(productionDiscRun, CompilerAuthorsTheUsersPalVobsUntouched) {
    const std::string dest = Disc("COMPILER");
    std::vector<std::string> vobs, before;
    for (int i = 0; i < 3; ++i) {
        const std::string vob = src["user vob " + std::to_string(i) + ".vob"];
        ASSERT_TRUE(Ffmpeg("-f lavfi -i testsrc=s=720x576:r=25:d=2 -f lavfi -i sine=d=2:sample_rate=48000 -target pal-dvd -aspect 4:3", vob));
        vobs.push_back(vob);
        before.push_back(ReadAll(vob));
        AddClip("", 2, 720, 576, 1)->s_VobFile = vob;
    }
    b_VideoForamt = true;  // the setting says NTSC; the VOBs are PAL
    b_DeleteTempFile = true;
    g_i_OutputQuality = 2;
    auto window = std::make_unique<TCompilerWindow>(nullptr);
    window->i_Aspect = 1;
    window->SetCompileMode();
    window->Show();
    window->suiEdit_VolumeName->SetText("compiler");
    ask.MessageAnswers.push_back(mrCancel);
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(LastLine(window.get()), "<<< Process finish");
    Render(window.get(), "CompilerWindow_ProcessFinish");
    window->Close();
    ASSERT_EQ(TitleCount(dest), 3);
    EXPECT_TRUE(TitleSetStreams(dest, 1).b_Pal);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadAll(vobs[i]), before[i]) << vobs[i];
    EXPECT_EQ(g_i_OutputQuality, 2);
    EXPECT_EQ(PlayPath(dest, {}, true).Text(), TitlePlace(2, 1).Text());
    g_i_OutputQuality = 0;
    Keep(dest, "compiler_pal_vobs");
}

TEST_F(productionDiscRun, AVobTheAuthoringProgramRefusesLeavesNoDiscAndTheVobAlone) {
    const std::string vob = src["not mpeg.vob"];
    std::ofstream(src["notes.jpg"]) << "not a picture";
    const std::string dest = Disc("BAD_INPUT");
    s_BackgroundSrcFile = src["notes.jpg"];  // no picture: the menu is drawn on black and made
    auto window = RunOneVobWithTitleMenu(vob, "bad_input");
    s_BackgroundSrcFile = "";
    EXPECT_TRUE(fs::exists(window->s_TempFolder + "Title.vob"));
    EXPECT_EQ(LastLine(window.get()), "<<< Author DVD process wrong");
    EXPECT_FALSE(fs::exists(dest)) << "no half disc is left";
    EXPECT_EQ(ReadAll(vob), std::string(4096, 'x')) << "the VOB as it was made";
    EXPECT_TRUE(opened.empty());
    window->Close();
}

TEST_F(productionDiscRun, MenuMusicThatIsNoSoundFailsTheTitleMenuAndMakesNoDisc) {
    const std::string music = src["theme.mp3"];
    std::ofstream(music) << "these are words, not sound";
    const std::string dest = Disc("NO_SOUND");
    s_BackgroundMusicFile = music;
    auto window = RunOneVobWithTitleMenu(src["clip.vob"], "no_sound");
    EXPECT_EQ(LastLine(window.get()), "<<< TitleMenu conversion wrong");
    EXPECT_FALSE(fs::exists(window->s_TempFolder + "Title.vob"));
    EXPECT_FALSE(fs::exists(dest));
    EXPECT_TRUE(opened.empty());
    window->Close();
}

}  // namespace
