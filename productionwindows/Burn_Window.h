// The burn-only production window: burns a DVD folder chosen on the Burner source page, and
// nothing else. One instance, BurnWindow, made at start-up.
//
//   BurnWindow->SetBurnMode();                         (the main window's Burner button)
//   BurnWindow->SetBurnSource(true, folder, 0);        (the source page, for a DVD folder)
//   BurnWindow->ShowModal();                           Start runs the burning step alone
#pragma once

#include "productionwindows/Production_Window.h"

class TBurnWindow : public TProductionWindow {
    VCL_CLASS(TBurnWindow)
    explicit TBurnWindow(TComponent* AOwner);

    // Set: the source is the DVD folder s_DVDFolder; clear: the clip list.
    Byte b_FromFolder = 0;

    void SetBurnMode();
    void SetBurnSource(bool FromFolder, const String& Folder, int VideoStandard);
    bool CheckBeforeStart() override;
    void SetConvertParameters() override;

protected:
    bool RunSteps() override;
    bool KeepsQualitySetting() const override { return false; }
};

extern TBurnWindow* BurnWindow;
