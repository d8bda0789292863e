// The menu designer's entry points that the earlier windows of a mode chain call. The designer
// window itself joins the program with its own build step; until then its global stays null and
// every caller checks it first.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/System.h"

class TClipInfo;

class TSetupMenuWindow : public TForm {
    VCL_CLASS(TSetupMenuWindow)
    using TForm::TForm;

    void SelectDVD5() {}
    void SelectDVD9() {}
    void SetAspect4x3() {}
    void SetAspect16x9() {}
    void SetDiscSizeBar(Int64 KB) { (void)KB; }
    void CreateClipItem(TClipInfo* Clip) { (void)Clip; }
    void ArrangeClipItems() {}
    void SetupForBuilder() {}
    void SetupForCompiler() {}
};

inline TSetupMenuWindow* SetupMenuWindow = nullptr;
