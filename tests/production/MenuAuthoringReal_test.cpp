// The menu and authoring pieces end to end with the real parts: menu pictures and masks, the
// real menu encode, spumux with those masks, author.xml and dvdauthor; the folder is read back
// with libdvdread (titles, chapters, aspect and the buttons of every menu). The disc stays in
// build/e2e/builder/pieces/ for a person or a player to open.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/nav_read.h>

#include <filesystem>
#include <memory>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "libs/corvane/CorvaneDLL.h"
#include "libs/dozezedav/Dozezedav.h"
#include "model/MenuObjects.h"
#include "production/AuthoredDisc.h"
#include "production/AuthorXml.h"
#include "production/MenuEncode.h"
#include "production/MenuFiles.h"
#include "production/MenuPictures.h"
#include "production/MenuXml.h"
#include "production/RunParameters.h"
#include "tests/libs/dozezedav/DozezedavFixture.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

const String kModules = TEST_PEER_DIR;
const String kDistRes = String(TEST_PEER_DIR) + "/../../dist/RES/";

struct Modules {
    void* media = dlopen((kModules + "/CorvaneDLL.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    void* author = dlopen((kModules + "/dozezedav.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    X_SetPar_BMP2VOB_fn encode = media ? reinterpret_cast<X_SetPar_BMP2VOB_fn>(dlsym(media, "X_SetPar_BMP2VOB")) : nullptr;
    spumux_main_fn mux = author ? reinterpret_cast<spumux_main_fn>(dlsym(author, "spumux_main")) : nullptr;
    author_main_fn authorMain = author ? reinterpret_cast<author_main_fn>(dlsym(author, "author_main")) : nullptr;
    Modules() = default;
    Modules(const Modules&) = delete;
    Modules& operator=(const Modules&) = delete;
    ~Modules() {
        if (media) dlclose(media);
        if (author) dlclose(author);
    }
    bool Bound() const { return encode && mux && authorMain; }
};

TBitmap* Solid(int w, int h, TColor colour) {
    TBitmap* b = new TBitmap(w, h, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(colour);
    b->GetCanvas()->FillRect(TRect(0, 0, w, h));
    return b;
}

// The buttons of the first NAV pack of a menu cell.
int ButtonsAt(dvd_reader_t* dvd, int titleSet, uint32_t sector) {
    dvd_file_t* file = DVDOpenFile(dvd, titleSet, DVD_READ_MENU_VOBS);
    if (file == nullptr) return -1;
    unsigned char block[DVD_VIDEO_LB_LEN];
    const ssize_t got = DVDReadBlocks(file, static_cast<int>(sector), 1, block);
    DVDCloseFile(file);
    if (got != 1) return -1;
    pci_t pci{};
    navRead_PCI(&pci, block + 0x2d);
    return pci.hli.hl_gi.btn_ns;
}

// Buttons of each menu PGC of the first language unit, in PGC order.
std::vector<int> MenuButtons(dvd_reader_t* dvd, int titleSet) {
    std::vector<int> buttons;
    ifo_handle_t* ifo = ifoOpen(dvd, titleSet);
    if (ifo == nullptr) return buttons;
    pgci_ut_t* ut = ifo->pgci_ut;
    if (ut != nullptr && ut->nr_of_lus > 0) {
        pgcit_t* pgcit = ut->lu[0].pgcit;
        for (int i = 0; pgcit && i < pgcit->nr_of_pgci_srp; ++i) {
            pgc_t* pgc = pgcit->pgci_srp[i].pgc;
            if (pgc == nullptr || pgc->nr_of_cells == 0 || pgc->cell_playback == nullptr) continue;
            buttons.push_back(ButtonsAt(dvd, titleSet, pgc->cell_playback[0].first_sector));
        }
    }
    ifoClose(ifo);
    return buttons;
}

int Bcd(uint8_t v) { return (v >> 4) * 10 + (v & 0x0F); }

double Seconds(const dvd_time_t& t) {
    const double fps = (t.frame_u >> 6) == 1 ? 25.0 : 29.97;
    return Bcd(t.hour) * 3600.0 + Bcd(t.minute) * 60.0 + Bcd(t.second) + Bcd(t.frame_u & 0x3F) / fps;
}

// The start of every chapter of the disc's title Title (from 1), in seconds from the title's start.
std::vector<double> ChapterStarts(dvd_reader_t* dvd, int title) {
    std::vector<double> starts;
    ifo_handle_t* vmg = ifoOpen(dvd, 0);
    if (vmg == nullptr) return starts;
    const title_info_t info = vmg->tt_srpt->title[title - 1];
    ifoClose(vmg);
    ifo_handle_t* vts = ifoOpen(dvd, info.title_set_nr);
    if (vts == nullptr) return starts;
    const ttu_t& ttu = vts->vts_ptt_srpt->title[info.vts_ttn - 1];
    for (int c = 0; c < ttu.nr_of_ptts; ++c) {
        const pgc_t* pgc = vts->vts_pgcit->pgci_srp[ttu.ptt[c].pgcn - 1].pgc;
        const int firstCell = pgc->program_map[ttu.ptt[c].pgn - 1];
        double at = 0;
        for (int k = 0; k + 1 < firstCell; ++k) at += Seconds(pgc->cell_playback[k].playback_time);
        starts.push_back(at);
    }
    ifoClose(vts);
    return starts;
}

void ExpectNear(const std::vector<double>& got, const std::vector<double>& want, double within) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], within) << "chapter " << i + 1;
}

