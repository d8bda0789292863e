// The progress window: a message, a bar and a percentage for a long run of small jobs (adding
// many clips, building menu pictures). Its user makes it, starts it, steps it once per item
// and frees it; until then it refuses to close.
//
//   ProgressWindow = new TProgressWindow(this);
//   ProgressWindow->Start(Count, Language::kMsgAddingClips);   // "Adding Clip(s)"
//   for (...) { ...; ProgressWindow->StepIt(); }
//   ProgressWindow->Close();
//   delete ProgressWindow;
//   ProgressWindow = nullptr;
#pragma once

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/core/SUISkinForm.h"

// A run's bar drawn in its full length in the program's blue and shown none of it yet; its width
// follows ProgressBarWidth as the run goes.
void FillProgressBar(TImage* Bar);
// The bar's length in pixels for a percentage, which is first held to 0..100.
int ProgressBarWidth(int Percent);
// The percentage (0..100) that Position of Max stands for. With no steps to count (Max of 0 or
// less) there is nothing left to do, so any position shows the job complete instead of
// dividing by zero.
int ProgressPercent(int Position, int Max);

class TProgressWindow : public TForm {
    VCL_CLASS(TProgressWindow)
    explicit TProgressWindow(TComponent* AOwner);

    // Max steps to come, under message MessageIndex; shows the window at 0 %.
    void Start(int Max, int MessageIndex);
    // The form's placement stays reachable beside the progress position of the same name.
    using TCustomForm::SetPosition;
    void SetPosition(int Position);
    void StepIt();
    // Shows a percentage directly (held to 0..100) and repaints at once.
    void SetPercent(int Percent);

    // Re-labels the window from the loaded language file.
    void ApplyLanguage();

    int GetMax() const { return i_Max; }
    int GetProgressPosition() const { return i_Position; }

    TsuiSkinForm* suiSkinForm1;
    TLabel* Label_Text;
    TImage* Image_Progress;
    TLabel* Label_Percent;

private:
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void CreateSkin();
    void CreateControls();

    int i_Max = 0;
    int i_Position = 0;
};

// The progress window while one exists, else nullptr.
extern TProgressWindow* ProgressWindow;
