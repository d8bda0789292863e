// The edit-mask engine of the masked edit, as plain functions on texts.
//
// A mask has up to three fields separated by ';': the picture, '0' to leave the literals out of
// the text (default '1', keep them), and the character shown in empty places (default '_').
// Picture characters: 'L' letter, 'l' optional letter, 'A' letter or digit, 'a' optional one,
// 'C' any character, 'c' optional one, '0' digit, '9' optional digit, '#' optional digit or
// sign, '>' upper case from here, '<' lower case from here, "<>" no case change, '\' takes the
// next character as a literal, '_' is a literal space, '!' puts the blanks of a shorter text at
// the start; ':' and '/' are the fixed time and date separators; every other character is a
// literal. The edit text has one character per place; the text drops the blanks (as spaces) and,
// with the second field '0', the literals.
#pragma once

#include <vector>

#include "platform/vcl/System.h"

enum class TMaskPlace { Literal, Digit, OptDigit, DigitOrSign, Letter, OptLetter, AlphaNum, OptAlphaNum, Any, OptAny };
enum class TMaskCase { None, Upper, Lower };

struct TMaskSlot {
    TMaskPlace Place = TMaskPlace::Literal;
    char Literal = 0;  // for Literal places
    TMaskCase Case = TMaskCase::None;
};

struct TEditMask {
    std::vector<TMaskSlot> Slots;
    bool SaveLiterals = true;
    char Blank = '_';
    bool LeadingBlanks = false;  // '!'
    bool Empty() const { return Slots.empty(); }
    int Size() const { return static_cast<int>(Slots.size()); }
};

TEditMask ParseEditMask(const String& Mask);

bool IsInputPlace(const TEditMask& Mask, int Pos);
bool IsRequiredPlace(const TEditMask& Mask, int Pos);
// The first input place at or after Pos (Mask.Size() when none), the last one before Pos (-1).
int NextInputPos(const TEditMask& Mask, int Pos);
int PrevInputPos(const TEditMask& Mask, int Pos);
// Whether Ch may stand in place Pos; it comes back in the place's case.
bool FitsPlace(const TEditMask& Mask, int Pos, char& Ch);

// The edit text with every input place empty ("__:__:__").
String BlankEditText(const TEditMask& Mask);
String EditTextToText(const TEditMask& Mask, const String& EditText);
String TextToEditText(const TEditMask& Mask, const String& Text);
// The first place that is empty but required or holds what does not fit; -1 when all is well.
int FirstInvalidPos(const TEditMask& Mask, const String& EditText);

// The result of a key on a masked edit text: the new text and caret, and whether the key fit.
struct TMaskEditStep {
    String EditText;
    int Caret = 0;
    bool Accepted = true;
};
// Typing overwrites: the selection is emptied, Ch goes to the first input place at or after the
// selection start, and the caret moves on to the next input place. A literal typed where it
// stands, or one that fits no place but is the next separator (':' typed in "1_:"), moves the caret
// past that literal. Any other character that does not fit is refused.
TMaskEditStep MaskTypeChar(const TEditMask& Mask, const String& EditText, int SelStart, int SelLength, char Ch);
// Backspace empties the selection, or the input place before the caret, and the caret goes there.
TMaskEditStep MaskBackspace(const TEditMask& Mask, const String& EditText, int SelStart, int SelLength);
// Delete empties the selection, or the input place at or after the caret; the caret stays.
TMaskEditStep MaskDelete(const TEditMask& Mask, const String& EditText, int SelStart, int SelLength);
