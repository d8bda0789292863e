// TLabel: a caption drawn on its parent, sized to its text.
#pragma once

#include "platform/vcl/Controls.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// As the VCL's label: Caption drawn with DrawText ('&' marks an accelerator unless
// ShowAccelChar is off); AutoSize makes the bounds fit the text (a word-wrapped label keeps its
// width and grows down; a right-justified one keeps its right edge); a label that isn't
// Transparent fills its Color first; a disabled one draws the text in clBtnHighlight one pixel
// down-right, then in clBtnShadow. Its accelerator focuses FocusControl.
class TLabel : public TGraphicControl {
    VCL_CLASS(TLabel)
    explicit TLabel(TComponent* AOwner);
    ~TLabel() override;

    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    bool GetWordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool v);
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool v);
    TAlignment GetAlignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);
    TTextLayout GetLayout() const { return m_layout; }
    void SetLayout(TTextLayout v);
    bool GetShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool v);
    TWinControl* GetFocusControl() const { return m_focusControl; }
    void SetFocusControl(TWinControl* v);

    // The DrawText flags Paint uses (alignment, word wrap, prefix handling).
    UINT DrawTextFlags() const;
    // Makes the bounds fit the text when AutoSize is on.
    void AdjustBounds();

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Draws (or with DT_CALCRECT measures) the caption into Rect with the label's font.
    void DoDrawText(TCanvas* ACanvas, TRect& Rect, UINT Flags);

private:
    bool m_autoSize = true;
    bool m_wordWrap = false;
    bool m_transparent = false;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    bool m_showAccelChar = true;
    TWinControl* m_focusControl = nullptr;
};
