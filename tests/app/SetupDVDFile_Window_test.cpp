// The Burner mode's source page on real files: DVD folders authored by dvdauthor, VOB files made
// by FFmpeg and read by the program's own media library.
#include <gtest/gtest.h>

#include <cctype>

#include <filesystem>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "model/DiscSize.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "app/SetupDVDFile_Window.h"
#include "platform/vcl/PngWriter.h"
#include "platform/vcl/SysUtils.h"
#include "productionwindows/Burn_Window.h"
#include "productionwindows/Compiler_Window.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace {

namespace fs = std::filesystem;
using testing_vcl::TQuestionKind;

const fs::path kDistRes = fs::path(TEST_PEER_DIR) / ".." / ".." / "dist" / "RES";

bool Run(const std::string& Command) { return std::system(Command.c_str()) == 0; }

// Made once: one NTSC and one PAL VOB, a DVD folder authored from the NTSC one, the same folder
// without its IFO files, the same without one BUP, and a text file named like a VOB.
struct Fixtures : testing_vcl::TTempFolder {
    bool made = false;
    Fixtures() : TTempFolder("dvdfile_fixtures") {
        if (Path().empty()) return;
        const std::string source = "-f lavfi -i testsrc=d=2 -f lavfi -i sine=d=2 -shortest -b:v 800k ";
        made = testing_vcl::Ffmpeg(source + "-target ntsc-dvd", (*this)["ntsc.vob"]) &&
               testing_vcl::Ffmpeg(source + "-target pal-dvd", (*this)["pal.vob"]) &&
               testing_vcl::Ffmpeg(source + "-target pal-dvd -aspect 16:9", (*this)["wide.vob"]) &&
               Run("VIDEO_FORMAT=NTSC dvdauthor -o '" + (*this)["dvd"] + "' -t '" + (*this)["ntsc.vob"] +
                   "' >/dev/null 2>&1") &&
               Run("VIDEO_FORMAT=NTSC dvdauthor -o '" + (*this)["dvd"] + "' -T >/dev/null 2>&1");
        if (!made) return;
        const fs::path videoTs = (*this)["dvd/VIDEO_TS"];
        for (const char* name : {"noifo", "nobup"}) {
            fs::create_directories((*this)[name]);
            fs::copy(videoTs, (*this)[std::string(name) + "/VIDEO_TS"]);
        }
        for (const auto& entry : fs::directory_iterator((*this)["noifo/VIDEO_TS"]))
            if (entry.path().extension() != ".VOB") fs::remove(entry.path());
        fs::remove((*this)["nobup/VIDEO_TS/VTS_01_0.BUP"]);
        // The same disc as copied by a tool that writes names in lower case.
        fs::create_directories((*this)["lower/video_ts"]);
        for (const auto& entry : fs::directory_iterator(videoTs)) {
            std::string name = entry.path().filename().string();
            for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            fs::copy(entry.path(), (*this)["lower/video_ts/" + name]);
        }
        std::ofstream((*this)["notes.vob"]) << "these are my notes, not a film\n";
        // A program folder with the page's pictures.
        fs::create_directories((*this)["program/RES"]);
        // The pictures only dress the page; a build without its artwork still tests it.
        std::error_code noArtwork;
        for (const auto& entry : fs::directory_iterator(kDistRes, noArtwork)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("dvdfile_", 0) == 0 || name.rfind("clip_dvd", 0) == 0 || name.rfind("clip_close", 0) == 0 ||
                name == "clip_disc_fill.bmp" || name == "clip_8500.bmp")
                fs::copy(entry.path(), (*this)["program/RES/" + name]);
        }
    }
    std::string VideoTs() const { return (*this)["dvd/VIDEO_TS"]; }
};

const Fixtures& Files() {
    static Fixtures f;
    return f;
}

class SetupDVDFilePage : public ::testing::Test {
protected:
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    TBurnWindow* burn = nullptr;
    TCompilerWindow* compiler = nullptr;
    String savedExePath = ExePath;

    void SetUp() override {
        ASSERT_TRUE(Files().made) << "ffmpeg or dvdauthor failed";
        ExePath = Files()["program/"];
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        b_DVD5 = true;
        burn = new TBurnWindow(nullptr);
        BurnWindow = burn;
        compiler = new TCompilerWindow(nullptr);
        CompilerWindow = compiler;
        SetupDVDFileWindow = new TSetupDVDFileWindow(nullptr);
        SetupDVDFileWindow->AfterConstruction();
        W()->Show();
    }
    void TearDown() override {
        delete SetupDVDFileWindow;
        BurnWindow = nullptr;
        delete burn;
        CompilerWindow = nullptr;
        delete compiler;
        Pubfunction::ClearClipInfo();
        installed.reset();
        ExePath = savedExePath;
    }

