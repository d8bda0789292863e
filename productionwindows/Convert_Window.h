// The convert-only production window: clips to VOB files in the output folder, which is
// opened at the end. Shown by the clip editor (Converter flow).
#pragma once

#include "productionwindows/Production_Window.h"

class TConvertWindow : public TProductionWindow {
    VCL_CLASS(TConvertWindow)
    explicit TConvertWindow(TComponent* AOwner);
    void SetConvertMode();

protected:
    bool RunSteps() override;

private:
    void PlaceControls();
};

extern TConvertWindow* ConvertWindow;
