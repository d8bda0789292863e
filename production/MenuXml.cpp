#include "production/MenuXml.h"

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "model/MenuObjects.h"
#include "production/SubtitleMux.h"
#include "production/XmlText.h"

namespace {

const char* const kEnd = "\r\n";

String ButtonLine(const TRect& Rect) {
    const TRect r = EvenButtonRows(Rect);
    return "    <button x0=\"" + std::to_string(r.Left) + "\" y0=\"" + std::to_string(r.Top) + "\" x1=\"" +
           std::to_string(r.Right) + "\" y1=\"" + std::to_string(r.Bottom) + "\"/>" + kEnd;
}

}  // namespace

TRect BackButtonRect(int BackX, int BackY, int BackWidth, int BackHeight, const TMenuFrame& Frame) {
    const TPoint at = GetBackButtonPos(BackX, BackY, Frame);
    return TRect(at.x, at.y, at.x + BackWidth, at.y + BackHeight);
}

TRect EvenButtonRows(const TRect& Rect) {
    TRect r = Rect;
    if (r.Top % 2 != 0) r.Top -= 1;
    if (r.Bottom % 2 != 0) r.Bottom += 1;
    return r;
}

TMenuXmlValues TitleMenuXmlValues(const TMenuPictures& Pictures, const String& HighlightPng, const String& SelectPng,
                                  int BackWidth, int BackHeight) {
    TMenuXmlValues values{HighlightPng, SelectPng, std::nullopt, {}};
    if (Pictures.b_RootMenuVob && Pictures.HasBackButton()) {
        values.BackButton = BackButtonRect(Pictures.i_BackX, Pictures.i_BackY, BackWidth, BackHeight, Pictures.Frame);
    }
    for (const TClipInfo* clip : ClipInfo) {
        if (clip->TitleButton != nullptr) values.Buttons.push_back(GetButtonFrameRect(clip->TitleButton, Pictures.Frame));
    }
    return values;
}

TMenuXmlValues ChapterMenuXmlValues(const TMenuPictures& Pictures, const TSubChapter* Menu, const String& HighlightPng,
                                    const String& SelectPng, int BackWidth, int BackHeight) {
    TMenuXmlValues values{HighlightPng, SelectPng, std::nullopt, {}};
    if (Menu == nullptr) return values;
    if (Pictures.HasBackButton()) {
        values.BackButton = BackButtonRect(Pictures.i_BackX, Pictures.i_BackY, BackWidth, BackHeight, Pictures.Frame);
    }
    for (int i = 0; const TSubButtonImage* button = Menu->GetButton(i); ++i) {
        values.Buttons.push_back(GetButtonFrameRect(button, Pictures.Frame));
    }
    return values;
}

String MenuXmlText(const TMenuXmlValues& Values) {
    String text;
    text += String("<subpictures>") + kEnd;
    text += String("  <stream>") + kEnd;
    text += String("    <spu start=\"00:00:00.0\" end=\"00:00:00.0\"") + kEnd;
    text += "         highlight=\"" + XmlEscape(Values.s_HighlightPng) + "\"" + kEnd;
    text += "         select=\"" + XmlEscape(Values.s_SelectPng) + "\"" + kEnd;
    text += String("         transparent=\"010101\" force=\"yes\"") + kEnd;
    text += String("         autoorder=\"rows\">") + kEnd;
    if (Values.BackButton) text += ButtonLine(*Values.BackButton);
    for (const TRect& button : Values.Buttons) text += ButtonLine(button);
    text += String("    </spu>") + kEnd;
    text += String("  </stream>") + kEnd;
    text += String("</subpictures>") + kEnd;
    return text;
}

bool WriteMenuXml(const String& Path, const TMenuXmlValues& Values) {
    return WriteTextFile(Path, MenuXmlText(Values));
}
