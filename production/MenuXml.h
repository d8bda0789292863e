// Title.xml and Chapter_N.xml: the spumux description of one menu's buttons over its two masks.
#pragma once

#include "platform/vcl/System.h"
#include "platform/vcl/Types.h"
#include "production/MenuPictures.h"

#include <optional>
#include <vector>

struct TMenuXmlValues {
    String s_HighlightPng;
    String s_SelectPng;
    std::optional<TRect> BackButton;  // listed first when there is one
    std::vector<TRect> Buttons;       // frame rectangles, as the masks have them
};

// The back button's rectangle: its place scaled to the frame, its picture's own size.
TRect BackButtonRect(int BackX, int BackY, int BackWidth, int BackHeight, const TMenuFrame& Frame);

// spumux warns of odd button rows and may show them wrong: the top goes down and the bottom up to
// the next even row. Only the XML carries this; the masks keep their rectangles.
TRect EvenButtonRows(const TRect& Rect);

// The title menu's buttons for Pictures' back position: the back button first when a root menu is
// made and the back pictures are usable, then every clip's title button in list order.
TMenuXmlValues TitleMenuXmlValues(const TMenuPictures& Pictures, const String& HighlightPng, const String& SelectPng,
                                  int BackWidth, int BackHeight);
// A chapter menu's buttons: the back button first whenever the back pictures are usable, then
// its chapter buttons.
TMenuXmlValues ChapterMenuXmlValues(const TMenuPictures& Pictures, const TSubChapter* Menu, const String& HighlightPng,
                                    const String& SelectPng, int BackWidth, int BackHeight);

// The lines, each ended by CR LF, with the paths XML-escaped.
String MenuXmlText(const TMenuXmlValues& Values);

// Writes the text to Path; false (and no file) when it could not be written completely.
bool WriteMenuXml(const String& Path, const TMenuXmlValues& Values);
