// The compile-mode production window: the user's own VOB files plus the designed menus become
// a DVD folder, which is burned or opened. Shown by the menu designer (Compiler flow) and the
// Burner source page (VOB files). It never removes the user's VOBs and never stores the quality.
#pragma once

#include "productionwindows/Production_Window.h"

class TCompilerWindow : public TProductionWindow {
    VCL_CLASS(TCompilerWindow)
    explicit TCompilerWindow(TComponent* AOwner);
    void SetCompileMode();

protected:
    bool RunSteps() override;
    bool KeepsQualitySetting() const override { return false; }

private:
    void PlaceControls();
};

extern TCompilerWindow* CompilerWindow;
