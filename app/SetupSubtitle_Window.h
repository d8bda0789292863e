// The subtitle dialog's entry point that the clip list editor calls. The dialog joins the
// program with its own build step; until then its global stays null and callers check it.
#pragma once

#include "platform/vcl/Forms.h"

class TClipInfo;

class TSetupSubtitleWindow : public TForm {
    VCL_CLASS(TSetupSubtitleWindow)
    using TForm::TForm;

    // Shows the dialog modally for one clip.
    void SetupClip(TClipInfo* Clip) { (void)Clip; }
};

inline TSetupSubtitleWindow* SetupSubtitleWindow = nullptr;
