#include "skin/core/SUIURLLabel.h"

#include "platform/vcl/Graphics.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win32/Windows.h"

TsuiURLLabel::TsuiURLLabel(TComponent* AOwner) : TLabel(AOwner) {
    GetFont()->SetStyle({fsUnderline});
    GetFont()->SetColor(clBlue);
    SetCursor(crHandPoint);
    SetAutoSize(true);
    // The program's forms store their own caption and address; a new label opens nothing.
    SetCaption("URL");
}

void TsuiURLLabel::SetURL(const String& v) {
    if (v != m_url) m_url = v;
}

void TsuiURLLabel::SetFontLinkColor(TColor v) {
    m_linkColor = v;
    GetFont()->SetColor(v);
}

void TsuiURLLabel::Click() {
    // The shell's answer is not checked: a link that can't be opened just does nothing.
    if (!Trim(m_url).empty()) ShellExecuteA(nullptr, "open", m_url.c_str(), nullptr, nullptr, SW_SHOW);
    TLabel::Click();
}

void TsuiURLLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER:
            TLabel::Dispatch(Message);
            GetFont()->SetColor(GetComponentState().Contains(csDesigning) ? clBlue : m_hoverColor);
            return;
        case CM_MOUSELEAVE:
            TLabel::Dispatch(Message);
            GetFont()->SetColor(m_linkColor);
            return;
        default: TLabel::Dispatch(Message); return;
    }
}
