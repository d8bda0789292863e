// The skinned progress bar: the look's bar picture stretched over the done part, the rest in
// Color, a one-pixel frame, and the percentage in the middle.
//
//   auto* Bar = new TsuiProgressBar(Form);
//   Bar->SetParent(Form);
//   Bar->SetMax(200);
//   Bar->StepBy(50);                  // "25%"
#pragma once

#include <memory>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIThemes.h"

enum TsuiProgressBarOrientation { suiHorizontal = 0, suiVertical = 1 };

// (Position - Min) x 100 div (Max - Min), 0 when Max = Min; in 64 bits, so any int32 range works.
long long SUIProgressPercent(int Position, int Min, int Max);
// The done part of a span Length: 0 unless Max > Min and Position > Min, Length past Max.
int SUIProgressDoneLength(int Position, int Min, int Max, int Length);

class TsuiProgressBar : public TPanel, public IsuiStyled {
    VCL_CLASS(TsuiProgressBar)
    explicit TsuiProgressBar(TComponent* AOwner);
    ~TsuiProgressBar() override;

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;

    int GetMax() const { return m_max; }
    void SetMax(int v);
    int GetMin() const { return m_min; }
    void SetMin(int v);
    int GetPosition() const { return m_position; }
    void SetPosition(int v);
    void StepIt() { SetPosition(m_position + 1); }
    void StepBy(int Delta) { SetPosition(m_position + Delta); }
    TsuiProgressBarOrientation GetOrientation() const { return m_orientation; }
    void SetOrientation(TsuiProgressBarOrientation v);
    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor v);
    TColor GetCaptionColor() const { return m_captionColor; }
    void SetCaptionColor(TColor v);
    TColor GetBarColor() const { return GetColor(); }
    void SetBarColor(TColor v);
    TPicture* GetPicture() const { return m_picture.get(); }
    void SetPicture(TPicture* v);
    bool GetShowCaption() const { return m_showCaption; }
    void SetShowCaption(bool v);
    bool GetSmartShowCaption() const { return m_smartShowCaption; }
    void SetSmartShowCaption(bool v);

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UpdateCaption();
    void LoadPictures();

    TsuiStyleLink m_style{this};
    int m_max = 100;
    int m_min = 0;
    int m_position = 50;
    TsuiProgressBarOrientation m_orientation = suiHorizontal;
    TColor m_borderColor = 0;
    std::unique_ptr<TPicture> m_picture;
    bool m_showCaption = true;
    TColor m_captionColor = 0;
    bool m_smartShowCaption = false;
};
