// The skin library's push buttons: TsuiCustomButton (states, state pictures, repeat timer, the
// dialog behaviour of a push button) and its family, plus the check box and radio button
// (SUICheckBox.h), which belong to the same unit.
//
//   auto* Start = new TsuiImageButton(Form);
//   Start->SetParent(Form);
//   Start->GetPicNormal()->SetBitmap(Normal);     // the other states fall back to PicNormal
//   Start->SetModalResult(mrOk);                  // a click closes a modal form with mrOk
//   Start->OnClick = [](TObject*) { ... };
#pragma once

#include <memory>

#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUICheckBox.h"
#include "skin/core/SUIThemes.h"

class TsuiFileTheme;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TsuiArrowButtonType { suiUp = 0, suiDown = 1 };

// Where a button draws its glyph and its caption.
struct TsuiGlyphOrigins {
    TPoint Glyph;
    TPoint Caption;
    bool operator==(const TsuiGlyphOrigins&) const = default;
};
// W x H the button, Tw x Th the caption, Gw x Gh one glyph frame, S the spacing.
TsuiGlyphOrigins SUIGlyphOrigins(TButtonLayout Layout, int W, int H, int Tw, int Th, int Gw, int Gh, int S);

// The three visual states besides disabled, a picture for each, a caption, the focus rectangle,
// the repeat timer of a held left button, and Default / Cancel / ModalResult / accelerators.
class TsuiCustomButton : public TCustomControl, public IsuiStyled {
    VCL_CLASS(TsuiCustomButton)
    explicit TsuiCustomButton(TComponent* AOwner);
    ~TsuiCustomButton() override;

    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    // The caption is kept equal to the control's text.
    const String& GetCaption() const { return m_caption; }
    void SetCaption(const String& v);
    bool GetCancel() const { return m_cancel; }
    void SetCancel(bool v) { m_cancel = v; }
    bool GetDefault() const { return m_default; }
    void SetDefault(bool v);
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool v);
    TModalResult GetModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult v) { m_modalResult = v; }
    bool GetPicTransparent() const { return m_picTransparent; }
    void SetPicTransparent(bool v);
    int GetMouseContinuouslyDownInterval() const { return m_repeatInterval_ms; }
    void SetMouseContinuouslyDownInterval(int v) { m_repeatInterval_ms = v; }
    int GetFocusedRectMargin() const { return m_focusedRectMargin; }
    void SetFocusedRectMargin(int v);

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle v) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* v) override;

    // Whether Enter clicks this button.
    bool IsActiveDefault() const { return m_active; }
    bool IsMouseOver() const { return m_mouseOver; }
    bool IsPressed() const { return m_pressed; }
    // The repeat timer, which exists only between a left press and the click or the leave.
    TTimer* RepeatTimer() const { return m_repeatTimer.get(); }

    void SetEnabled(bool v) override;
    void Click() override;
    void Dispatch(TMessage& Message) override;
    // The inherited handling, then the caption follows the control's text.
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TNotifyEvent OnMouseContinuouslyDown;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

    virtual void AutoSizeChanged();
    virtual void CaptionChanged() {}
    virtual void FontChanged();
    virtual void TransparentChanged();
    virtual void EnableChanged() {}
    virtual void UIStyleChanged() {}
    virtual void PaintPic(TCanvas* ACanvas, TBitmap* Bitmap);
    virtual void PaintText(TCanvas* ACanvas, const String& Text);
    virtual void PaintFocus(TCanvas* ACanvas);
    virtual void PaintButtonNormal(TBitmap* Bitmap);
    virtual void PaintButtonMouseOn(TBitmap* Bitmap);
    virtual void PaintButtonMouseDown(TBitmap* Bitmap);
    virtual void PaintButtonDisabled(TBitmap* Bitmap);
    // Frame Frame of Count of the key's picture, from the file theme or the effective look.
    void PaintButton(int Key, int Count, int Frame, TBitmap* Bitmap);
    // The control whose background a see-through button shows.
    TWinControl* TransparencySource();

    bool m_boldCaption = false;

private:
    void StopRepeat();
    void RepeatTick();
    void DialogKey(TMessage& Message);
    void DialogChar(TMessage& Message);

    bool m_autoSize = false;
    String m_caption;
    bool m_cancel = false;
    bool m_default = false;
    bool m_transparent = false;
    TModalResult m_modalResult = mrNone;
    TsuiStyleLink m_style{this};
    bool m_picTransparent = false;
    std::unique_ptr<TTimer> m_repeatTimer;
    int m_repeatInterval_ms = 100;
    int m_focusedRectMargin = 2;
    bool m_active = false;
    bool m_mouseOver = false;
    bool m_pressed = false;
};

// Four designer-set pictures, one per state; a missing one falls back to PicNormal.
class TsuiImageButton : public TsuiCustomButton {
    VCL_CLASS(TsuiImageButton)
    explicit TsuiImageButton(TComponent* AOwner);
    ~TsuiImageButton() override;

    // The look never affects the pictures, so the button always reports FromThemeFile.
    TsuiUIStyle GetUIStyle() const override { return FromThemeFile; }