class productionMenuAuthoringReal : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(modules.Bound()) << "the media and authoring modules beside the test program";
        std::error_code ec;
        root = fs::weakly_canonical(fs::path(TEST_PEER_DIR) / "../../e2e/builder/pieces").string();
        fs::remove_all(root, ec);
        ASSERT_TRUE(fs::create_directories(root + "/Temp"));
        ASSERT_TRUE(fs::create_directories(root + "/program/RES"));
        temp = root + "/Temp/";
        program = root + "/program/";
        for (const char* name : {"MouseOn.bmp", "MouseDown.bmp", "MainSubP.vob"}) {
            ASSERT_TRUE(fs::exists(kDistRes + name)) << name << " made by the build";
            fs::copy_file(kDistRes + name, program + "RES/" + name);
        }
        // The back button: 60 x 30, shown blue; its shape a bar on a white key.
        std::unique_ptr<TBitmap> back(Solid(60, 30, static_cast<TColor>(0xC06020)));
        back->SaveToFile(program + "RES/BackBmp.bmp");
        std::unique_ptr<TBitmap> shape(Solid(60, 30, clWhite));
        shape->GetCanvas()->GetBrush()->SetColor(clBlack);
        shape->GetCanvas()->FillRect(TRect(4, 4, 56, 26));
        shape->SaveToFile(program + "RES/BackPng.bmp");
    }
    void TearDown() override {
        Pubfunction::ClearClipInfo();
        Pubfunction::ClearTitleMenuLabel();
        s_BackgroundSrcFile = "";
    }

    TClipInfo* AddClip(const String& vob, int seconds, const TRect& button, TColor colour) {
        auto* clip = new TClipInfo();
        clip->Picture = Solid(160, 120, colour);
        clip->i_Duration = seconds;
        clip->i_TrimEnd = seconds;
        clip->i_SourceHeight = 576;
        clip->i_AspectCode = 1;
        clip->s_VobFile = vob;
        clip->TitleButton = new TButtonImage(nullptr, clip);
        clip->TitleButton->SetBounds(button.Left, button.Top, button.Width(), button.Height());
        ClipInfo.push_back(clip);
        return clip;
    }

    // Encode and mux of one menu whose files are written, as the menu step does them.
    void EncodeAndMux(const TMenuFiles& files, int standard, const TAspectParameters& aspect) {
        const TStandardParameters std = StandardParameters(standard);
        TMenuVobInput in{standard, files.s_Bmp, files.s_Vob, "", 5, std.s_FrameSize, std.s_FrameSize, aspect.s_MenuAspect};
        const TMenuVobArguments a = MenuVobArguments(in);
        ASSERT_EQ(modules.encode(nullptr, a.i_VideoStandard, a.s_MenuBmp.c_str(), a.s_Length.c_str(),
                                 a.s_MenuFrameSize.c_str(), a.s_FrameSize.c_str(), a.s_MenuAspect.c_str(),
                                 a.s_MenuVob.c_str(), a.i_WithMusic, a.s_MenuMusic.c_str()),
                  0);
        ASSERT_EQ(modules.mux(files.s_Xml.c_str(), files.s_Vob.c_str(), files.s_MuxOut.c_str()), DOZEZEDAV_OK);
        fs::rename(files.s_MuxOut, files.s_Vob);
    }

    Modules modules;
    String root, temp, program;
    std::error_code ec_;
};

