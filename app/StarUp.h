// The splash: a borderless picture that fades in while the program creates its windows and
// fades out before the main window appears.
//
//   StartForm = new TStartForm(nullptr);
//   StartForm->Show();
//   StartForm->Update();
//   StartForm->Fade();      // in
//   ...                     // create the other windows
//   StartForm->Fade();      // out
//   StartForm->Close();
//   delete StartForm;
//   StartForm = nullptr;
#pragma once

#include <functional>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

class TStartForm : public TForm {
    VCL_CLASS(TStartForm)
    explicit TStartForm(TComponent* AOwner);

    // The first call fades the window in (opacity +10 every 20 ms up to 255), every later one
    // fades it out (-5 every 10 ms down to 0); returns when done.
    void Fade();

    // What happens between two steps of the fade, given the step's pause in milliseconds.
    // The default sleeps and then serves pending window messages; tests put in their own so
    // that they neither wait nor depend on the clock.
    using TPause = std::function<void(int Ms)>;
    void SetPause(TPause Pause);

    TImage* Image1;

private:
    void FadeIn();
    void FadeOut();
    void ApplyAlpha();

    bool b_FadingIn = true;
    int i_Alpha = 0;
    TPause m_pause;
};

// The splash while WinMain shows it, else nullptr.
extern TStartForm* StartForm;
