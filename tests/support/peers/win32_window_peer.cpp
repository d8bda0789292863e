// A second process for the window tests: announces a top-level window with the title given as
// its argument, says "ready" on standard output, and lives until its standard input closes.
#include <cstdio>
#include <unistd.h>

#include "platform/win32/Windows.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: win32_window_peer TITLE\n");
        return 2;
    }
    HWND window = Win32_CreateWindow([](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }, true, argv[1]);
    if (!window) return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    char buffer[64];
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    // A normal exit: the announcement is removed by the exit hook, not by the caller.
    return 0;
}
