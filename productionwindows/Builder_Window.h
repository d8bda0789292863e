// The all-in-one production window: clips converted, subtitles muxed, then menus, authoring and
// burning. Shown by the clip editor (no menu) and the menu designer.
#pragma once

#include "productionwindows/Production_Window.h"

class TBuilderWindow : public TProductionWindow {
    VCL_CLASS(TBuilderWindow)
    explicit TBuilderWindow(TComponent* AOwner);
    void SetBuildMode();

protected:
    bool RunSteps() override;
};

extern TBuilderWindow* BuilderWindow;