    TSetupDVDFileWindow* W() const { return SetupDVDFileWindow; }
    TsuiStringGrid* Grid() const { return W()->suiStringGrid_DVDFiles; }

    void ChooseFolder(const String& Folder) {
        ask.DirectoryAnswers.push_back(Folder);
        testing_vcl::Click(W()->suiImageButton_Folder);
    }
    void AddFiles(std::vector<String> Paths) {
        ask.AnswerFiles(std::move(Paths));
        testing_vcl::Click(W()->suiImageButton_File);
    }
    std::vector<String> Column(int Col) const {
        std::vector<String> out;
        for (int r = 1; r < Grid()->GetRowCount() && !Grid()->Cells(0, r).empty(); ++r) out.push_back(Grid()->Cells(Col, r));
        return out;
    }
    // A right click in the middle of a grid row; the popup's visible captions.
    std::vector<String> RightClickRow(int Row) {
        const TRect cell = Grid()->CellRect(0, Row);
        const int x = (cell.Left + cell.Right) / 2;
        const int y = (cell.Top + cell.Bottom) / 2;
        testing_vcl::MousePress(Grid(), x, y, mbRight);
        testing_vcl::MouseRelease(Grid(), x, y, mbRight);
        const auto popups = ask.Of(TQuestionKind::PopupMenu);
        return popups.empty() ? std::vector<String>{} : popups.back().MenuCaptions;
    }
    void Render(const std::string& Name) { testing_vcl::SaveRender(W(), "burn", Name); }
};

TEST_F(SetupDVDFilePage, TheVideoTsFolderAndItsParentLoadTheSameFolder) {
    ChooseFolder(Files().VideoTs());
    ASSERT_TRUE(W()->b_FolderMode);
    const String folder = W()->s_DVDFolder;
    const std::vector<String> files = Column(0), kinds = Column(1);
    EXPECT_EQ(folder, Files().VideoTs() + "/");
    EXPECT_EQ(kinds, (std::vector<String>{"IFO", "IFO", "BUP", "BUP", "VOB"}));
    // One separator between the folder and each name.
    EXPECT_EQ(files.at(0), folder + "VIDEO_TS.IFO");
    EXPECT_EQ(Column(3), std::vector<String>(5, "-"));
    EXPECT_TRUE(ClipInfo.empty());

    ChooseFolder(Files()["dvd"]);
    EXPECT_TRUE(W()->b_FolderMode);
    EXPECT_EQ(W()->s_DVDFolder, folder);
    EXPECT_EQ(Column(0), files);
    Render("source_page_dvd_folder.png");
}

// Names on a Linux disk keep their case: a lowercase "video_ts" is still the DVD folder, and its
// parent is recognised as the folder that holds it.
TEST_F(SetupDVDFilePage, ALowercaseVideoTsFolderIsADvdFolder) {
    for (const char* chosen : {"lower", "lower/video_ts"}) {
        Pubfunction::ClearClipInfo();
        ChooseFolder(Files()[chosen]);
        ASSERT_TRUE(W()->b_FolderMode) << chosen;
        EXPECT_EQ(W()->s_DVDFolder, Files()["lower/video_ts"] + "/") << chosen;
        EXPECT_EQ(Column(1), (std::vector<String>{"IFO", "IFO", "BUP", "BUP", "VOB"})) << chosen;
        EXPECT_TRUE(ClipInfo.empty()) << chosen;
    }
}

// Without a complete IFO and BUP structure a folder is no DVD folder: the VOB files directly in
// the chosen folder become clips (its parent has none of its own).
TEST_F(SetupDVDFilePage, FoldersWithoutTheirIfoOrBupFilesGiveVobClips) {
    struct Case { const char* Folder; std::size_t Clips; };
    const Case cases[] = {{"noifo/VIDEO_TS", 1}, {"nobup/VIDEO_TS", 1}, {"noifo", 0}, {"nobup", 0}};
    for (const Case& c : cases) {
        Pubfunction::ClearClipInfo();
        ChooseFolder(Files()[c.Folder]);
        EXPECT_FALSE(W()->b_FolderMode) << c.Folder;
        ASSERT_EQ(ClipInfo.size(), c.Clips) << c.Folder;
        if (c.Clips == 0) continue;
        EXPECT_EQ(ClipInfo[0]->s_VobFile, Files()[std::string(c.Folder) + "/VTS_01_1.VOB"]) << c.Folder;
        EXPECT_EQ(Column(1), std::vector<String>{"NTSC VOB"}) << c.Folder;
    }
}

