// The production windows: their arithmetic, the result codes a run ends with (media library and
// authoring library stand-ins), and a real Converter and Builder run on short lavfi clips.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>
#include <chrono>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "platform/vcl/PngWriter.h"
#include "platform/vcl/SysUtils.h"
#include "productionwindows/Builder_Window.h"
#include "production/ClipConversion.h"
#include "productionwindows/Compiler_Window.h"
#include "productionwindows/Convert_Window.h"
#include "libs/dozezedav/Dozezedav.h"
#include "tests/libs/dozezedav/DozezedavFixture.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace {

namespace fs = std::filesystem;
using testing_vcl::TTempFolder;

// ---- arithmetic ------------------------------------------------------------------------------

struct GeometryCase {
    int W, H;
    double A, Target;
    int Square, Frame;
    int Width, Height;
};

TEST(productionClipArithmetic, PictureInsideTheFrame) {
    const GeometryCase cases[] = {
        {1920, 1080, 16.0 / 9, 4.0 / 3, 540, 576, 720, 432},  // letterbox, PAL 4:3
        {1920, 1080, 16.0 / 9, 4.0 / 3, 540, 480, 720, 360},  // letterbox, NTSC 4:3
        {640, 480, 4.0 / 3, 16.0 / 9, 404, 576, 540, 576},    // pillarbox, 538 rounded up
        {720, 540, 4.0 / 3, 4.0 / 3, 540, 576, 720, 576},     // same aspect: the full frame
        {0, 0, 1.0, 4.0 / 3, 540, 576, 720, 576},             // size not known: the full frame
        {1920, 0, 16.0 / 9, 4.0 / 3, 540, 480, 720, 480},
    };
    for (const auto& c : cases) {
        const TPictureGeometry g = PictureGeometry(c.W, c.H, c.A, c.Target, c.Square, c.Frame);
        EXPECT_EQ(g.i_Width, c.Width) << c.W << "x" << c.H;
        EXPECT_EQ(g.i_Height, c.Height) << c.W << "x" << c.H;
    }
}

TEST(productionClipArithmetic, OnlyATrimEndAtTheDurationConvertsToTheEnd) {
    struct Case { int Start, End, Duration, Seconds; const char* Text; };
    // Only an end at the duration (or past it) is the file's end; one inside the last 10 s holds.
    const Case cases[] = {{5, 60, 100, 55, "55"}, {5, 95, 100, 90, "90"}, {0, 90, 100, 90, "90"}, {2, 6, 6, 4, "0"},
                          {0, 6, 12, 6, "6"},     {0, 99, 100, 99, "99"}, {5, 100, 100, 95, "0"}, {5, 101, 100, 95, "0"}};
    for (const auto& c : cases) {
        const TClipSpan span = ClipSpan(c.Start, c.End, c.Duration);
        EXPECT_EQ(span.i_ClipDuration, c.Seconds);
        EXPECT_EQ(span.s_DurationText, c.Text);
    }
}

TEST(productionClipArithmetic, CurrentTimeStaysWithinTheClip) {
    struct Case { int Encoded, Duration, Shown; };
    const Case cases[] = {{0, 20, 0}, {12, 20, 12}, {20, 20, 20}, {21, 20, 20}, {-1, 20, 0}, {5, 0, 0}};
    for (const auto& c : cases) EXPECT_EQ(ClipTimeShown(c.Encoded, c.Duration), c.Shown) << c.Encoded << " of " << c.Duration;
}

TEST(productionClipArithmetic, OutputNameTakesTheFirstFreeOne) {
    const std::set<String> taken = {"/o/OutputVOB_0.vob", "/o/OutputVOB_0_1.vob"};
    auto exists = [&](const String& f) { return taken.count(f) > 0; };
    EXPECT_EQ(OutputVobName("/o/", 0, exists), "/o/OutputVOB_0_2.vob");
    EXPECT_EQ(OutputVobName("/o/", 1, exists), "/o/OutputVOB_1.vob");
}

TEST(productionClipArithmetic, BarLength) {
    const std::pair<int, int> cases[] = {{150, 257}, {100, 257}, {-5, 0}, {50, 128}, {0, 0}};
    for (auto [p, px] : cases) EXPECT_EQ(ProgressPixels(p), px) << p;
}

TEST(productionClipArithmetic, WorkFolderLeavesAProgramFolderThatTakesNoFolder) {
    TTempFolder program("prodwin_prog"), cache("prodwin_cache");
    // A program folder where no Temp folder can be made, for root too: a path through a file.
    std::ofstream(program["file"]) << "x";
    const char* old = std::getenv("XDG_CACHE_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CACHE_HOME", cache.Path().c_str(), 1);
    const String folder = ChooseWorkFolder(program["file"] + "/");
    const String writable = ChooseWorkFolder(program.Path() + "/");
    if (old) setenv("XDG_CACHE_HOME", saved.c_str(), 1); else unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(folder, cache.Path() + "/QuelloxDOZEzedav/Temp/");
    EXPECT_EQ(writable, program.Path() + "/Temp/");
}

