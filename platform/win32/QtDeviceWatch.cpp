// The toolkit side of the device watch: a file-system watcher on one folder.
#include "platform/win32/Win32Internal.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

namespace {

// Kept until unwatched, never destroyed at exit: the toolkit may be gone by then.
QFileSystemWatcher* g_watcher = nullptr;

}  // namespace

bool Win32Qt_WatchFolder(const std::string& folder, std::function<void()> changed) {
    Win32Qt_UnwatchFolder();
    auto* watcher = new QFileSystemWatcher();
    if (!watcher->addPath(QString::fromStdString(folder))) {
        delete watcher;
        return false;
    }
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged,
                     [changed = std::move(changed)](const QString&) { changed(); });
    g_watcher = watcher;
    return true;
}

void Win32Qt_UnwatchFolder() {
    delete g_watcher;
    g_watcher = nullptr;
}