TEST_F(SetupDVDFilePage, SeventeenVobFilesGrowTheGridToEighteenRows) {
    std::vector<String> paths(17, Files()["ntsc.vob"]);
    AddFiles(paths);
    EXPECT_EQ(ClipInfo.size(), 17u);
    EXPECT_EQ(Grid()->GetRowCount(), 18);
    EXPECT_EQ(Grid()->Cells(0, 17), Files()["ntsc.vob"]);
    EXPECT_EQ(Grid()->Cells(1, 17), "NTSC VOB");
    EXPECT_EQ(Grid()->Cells(3, 17), IntToStr(ClipInfo[16]->i_Duration));
    // The next show starts empty with the grid's own 17 rows; the clip list is not the page's to clear.
    W()->Hide();
    W()->Show();
    EXPECT_EQ(Grid()->GetRowCount(), 17);
    EXPECT_TRUE(Grid()->Cells(0, 1).empty());
}

TEST_F(SetupDVDFilePage, FilesThatAreNoProgramStreamsAreSkippedSilently) {
    AddFiles({Files()["notes.vob"], Files()["ntsc.vob"], Files()["dvd/VIDEO_TS/VIDEO_TS.IFO"]});
    ASSERT_EQ(ClipInfo.size(), 1u);
    EXPECT_EQ(ClipInfo[0]->s_VobFile, Files()["ntsc.vob"]);
    EXPECT_TRUE(ask.Of(TQuestionKind::MessageBox).empty());
}

TEST_F(SetupDVDFilePage, TheHeaderOffersOnlyClearAndAClipRowAlsoRemove) {
    AddFiles({Files()["ntsc.vob"], Files()["ntsc.vob"]});
    EXPECT_EQ(RightClickRow(0), std::vector<String>{"Clear"});
    EXPECT_EQ(RightClickRow(2), (std::vector<String>{"Remove Select", "Clear"}));
    // Below the clips there is nothing to remove.
    EXPECT_EQ(RightClickRow(5), std::vector<String>{"Clear"});

    ask.PopupAnswers.push_back([](TPopupMenu* m) { return m->GetItems()->Items(0); });
    RightClickRow(2);
    // The chosen item's click comes through the message queue.
    EXPECT_TRUE(testing_vcl::RunUntil([] { return ClipInfo.size() == 1; }));
    EXPECT_EQ(Column(0).size(), 1u);
    ask.PopupAnswers.push_back([](TPopupMenu* m) { return m->GetItems()->Items(1); });
    RightClickRow(0);
    EXPECT_TRUE(testing_vcl::RunUntil([] { return ClipInfo.empty(); }));
    EXPECT_TRUE(Column(0).empty());
}

TEST_F(SetupDVDFilePage, AFolderListingOffersOnlyClear) {
    ChooseFolder(Files().VideoTs());
    EXPECT_EQ(RightClickRow(1), std::vector<String>{"Clear"});
}

TEST_F(SetupDVDFilePage, TheBarShowsTheTotalAgainstTheChosenDisc) {
    const int dvd5 = 4403200, dvd9 = 8704000;
    i_DVD5Size = dvd5;
    i_DVD9Size = dvd9;
    W()->InitPage();
    struct Case { Int64 KB; int Dvd5Width; int Dvd9Width; };
    const Case cases[] = {{5000000, 483, 277}, {2201600, 241, 122}, {0, 0, 0}, {-40, 0, 0}, {9000000, 483, 483}};
    for (const Case& c : cases) {
        W()->SetDVD5();
        W()->UpdateSizeBar(c.KB);
        EXPECT_EQ(W()->Image_DiscSizeProgress->GetWidth(), c.Dvd5Width) << c.KB;
        // The visible DVD-5 button switches to DVD-9 and redraws the same total.
        testing_vcl::Click(W()->suiImageButton_DVD5);
        EXPECT_TRUE(W()->suiImageButton_DVD9->GetVisible());
        EXPECT_TRUE(W()->Image8500->GetVisible());
        EXPECT_EQ(i_DVDType, 1);
        EXPECT_EQ(W()->Image_DiscSizeProgress->GetWidth(), c.Dvd9Width) << c.KB;
    }
    testing_vcl::Click(W()->suiImageButton_DVD9);
    EXPECT_TRUE(W()->suiImageButton_DVD5->GetVisible());
    EXPECT_EQ(i_DVDType, 0);
}

TEST_F(SetupDVDFilePage, MixedStandardsWarnOnAddAndRefuseBurn) {
    AddFiles({Files()["ntsc.vob"], Files()["pal.vob"]});
    ASSERT_EQ(ClipInfo.size(), 2u);
    EXPECT_EQ(Column(1), (std::vector<String>{"NTSC VOB", "PAL VOB"}));
    const String text = Language::GetMessageText(121) + Files()["ntsc.vob"] + "\n" + Language::GetMessageText(122) +
                        Files()["pal.vob"] + "\n";
    auto boxes = ask.Of(TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, text);
    EXPECT_EQ(boxes[0].DlgType, mtInformation);
    Render("source_page_mixed_vobs.png");

    testing_vcl::Click(W()->suiImageButton_Burn);
    boxes = ask.Of(TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, text);
    EXPECT_EQ(boxes[1].DlgType, mtError);
    EXPECT_TRUE(ask.Of(TQuestionKind::ShowModal).empty());
}