// ---- windows with stand-in libraries ---------------------------------------------------------------

struct Captured {
    std::vector<std::string> Texts;
    std::vector<int> Ints;
};
Captured g_args;
int g_encodeResult = 0;
bool g_stopAsked = false;

extern "C" int StandInEncode(void* window, int mode, const char* source, const char* passes, const char* start,
                             const char* rate, const char* aspect, const char* vf, const char* target,
                             const char* kbps, const char* akbps, const char* picture, const char* frame,
                             const char* t, const char* a, const char* c, const char* fps, const char* r18,
                             const char* r19, const char* output, const char* r21, const char* duration, int r23,
                             int standard, const char* afmt, int quality) {
    g_args.Texts = {source, passes, start, rate, aspect, vf, target, kbps, akbps, picture, frame, t, a, c, fps,
                    r18, r19, output, r21, duration, afmt};
    g_args.Ints = {window != nullptr, mode, r23, standard, quality};
    if (g_encodeResult == 0) std::ofstream(output) << "vob";
    return g_encodeResult;
}
extern "C" int StandInInfo(std::int32_t* info) { info[0] = 1; info[1] = 25; info[2] = 25; return 0; }
extern "C" int StandInStop() { g_stopAsked = true; return 0; }
extern "C" int StandInStill(void*, int, const char*, const char*, const char*, const char*, const char*, const char*,
                            int, const char*) { return 0; }

FARPROC Proc(auto* f) { return reinterpret_cast<FARPROC>(f); }

class productionConvertWindow : public ::testing::Test {
protected:
    void SetUp() override {
        g_args = {};
        g_encodeResult = 0;
        g_s_OutputFolder = out.Path() + "/";
        window = new TConvertWindow(nullptr);
        window->SetConvertMode();
        window->InitControls();
    }
    void TearDown() override {
        delete window;
        Pubfunction::ClearClipInfo();
        Win32_UnregisterModule("CorvaneDLL.dll");
    }
    void RegisterEncoder(bool WithStop = true) {
        if (WithStop)
            Win32_RegisterModule("CorvaneDLL.dll", {{"X_Get_Info", Proc(&StandInInfo)}, {"X_StopConvert", Proc(&StandInStop)},
                                                    {"X_SetPar_D2MPEG", Proc(&StandInEncode)},
                                                    {"X_SetPar_BMP2VOB", Proc(&StandInStill)}});
        else
            Win32_RegisterModule("CorvaneDLL.dll", {{"X_Get_Info", Proc(&StandInInfo)},
                                                    {"X_SetPar_D2MPEG", Proc(&StandInEncode)}});
    }
    TClipInfo* AddClip(const std::string& Source) {
        auto* clip = new TClipInfo();
        clip->s_FileName = Source;
        clip->i_Duration = 60;
        clip->i_TrimEnd = 30;
        clip->i_DisplayWidth = 1920;
        clip->i_DisplayHeight = 1080;
        clip->d_AspectRatio = 16.0 / 9;
        clip->b_AddLetterBox = true;
        ClipInfo.push_back(clip);
        return clip;
    }
    String LastLine() const { return window->Memo_Msg->GetLines()->Strings(window->Memo_Msg->GetLines()->Count() - 1); }
    void Run() {
        window->SetConvertParameters();
        window->EnterBusyState();
        if (window->ConvertClips()) window->EnterIdleState(1);
    }

    TTempFolder out{"prodwin_out"};
    TConvertWindow* window = nullptr;
};

TEST_F(productionConvertWindow, ResultCodes) {
    TTempFolder src("prodwin_src");
    std::ofstream(src["a.mp4"]) << "x";
    struct Case { const char* Name; bool Library; bool AllEntries; int Encoder; bool Missing; const char* Last; };
    const Case cases[] = {
        {"success", true, true, 0, false, "<<< Process finish"},
        {"missing source", true, true, 0, true, "<<< Conversion parameter wrong"},
        {"entry missing", true, false, 0, false, "<<< Can not start conversion process"},
        {"encoder -1", true, true, -1, false, "<<< Conversion process wrong"},
    };
    for (const auto& c : cases) {
        Pubfunction::ClearClipInfo();
        Win32_UnregisterModule("CorvaneDLL.dll");
        if (c.Library) RegisterEncoder(c.AllEntries);
        g_encodeResult = c.Encoder;
        AddClip(src["a.mp4"]);
        if (c.Missing) AddClip(src["gone.mp4"]);
        Run();
        EXPECT_EQ(LastLine(), c.Last) << c.Name;
        EXPECT_EQ(window->MediaEncoder, nullptr) << c.Name;
    }
}

