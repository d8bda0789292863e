#include "production/ClipConversion.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "core/Pubfunction.h"
#include "platform/vcl/SysUtils.h"

namespace {

int RoundUpTo4(int v) { return (v + 3) / 4 * 4; }

}  // namespace

TPictureGeometry PictureGeometry(int W, int H, double A, double TargetAspect, int SquareHeight, int FrameHeight) {
    TPictureGeometry g{720, FrameHeight};
    if (W <= 0 || H <= 0 || SquareHeight <= 0) return g;
    int width = 720;
    int height = FrameHeight;
    // The aspects are compared as the encoder's settings were: in single precision.
    if (static_cast<float>(A) > static_cast<float>(TargetAspect)) {
        const int scaled = H * 720 / W;
        const int pad = SquareHeight - scaled;
        height = FrameHeight - static_cast<int>(static_cast<double>(FrameHeight) / SquareHeight * pad);
    } else {
        width = W * SquareHeight / H;
    }
    g.i_Height = std::min(RoundUpTo4(height), FrameHeight);
    g.i_Width = std::min(RoundUpTo4(width), 720);
    return g;
}

TClipSpan ClipSpan(int TrimStart, int TrimEnd, int Duration) {
    // The duration is in rounded seconds: an end there means the file's own end.
    if (TrimEnd >= Duration) return {Duration - TrimStart, "0"};
    return {TrimEnd - TrimStart, IntToStr(TrimEnd - TrimStart)};
}

int ClipTimeShown(int EncodedSeconds, int ClipDuration) {
    return std::clamp(EncodedSeconds, 0, std::max(ClipDuration, 0));
}

String OutputVobName(const String& Folder, int ClipIndex, const std::function<bool(const String&)>& Exists) {
    const String stem = Folder + "OutputVOB_" + IntToStr(ClipIndex);
    String name = stem + ".vob";
    for (int k = 1; Exists(name); ++k) name = stem + "_" + IntToStr(k) + ".vob";
    return name;
}

int ProgressPixels(int Percent) {
    // The factor is held in single precision (2.5799999...) and the product is taken wide, so
    // a full bar draws 257 of its 258 pixels.
    const float factor = 2.58f;
    return static_cast<int>(static_cast<double>(std::clamp(Percent, 0, 100)) * static_cast<double>(factor));
}

bool FolderIsWritable(const String& Folder) {
    if (Folder.empty()) return false;
    if (!DirectoryExists(Folder)) CreateDir(Folder);
    return DirectoryExists(Folder) && ::access(Folder.c_str(), W_OK | X_OK) == 0;
}

String ChooseWorkFolder(const String& ProgramFolder) {
    const std::vector<String> places = Pubfunction::WorkFolderPlaces(ProgramFolder);
    for (const String& folder : places) {
        // Only the user's cache is made with its parents; beside the program one level is made.
        if (folder != places.front()) ForceDirectories(folder);
        if (FolderIsWritable(folder)) return folder;
    }
    return "";
}
