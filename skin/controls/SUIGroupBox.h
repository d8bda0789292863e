// The skinned group box: a one-pixel frame line with its caption in a gap of the top edge, the
// line and caption colours from the look, and the look handed on to the skinned controls
// placed in it. The caption is a field of its own, not the window text.
//
//   auto* Group = new TsuiGroupBox(Form);
//   Group->SetParent(Form);
//   Group->SetCaption(" Output Property ");   // the blanks widen the gap in the line
//   auto* Edit = new TsuiEdit(Form);
//   Edit->SetParent(Group);                    // takes the group's look with the next SetUIStyle
#pragma once

#include "platform/vcl/Controls.h"
#include "skin/core/SUIImagePanel.h"
#include "skin/core/SUIThemes.h"

class TsuiFileTheme;

// The x-range of the gap in the top line for a caption TextWidth pixels wide: the line stops at
// From and resumes at To. An empty caption leaves no gap (From == To == 0).
struct TsuiCaptionGap {
    int From = 0;
    int To = 0;
    bool operator==(const TsuiCaptionGap&) const = default;
};
TsuiCaptionGap SUIGroupBoxCaptionGap(int TextWidth, bool HasCaption);

class TsuiCustomGroupBox : public TsuiCustomPanel, public IsuiStyled {
    VCL_CLASS(TsuiCustomGroupBox)
    explicit TsuiCustomGroupBox(TComponent* AOwner);
    ~TsuiCustomGroupBox() override;

    // The drawn caption; the window text stays what it was.
    const String& GetCaption() const { return m_caption; }
    void SetCaption(const String& Value);
    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;

    // Where the check and radio groups lay out their buttons.
    TRect GetClient() const;
    // Aligned children keep clear of the frame and the caption.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    // Hands the pair to the skinned children, then takes the border and font colours.
    virtual void UpdateUIStyle(TsuiUIStyle UIStyle, TsuiFileTheme* FileTheme);
    // |font height|: the caption's line height the frame is measured from.
    int CaptionHeight() const;

private:
    void PaintFrame(TCanvas* C);

    TColor m_borderColor = clBlack;
    String m_caption;
    TsuiStyleLink m_style{this};
};

class TsuiGroupBox : public TsuiCustomGroupBox {
    VCL_CLASS(TsuiGroupBox)
    using TsuiCustomGroupBox::TsuiCustomGroupBox;
};

// The language loader's way to caption a group box (its own field; other controls get the text).
void SUISetGroupBoxCaption(TControl* GroupBox, const String& Caption);