TEST_F(productionConvertWindow, TheArgumentsForPal4x3AndNtsc16x9) {
    RegisterEncoder();
    TTempFolder src("prodwin_src");
    std::ofstream(src["a b & c.mp4"]) << "x";
    AddClip(src["a b & c.mp4"])->i_TrimStart = 3;
    window->i_Aspect = 1;
    window->suiComboBox_OutputQuality->SetItemIndex(0);
    window->suiCheckBox_PAL->SetChecked(true);
    Run();
    const std::vector<std::string> pal = {src["a b & c.mp4"], "1", "3", "48000", "4:3", "mpeg2", "dvd", "5000",
                                          "192", "720:432", "720:576", "MyVideo", "MyVideo", "MyVideo", "25", "0", "0",
                                          out["OutputVOB_0.vob"], "0", "27", "ac3"};
    EXPECT_EQ(g_args.Texts, pal);
    EXPECT_EQ(g_args.Ints, (std::vector<int>{1, 2, 0, 2, 0}));

    window->i_Aspect = 2;
    window->suiCheckBox_NTSC->SetChecked(true);
    EXPECT_FALSE(window->suiCheckBox_PAL->GetChecked());
    window->suiComboBox_OutputQuality->SetItemIndex(2);
    Run();
    EXPECT_EQ(g_args.Texts[4], "16:9");
    EXPECT_EQ(g_args.Texts[7], "4000");
    EXPECT_EQ(g_args.Texts[9], "720:480");  // 16:9 clip at 16:9: the full frame
    EXPECT_EQ(g_args.Texts[10], "720:480");
    EXPECT_EQ(g_args.Texts[14], "30000/1001");
    EXPECT_EQ(g_args.Texts[17], out["OutputVOB_0_1.vob"]);
    EXPECT_EQ(g_args.Ints[3], 1);
    EXPECT_EQ(g_args.Ints[4], 2);
}

TEST_F(productionConvertWindow, EmptyListAndBusyClose) {
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    ask.MessageAnswers.push_back(mrOk);
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(window->Memo_Msg->GetLines()->Count(), 0);
    EXPECT_TRUE(window->suiImageButton_Start->GetVisible());
    window->EnterBusyState();
    ask.MessageAnswers.push_back(mrOk);
    bool canClose = true;
    window->FormCloseQuery(nullptr, canClose);
    EXPECT_FALSE(canClose);
    window->suiImageButton_CloseClick(nullptr);
    window->suiImageButton_StopClick(nullptr);  // nothing to stop: message 64
    EXPECT_TRUE(ask.AllAnswersUsed());
    window->EnterIdleState(-1);
}

TEST_F(productionConvertWindow, AnUnwritableOutputFolderFailsBeforeAnyEncode) {
    RegisterEncoder();
    TTempFolder src("prodwin_src");
    std::ofstream(src["a.mp4"]) << "x";
    AddClip(src["a.mp4"]);
    g_s_OutputFolder = "/proc/no-such/";
    Run();
    EXPECT_EQ(LastLine(), "<<< Conversion parameter wrong");
    EXPECT_TRUE(g_args.Texts.empty());
}

void Render(TWinControl* Control, const std::string& Name);

// ---- the mux worker with a stand-in authoring library ---------------------------------------------

int g_muxPercent = 0;
int g_muxResult = DOZEZEDAV_OK;
std::atomic<bool> g_muxOnWorker{false};
std::thread::id g_uiThread;

