// The Builder window's entry points that the windows before it call. The window joins the
// program with its own build step; until then its global stays null and callers check it.
#pragma once

#include "platform/vcl/Forms.h"

class TBuilderWindow : public TForm {
    VCL_CLASS(TBuilderWindow)
    using TForm::TForm;

    bool b_TitleMenu = false;
    bool b_RootMenu = false;
    int i_Aspect = 0;
    void SetBuildMode() {}
};

inline TBuilderWindow* BuilderWindow = nullptr;
