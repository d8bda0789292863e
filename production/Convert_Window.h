// The Convert window's entry point that the clip list editor calls. The window joins the
// program with its own build step; until then its global stays null and callers check it.
#pragma once

#include "platform/vcl/Forms.h"

class TConvertWindow : public TForm {
    VCL_CLASS(TConvertWindow)
    using TForm::TForm;

    int i_Aspect = 0;
    void SetConvertMode() {}
};

inline TConvertWindow* ConvertWindow = nullptr;
