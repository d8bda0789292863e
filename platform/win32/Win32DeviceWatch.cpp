// Optical drives coming and going, told to the windows as the system's device-change message.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <mutex>

namespace {

struct DeviceWatch {
    std::mutex mutex;
    std::string folder;
    std::vector<std::string> nodes;   // the drive nodes last seen
};

DeviceWatch& Watch() {
    static auto* watch = new DeviceWatch;   // never destroyed: the toolkit may call late
    return *watch;
}

bool IsOpticalDriveNode(const std::string& name) {
    if (name.size() < 3 || name.compare(0, 2, "sr") != 0) return false;
    return std::all_of(name.begin() + 2, name.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::vector<std::string> NodesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    return Win32_OpticalDriveNodes(names);
}

// One message per change, whatever the number of drives involved: the windows rescan them all.
void FolderChanged() {
    auto& watch = Watch();
    bool arrived = false, removed = false;
    {
        std::lock_guard lock(watch.mutex);
        std::vector<std::string> now = NodesIn(watch.folder);
        arrived = std::any_of(now.begin(), now.end(), [&](const std::string& n) {
            return !std::binary_search(watch.nodes.begin(), watch.nodes.end(), n);
        });
        removed = std::any_of(watch.nodes.begin(), watch.nodes.end(), [&](const std::string& n) {
            return !std::binary_search(now.begin(), now.end(), n);
        });
        watch.nodes = std::move(now);
    }
    if (arrived) Win32_PostToTopLevelWindows(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    if (removed) Win32_PostToTopLevelWindows(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
}

}  // namespace

std::vector<std::string> Win32_OpticalDriveNodes(const std::vector<std::string>& Names) {
    std::vector<std::string> nodes;
    std::copy_if(Names.begin(), Names.end(), std::back_inserter(nodes), IsOpticalDriveNode);
    std::sort(nodes.begin(), nodes.end());
    return nodes;
}

bool Win32_StartDeviceWatch(const std::string& Folder) {
    auto& watch = Watch();
    {
        std::lock_guard lock(watch.mutex);
        watch.folder = Folder;
        watch.nodes = NodesIn(Folder);
    }
    return Win32Qt_WatchFolder(Folder, FolderChanged);
}

void Win32_StopDeviceWatch() { Win32Qt_UnwatchFolder(); }
