#include "skin/core/SUIProgressBar.h"

#include <algorithm>
#include <string>

#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

long long SUIProgressPercent(int Position, int Min, int Max) {
    if (Max == Min) return 0;
    return (static_cast<long long>(Position) - Min) * 100 / (static_cast<long long>(Max) - Min);
}

int SUIProgressDoneLength(int Position, int Min, int Max, int Length) {
    if (Max <= Min || Position <= Min) return 0;
    if (Position > Max) return Length;
    return static_cast<int>((static_cast<long long>(Position) - Min) * Length / (static_cast<long long>(Max) - Min));
}

TsuiProgressBar::TsuiProgressBar(TComponent* AOwner) : TPanel(AOwner), m_picture(std::make_unique<TPicture>()) {
    ControlStyle().Exclude(csAcceptsControls);
    SetBevelOuter(bvNone);
    SetColor(clBtnFace);
    SetBounds(GetLeft(), GetTop(), 150, 12);
    SetUIStyle(GetSUIFormStyle(AOwner));
    UpdateCaption();
}

TsuiProgressBar::~TsuiProgressBar() = default;

void TsuiProgressBar::Notification(TComponent* AComponent, TOperation Operation) {
    TPanel::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiProgressBar::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    LoadPictures();
}

void TsuiProgressBar::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(GetUIStyle());
}

void TsuiProgressBar::LoadPictures() {
    TsuiThemeValues theme = m_style.Values();
    TBitmap picture;
    theme.Bitmap(SUI_THEME_PROGRESSBAR_IMAGE, &picture);
    if (m_orientation == suiVertical && !picture.GetEmpty()) RoundPicture(&picture);
    m_picture->SetBitmap(&picture);
    SetColor(theme.Color(SUI_THEME_CONTROL_BACKGROUND_COLOR));
    m_borderColor = theme.Color(SUI_THEME_CONTROL_BORDER_COLOR);
    Repaint();
}

void TsuiProgressBar::SetMax(int v) { m_max = v; UpdateCaption(); }
void TsuiProgressBar::SetMin(int v) { m_min = v; UpdateCaption(); }
void TsuiProgressBar::SetPosition(int v) { m_position = v; UpdateCaption(); }

void TsuiProgressBar::UpdateCaption() {
    SetCaption(std::to_string(SUIProgressPercent(m_position, m_min, m_max)) + "%");
    Repaint();
}

void TsuiProgressBar::SetOrientation(TsuiProgressBarOrientation v) { m_orientation = v; LoadPictures(); }
void TsuiProgressBar::SetBorderColor(TColor v) { m_borderColor = v; Repaint(); }
void TsuiProgressBar::SetCaptionColor(TColor v) { m_captionColor = v; Repaint(); }
void TsuiProgressBar::SetBarColor(TColor v) { SetColor(v); Repaint(); }
void TsuiProgressBar::SetPicture(TPicture* v) { m_picture->Assign(v); Repaint(); }
void TsuiProgressBar::SetShowCaption(bool v) { m_showCaption = v; Repaint(); }
void TsuiProgressBar::SetSmartShowCaption(bool v) { m_smartShowCaption = v; Repaint(); }

void TsuiProgressBar::Paint() {
    const int W = GetWidth(), H = GetHeight();
    if (W <= 0 || H <= 0) return;
    TBitmap buffer(W, H, pf24bit);
    TCanvas* c = buffer.GetCanvas();
    TGraphic* picture = m_picture->GetGraphic();
    c->GetBrush()->SetColor(GetColor());
    if (m_orientation == suiHorizontal) {
        const int w = std::max(SUIProgressDoneLength(m_position, m_min, m_max, W - 1), 1);
        if (picture != nullptr) c->StretchDraw(Rect(1, 1, w, H - 1), picture);
        c->FillRect(Rect(w, 1, W - 1, H - 1));
    } else {
        const int t = std::max((H - 1) - SUIProgressDoneLength(m_position, m_min, m_max, H - 1), 1);
        if (picture != nullptr && !picture->GetEmpty()) {
            // From (1, H - 2) to (W - 1, t - 1): top and bottom swapped, so the picture is mirrored.
            TBitmap flipped(picture->GetWidth(), picture->GetHeight(), pf24bit);
            flipped.GetCanvas()->Draw(0, 0, picture);
            TBitmap mirrored(picture->GetWidth(), picture->GetHeight(), pf24bit);
            for (int y = 0; y < flipped.GetHeight(); ++y)
                mirrored.GetCanvas()->CopyRect(Rect(0, y, flipped.GetWidth(), y + 1), flipped.GetCanvas(),
                                               Rect(0, flipped.GetHeight() - 1 - y, flipped.GetWidth(), flipped.GetHeight() - y));
            c->StretchDraw(Rect(1, t - 1, W - 1, H - 2), &mirrored);
        }
        c->FillRect(Rect(1, 1, W - 1, t));
        // Painting a vertical bar turns the caption off for good.
        m_showCaption = false;
    }
    if (m_showCaption && !(m_smartShowCaption && m_position == m_min)) {
        c->GetBrush()->SetStyle(bsClear);
        c->SetFont(GetFont());
        c->GetFont()->SetColor(m_captionColor);
        const String text = GetCaption();
        c->TextOut((W - c->TextWidth(text)) / 2, (H - c->TextHeight(text)) / 2, text);
    }
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(m_borderColor);
    c->FrameRect(Rect(0, 0, W, H));
    Canvas()->Draw(0, 0, &buffer);
}

void TsuiProgressBar::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TPanel::Dispatch(Message);
}
