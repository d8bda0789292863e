// What the skin render tests share: a look's name for file names and traces, the placing of a
// skinned control on a test form, and the folder under the build tree a render goes to.
#pragma once

#include <filesystem>
#include <string>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "skin/core/SUIThemes.h"

namespace testing_vcl {

inline const char* LookName(TsuiUIStyle Look) {
    switch (Look) {
        case MacOS: return "MacOS";
        case WinXP: return "WinXP";
        case DeepBlue: return "DeepBlue";
        case Protein: return "Protein";
        default: return "BlueGlass";
    }
}

// A control of Form on Parent in Look, then at its bounds.
template <class T>
T* PlaceSkinned(TForm* Form, TWinControl* Parent, int Left, int Top, int Width, int Height, TsuiUIStyle Look) {
    auto* c = new T(Form);
    c->SetParent(Parent);
    c->SetUIStyle(Look);
    c->SetBounds(Left, Top, Width, Height);
    return c;
}

// A bar turned upright before its look and bounds: it takes its thickness from its pictures.
template <class T>
T* PlaceSkinnedVertical(TForm* Form, TWinControl* Parent, int Left, int Top, int Height, TsuiUIStyle Look) {
    auto* c = new T(Form);
    c->SetParent(Parent);
    using TOrientation = decltype(c->GetOrientation());   // the bar's own enum, whichever header has it
    c->SetOrientation(TOrientation::suiVertical);
    c->SetUIStyle(Look);
    c->SetBounds(Left, Top, 16, Height);
    return c;
}

// A render's form: borderless at (20, 20), Width x Height, in the look's background colour.
inline void DressRenderForm(TForm& Form, TsuiUIStyle Look, int Width, int Height) {
    Form.SetBorderStyle(bsNone);
    Form.SetBounds(20, 20, Width, Height);
    Form.SetColor(GetInsideThemeColor(Look, SUI_THEME_FORM_BACKGROUND_COLOR));
}

// build/<Name>, made when missing.
inline std::filesystem::path SkinRenderFolder(const std::string& Name) {
    std::filesystem::path folder = std::filesystem::path(TEST_PEER_DIR) / ".." / ".." / Name;
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace testing_vcl
