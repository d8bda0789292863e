// The UI language: numbered messages, language files in Lang/, and the region tables
// (Language.ini shipped with the program, Subtitle.ini with the user's additions).
#pragma once

#include <initializer_list>
#include <vector>

#include "core/LanguageMessages.h"
#include "platform/vcl/Forms.h"

namespace Language {

// The text of message N (0 to 157), from the loaded language file's "Text" section when there
// is one ("#1" a line feed, "#2" a blank), else the built-in English text. Any other number
// answers "".
String GetMessageText(int N);

// Makes Lang/<Name> the language file; false (and nothing changed) when that is not a file in
// the Lang folder, e.g. one deleted since the list of languages was made.
bool LoadLanguageFile(const String& Name);

// Re-reads the captions, fonts and hints of Form's components from the loaded language file
// (section = the form's name). Does nothing while no file is loaded.
void ApplyLanguageToForm(TCustomForm* Form);

// Controls whose words come from the message table rather than from their own keys (the words
// on picture buttons): each gets the text of its message as its caption.
struct TMessageCaption {
    TControl* Control;
    int Message;
};
void ApplyMessageCaptions(const std::vector<TMessageCaption>& Captions);

// Picture buttons named by their hints (which the language file gives): each shows its hint as
// its caption, in white on the button's dark face, made smaller where it would not fit.
void ShowHintsAsCaptions(const std::vector<TControl*>& Buttons);

// A caption wider than its control (less Reserved pixels for a box or glyph beside it) gets a
// smaller font, down to 6 points, so a longer translation stays inside its box.
void FitCaption(TControl* Control, int Reserved);

// What the main window runs after each successful load: every window in the order given
// (the main window first, then the others in creation order); windows not made yet (nullptr)
// are skipped.
void ApplyLanguageToForms(std::initializer_list<TCustomForm*> Forms);

// A group box keeps its caption in a field of its own, not in the window text. The skin
// library's group box is hooked in here once it exists; until then the window text is used.
using TCaptionSetter = void (*)(TControl* GroupBox, const String& Caption);
void SetGroupBoxCaptionSetter(TCaptionSetter Setter);

// Attributes of region Index (Language.ini's regions first, then Subtitle.ini's), read from
// the files as they are now. Defaults: "ISO-8859-1", "ARIAL.TTF", "EN".
String GetRegionCharacterSet(int Index);
String GetRegionFontFileName(int Index);
String GetRegionLanguageCode(int Index);

}  // namespace Language
