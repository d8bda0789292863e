// File themes: keyed access, finding and loading the file, keeping the old theme on failure,
// pushing a new theme to the form's controls, the embedded theme's temporary file and the
// theme manager.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/win32/Windows.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/frmThemeMgr.h"
#include "tests/support/ScriptedInteraction.h"

namespace fs = std::filesystem;

namespace {

// A skinned control as the style rule wants it, counting what reaches it.
class TsuiProbe : public TComponent, public IsuiStyled {
    VCL_CLASS(TsuiProbe)
    explicit TsuiProbe(TComponent* AOwner) : TComponent(AOwner), m_link(this) {}
    TsuiUIStyle GetUIStyle() const override { return m_link.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle v) override {
        m_link.StoreUIStyle(v);
        ++styleCalls;
        minWidth = m_link.Values().Int(SUI_THEME_FORM_MINWIDTH_INT);
    }
    TsuiFileTheme* GetFileTheme() const override { return m_link.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* v) override {
        ++themeCalls;
        m_link.StoreFileTheme(v);
        SetUIStyle(GetUIStyle());
    }
    int styleCalls = 0;
    int themeCalls = 0;
    int minWidth = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (m_link.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
    }

private:
    TsuiStyleLink m_link;
};

// The same interface without the skin library's class prefix: a theme never pushes to it.
class TOtherProbe : public TsuiProbe {
public:
    const char* ClassName() const override { return "TOtherProbe"; }
    using TsuiProbe::TsuiProbe;
};

class SUIMgrTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("suimgr_test_" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    String Path(const String& name) const { return (dir / name).string(); }

    // A theme file with a minimum width, a border colour, a flag and a 30 x 10 button strip.
    String WriteTheme(const String& name, int minWidth) const {
        TBitmap strip(30, 10, pf24bit);
        strip.GetCanvas()->GetBrush()->SetColor(clRed);
        strip.GetCanvas()->FillRect(TRect(0, 0, 10, 10));
        strip.GetCanvas()->GetBrush()->SetColor(clLime);
        strip.GetCanvas()->FillRect(TRect(10, 0, 20, 10));
        const String bmp = Path(name + ".bmp");
        strip.SaveToFile(bmp);
        const String path = Path(name);
        TsuiThemeFileWriter w(path);
        w.AddFile("ButtonImage", bmp);
        w.AddInteger("FormMinWidthInt", minWidth);
        w.AddInteger("FormBorderColor", 0x123456);
        w.AddBool("ButtonTransparentBool", true);
        w.Save();
        return path;
    }

    void WriteBytes(const String& path, const std::string& bytes) const {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    fs::path dir;
};

}  // namespace

TEST_F(SUIMgrTest, AccessWithoutAFileAnswersZeroAndLeavesBitmaps) {
    TsuiFileThemeMgr mgr;
    EXPECT_EQ(mgr.GetInt(13), 0);
    EXPECT_EQ(mgr.GetColor(16), 0);
    EXPECT_FALSE(mgr.GetBool(2));
    TBitmap bmp(3, 3);
    mgr.GetBitmap(1, &bmp);
    EXPECT_EQ(bmp.GetWidth(), 3);
    EXPECT_FALSE(mgr.LoadFromFile(Path("missing.sui")));
}

TEST_F(SUIMgrTest, KeysReadByTheirItemNames) {
    TsuiFileThemeMgr mgr;
    ASSERT_TRUE(mgr.LoadFromFile(WriteTheme("a.sui", 222)));
    EXPECT_EQ(mgr.GetInt(SUI_THEME_FORM_MINWIDTH_INT), 222);
    EXPECT_EQ(mgr.GetColor(SUI_THEME_FORM_BORDER_COLOR), 0x123456);
    EXPECT_TRUE(mgr.GetBool(SUI_THEME_BUTTON_TRANSPARENT_BOOL));
    TBitmap bmp;
    mgr.GetBitmap(SUI_THEME_BUTTON_IMAGE, &bmp);
    EXPECT_EQ(bmp.GetWidth(), 30);
    // Missing keys, and keys outside 1..42, are missing keys.
    for (int key : {SUI_THEME_FORM_ROUNDCORNER_INT, 0, 43, -5}) {
        EXPECT_EQ(mgr.GetInt(key), -1) << key;
        EXPECT_FALSE(mgr.GetBool(key)) << key;
        TBitmap keep(4, 4);
        mgr.GetBitmap(key, &keep);
        EXPECT_EQ(keep.GetWidth(), 4) << key;
    }
}

TEST_F(SUIMgrTest, LoadsAFileByPathAndFramesItsPictures) {
    TsuiFileTheme theme(nullptr);
    EXPECT_FALSE(theme.CanUse());
    const String path = WriteTheme("b.sui", 300);
    theme.SetThemeFile(path);
    EXPECT_TRUE(theme.CanUse());
    EXPECT_EQ(theme.GetThemeFile(), path);
    EXPECT_EQ(theme.GetInt(SUI_THEME_FORM_MINWIDTH_INT), 300);
    TBitmap frame;
    theme.GetBitmap(SUI_THEME_BUTTON_IMAGE, &frame, 3, 2);
    EXPECT_EQ(frame.GetWidth(), 10);
    EXPECT_EQ(frame.GetHeight(), 10);
    EXPECT_EQ(frame.GetPixelColor(5, 5), static_cast<COLORREF>(clLime));
    TBitmap missing(5, 5);
    theme.GetBitmap(SUI_THEME_CHECKBOX_IMAGE, &missing, 4, 1);
    EXPECT_TRUE(missing.GetEmpty());
}

TEST_F(SUIMgrTest, FindsABareNameInTheProgramFolder) {
    const String name = "suimgr_test_" + std::to_string(getpid()) + ".sui";
    const String inProgram = IncludeTrailingPathDelimiter(Win32_ProgramFolder()) + name;
    fs::copy_file(WriteTheme("c.sui", 150), inProgram, fs::copy_options::overwrite_existing);
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(name);
    EXPECT_TRUE(theme.CanUse());
    EXPECT_EQ(theme.GetThemeFile(), inProgram);
    // A folder in front of the name doesn't hide the file beside the program either.
    TsuiFileTheme other(nullptr);
    other.SetThemeFile("/nowhere/at/all/" + name);
    EXPECT_EQ(other.GetThemeFile(), inProgram);
    fs::remove(inProgram);
}

TEST_F(SUIMgrTest, ANameFoundNowhereChangesNothing) {
    TsuiFileTheme theme(nullptr);
    const String path = WriteTheme("d.sui", 170);
    theme.SetThemeFile(path);
    theme.SetThemeFile(Path("no-such-theme-anywhere.sui"));
    EXPECT_TRUE(theme.CanUse());
    EXPECT_EQ(theme.GetThemeFile(), path);
    EXPECT_EQ(theme.GetInt(SUI_THEME_FORM_MINWIDTH_INT), 170);
}

TEST_F(SUIMgrTest, AFileWithoutTheSignatureRaisesAndKeepsTheTheme) {
    TsuiFileTheme theme(nullptr);
    const String path = WriteTheme("e.sui", 180);
    theme.SetThemeFile(path);
    const String bogus = Path("bogus.sui");
    WriteBytes(bogus, "SKINKIT_TB this is not a theme");
    try {
        theme.SetThemeFile(bogus);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Invalid skin file for SkinKit!");
    }
    EXPECT_EQ(theme.GetThemeFile(), path);
    EXPECT_EQ(theme.GetInt(SUI_THEME_FORM_MINWIDTH_INT), 180);
}

TEST_F(SUIMgrTest, AFailedLoadKeepsTheThemeLoadedBefore) {
    TsuiFileTheme theme(nullptr);
    const String good = WriteTheme("f.sui", 190);
    theme.SetThemeFile(good);
    // The signature is right, the header size is not: the reader refuses it.
    std::string bytes("SkinKit_TB\0\0", 12);
    bytes += std::string("\x63\0\0\0\x01\0\0\0\x18\0\0\0", 12);
    const String broken = Path("broken.sui");
    WriteBytes(broken, bytes);
    EXPECT_ANY_THROW(theme.SetThemeFile(broken));
    EXPECT_TRUE(theme.CanUse());
    EXPECT_EQ(theme.GetThemeFile(), good);
    EXPECT_EQ(theme.GetInt(SUI_THEME_FORM_MINWIDTH_INT), 190);
}

TEST_F(SUIMgrTest, TheSameTextDoesNothingEvenWhenTheFileChanged) {
    TsuiFileTheme theme(nullptr);
    const String path = WriteTheme("g.sui", 200);
    theme.SetThemeFile(path);
    WriteTheme("g.sui", 201);
    theme.SetThemeFile(path);
    EXPECT_EQ(theme.GetInt(SUI_THEME_FORM_MINWIDTH_INT), 200);
}

TEST_F(SUIMgrTest, ALoadPushesItselfToTheFormsSkinnedComponents) {
    TForm form(nullptr);
    auto* theme = new TsuiFileTheme(&form);
    auto* user = new TsuiProbe(&form);
    auto* bystander = new TsuiProbe(&form);
    auto* foreign = new TOtherProbe(&form);
    user->SetUIStyle(FromThemeFile);
    user->SetFileTheme(theme);
    foreign->SetUIStyle(FromThemeFile);
    foreign->SetFileTheme(theme);
    EXPECT_EQ(user->minWidth, 130);  // unusable theme: DeepBlue's value
    const int before = user->themeCalls, foreignBefore = foreign->themeCalls;
    theme->SetThemeFile(WriteTheme("h.sui", 444));
    EXPECT_EQ(user->themeCalls, before + 1);
    EXPECT_EQ(user->minWidth, 444);
    EXPECT_EQ(bystander->themeCalls, 0);
    EXPECT_EQ(foreign->themeCalls, foreignBefore);
}

TEST_F(SUIMgrTest, FreeingTheThemeTurnsItsUsersDeepBlue) {
    TForm form(nullptr);
    auto* theme = new TsuiFileTheme(&form);
    theme->SetThemeFile(WriteTheme("i.sui", 260));
    TsuiProbe probe(nullptr);  // not even on the same form
    probe.SetUIStyle(FromThemeFile);
    probe.SetFileTheme(theme);
    EXPECT_EQ(probe.minWidth, 260);
    delete theme;
    EXPECT_EQ(probe.GetFileTheme(), nullptr);
    EXPECT_EQ(probe.GetUIStyle(), DeepBlue);
}

TEST_F(SUIMgrTest, TemporaryNamesCountUpPastTakenOnes) {
    const String folder = IncludeTrailingPathDelimiter(dir.string());
    EXPECT_EQ(SUIPaktFileName(folder), folder + "SUIPAKT.sui");
    WriteBytes(folder + "SUIPAKT.sui", "x");
    EXPECT_EQ(SUIPaktFileName(folder), folder + "SUIPAKT1.sui");
    WriteBytes(folder + "SUIPAKT1.sui", "x");
    EXPECT_EQ(SUIPaktFileName(dir.string()), folder + "SUIPAKT2.sui");
}

namespace {

// Points the system's temporary folder at a test folder for one test.
class TempFolderScope {
public:
    explicit TempFolderScope(const fs::path& dir) {
        if (const char* old = std::getenv("TMPDIR")) m_old = old, m_had = true;
        setenv("TMPDIR", dir.c_str(), 1);
    }
    ~TempFolderScope() {
        if (m_had) setenv("TMPDIR", m_old.c_str(), 1); else unsetenv("TMPDIR");
    }

private:
    std::string m_old;
    bool m_had = false;
};

}  // namespace

TEST_F(SUIMgrTest, EmbeddedThemeLoadsThroughAFreeTemporaryFileAndDeletesIt) {
    const fs::path tmp = dir / "tmp";
    fs::create_directories(tmp);
    TempFolderScope scope(tmp);
    ASSERT_EQ(SUITempFolder(), IncludeTrailingPathDelimiter(tmp.string()));
    WriteBytes((tmp / "SUIPAKT.sui").string(), "someone else's");

    TsuiBuiltInFileTheme source(nullptr);
    source.SetThemeFile2(WriteTheme("j.sui", 333));
    ASSERT_TRUE(source.HasSkinData());
    TMemoryStream data;
    source.WriteSkinData(&data);
    EXPECT_FALSE(source.CanUse());  // storing the path loads nothing
    data.SetPosition(0);

    TsuiBuiltInFileTheme theme(nullptr);
    theme.ReadSkinData(&data);
    EXPECT_TRUE(theme.CanUse());
    EXPECT_EQ(theme.GetThemeFile(), (tmp / "SUIPAKT1.sui").string());
    EXPECT_EQ(theme.GetInt(SUI_THEME_FORM_MINWIDTH_INT), 333);
    EXPECT_FALSE(fs::exists(tmp / "SUIPAKT1.sui"));
    EXPECT_TRUE(fs::exists(tmp / "SUIPAKT.sui"));
}

TEST_F(SUIMgrTest, EmbeddedThemeDeletesItsTemporaryFileWhenLoadingFails) {
    const fs::path tmp = dir / "tmp";
    fs::create_directories(tmp);
    TempFolderScope scope(tmp);
    TMemoryStream junk;
    const std::string bytes = "not a theme at all";
    junk.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    junk.SetPosition(0);
    TsuiBuiltInFileTheme theme(nullptr);
    EXPECT_THROW(theme.ReadSkinData(&junk), EsuiThemeError);
    EXPECT_FALSE(theme.CanUse());
    EXPECT_TRUE(fs::is_empty(tmp));
}

TEST_F(SUIMgrTest, EmbeddedThemeWithoutAFileWritesNoData) {
    TsuiBuiltInFileTheme theme(nullptr);
    EXPECT_FALSE(theme.HasSkinData());
    theme.SetThemeFile2(Path("gone.sui"));
    EXPECT_FALSE(theme.HasSkinData());
}

TEST_F(SUIMgrTest, ManagerPushesLookAndThemeToTheNamedComponents) {
    TForm form(nullptr);
    auto* theme = new TsuiFileTheme(&form);
    theme->SetName("Theme1");
    auto* a = new TsuiProbe(&form);
    a->SetName("A");
    auto* b = new TsuiProbe(&form);
    b->SetName("B");
    auto* mgr = new TsuiThemeManager(&form);
    int changes = 0;
    mgr->OnUIStyleChanged = [&](TObject*) { ++changes; };
    TStringList names;
    names.Add("A");
    names.Add("Nobody");
    mgr->SetList(&names);
    mgr->SetUIStyle(WinXP);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(a->GetUIStyle(), WinXP);
    EXPECT_EQ(b->GetUIStyle(), DeepBlue);
    mgr->SetUIStyle(WinXP);
    EXPECT_EQ(changes, 1);  // no change, no event
    mgr->SetFileTheme(theme);
    EXPECT_EQ(a->GetFileTheme(), theme);

    delete a;
    EXPECT_EQ(mgr->GetCompList()->IndexOf("A"), -1);
    EXPECT_EQ(mgr->GetCompList()->Count(), 1);
    delete theme;
    EXPECT_EQ(mgr->GetFileTheme(), nullptr);
    EXPECT_EQ(mgr->GetUIStyle(), DeepBlue);
    EXPECT_EQ(changes, 1);  // removal stores only
}

TEST_F(SUIMgrTest, ManagerOutsideAFormDoesNothing) {
    TsuiProbe probe(nullptr);
    probe.SetName("P");
    TsuiThemeManager mgr(nullptr);
    mgr.GetCompList()->Add("P");
    mgr.SetUIStyle(MacOS);
    EXPECT_EQ(probe.GetUIStyle(), DeepBlue);
}

TEST_F(SUIMgrTest, ALoadedThemeServesOnlyFromThemeFile) {
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(WriteTheme("k.sui", 555));
    TsuiUIStyle effective = DeepBlue;
    EXPECT_FALSE(UsingFileTheme(&theme, MacOS, effective));
    EXPECT_EQ(effective, MacOS);
    EXPECT_TRUE(UsingFileTheme(&theme, FromThemeFile, effective));
    EXPECT_EQ(effective, FromThemeFile);

    const TsuiThemeValues fromFile(&theme, FromThemeFile);
    EXPECT_TRUE(fromFile.FromFile());
    EXPECT_EQ(fromFile.Int(SUI_THEME_FORM_MINWIDTH_INT), 555);
    EXPECT_EQ(fromFile.Color(SUI_THEME_FORM_BORDER_COLOR), 0x123456);
    EXPECT_TRUE(fromFile.Bool(SUI_THEME_BUTTON_TRANSPARENT_BOOL));
    EXPECT_EQ(fromFile.Int(SUI_THEME_FORM_ROUNDCORNER_INT), -1);  // not in the file
    TBitmap whole, frame;
    fromFile.Bitmap(SUI_THEME_BUTTON_IMAGE, &whole);
    fromFile.Bitmap(SUI_THEME_BUTTON_IMAGE, &frame, 3, 1);
    EXPECT_EQ(whole.GetWidth(), 30);
    EXPECT_EQ(frame.GetWidth(), 10);
    EXPECT_EQ(frame.GetPixelColor(0, 0), static_cast<COLORREF>(clRed));

    const TsuiThemeValues builtIn(&theme, Protein);
    EXPECT_FALSE(builtIn.FromFile());
    EXPECT_EQ(builtIn.Color(SUI_THEME_FORM_BACKGROUND_COLOR), 0xFBFBFB);
}

// The design-time editors ask for a "*.sui" file: the file theme loads it, the embedded theme
// only stores its path; a cancelled dialog changes neither.
TEST_F(SUIMgrTest, TheThemeEditorsAskForAThemeFile) {
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    const String path = WriteTheme("k.sui", 244);

    TsuiFileTheme theme(nullptr);
    ask.CancelFile();
    SUIEditFileTheme(&theme);
    EXPECT_FALSE(theme.CanUse());
    ask.AnswerFiles({path});
    SUIEditFileTheme(&theme);
    EXPECT_TRUE(theme.CanUse());
    EXPECT_EQ(theme.GetThemeFile(), path);
    EXPECT_EQ(theme.GetInt(SUI_THEME_FORM_MINWIDTH_INT), 244);

    TsuiBuiltInFileTheme embedded(nullptr);
    ask.CancelFile();
    SUIEditBuiltInFileTheme(&embedded);
    EXPECT_TRUE(embedded.GetThemeFile2().empty());
    ask.AnswerFiles({path});
    SUIEditBuiltInFileTheme(&embedded);
    EXPECT_EQ(embedded.GetThemeFile2(), path);
    EXPECT_FALSE(embedded.CanUse()) << "storing the path loads nothing";
    EXPECT_TRUE(embedded.HasSkinData());

    const auto asked = ask.Of(testing_vcl::TQuestionKind::FileDialog);
    ASSERT_EQ(asked.size(), 4u);
    for (const auto& q : asked) {
        EXPECT_EQ(q.File.Filter, "SkinKit Theme File(*.sui)|*.sui");
        EXPECT_FALSE(q.File.Save);
        EXPECT_FALSE(q.File.MultiSelect);
    }
}

TEST_F(SUIMgrTest, TheFileThemeEditorPassesOnTheRefusalOfAFileThatIsNoTheme) {
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    const String bogus = Path("bogus.sui");
    WriteBytes(bogus, "no signature here");
    TsuiFileTheme theme(nullptr);
    ask.AnswerFiles({bogus});
    EXPECT_THROW(SUIEditFileTheme(&theme), EsuiThemeError);
    EXPECT_FALSE(theme.CanUse());
}
