// A label that opens its URL with the system shell when clicked, underlined in the link colour
// and drawn in the hover colour while the mouse is over it.
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

class TsuiURLLabel : public TLabel {
    VCL_CLASS(TsuiURLLabel)
    explicit TsuiURLLabel(TComponent* AOwner);

    const String& GetURL() const { return m_url; }
    void SetURL(const String& v);
    TColor GetFontHoverColor() const { return m_hoverColor; }
    void SetFontHoverColor(TColor v) { m_hoverColor = v; }
    TColor GetFontLinkColor() const { return m_linkColor; }
    // Also becomes the font colour.
    void SetFontLinkColor(TColor v);

    void Click() override;
    void Dispatch(TMessage& Message) override;

private:
    String m_url;
    TColor m_hoverColor = clRed;
    TColor m_linkColor = clBlue;
};
