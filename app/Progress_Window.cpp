#include "app/Progress_Window.h"

#include <algorithm>

#include "app/FormBuilder.h"
#include "app/ResPictures.h"
#include "core/Language.h"
#include "platform/vcl/SysUtils.h"

TProgressWindow* ProgressWindow = nullptr;

namespace {

constexpr int kBarLength = 258;

}  // namespace

void FillProgressBar(TImage* Bar) {
    TBitmap* fill = Bar->GetPicture()->GetBitmap();
    fill->SetPixelFormat(pf24bit);
    fill->SetSize(kBarLength, 10);
    fill->GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(0xC08040));
    fill->GetCanvas()->FillRect(TRect(0, 0, kBarLength, 10));
    Bar->SetWidth(0);
}

int ProgressBarWidth(int Percent) { return std::clamp(Percent, 0, 100) * kBarLength / 100; }

int ProgressPercent(int Position, int Max) {
    if (Max <= 0) return 100;
    // Wide arithmetic: a large position must not wrap into a small percentage.
    return static_cast<int>(std::clamp<Int64>(static_cast<Int64>(Position) * 100 / Max, 0, 100));
}

TProgressWindow::TProgressWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("ProgressWindow");
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    GetFont()->SetName("Tahoma");
    SetDoubleBuffered(true);
    CreateSkin();
    CreateControls();
    SetAutoSize(true);
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    AfterConstruction();
}

void TProgressWindow::CreateSkin() {
    suiSkinForm1 = NewSkinForm(this);
    TPicture background;
    if (LoadCompiledPicture(&background, "PROGRESSBACKGROUND")) {
        suiSkinForm1->SetGlyph(background.GetBitmap());
        return;
    }
    SetClientWidth(370);
    SetClientHeight(79);
}

// The percentage comes after the bar, so it is drawn over it.
void TProgressWindow::CreateControls() {
    using W = TProgressWindow;
    static constexpr TControlRow kRows[] = {
        Place<&W::Label_Text>("Label_Text", 19, 24, 327, 17),
        Place<&W::Image_Progress>("Image_Progress", 57, 53, kBarLength, 10, "PROGRESSFILL"),
        Place<&W::Label_Percent>("Label_Percent", 170, 51, 32, 13),
    };
    BuildControls(this, kRows);
    // Fixed boxes: the texts change while the window shows and must not move it.
    Label_Text->SetAutoSize(false);
    Label_Text->SetAlignment(taCenter);
    Label_Percent->SetAutoSize(false);
    Label_Percent->SetAlignment(taRightJustify);
}

void TProgressWindow::Start(int Max, int MessageIndex) {
    i_Max = Max;
    i_Position = 0;
    Label_Text->SetCaption(Language::GetMessageText(MessageIndex));
    SetPercent(0);
    Show();
}

void TProgressWindow::SetPosition(int Position) {
    i_Position = Position;
    SetPercent(ProgressPercent(Position, i_Max));
}

void TProgressWindow::StepIt() { SetPosition(i_Position + 1); }

// Repainted at once: the caller keeps the user-interface thread busy between steps.
void TProgressWindow::SetPercent(int Percent) {
    const int shown = std::clamp(Percent, 0, 100);
    Image_Progress->SetWidth(ProgressBarWidth(shown));
    Label_Percent->SetCaption(IntToStr(shown) + " %");
    Update();
}

// Neither the person nor the owner's close request removes the window; its owner frees it.
void TProgressWindow::FormCloseQuery(TObject*, bool& CanClose) { CanClose = false; }

void TProgressWindow::ApplyLanguage() { Language::ApplyLanguageToForm(this); }
