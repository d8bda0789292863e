// TTimer, TImage, TPanel, TPaintBox and TBevel, with the Frame3D drawing helper.
#pragma once

#include <functional>
#include <memory>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"

class TPicture;
class TGraphic;

// ---- timer ------------------------------------------------------------------------------------

// The toolkit side of a timer (QtExtCtrls.cpp): calls OnTick every Start interval until Stop.
class TTimerTicker {
public:
    virtual ~TTimerTicker() = default;
    virtual void Start(int IntervalMs) = 0;
    virtual void Stop() = 0;
};
std::unique_ptr<TTimerTicker> CreateTimerTicker(std::function<void()> OnTick);

// Fires OnTimer every Interval milliseconds while Enabled, on the UI thread from the message
// loop. Interval 0 or no OnTimer means no ticks. Changing Interval or Enabled restarts the count.
// OnTimer runs inside the application's exception barrier; it may free the timer.
class TTimer : public TComponent {
    VCL_CLASS(TTimer)
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool GetEnabled() const { return m_enabled; }
    void SetEnabled(bool v);
    Cardinal GetInterval() const { return m_interval; }
    void SetInterval(Cardinal v);

    TNotifyEvent OnTimer;

protected:
    // Called on every tick.
    virtual void Timer();
    void Loaded() override;

private:
    void UpdateTimer();

    bool m_enabled = true;
    Cardinal m_interval = 1000;
    std::unique_ptr<TTimerTicker> m_ticker;
};

// ---- drawing helper ---------------------------------------------------------------------------

// The VCL's Frame3D: Width nested one-pixel frames around Rect, TopColor on the left and top
// edges, BottomColor on the right and bottom (the top-right and bottom-left corner pixels are
// BottomColor's). Rect comes back shrunk by Width on each side.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

// ---- image ------------------------------------------------------------------------------------

// Where TImage draws a picture of PicW x PicH in its client area, as the VCL places it:
// stretched to the client (keeping the aspect with Proportional, which also shrinks a too large
// picture without Stretch), at the top-left or centred.
TRect ImageDestRect(int PicW, int PicH, int ClientW, int ClientH, bool Stretch, bool Proportional, bool Center);

class TImage : public TGraphicControl {
    VCL_CLASS(TImage)
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* GetPicture() const { return m_picture; }
    // Copies Value into the image's own picture.
    void SetPicture(TPicture* Value);
    // The picture's bitmap canvas. An empty picture first becomes a bitmap of the control's
    // size; drawing on it changes the picture and repaints. Raises EInvalidOperation when the
    // picture holds something other than a bitmap.
    TCanvas* GetCanvas();

    bool GetStretch() const { return m_stretch; }
    void SetStretch(bool v);
    bool GetCenter() const { return m_center; }
    void SetCenter(bool v);
    bool GetProportional() const { return m_proportional; }
    void SetProportional(bool v);
    // Passed on to the picture's graphic: its key colour shows what lies behind.
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool v);
    // Keeps the control the picture's size (Left and Top stay).
    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);

    // The picture's place in the client area.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged(TObject* Sender);
    void AdjustSize();

    TPicture* m_picture;
    bool m_stretch = false;
    bool m_center = false;
    bool m_proportional = false;
    bool m_transparent = false;
    bool m_autoSize = false;
    bool m_changing = false;
};

// ---- panel ------------------------------------------------------------------------------------

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = int;
using TBorderWidth = int;
// A panel's border: bsNone or bsSingle (the form border styles' first two).
using TBorderStyle = TFormBorderStyle;

// Bevels drawn as Frame3D: raised is clBtnHighlight top-left and clBtnShadow bottom-right,
// lowered the reverse, space the panel's colour. Then the caption, centred vertically and
// placed by Alignment. Children are aligned inside the bevels and the border.
class TPanel : public TCustomControl {
    VCL_CLASS(TPanel)
    explicit TPanel(TComponent* AOwner);
    ~TPanel() override;

    TBevelCut GetBevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut v);
    TBevelCut GetBevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut v);
    TBevelWidth GetBevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(TBevelWidth v);
    TBorderStyle GetBorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TAlignment GetAlignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);
    bool GetParentBackground() const { return m_parentBackground; }
    void SetParentBackground(bool v);
    bool GetFullRepaint() const { return m_fullRepaint; }
    void SetFullRepaint(bool v) { m_fullRepaint = v; }

    // The client area less the border, bevels and border width: where children are aligned.
    TRect InnerRect() const;
    void AlignControls(TControl* AControl, TRect& Rect) override;

protected:
    void Paint() override;
    // Pixels taken on each side by the border, bevels and border width.
    int FrameWidth() const;

private:
    void Changed();

    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvRaised;
    TBevelWidth m_bevelWidth = 1;
    TBorderStyle m_borderStyle = bsNone;
    TAlignment m_alignment = taCenter;
    bool m_parentBackground = false;
    bool m_fullRepaint = true;
};

// ---- paint box and bevel ----------------------------------------------------------------------

// A surface the program draws on in OnPaint (through GetCanvas()).
class TPaintBox : public TGraphicControl {
    VCL_CLASS(TPaintBox)
    explicit TPaintBox(TComponent* AOwner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
    VCL_CLASS(TBevel)
    explicit TBevel(TComponent* AOwner);
    TBevelShape GetShape() const { return m_shape; }
    void SetShape(TBevelShape v);
    TBevelStyle GetStyle() const { return m_style; }
    void SetStyle(TBevelStyle v);

protected:
    void Paint() override;

private:
    TBevelShape m_shape = bsBox;
    TBevelStyle m_style = bsLowered;
};
