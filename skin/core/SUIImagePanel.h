// Double-buffered panels: TsuiCustomPanel (a picture drawn normal, stretched or tiled, an
// optional see-through background and a caption), TsuiImagePanel (publishes it) and TsuiPanel
// (a themed panel with a title strip and a button that collapses and expands it).
//
//   auto* Group = new TsuiImagePanel(Form);
//   Group->SetParent(Form);
//   Group->SetTransparent(true);        // shows the form behind it, holds other controls
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIThemes.h"

class TsuiFileTheme;

enum TsuiDrawStyle { suiNormal = 0, suiStretch = 1, suiTile = 2 };

class TsuiCustomPanel : public TPanel {
    VCL_CLASS(TsuiCustomPanel)
    explicit TsuiCustomPanel(TComponent* AOwner);
    ~TsuiCustomPanel() override;

    TPicture* GetPicture() const { return m_picture.get(); }
    void SetPicture(TPicture* Value);
    bool GetTransparent() const { return m_transparent; }
    virtual void SetTransparent(bool v);
    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    int GetCaptionPosX() const { return m_captionPosX; }
    void SetCaptionPosX(int v);
    int GetCaptionPosY() const { return m_captionPosY; }
    void SetCaptionPosY(int v);
    TsuiDrawStyle GetDrawStyle() const { return m_drawStyle; }
    void SetDrawStyle(TsuiDrawStyle v);

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void Resize() override;
    virtual void ClearPanel();
    virtual void RepaintText(const TRect&) {}
    virtual void PictureChanged(TObject* Sender);

private:
    bool HasGraphic() const { return m_picture->GetGraphic() != nullptr; }
    void ApplyPictureSize();
    void ApplyPictureTransparency();
    void PaintCaption(TCanvas* C);

    std::unique_ptr<TPicture> m_picture;
    bool m_transparent = false;
    bool m_autoSize = false;
    int m_captionPosX = -1;
    int m_captionPosY = -1;
    TsuiDrawStyle m_drawStyle = suiNormal;
};

class TsuiImagePanel : public TsuiCustomPanel {
    VCL_CLASS(TsuiImagePanel)
    using TsuiCustomPanel::TsuiCustomPanel;
};

// The heights a panel passes through when it animates from From to To in 15-pixel steps; the
// last one is To.
std::vector<int> SUIPanelAnimationSteps(int From, int To);

class TsuiPanel : public TPanel, public IsuiStyled {
    VCL_CLASS(TsuiPanel)
    explicit TsuiPanel(TComponent* AOwner);
    ~TsuiPanel() override;

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle v) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* v) override;

    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor v);
    TColor GetCaptionFontColor() const { return m_captionFontColor; }
    void SetCaptionFontColor(TColor v);
    bool GetShowButton() const { return m_showButton; }
    void SetShowButton(bool v);
    // The published Height is the expanded height; the control is that high unless collapsed.
    int GetHeight() const { return m_expandedHeight; }
    void SetHeight(int v);
    int GetTitleHeight() const { return m_titleBitmap->GetHeight(); }
    bool GetPushed() const { return !m_expanded; }
    bool IsAnimating() const { return m_animating; }
    // The collapse button, in client coordinates (all sides inclusive); empty without one.
    TRect ButtonRect() const;

    // Collapses to the title strip; raises for a panel aligned to the client, left or right.
    void Push();
    // Expands back to the published Height.
    void Pop();

    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnPush;
    TNotifyEvent OnPop;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void Resize() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool ButtonAllowed() const;
    bool OnButton(int X, int Y) const;
    void Animate(int To);

    TColor m_borderColor = clBlack;
    TsuiStyleLink m_style{this};
    std::unique_ptr<TBitmap> m_titleBitmap;
    std::unique_ptr<TBitmap> m_buttonPicture;
    bool m_showButton = true;
    bool m_buttonHot = false;
    bool m_expanded = true;
    int m_expandedHeight = 100;
    bool m_animating = false;
    bool m_applyingTheme = false;
    TColor m_captionFontColor = clBlack;
};
