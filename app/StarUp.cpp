#include "app/StarUp.h"

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Resources.h"
#include "platform/win32/Windows.h"

TStartForm* StartForm = nullptr;

namespace {

constexpr int kFadeInStep = 10;
constexpr int kFadeInPause_ms = 20;
constexpr int kFadeOutStep = 5;
constexpr int kFadeOutPause_ms = 10;

void SleepAndServe(int Ms) {
    Sleep(static_cast<DWORD>(Ms));
    Application->ProcessMessages();
}

// A build without the artwork still starts; the splash is then an empty frame.
void LoadSplashPicture(TImage* Image) {
    TBitmap picture;
    try {
        picture.LoadFromResourceName(HInstance, "SPLASHPICTURE");
    } catch (const EResNotFound&) {
        return;
    }
    Image->GetPicture()->SetBitmap(&picture);
}

}  // namespace

TStartForm::TStartForm(TComponent* AOwner) : TForm(AOwner), m_pause(SleepAndServe) {
    SetName("StartForm");
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    // Invisible when first shown: the first Fade brings it up.
    SetAlphaBlend(true);
    SetAlphaBlendValue(0);
    SetClientWidth(446);
    SetClientHeight(243);

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(this);
    Image1->SetBounds(0, 0, 446, 243);
    LoadSplashPicture(Image1);
    SetAutoSize(true);
    AfterConstruction();
}

void TStartForm::SetPause(TPause Pause) { m_pause = Pause ? std::move(Pause) : TPause(SleepAndServe); }

void TStartForm::Fade() {
    if (b_FadingIn)
        FadeIn();
    else
        FadeOut();
}

// The last step lands on 255 exactly and needs no pause: the picture stays up from then on.
void TStartForm::FadeIn() {
    while (i_Alpha < 255) {
        i_Alpha += kFadeInStep;
        if (i_Alpha > 255) {
            i_Alpha = 255;
            ApplyAlpha();
            break;
        }
        ApplyAlpha();
        m_pause(kFadeInPause_ms);
    }
    // Whichever way the loop ended, the next Fade fades out.
    b_FadingIn = false;
}

void TStartForm::FadeOut() {
    while (i_Alpha > 0) {
        i_Alpha -= kFadeOutStep;
        if (i_Alpha < 0) {
            i_Alpha = 0;
            ApplyAlpha();
            return;
        }
        ApplyAlpha();
        m_pause(kFadeOutPause_ms);
    }
}

void TStartForm::ApplyAlpha() { SetAlphaBlendValue(i_Alpha & 0xFF); }
