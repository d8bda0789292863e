// A Converter run of the given clips through the window, against the same clips encoded by
// single X_SetPar_D2MPEG calls with the window's arguments, in one process. Prints both times
// and their ratio.
//   convert_bench OUTPUT_FOLDER CLIP...
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "model/CustomClass.h"
#include "core/MediaLibrary.h"
#include "core/Pubfunction.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Widgets.h"
#include "productionwindows/Convert_Window.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point Since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Since).count();
}

void AddClip(const char* Path) {
    TMediaInfoRecord record;
    auto library = TMediaLibrary::Load(TMediaEntries::Information);
    auto* clip = new TClipInfo();
    clip->s_FileName = Path;
    if (library && library->GetFileInfo(Path, record) == 0) {
        clip->i_Duration = record.Words[0];
        clip->i_DisplayWidth = record.Width();
        clip->i_DisplayHeight = record.Height();
        clip->d_AspectRatio = record.Height() > 0 ? static_cast<double>(record.Width()) / record.Height() : 1.0;
    }
    clip->i_TrimEnd = clip->i_Duration;
    ClipInfo.push_back(clip);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: convert_bench OUTPUT_FOLDER CLIP...\n");
        return 2;
    }
    Vcl_InitWidgets(argc, argv);
    Application->Initialize();
    g_s_OutputFolder = std::string(argv[1]) + "/";
    std::filesystem::create_directories(argv[1]);
    for (int i = 2; i < argc; ++i) AddClip(argv[i]);
    auto* window = new TConvertWindow(nullptr);
    window->i_Aspect = 2;
    window->SetConvertMode();

    // Single calls with the window's own arguments, one after the other.
    window->SetConvertParameters();
    auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < ClipInfo.size(); ++i) {
        window->i_ClipIndex = static_cast<int>(i);
        window->PrepareClip(ClipInfo[i]);
        window->s_OutputVob = g_s_OutputFolder + "single_" + std::to_string(i) + ".vob";
        window->MediaEncoder = TMediaEncoder::Load(MediaLibraryName);
        if (window->MediaEncoder == nullptr) return 1;
        window->MediaEncoder->Entries().X_SetPar_D2MPEG(
            nullptr, 2, window->s_SourceFile.c_str(), "1", window->s_StartText.c_str(), "48000",
            window->s_AspectRatio.c_str(), "mpeg2", "dvd", window->s_Bitrate.c_str(), "192",
            window->s_PictureSize.c_str(), window->s_FrameSize.c_str(), "MyVideo", "MyVideo", "MyVideo",
            window->s_FrameRate.c_str(), "0", "0", window->s_OutputVob.c_str(), "0", window->s_DurationText.c_str(), 0,
            window->i_VideoStandard, "ac3", window->i_QualityIndex);
        window->MediaEncoder.reset();
    }
    const double single = Seconds(start);

    start = std::chrono::steady_clock::now();
    window->SetConvertParameters();
    window->EnterBusyState();
    const bool ok = window->ConvertClips();
    const double through = Seconds(start);
    window->EnterIdleState(ok ? 1 : -1);
    std::printf("single calls: %.2f s\nthrough the window: %.2f s%s\nratio: %.3f\n", single, through,
                ok ? "" : " (the run failed)", single > 0 ? through / single : 0.0);
    delete window;
    return ok ? 0 : 1;
}
