// A small theme file for the skinned controls' tests: a few colours, written to a temporary
// folder and loaded into a TsuiFileTheme on the given owner.
#pragma once

#include <filesystem>
#include <utility>
#include <vector>

#include <unistd.h>

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIThemeFile.h"

namespace skin_controls_test {

class ThemeFolder {
public:
    ThemeFolder() {
        m_dir = std::filesystem::temp_directory_path() / ("skin_controls_" + std::to_string(getpid()));
        std::filesystem::create_directories(m_dir);
    }
    ~ThemeFolder() { std::filesystem::remove_all(m_dir); }

    // A theme holding the colour keys given as (key, colour) pairs.
    TsuiFileTheme* NewTheme(TComponent* Owner, const std::vector<std::pair<int, TColor>>& Colors) {
        String path = (m_dir / ("t" + std::to_string(m_count++) + ".sui")).string();
        TsuiThemeFileWriter w(path);
        for (auto [key, colour] : Colors) w.AddInteger(SUIThemeItemName(key), colour);
        w.Save();
        auto* theme = new TsuiFileTheme(Owner);
        theme->SetThemeFile(path);
        return theme;
    }

private:
    std::filesystem::path m_dir;
    int m_count = 0;
};

}  // namespace skin_controls_test