TEST_F(productionMenuAuthoringReal, MenusAndTitlesReadBackAsAuthored) {
    std::unique_ptr<TBitmap> frame(Solid(80, 60, clYellow));
    const TRect chapterBounds[] = {TRect(40, 100, 140, 175), TRect(200, 100, 300, 175), TRect(360, 100, 460, 175)};
    const String clip0 = root + "/OutputVOB_0.vob";
    const String clip1 = root + "/OutputVOB_1.vob";
    ASSERT_TRUE(testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=720x576:r=25:d=8 -f lavfi -i sine=d=8:sample_rate=48000 "
                                    "-target pal-dvd -aspect 4:3 -g 15",
                                    clip0));
    ASSERT_TRUE(testing_vcl::Ffmpeg("-f lavfi -i smptebars=s=720x576:r=25:d=6 -f lavfi -i sine=d=6:sample_rate=48000 "
                                    "-target pal-dvd -aspect 4:3 -g 15",
                                    clip1));
    const String clip2 = root + "/OutputVOB_2.vob";
    ASSERT_TRUE(testing_vcl::Ffmpeg("-f lavfi -i testsrc2=s=720x576:r=25:d=4 -f lavfi -i sine=d=4:sample_rate=48000 "
                                    "-target pal-dvd -aspect 4:3 -g 15",
                                    clip2));
    TClipInfo* first = AddClip(clip0, 8, TRect(60, 60, 180, 150), clRed);
    AddClip(clip1, 6, TRect(260, 60, 380, 150), clGreen);
    // The third clip's chapters: none at its start, one past its end.
    TClipInfo* third = AddClip(clip2, 4, TRect(460, 60, 500, 150), clBlue);
    third->ChapterMenu = new TSubChapter(third);
    for (int time : {1, 3, 9}) third->ChapterMenu->AddButton(frame.get(), time);
    for (int i = 0; i < 3; ++i) third->ChapterMenu->GetButton(i)->SetBounds(chapterBounds[i].Left, chapterBounds[i].Top, 100, 75);
    third->ChapterMenu->i_BackX = 400;
    third->ChapterMenu->i_BackY = 320;
    first->ChapterMenu = new TSubChapter(first);
    for (int time : {0, 2, 5}) first->ChapterMenu->AddButton(frame.get(), time);
    for (int i = 0; i < 3; ++i) first->ChapterMenu->GetButton(i)->SetBounds(chapterBounds[i].Left, chapterBounds[i].Top, 100, 75);
    first->ChapterMenu->i_BackX = 20;
    first->ChapterMenu->i_BackY = 320;

    const int standard = VideoStandardOfClips(ClipInfo, NtscStandard);
    ASSERT_EQ(standard, PalStandard) << "the clips decide, not the box";
    const int aspectCode = ResolveAspect(1, ClipInfo);
    const TAspectParameters aspect = AspectParameters(aspectCode);
    TMenuPictures pictures;
    pictures.s_ProgramFolder = program;
    pictures.Frame = TMenuFrame{StandardParameters(standard).i_FrameHeight, aspect.i_SquareHeight};
    pictures.b_RootMenuVob = HasRootMenuVob(true, true, program, aspectCode, standard);
    ASSERT_TRUE(pictures.b_RootMenuVob);
    ASSERT_TRUE(pictures.HasBackButton());

    // The title menu: the back button first, then one button per clip.
    pictures.i_BackX = 20;
    pictures.i_BackY = 330;
    ASSERT_TRUE(TitleMenuXmlValues(pictures, "", "", 60, 30).BackButton.has_value());
    const TMenuFiles titleFiles = TitleMenuFiles(temp);
    ASSERT_EQ(WriteTitleMenuFiles(pictures, titleFiles, 60, 30), 1);
    EncodeAndMux(titleFiles, standard, aspect);

    // The chapter menus, numbered by their clip's place in the list.
    for (size_t n = 0; n < ClipInfo.size(); ++n) {
        TSubChapter* menu = ClipInfo[n]->ChapterMenu;
        if (menu == nullptr) continue;
        pictures.i_BackX = menu->i_BackX;
        pictures.i_BackY = menu->i_BackY;
        const TMenuFiles files = ChapterMenuFiles(temp, static_cast<int>(n));
        ASSERT_EQ(WriteChapterMenuFiles(pictures, menu, files, 60, 30), 1);
        EncodeAndMux(files, standard, aspect);
    }

    TAuthorSettings settings;
    settings.s_Dest = ChooseDvdFolder(root, "pieces disc");
    settings.s_TempFolder = temp;
    settings.s_ProgramFolder = program;
    settings.i_VideoStandard = standard;
    settings.i_Aspect = aspectCode;
    settings.b_TitleMenu = true;
    settings.b_RootMenu = true;
    settings.b_BackButton = pictures.HasBackButton();
    const TAuthorProject project = AuthorProjectFromClips(settings);
    TAuthorXml xml(project);
    const String authorXml = temp + "author.xml";
    ASSERT_TRUE(xml.WriteAuthorXml(authorXml));
    EXPECT_TRUE(xml.b_VmgmWritten);
    EXPECT_TRUE(xml.b_TitlesetMenusWritten);
    ASSERT_EQ(modules.authorMain(authorXml.c_str()), DOZEZEDAV_OK);

    const TExpectedDisc expected = ExpectedDisc(project);
    EXPECT_EQ(expected.TitleChapters, (std::vector<int>{3, 1, 3}));
    String problem;
    EXPECT_TRUE(ReadBackDvdFolder(settings.s_Dest, expected, &problem)) << problem;

    dvd_reader_t* dvd = DVDOpen(settings.s_Dest.c_str());
    ASSERT_NE(dvd, nullptr);
    EXPECT_EQ(MenuButtons(dvd, 0), (std::vector<int>{2})) << "the root menu";
    EXPECT_EQ(MenuButtons(dvd, 1), (std::vector<int>{4, 4, 4})) << "the title menu, then the chapter menus";
    // Chapters where their buttons say (the third clip's buttons lead to chapters 2, 3 and 1).
    ExpectNear(ChapterStarts(dvd, 1), {0, 2, 5}, 0.5);
    ExpectNear(ChapterStarts(dvd, 2), {0}, 0.5);
    ExpectNear(ChapterStarts(dvd, 3), {0, 1, 3}, 0.5);
    DVDClose(dvd);
    const String text = dozezedav_test::ReadText(authorXml);
    EXPECT_NE(text.find("<button> jump title 3 chapter 2 ; </button>\r\n"
                        "        <button> jump title 3 chapter 3 ; </button>\r\n"
                        "        <button> jump title 3 chapter 1 ; </button>"),
              String::npos);

    // A disc that does not match what was asked is not a disc.
    TExpectedDisc wrong = expected;
    wrong.TitleChapters[0] = 4;
    EXPECT_FALSE(ReadBackDvdFolder(settings.s_Dest, wrong, &problem));
    EXPECT_NE(problem.find("chapters"), String::npos) << problem;
    wrong = expected;
    wrong.i_Aspect = 2;
    EXPECT_FALSE(ReadBackDvdFolder(settings.s_Dest, wrong, &problem));
    EXPECT_FALSE(ReadBackDvdFolder(root + "/Temp", expected, &problem)) << "no DVD there";
    EXPECT_TRUE(VerifyAuthoredFolder(settings.s_Dest, expected, &problem)) << problem;
    EXPECT_TRUE(fs::exists(settings.s_Dest + "/VIDEO_TS/VIDEO_TS.IFO"));

    // A copy whose title set was lost does not read back and is removed, except what is not ours.
    const String broken = root + "/BROKEN";
    fs::copy(settings.s_Dest, broken, fs::copy_options::recursive);
    fs::remove(broken + "/VIDEO_TS/VTS_01_0.IFO");
    fs::remove(broken + "/VIDEO_TS/VTS_01_0.BUP");
    EXPECT_FALSE(VerifyAuthoredFolder(broken, expected, &problem));
    EXPECT_FALSE(fs::exists(broken));
    fs::copy(settings.s_Dest, broken, fs::copy_options::recursive);
    dozezedav_test::WriteText(broken + "/notes.txt", "mine");
    EXPECT_FALSE(VerifyAuthoredFolder(broken, wrong, &problem));
    EXPECT_FALSE(fs::exists(broken + "/VIDEO_TS"));
    EXPECT_TRUE(fs::exists(broken + "/notes.txt"));
    fs::remove_all(broken, ec_);

    // For a person to look at.
    const fs::path renders = fs::path(root) / "../../../renders/menus";
    fs::create_directories(renders, ec_);
    for (const char* name : {"Title.bmp", "Title_on.png", "Title_down.png", "Chapter_0.bmp", "Chapter_on_0.png"}) {
        fs::copy_file(temp + name, renders / name, fs::copy_options::overwrite_existing, ec_);
    }
}

}  // namespace
