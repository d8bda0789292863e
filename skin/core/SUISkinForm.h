// TsuiSkinForm turns its form into a borderless window shaped and painted by a bitmap: every
// pixel that isn't TransparentColor belongs to the window, and a press of any mouse button on
// the picture moves the window.
//
//   auto* Skin = new TsuiSkinForm(Form);     // the owner is the form it takes over
//   Skin->SetParent(Form);
//   Skin->SetGlyph(Picture);                 // region, control and client size follow
#pragma once

#include <memory>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"

class TsuiSkinForm : public TGraphicControl {
    VCL_CLASS(TsuiSkinForm)
    // An owner that is no TForm leaves the control without a form: the picture is still kept,
    // but no window is shaped or sized.
    explicit TsuiSkinForm(TComponent* AOwner);
    ~TsuiSkinForm() override;

    TForm* GetForm() const { return m_form; }
    TBitmap* GetGlyph() const { return m_glyph.get(); }
    void SetGlyph(TBitmap* Value);
    TColor GetTransparentColor() const { return m_transparentColor; }
    void SetTransparentColor(TColor Value);

    // Rebuilds the window shape and the sizes from the picture.
    void ReSetWndRgn();

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnRegionChanged;
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TForm* m_form = nullptr;
    std::unique_ptr<TBitmap> m_glyph;
    TColor m_transparentColor = clFuchsia;
};