    TPicture* GetPicNormal() const { return m_picNormal.get(); }
    TPicture* GetPicMouseOn() const { return m_picMouseOn.get(); }
    TPicture* GetPicMouseDown() const { return m_picMouseDown.get(); }
    TPicture* GetPicDisabled() const { return m_picDisabled.get(); }
    void SetPicNormal(TPicture* v) { SetPic(m_picNormal.get(), v); }
    void SetPicMouseOn(TPicture* v) { SetPic(m_picMouseOn.get(), v); }
    void SetPicMouseDown(TPicture* v) { SetPic(m_picMouseDown.get(), v); }
    void SetPicDisabled(TPicture* v) { SetPic(m_picDisabled.get(), v); }
    bool GetStretch() const { return m_stretch; }
    void SetStretch(bool v);
    bool GetDrawFocused() const { return m_drawFocused; }
    void SetDrawFocused(bool v);

protected:
    void AutoSizeChanged() override;
    void PaintPic(TCanvas* ACanvas, TBitmap* Bitmap) override;
    void PaintFocus(TCanvas* ACanvas) override;
    void PaintButtonNormal(TBitmap* Bitmap) override;
    void PaintButtonMouseOn(TBitmap* Bitmap) override;
    void PaintButtonMouseDown(TBitmap* Bitmap) override;
    void PaintButtonDisabled(TBitmap* Bitmap) override;

private:
    void SetPic(TPicture* Target, TPicture* Value);
    // Own picture, else PicNormal, else nothing.
    void CopyStatePicture(TPicture* Own, TBitmap* Bitmap);

    std::unique_ptr<TPicture> m_picNormal;
    std::unique_ptr<TPicture> m_picMouseOn;
    std::unique_ptr<TPicture> m_picMouseDown;
    std::unique_ptr<TPicture> m_picDisabled;
    bool m_stretch = false;
    bool m_drawFocused = false;
};

// The look's button picture stretched by SpitDraw, with a glyph and the caption laid out.
class TsuiButton : public TsuiCustomButton {
    VCL_CLASS(TsuiButton)
    explicit TsuiButton(TComponent* AOwner);
    ~TsuiButton() override;

    TBitmap* GetGlyph() const { return m_glyph.get(); }
    void SetGlyph(TBitmap* v);
    TButtonLayout GetLayout() const { return m_layout; }
    void SetLayout(TButtonLayout v);
    int GetSpacing() const { return m_spacing; }
    void SetSpacing(int v);
    // Kept for stored forms: always 0, writes are ignored.
    Cardinal GetResHandle() const { return 0; }
    void SetResHandle(Cardinal) {}
    // Also takes the action's picture from its list's images while the button has no glyph.
    void ActionChange(TObject* Sender, bool CheckDefaults) override;

protected:
    void UIStyleChanged() override;
    void PaintPic(TCanvas* ACanvas, TBitmap* Bitmap) override;
    void PaintText(TCanvas* ACanvas, const String& Text) override;
    void PaintFocus(TCanvas* ACanvas) override;

private:
    std::unique_ptr<TBitmap> m_glyph;
    TButtonLayout m_layout = blGlyphLeft;
    TPoint m_captionOrigin;
    int m_spacing = 4;
};

// The look's button picture with a black triangle; no caption.
class TsuiArrowButton : public TsuiCustomButton {
    VCL_CLASS(TsuiArrowButton)
    explicit TsuiArrowButton(TComponent* AOwner);

    TsuiArrowButtonType GetArrow() const { return m_arrow; }
    void SetArrow(TsuiArrowButtonType v);

protected:
    void UIStyleChanged() override;
    void PaintPic(TCanvas* ACanvas, TBitmap* Bitmap) override;
    void PaintText(TCanvas*, const String&) override {}

private:
    TsuiArrowButtonType m_arrow = suiUp;
};

// Any theme key's picture, PicCount frames from frame PicIndex; sizes itself to the frame.
class TsuiControlButton : public TsuiCustomButton {
    VCL_CLASS(TsuiControlButton)
    explicit TsuiControlButton(TComponent* AOwner);

    int GetPicIndex() const { return m_picIndex; }
    void SetPicIndex(int v);
    int GetPicCount() const { return m_picCount; }
    void SetPicCount(int v);
    int GetThemeID() const { return m_themeID; }
    void SetThemeID(int v);

protected:
    void PaintPic(TCanvas* ACanvas, TBitmap* Bitmap) override;
    void PaintButtonNormal(TBitmap* Bitmap) override;
    void PaintButtonMouseOn(TBitmap* Bitmap) override;
    void PaintButtonMouseDown(TBitmap* Bitmap) override;
    void PaintButtonDisabled(TBitmap* Bitmap) override;

private:
    void LoadFrame(int Frame, TBitmap* Bitmap);
    int m_picIndex = 0;
    int m_picCount = 0;
    int m_themeID = 0;
};

// A flat glyph button on its Color, framed while the mouse is over it.
class TsuiToolBarSpeedButton : public TPanel {
    VCL_CLASS(TsuiToolBarSpeedButton)
    explicit TsuiToolBarSpeedButton(TComponent* AOwner);
    ~TsuiToolBarSpeedButton() override;

    TBitmap* GetGlyph() const { return m_glyph.get(); }
    void SetGlyph(TBitmap* v) { m_glyph->Assign(v); }
    bool IsMouseOver() const { return m_mouseOver; }

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;

private:
    bool m_mouseOver = false;
    std::unique_ptr<TBitmap> m_glyph;
};