TEST_F(SetupDVDFilePage, AFolderGoesToTheBurnWindowWithVideoStandardZero) {
    ChooseFolder(Files().VideoTs());
    burn->i_VideoStandard = 2;
    ask.AnswerModal(mrCancel);
    testing_vcl::Click(W()->suiImageButton_Burn);
    const auto shown = ask.Of(TQuestionKind::ShowModal);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Form, burn);
    EXPECT_EQ(burn->b_FromFolder, 1);
    EXPECT_EQ(burn->s_DVDFolder, Files().VideoTs() + "/");
    EXPECT_EQ(burn->i_VideoStandard, 0);
    EXPECT_FALSE(burn->suiEdit_OutputFolder->GetVisible());
}

// What the grid lists is what Burn burns: a refused VOB file leaves the loaded folder (and its
// size) in place; an accepted one replaces it with the clip.
TEST_F(SetupDVDFilePage, TheGridShowsWhatBurnBurnsWhenAVobFollowsAFolder) {
    ChooseFolder(Files().VideoTs());
    ASSERT_TRUE(W()->b_FolderMode);
    const std::vector<String> folderFiles = Column(0);
    const int folderKB = W()->i_UsedKB;
    const int barWidth = W()->Image_DiscSizeProgress->GetWidth();
    AddFiles({Files()["notes.vob"]});
    EXPECT_EQ(Column(0), folderFiles) << "the refused file leaves the folder listed";
    EXPECT_EQ(W()->i_UsedKB, folderKB);
    EXPECT_EQ(W()->Image_DiscSizeProgress->GetWidth(), barWidth);
    ask.AnswerModal(mrCancel);
    testing_vcl::Click(W()->suiImageButton_Burn);
    auto shown = ask.Of(TQuestionKind::ShowModal);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Form, burn) << "the listed folder is burned";
    EXPECT_EQ(burn->s_DVDFolder, Files().VideoTs() + "/");

    AddFiles({Files()["ntsc.vob"]});
    EXPECT_EQ(Column(0), std::vector<String>{Files()["ntsc.vob"]});
    ask.AnswerModal(mrCancel);
    testing_vcl::Click(W()->suiImageButton_Burn);
    shown = ask.Of(TQuestionKind::ShowModal);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].Form, compiler) << "the listed clip is compiled";
    EXPECT_EQ(ClipInfo.size(), 1u);
}

// VOB clips go to the Compiler window without menus, at the first clip's aspect.
TEST_F(SetupDVDFilePage, VobClipsGoToTheCompilerWindow) {
    struct Case { std::vector<String> Files; int Aspect; };
    const Case cases[] = {{{Files()["wide.vob"], Files()["pal.vob"]}, 2}, {{Files()["pal.vob"]}, 1}, {{}, 1}};
    for (const Case& c : cases) {
        Pubfunction::ClearClipInfo();
        if (!c.Files.empty()) AddFiles(c.Files);
        ASSERT_EQ(ClipInfo.size(), c.Files.size());
        compiler->b_TitleMenu = true;
        compiler->b_RootMenu = true;
        compiler->i_Aspect = 1;
        ask.AnswerModal(mrCancel);
        testing_vcl::Click(W()->suiImageButton_Burn);
        const auto shown = ask.Of(TQuestionKind::ShowModal);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().Form, compiler);
        EXPECT_EQ(compiler->b_CompileMode, 1);
        EXPECT_FALSE(compiler->b_TitleMenu);
        EXPECT_FALSE(compiler->b_RootMenu);
        EXPECT_EQ(compiler->i_Aspect, c.Aspect) << c.Files.size();
    }
    EXPECT_EQ(ask.Of(TQuestionKind::ShowModal).size(), 3u);
}

TEST_F(SetupDVDFilePage, CloseDiscardsTheClips) {
    AddFiles({Files()["ntsc.vob"]});
    ASSERT_EQ(ClipInfo.size(), 1u);
    testing_vcl::Click(W()->suiImageButton_Close);
    EXPECT_TRUE(ClipInfo.empty());
}

TEST(SetupDVDFileAspect, WideCodesGiveSixteenByNineAndAllOthersFourByThree) {
    const std::pair<int, int> cases[] = {{0, 1}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {-1, 1}, {5, 1}};
    for (auto [code, aspect] : cases) EXPECT_EQ(CompilerAspectOfCode(code), aspect) << code;
}

}  // namespace
