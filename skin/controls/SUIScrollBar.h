// The skinned scroll bar: a decrement arrow, a TsuiScrollTrackBar and an increment arrow, all
// pictures from the look (a six-frame arrow strip, a three-frame slider whose middle stretches).
// A form may place one; the scrolling controls use it as their external bar (SUIScrollHost.h).
//
//   auto* Bar = new TsuiScrollBar(Form);
//   Bar->SetParent(Form);
//   Bar->SetOrientation(suiVertical);
//   Bar->SetBounds(200, 10, 0, 150);          // the width follows the arrow picture
//   Bar->SetMax(1000);
//   Bar->SetPageSize(20);                     // a slider a fifth of the track long
//   Bar->SetOnChange([](TObject*) { ... });
//
// An arrow steps once when pressed and then every 100 ms while held.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "skin/controls/SUITrackBar.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUIThemes.h"

class TsuiFileTheme;

using TScrollBarInc = std::int16_t;

// The slider's length along a track TrackLength long: LineButton pixels when LineButton is
// above 0 (at least 18), else PageSize percent of the track, a page size outside 10..100 taken
// as 10.
int SUIScrollSliderLength(int TrackLength, int PageSize, int LineButton);

class TsuiScrollBar : public TPanel, public IsuiStyled {
    VCL_CLASS(TsuiScrollBar)
    explicit TsuiScrollBar(TComponent* AOwner);
    ~TsuiScrollBar() override;

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;
    TsuiProgressBarOrientation GetOrientation() const { return m_orientation; }
    void SetOrientation(TsuiProgressBarOrientation Value);
    TScrollBarInc GetSmallChange() const { return m_smallChange; }
    void SetSmallChange(TScrollBarInc Value) { m_smallChange = Value; }
    int GetLineButton() const { return m_lineButton; }
    // Ignored when longer than the space between the arrows.
    void SetLineButton(int Value);

    int GetMax() const { return m_track->GetMax(); }
    void SetMax(int Value) { m_track->SetMax(Value); }
    int GetMin() const { return m_track->GetMin(); }
    void SetMin(int Value) { m_track->SetMin(Value); }
    int GetPosition() const { return m_track->GetPosition(); }
    void SetPosition(int Value);
    int GetPageSize() const { return m_track->GetPageSize(); }
    // The page step and the slider's length.
    void SetPageSize(int Value);
    // The same page step, read and written as 16 bits; the slider keeps its length.
    TScrollBarInc GetLargeChange() const { return static_cast<TScrollBarInc>(m_track->GetPageSize()); }
    void SetLargeChange(TScrollBarInc Value) { m_track->SetPageSize(Value); }
    bool GetSliderVisible() const { return m_track->GetSliderVisible(); }
    void SetSliderVisible(bool Value);
    int GetLastChange() const { return m_track->GetLastChange(); }
    const TNotifyEvent& GetOnChange() const { return m_track->OnChange; }
    void SetOnChange(TNotifyEvent Value) { m_track->OnChange = std::move(Value); }

    TsuiScrollTrackBar* Track() const { return m_track; }
    TsuiImageButton* IncButton() const { return m_incButton; }
    TsuiImageButton* DecButton() const { return m_decButton; }

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Resize() override;

private:
    bool Vertical() const { return m_orientation == suiVertical; }
    void LoadPictures();
    void Layout();
    void BuildSlider();
    // The space between the arrows.
    int FreeLength() const;
    void Step(int Direction);
    TsuiImageButton* NewArrow(int Direction);

    TsuiScrollTrackBar* m_track = nullptr;
    TsuiImageButton* m_incButton = nullptr;
    TsuiImageButton* m_decButton = nullptr;
    std::unique_ptr<TBitmap> m_sliderStart;
    std::unique_ptr<TBitmap> m_sliderMiddle;
    std::unique_ptr<TBitmap> m_sliderEnd;
    TsuiStyleLink m_style{this};
    TsuiProgressBarOrientation m_orientation = suiHorizontal;
    TScrollBarInc m_smallChange = 1;
    int m_lineButton = 0;
    bool m_layingOut = false;
    bool m_constructed = false;
};