extern "C" int* StandInPercent() { return &g_muxPercent; }
// Slow: the counter rises over about 1.5 s, then the output appears (or not, as scripted).
extern "C" int StandInMux(const char*, const char* in, const char* out) {
    g_muxOnWorker = std::this_thread::get_id() != g_uiThread;
    for (int p = 0; p <= 100; p += 10) {
        std::atomic_ref<int>(g_muxPercent).store(p);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    if (g_muxResult == DOZEZEDAV_OK) std::ofstream(out) << "muxed " << in;
    return g_muxResult;
}

class TNoThreadBuilder : public TBuilderWindow {
public:
    using TBuilderWindow::TBuilderWindow;
protected:
    bool StartWorker(std::function<void()>) override { return false; }
};

class productionBuilderWindow : public ::testing::Test {
protected:
    void SetUp() override {
        g_uiThread = std::this_thread::get_id();
        g_muxPercent = 0;
        g_muxResult = DOZEZEDAV_OK;
        g_s_OutputFolder = out.Path() + "/";
        std::ofstream(out["OutputVOB_0.vob"]) << "plain";
        std::ofstream(out["subs.srt"]) << "1\n00:00:01,000 --> 00:00:02,000\nHi\n";
        auto* clip = new TClipInfo();
        clip->s_FileName = out["source.mp4"];
        clip->i_Duration = 30;
        clip->i_TrimEnd = 30;
        clip->s_VobFile = out["OutputVOB_0.vob"];
        clip->s_SubtitleFile = out["subs.srt"];
        ClipInfo.push_back(clip);
    }
    void TearDown() override {
        Pubfunction::ClearClipInfo();
        Win32_UnregisterModule("dozezedav.dll");
    }
    void RegisterMux(bool Complete = true) {
        if (Complete)
            Win32_RegisterModule("dozezedav.dll", {{"spumux_main", Proc(&StandInMux)},
                                                   {"getSubtitleMuxPercent", Proc(&StandInPercent)}});
        else
            Win32_RegisterModule("dozezedav.dll", {{"spumux_main", Proc(&StandInMux)}});
    }
    static String LastLine(TProductionWindow* W) { return W->Memo_Msg->GetLines()->Strings(W->Memo_Msg->GetLines()->Count() - 1); }
    String Vob() const { std::ifstream f(out["OutputVOB_0.vob"]); std::string s; std::getline(f, s); return s; }
    void Run(TBuilderWindow* W) {
        W->SetBuildMode();
        W->SetConvertParameters();
        W->EnterBusyState();
        if (W->MuxSubtitles()) W->EnterIdleState(1);
    }
    TTempFolder out{"prodwin_mux"};
};

TEST_F(productionBuilderWindow, TheTimerShowsARisingCounterWhileTheWorkerMuxes) {
    RegisterMux();
    TBuilderWindow window(nullptr);
    window.Show();
    std::vector<int> shown;
    TNotifyEvent tick = window.Timer_Spumux->OnTimer;
    window.Timer_Spumux->OnTimer = [&](TObject* s) {
        tick(s);
        shown.push_back(window.Image_Progress1->GetWidth());
        if (shown.size() == 2) Render(&window, "BuilderWindow_MidMux");
    };
    Run(&window);
    EXPECT_EQ(LastLine(&window), "<<< Process finish");
    EXPECT_TRUE(g_muxOnWorker);
    ASSERT_GE(shown.size(), 2u);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_GT(shown.back(), 0);
    EXPECT_EQ(Vob(), "muxed " + out["OutputVOB_0.vob"]);
    EXPECT_FALSE(fs::exists(out["OutputVOB_0_srt.vob"]));
    // Unbound and no longer timed: a poisoned counter is never read again.
    EXPECT_EQ(window.MuxLibrary, nullptr);
    EXPECT_FALSE(window.Timer_Spumux->GetEnabled());
    const std::size_t ticks = shown.size();
    g_muxPercent = -12345;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(700);
    while (std::chrono::steady_clock::now() < until) Application->ProcessMessages();
    EXPECT_EQ(shown.size(), ticks);
}

TEST_F(productionBuilderWindow, MuxFailuresLeaveTheVobAsItWas) {
    struct Case { const char* Name; int Library; int Result; bool Thread; bool DeleteSrt; const char* Last; };
    // Library: 0 none registered, 1 an entry missing, 2 complete.
    const Case cases[] = {
        {"mux fails", 2, DOZEZEDAV_PROGRAM_ERROR, true, false, "<<< Mux process wrong"},
        {"entry missing", 1, DOZEZEDAV_OK, true, false, "<<< Mux process wrong"},
        {"no thread", 2, DOZEZEDAV_OK, false, false, "<<< Mux process wrong"},
        {"subtitle deleted", 2, DOZEZEDAV_OK, true, true, "<<< Mux parameter wrong"},
    };
    for (const auto& c : cases) {
        std::ofstream(out["OutputVOB_0.vob"]) << "plain";
        std::ofstream(out["OutputVOB_0_srt.vob"]) << "stale";
        fs::permissions(out["OutputVOB_0_srt.vob"], fs::perms::owner_read);
        if (c.DeleteSrt) fs::remove(out["subs.srt"]); else std::ofstream(out["subs.srt"]) << "1\n00:00:01,000 --> 00:00:02,000\nHi\n";
        Win32_UnregisterModule("dozezedav.dll");
        if (c.Library > 0) RegisterMux(c.Library == 2);
        g_muxResult = c.Result;
        std::unique_ptr<TBuilderWindow> window(c.Thread ? new TBuilderWindow(nullptr) : new TNoThreadBuilder(nullptr));
        Run(window.get());
        EXPECT_EQ(LastLine(window.get()), c.Last) << c.Name;
        EXPECT_EQ(Vob(), "plain") << c.Name;
        EXPECT_FALSE(c.Library == 2 && c.Thread && !c.DeleteSrt && fs::exists(out["OutputVOB_0_srt.vob"])) << c.Name;
        EXPECT_FALSE(b_ThreadIsWorking.load()) << c.Name;
    }
}

// ---- the drawn skin ------------------------------------------------------------------------------

const fs::path kDist = fs::path(TEST_PEER_DIR) / ".." / ".." / "dist";

TColor PictureColour(const std::string& File, int X, int Y) {
    TBitmap picture;
    picture.LoadFromFile((kDist / "RES" / File).string());
    return static_cast<TColor>(picture.GetPixelColor(X, Y));
}

class productionSkin : public ::testing::Test {
protected:
    void SetUp() override { ExePath = kDist.string() + "/"; }
    void TearDown() override {
        ExePath = savedExePath;
        Pubfunction::ClearClipInfo();
    }
    String savedExePath = ExePath;
};

TEST_F(productionSkin, TheShownBuilderCarriesItsPicturesAndStartStillTakesTheClick) {
    ASSERT_TRUE(fs::exists(kDist / "RES" / "prod_skin.bmp"));
    TBuilderWindow window(nullptr);
    window.SetBuildMode();
    window.Show();
    EXPECT_TRUE(window.suiSkinForm1->GetVisible());
    const TColor plain = window.GetColor();
    const struct { TControl* Control; int X, Y; const char* Picture; int PX, PY; } probes[] = {
        {&window, 300, 40, "prod_skin.bmp", 300, 40},           // the title band
        {&window, 200, 545, "prod_skin.bmp", 200, 545},         // the body's light well
        {&window, 440, 410, "prod_start.bmp", 10, 80},          // the Start button's face
        {window.suiImageButton_Start, 48, 27, "prod_start.bmp", 48, 27},  // its sign
    };
    for (const auto& p : probes) {
        const TColor shown = testing_vcl::PixelAt(p.Control, p.X, p.Y);
        EXPECT_NE(shown, plain) << p.Picture << " " << p.PX << "," << p.PY;
        EXPECT_EQ(shown, PictureColour(p.Picture, p.PX, p.PY)) << p.Picture << " " << p.PX << "," << p.PY;
    }
    Render(&window, "BuilderWindow_Skin");
    // The skin lies under every control: the point of Start finds Start, and a click there runs it.
    EXPECT_EQ(window.ControlAtPos(TPoint{478, 378}, false, true), window.suiImageButton_Start);
    EXPECT_EQ(window.ControlAtPos(TPoint{525, 11}, false, true), window.suiImageButton_Close);
    int clicks = 0;
    window.suiImageButton_Start->OnClick = [&](TObject*) { ++clicks; };
    testing_vcl::Click(window.suiImageButton_Start);
    EXPECT_EQ(clicks, 1);
    window.Hide();
}

// The 402-high variants wear skins of their own size: the whole picture is the window, each bar
// lies in a well of the picture, and the Compiler's output folder row sits on the window.
TEST_F(productionSkin, CompilerAndConvertWearTheirOwnSkins) {
    TCompilerWindow compiler(nullptr);
    TConvertWindow convert(nullptr);
    compiler.SetCompileMode();
    convert.SetConvertMode();
    const struct { TProductionWindow* Window; const char* Picture; std::vector<TImage*> Bars; } cases[] = {
        {&compiler, "compiler_skin.bmp", {compiler.Image_Progress1, compiler.Image_Progress2}},
        {&convert, "convert_skin.bmp", {convert.Image_Progress1}},
    };
    for (const auto& c : cases) {
        TBitmap picture;
        picture.LoadFromFile((kDist / "RES" / c.Picture).string());
        EXPECT_EQ(picture.GetHeight(), 402) << c.Picture;
        EXPECT_EQ(c.Window->GetClientHeight(), 402) << c.Picture;
        EXPECT_EQ(c.Window->suiSkinForm1->GetGlyph()->GetHeight(), 402) << c.Picture;
        const TColor body = PictureColour(c.Picture, 30, 390);
        for (TImage* bar : c.Bars) {
            const TColor well = PictureColour(c.Picture, bar->GetLeft() + 100, bar->GetTop() + 5);
            EXPECT_NE(well, body) << c.Picture << " " << bar->GetName();
            EXPECT_EQ(PictureColour(c.Picture, bar->GetLeft() + 100, bar->GetTop() - 6), body) << c.Picture;
        }
        // The bottom border: the picture's last rows are the edge, not the body.
        EXPECT_NE(PictureColour(c.Picture, 277, 398), body) << c.Picture;
    }
    EXPECT_EQ(convert.Image_Progress1->GetLeft(), 142);
    EXPECT_EQ(compiler.suiEdit_OutputFolder->GetParent(), &compiler);
    EXPECT_TRUE(compiler.suiEdit_OutputFolder->GetVisible());
}

// The log keeps the Mac look with its own grey border in every variant, whatever the form's look.
TEST_F(productionSkin, TheLogIsAMacOSMemoWithAGreyBorder) {
    TBuilderWindow builder(nullptr);
    TCompilerWindow compiler(nullptr);
    for (TProductionWindow* window : {static_cast<TProductionWindow*>(&builder), static_cast<TProductionWindow*>(&compiler)}) {
        EXPECT_EQ(window->Memo_Msg->GetUIStyle(), MacOS);
        EXPECT_EQ(window->Memo_Msg->GetBorderColor(), static_cast<TColor>(8355711));
        EXPECT_EQ(window->Memo_Msg->GetColor(), static_cast<TColor>(15790320));
    }
    builder.SetBuildMode();
    builder.Show();
    EXPECT_EQ(testing_vcl::PixelAt(builder.Memo_Msg, 0, 0), static_cast<TColor>(8355711));
    EXPECT_EQ(testing_vcl::PixelAt(builder.Memo_Msg, 40, builder.Memo_Msg->GetHeight() - 1), static_cast<TColor>(8355711));
    builder.Hide();
}

// ---- real runs -----------------------------------------------------------------------------------

std::string Capture(const std::string& Command) {
    std::string text;
    if (FILE* pipe = ::popen(Command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
        ::pclose(pipe);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

std::string Quoted(const std::string& Text) {
    std::string q = "'";
    for (char c : Text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

bool MakeClip(const std::string& Path, const char* Size, int Seconds) {
    const std::string cmd = "ffmpeg -v error -y -f lavfi -i testsrc2=size=" + std::string(Size) + ":rate=25:duration=" +
                            std::to_string(Seconds) + " -f lavfi -i sine=frequency=440:duration=" +
                            std::to_string(Seconds) + " -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest " + Quoted(Path);
    return std::system(cmd.c_str()) == 0 && fs::exists(Path);
}

std::string Probe(const std::string& Path, const char* Entries) {
    return Capture("ffprobe -v error -select_streams v:0 -show_entries " + std::string(Entries) +
                   " -of default=nw=1:nk=1 " + Quoted(Path));
}

void Render(TWinControl* Control, const std::string& Name) { testing_vcl::SaveRender(Control, "production", Name + ".png"); }

class productionRealRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v ffmpeg >/dev/null && command -v spumux >/dev/null") != 0) GTEST_SKIP();
        ExePath = program.Path();  // the drawn pictures, and a work folder of this test's own
        Win32_SetOpener([this](const std::string& target) { opened.push_back(target); return true; });
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        keep = fs::path(TEST_PEER_DIR) / "../../e2e/convert";
        fs::create_directories(keep);
        g_s_OutputFolder = out.Path() + "/";
        ASSERT_TRUE(MakeClip(src["clip one.mp4"], "640x480", 6));
        ASSERT_TRUE(MakeClip(src["wide & 'clip'.mp4"], "1280x720", 4));
    }
    void TearDown() override {
        Win32_SetOpener(nullptr);
        Pubfunction::ClearClipInfo();
        installed.reset();
        ExePath = savedExePath;
    }
    TClipInfo* AddClip(const std::string& Path, int W, int H, double Aspect, int Duration) {
        auto* clip = new TClipInfo();
        clip->s_FileName = Path;
        clip->i_Duration = Duration;
        clip->i_TrimEnd = Duration;
        clip->i_DisplayWidth = W;
        clip->i_DisplayHeight = H;
        clip->d_AspectRatio = Aspect;
        ClipInfo.push_back(clip);
        return clip;
    }
    static String LastLine(TProductionWindow* W) { return W->Memo_Msg->GetLines()->Strings(W->Memo_Msg->GetLines()->Count() - 1); }
    // Wraps a window's timer so the test sees each tick after the window has shown it.
    static void OnTick(TTimer* Timer, std::function<void()> After) {
        TNotifyEvent original = Timer->OnTimer;
        Timer->OnTimer = [original, After](TObject* s) { original(s); After(); };
    }

    String savedExePath = ExePath;
    testing_vcl::TPrivateProgramFolder program;
    TTempFolder src{"prodwin src é"};
    TTempFolder out{"prodwin out"};
    fs::path keep;
    std::vector<std::string> opened;
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
};

TEST_F(productionRealRun, ConverterRunOfTwoClips) {
    TClipInfo* trimmed = AddClip(src["clip one.mp4"], 640, 480, 4.0 / 3, 6);
    trimmed->i_TrimStart = 1;
    trimmed->i_TrimEnd = 3;  // inside the file's last 10 s, and honoured
    TClipInfo* wide = AddClip(src["wide & 'clip'.mp4"], 1280, 720, 16.0 / 9, 4);
    wide->b_AddLetterBox = true;
    auto window = std::make_unique<TConvertWindow>(nullptr);
    window->i_Aspect = 1;
    window->SetConvertMode();
    window->Show();
    window->suiCheckBox_PAL->SetChecked(true);
    bool rendered = false;
    OnTick(window->Timer_Convert, [&] {
        if (!rendered && window->Image_Progress1->GetWidth() > 0) {
            Render(window.get(), "ConvertWindow_MidConversion");
            rendered = true;
        }
    });
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(LastLine(window.get()), "<<< Process finish");
    Render(window.get(), "ConvertWindow_ProcessFinish");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], g_s_OutputFolder);
    ASSERT_TRUE(fs::exists(trimmed->s_VobFile));
    ASSERT_TRUE(fs::exists(wide->s_VobFile));
    EXPECT_EQ(Probe(trimmed->s_VobFile, "stream=width,height"), "720\n576");
    EXPECT_EQ(Probe(wide->s_VobFile, "stream=display_aspect_ratio"), "4:3");
    const double seconds = std::atof(Capture("ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 " +
                                             Quoted(trimmed->s_VobFile)).c_str());
    EXPECT_NEAR(seconds, 2.0, 0.1);  // from second 1 to second 3 of the 6 s file
    fs::copy_file(wide->s_VobFile, keep / "converted_letterboxed.vob", fs::copy_options::overwrite_existing);
    window->Close();
}

TEST_F(productionRealRun, StopMidEncodeLeavesNoPartialVob) {
    // Long enough that the encode is still running at the first 500 ms tick, however fast it is.
    ASSERT_TRUE(MakeClip(src["long clip.mp4"], "160x120", 600));
    AddClip(src["long clip.mp4"], 160, 120, 4.0 / 3, 600);
    auto window = std::make_unique<TConvertWindow>(nullptr);
    window->SetConvertMode();
    window->Show();
    bool asked = false;
    OnTick(window->Timer_Convert, [&] {
        if (asked) return;
        asked = true;
        ask.MessageAnswers.push_back(mrYes);
        window->suiImageButton_StopClick(nullptr);
    });
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(LastLine(window.get()), "<<< User abort");
    Render(window.get(), "ConvertWindow_UserAbort");
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(fs::exists(ClipInfo[0]->s_VobFile) && fs::file_size(ClipInfo[0]->s_VobFile) == 0);
}

TEST_F(productionRealRun, BuilderRunMuxesShiftedSubtitles) {
    TClipInfo* clip = AddClip(src["clip one.mp4"], 640, 480, 4.0 / 3, 6);
    clip->i_TrimStart = 2;
    const std::string srt = src["subs & more.srt"];
    std::ofstream(srt) << "1\r\n00:00:03,000 --> 00:00:04,500\r\nHello & welcome\r\n\r\n"
                          "2\r\n00:00:05,000 --> 00:00:09,000\r\nPast the end\r\n";
    clip->s_SubtitleFile = srt;
    clip->i_SubtitleFontSize = 24;
    auto window = std::make_unique<TBuilderWindow>(nullptr);
    window->i_Aspect = 1;
    window->SetBuildMode();
    window->Show();
    ask.MessageAnswers.push_back(mrCancel);  // no burner: go on without burning
    bool rendered = false;
    OnTick(window->Timer_Spumux, [&] {
        if (!rendered) Render(window.get(), "BuilderWindow_MidMux");
        rendered = true;
    });
    const String vob = g_s_OutputFolder + "OutputVOB_0.vob";
    window->suiImageButton_StartClick(nullptr);
    EXPECT_EQ(LastLine(window.get()), "<<< Process finish");
    Render(window.get(), "BuilderWindow_ProcessFinish");
    EXPECT_EQ(clip->s_VobFile, vob);
    EXPECT_FALSE(fs::exists(out["OutputVOB_0_srt.vob"]));
    const std::string codecs = Capture("ffprobe -v error -show_entries stream=codec_name -of default=nw=1:nk=1 " + Quoted(vob));
    EXPECT_NE(codecs.find("dvd_subtitle"), std::string::npos) << codecs;
    const std::string first = Capture("ffprobe -v error -select_streams s:0 -show_entries packet=pts_time -of csv=p=0 " +
                                      Quoted(vob) + " | head -1");
    const double start = std::atof(Capture("ffprobe -v error -show_entries format=start_time -of csv=p=0 " + Quoted(vob)).c_str());
    EXPECT_NEAR(std::atof(first.c_str()) - start, 1.0, 0.1) << first;  // 3 s in the file, trim start 2 s
    fs::copy_file(vob, keep / "converted_with_subtitles.vob", fs::copy_options::overwrite_existing);
    window->Close();
}

// A file without one readable entry, or none inside the trim, costs its clip the subtitles,
// not the run: the log says so, and no title declares a sub-picture stream it doesn't carry.
TEST_F(productionRealRun, SubtitlesThatCannotBeUsedCostOnlyTheirClip) {
    struct Case { const char* Name; std::string Text; const char* Logged; };
    const char* const unreadable = "Subtitle file can not be read, the clip goes without subtitles: ";
    const Case cases[] = {
        {"a text file named .srt", "just some notes\n", unreadable},
        {"random bytes with a NUL", std::string("\x01\xFE\x80 \0 --> x\n\xFF", 12), unreadable},
        {"all before the trim", "1\n00:00:00,000 --> 00:00:01,000\nEarly\n", "No subtitle falls inside the trimmed clip: "},
    };
    for (const Case& c : cases) {
        TClipInfo* clip = AddClip(src["clip one.mp4"], 640, 480, 4.0 / 3, 6);
        clip->i_TrimStart = 2;
        std::ofstream(src["notes.srt"], std::ios::binary) << c.Text;
        clip->s_SubtitleFile = src["notes.srt"];
        auto window = std::make_unique<TBuilderWindow>(nullptr);
        window->SetBuildMode();
        window->suiEdit_VolumeName->SetText("no_subs");
        ask.MessageAnswers.push_back(mrCancel);
        window->suiImageButton_StartClick(nullptr);
        EXPECT_EQ(LastLine(window.get()), "<<< Process finish") << c.Name;
        const String log = window->Memo_Msg->GetLines()->GetText();
        EXPECT_NE(log.find(String(c.Logged) + "notes.srt"), String::npos) << c.Name << "\n" << log;
        EXPECT_EQ(Capture("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " + Quoted(clip->s_VobFile))
                      .find("dvd_subtitle"), std::string::npos) << c.Name;
        const std::string author = dozezedav_test::ReadText(window->s_AuthorXml);
        EXPECT_EQ(author.find("subtitle=64"), std::string::npos) << c.Name;
        EXPECT_EQ(author.find("<subpicture"), std::string::npos) << c.Name;
        window->Close();
        Pubfunction::ClearClipInfo();
        fs::remove_all(out.Path());
        fs::create_directories(out.Path());
    }
}

// A spumux or dvdauthor that stops making progress is ended and the run ends with the step's
// line, the program's reason before it; the stop button meanwhile says it cannot stop, and the
// window does not close. With the delete setting the run's converted VOBs go with a failed mux.
TEST_F(productionRealRun, AHungProgramEndsTheRunWithItsStepsLine) {
    struct Case { const char* Program; const char* Last; };
    const Case cases[] = {{"spumux", "<<< Mux process wrong"}, {"dvdauthor", "<<< Author DVD process wrong"}};
    HMODULE module = LoadLibraryA("dozezedav.dll");
    ASSERT_NE(module, nullptr);
    auto limits = reinterpret_cast<dozezedav_set_time_limits_fn>(GetProcAddress(module, "dozezedav_set_time_limits"));
    ASSERT_NE(limits, nullptr);
    limits(500, 300);
    b_DeleteTempFile = true;
    for (const Case& c : cases) {
        dozezedav_test::ProgramPath programs;
        programs.Add(c.Program, "sleep 600");
        TClipInfo* clip = AddClip(src["clip one.mp4"], 640, 480, 4.0 / 3, 6);
        // Only the spumux case muxes subtitles: the real spumux would meet the tiny limits too.
        if (std::string(c.Program) == "spumux") {
            std::ofstream(src["subs.srt"]) << "1\n00:00:01,000 --> 00:00:02,000\nHi\n";
            clip->s_SubtitleFile = src["subs.srt"];
        }
        auto window = std::make_unique<TBuilderWindow>(nullptr);
        window->SetBuildMode();
        window->Show();
        window->suiEdit_VolumeName->SetText("hung");
        ask.MessageAnswers.push_back(mrCancel);
        bool tried = false;
        bool closed = true;
        TTimer* timer = std::string(c.Program) == "spumux" ? window->Timer_Spumux : window->Timer_Author;
        OnTick(timer, [&] {
            if (tried) return;
            tried = true;
            ask.MessageAnswers.push_back(mrOk);
            window->suiImageButton_StopClick(nullptr);
            bool canClose = true;
            window->FormCloseQuery(window.get(), canClose);
            closed = canClose;
        });
        const auto started = std::chrono::steady_clock::now();
        window->suiImageButton_StartClick(nullptr);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60)) << c.Program;
        TStrings* lines = window->Memo_Msg->GetLines();
        ASSERT_GE(lines->Count(), 2) << c.Program;
        EXPECT_EQ(LastLine(window.get()), c.Last) << c.Program;
        EXPECT_EQ(lines->Strings(lines->Count() - 2),
                  "Reason: " + std::string(c.Program) + ": the program made no progress for too long and was ended");
        EXPECT_TRUE(tried) << c.Program;
        EXPECT_FALSE(closed) << "the window stays while the program runs";
        bool stopRefused = false;
        for (const auto& q : ask.Questions) stopRefused = stopRefused || q.Text == "Can not stop process!";
        EXPECT_TRUE(stopRefused) << c.Program;
        if (std::string(c.Program) == "spumux") {
            EXPECT_FALSE(fs::exists(clip->s_VobFile)) << "a run that stops at the mux keeps no converted VOB";
            EXPECT_FALSE(fs::exists(out["OutputVOB_0_srt.vob"]));
        }
        EXPECT_FALSE(fs::exists(out["hung"]));
        window->Close();
        Pubfunction::ClearClipInfo();
        ask.Questions.clear();
    }
    b_DeleteTempFile = false;
    limits(0, 0);
    FreeLibrary(module);
}

}  // namespace
