// Skinned track bars: TsuiTrackBar (the look's bar picture laid along the control, a picture
// slider, ticks, page steps beside the slider repeated every 100 ms while the button is held,
// dragging, keys) and TsuiScrollTrackBar, the track of TsuiScrollBar, whose slider picture its
// owner supplies.
//
//   auto* Volume = new TsuiTrackBar(Form);
//   Volume->SetParent(Form);
//   Volume->SetBounds(10, 10, 150, 0);        // the height follows the pictures
//   Volume->SetMax(100);
//   Volume->OnChange = [](TObject*) { ... };  // after every move of Position
//
// The geometry is in plain functions below; all products are 64-bit, so any int32 range works.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIImagePanel.h"
#include "skin/core/SUIThemes.h"

class TsuiFileTheme;

enum TsuiProgressBarOrientation { suiHorizontal = 0, suiVertical = 1 };

// Where the slider's leading edge lies along a track Length long for a slider SliderLength
// long: 0 when Max == Min.
int SUITrackSliderOffset(int Length, int SliderLength, int Position, int Min, int Max);
// The value under Coord (along the track): Min + (Coord - SliderLength div 2) scaled from
// Length - SliderLength to Max - Min, rounded half to even; 0 when the slider is as long as the
// track. Not clamped: a point beyond the ends gives a value beyond Min..Max.
std::int64_t SUITrackValueAt(int Coord, int Length, int SliderLength, int Min, int Max);
// The offsets of the ticks along Span = Length - SliderLength (add SliderLength div 2 to place
// them): Min, Min + Frequency, ... and always Max; none when Max == Min; only the ends when
// Frequency is 0 or beyond the range. At most one tick per pixel, however wide the range.
std::vector<int> SUITrackTickOffsets(int Min, int Max, int Frequency, int Span);
// One tick of the held page repeat: from Position towards Target (the value under the
// pointer) by Step, never past Target; Toward says the side of the press (-1, 0 or +1).
int SUITrackRepeatStep(int Position, std::int64_t Target, int Step, int Toward);

class TsuiTrackBar : public TPanel, public IsuiStyled {
    VCL_CLASS(TsuiTrackBar)
    explicit TsuiTrackBar(TComponent* AOwner);
    ~TsuiTrackBar() override;

    TsuiProgressBarOrientation GetOrientation() const { return m_orientation; }
    void SetOrientation(TsuiProgressBarOrientation Value);
    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;
    TPicture* GetBarImage() const { return m_barImage.get(); }
    void SetBarImage(TPicture* Value);
    TPicture* GetSliderImage() const;
    virtual void SetSliderImage(TPicture* Value);

    int GetMin() const { return m_min; }
    void SetMin(int Value);
    int GetMax() const { return m_max; }
    void SetMax(int Value);
    int GetPosition() const { return m_position; }
    void SetPosition(int Value);
    int GetPageSize() const { return m_pageSize; }
    // 0..Max; any other value is ignored.
    void SetPageSize(int Value);
    int GetLineSize() const { return m_lineSize; }
    void SetLineSize(int Value);
    int GetFrequency() const { return m_frequency; }
    void SetFrequency(int Value);
    bool GetShowTick() const { return m_showTick; }
    void SetShowTick(bool Value);
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool Value);
    // New value minus old value of the last move of Position.
    int GetLastChange() const { return m_lastChange; }

    bool IsDragging() const { return m_dragging; }
    // The page repeat's timer; exists only while a press beside the slider is held.
    TTimer* RepeatTimer() const { return m_repeatTimer.get(); }
    TsuiImagePanel* Slider() const { return m_slider; }
    // The bar picture as laid out to the control's length (turned when vertical).
    TBitmap* BarBitmap() const { return m_barBitmap.get(); }

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;

    virtual void UpdatePicture();
    // Where the pictures come from; fixed at construction, so the constructor already knows.
    enum class TPictureSource { Look, Owner };
    TsuiTrackBar(TComponent* AOwner, TPictureSource Source);
    // True when the pictures come from outside, not from the look.
    virtual bool CustomPicture() const { return m_pictureSource == TPictureSource::Owner; }
    virtual bool SliderTransparent() const { return m_orientation == suiHorizontal; }

    // Pictures, then size, then the slider, then a repaint.
    void UpdateControl();
    void UpdateSlider();

private:
    bool Vertical() const { return m_orientation == suiVertical; }
    int TrackLength() const { return Vertical() ? GetHeight() : GetWidth(); }
    int SliderLength() const { return Vertical() ? m_slider->GetHeight() : m_slider->GetWidth(); }
    int SliderLeading() const { return Vertical() ? m_slider->GetTop() : m_slider->GetLeft(); }
    std::int64_t ValueAt(int X, int Y) const;
    void PlaceSlider();
    void AdjustSize();
    void ReportChange();
    // -1 before the slider, +1 beyond its leading edge, 0 exactly at it.
    int SideOf(int X, int Y) const;
    void RepeatTick();
    void StopRepeat();
    void PaintTicks(TCanvas* C);
    void SliderMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void SliderMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

    std::unique_ptr<TPicture> m_barImage;
    std::unique_ptr<TTimer> m_repeatTimer;
    TsuiImagePanel* m_slider = nullptr;
    int m_min = 0;
    int m_max = 10;
    int m_position = 0;
    int m_lastPosition = 0;
    TsuiProgressBarOrientation m_orientation = suiHorizontal;
    TsuiStyleLink m_style{this};
    bool m_showTick = true;
    bool m_transparent = false;
    int m_lastChange = 0;
    bool m_dragging = false;
    int m_frequency = 1;
    int m_pageSize = 2;
    int m_lineSize = 1;
    std::unique_ptr<TBitmap> m_barBitmap;
    bool m_updating = false;
    TPictureSource m_pictureSource = TPictureSource::Look;
};

// The track of TsuiScrollBar: no pictures from the look, an opaque slider whose picture the
// scroll bar supplies.
class TsuiScrollTrackBar : public TsuiTrackBar {
    VCL_CLASS(TsuiScrollTrackBar)
    explicit TsuiScrollTrackBar(TComponent* AOwner) : TsuiTrackBar(AOwner, TPictureSource::Owner) {}

    bool GetSliderVisible() const;
    void SetSliderVisible(bool Value);
    void UpdateSliderSize();

protected:
    bool SliderTransparent() const override { return false; }
};
