#include "platform/vcl/MaskUtils.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

TMaskPlace PlaceOf(char c) {
    switch (c) {
        case 'L': return TMaskPlace::Letter;
        case 'l': return TMaskPlace::OptLetter;
        case 'A': return TMaskPlace::AlphaNum;
        case 'a': return TMaskPlace::OptAlphaNum;
        case 'C': return TMaskPlace::Any;
        case 'c': return TMaskPlace::OptAny;
        case '0': return TMaskPlace::Digit;
        case '9': return TMaskPlace::OptDigit;
        case '#': return TMaskPlace::DigitOrSign;
        default: return TMaskPlace::Literal;
    }
}

// The picture and the two option fields; a ';' after '\' belongs to the picture.
void SplitFields(const String& Mask, String& Picture, std::vector<String>& Options) {
    size_t i = 0;
    for (; i < Mask.size(); ++i) {
        if (Mask[i] == '\\' && i + 1 < Mask.size()) {
            Picture += Mask.substr(i, 2);
            ++i;
            continue;
        }
        if (Mask[i] == ';') break;
        Picture += Mask[i];
    }
    String field;
    for (++i; i <= Mask.size(); ++i) {
        if (i == Mask.size() || Mask[i] == ';') {
            Options.push_back(field);
            field.clear();
        } else {
            field += Mask[i];
        }
    }
}

void SetPlace(String& EditText, int Pos, char Ch) {
    if (Pos >= 0 && Pos < static_cast<int>(EditText.size())) EditText[static_cast<size_t>(Pos)] = Ch;
}

// Empties every input place of [Start, Start + Length).
void BlankRange(const TEditMask& Mask, String& EditText, int Start, int Length) {
    for (int p = Start; p < Start + Length && p < Mask.Size(); ++p)
        if (IsInputPlace(Mask, p)) SetPlace(EditText, p, Mask.Blank);
}

// The edit text of Mask's length (a text of another length is laid out again).
String Normalised(const TEditMask& Mask, const String& EditText) {
    if (static_cast<int>(EditText.size()) == Mask.Size()) return EditText;
    String s = BlankEditText(Mask);
    for (int p = 0; p < Mask.Size() && p < static_cast<int>(EditText.size()); ++p)
        if (IsInputPlace(Mask, p)) s[static_cast<size_t>(p)] = EditText[static_cast<size_t>(p)];
    return s;
}

}  // namespace

TEditMask ParseEditMask(const String& Mask) {
    TEditMask m;
    String picture;
    std::vector<String> options;
    SplitFields(Mask, picture, options);
    if (!options.empty() && !options[0].empty()) m.SaveLiterals = options[0][0] != '0';
    if (options.size() > 1 && !options[1].empty()) m.Blank = options[1][0];
    TMaskCase mode = TMaskCase::None;
    for (size_t i = 0; i < picture.size(); ++i) {
        char c = picture[i];
        if (c == '!') { m.LeadingBlanks = true; continue; }
        if (c == '<' && i + 1 < picture.size() && picture[i + 1] == '>') { mode = TMaskCase::None; ++i; continue; }
        if (c == '>') { mode = TMaskCase::Upper; continue; }
        if (c == '<') { mode = TMaskCase::Lower; continue; }
        TMaskSlot slot;
        slot.Case = mode;
        if (c == '\\' && i + 1 < picture.size()) {
            slot.Literal = picture[++i];
        } else if (c == '_') {
            slot.Literal = ' ';
        } else {
            slot.Place = PlaceOf(c);
            if (slot.Place == TMaskPlace::Literal) slot.Literal = c;
        }
        m.Slots.push_back(slot);
    }
    return m;
}

bool IsInputPlace(const TEditMask& Mask, int Pos) {
    return Pos >= 0 && Pos < Mask.Size() && Mask.Slots[static_cast<size_t>(Pos)].Place != TMaskPlace::Literal;
}

bool IsRequiredPlace(const TEditMask& Mask, int Pos) {
    if (!IsInputPlace(Mask, Pos)) return false;
    switch (Mask.Slots[static_cast<size_t>(Pos)].Place) {
        case TMaskPlace::Digit: case TMaskPlace::Letter: case TMaskPlace::AlphaNum: case TMaskPlace::Any: return true;
        default: return false;
    }
}

int NextInputPos(const TEditMask& Mask, int Pos) {
    for (int p = std::max(Pos, 0); p < Mask.Size(); ++p)
        if (IsInputPlace(Mask, p)) return p;
    return Mask.Size();
}

int PrevInputPos(const TEditMask& Mask, int Pos) {
    for (int p = std::min(Pos, Mask.Size()) - 1; p >= 0; --p)
        if (IsInputPlace(Mask, p)) return p;
    return -1;
}

bool FitsPlace(const TEditMask& Mask, int Pos, char& Ch) {
    if (!IsInputPlace(Mask, Pos)) return false;
    const TMaskSlot& slot = Mask.Slots[static_cast<size_t>(Pos)];
    if (slot.Case == TMaskCase::Upper) Ch = static_cast<char>(std::toupper(static_cast<unsigned char>(Ch)));
    if (slot.Case == TMaskCase::Lower) Ch = static_cast<char>(std::tolower(static_cast<unsigned char>(Ch)));
    if (static_cast<unsigned char>(Ch) < 0x20) return false;
    switch (slot.Place) {
        case TMaskPlace::Digit: case TMaskPlace::OptDigit: return IsDigit(Ch);
        case TMaskPlace::DigitOrSign: return IsDigit(Ch) || Ch == '+' || Ch == '-';
        case TMaskPlace::Letter: case TMaskPlace::OptLetter: return IsLetter(Ch);
        case TMaskPlace::AlphaNum: case TMaskPlace::OptAlphaNum: return IsLetter(Ch) || IsDigit(Ch);
        case TMaskPlace::Any: case TMaskPlace::OptAny: return true;
        default: return false;
    }
}

String BlankEditText(const TEditMask& Mask) {
    String s;
    for (const TMaskSlot& slot : Mask.Slots) s += slot.Place == TMaskPlace::Literal ? slot.Literal : Mask.Blank;
    return s;
}

String EditTextToText(const TEditMask& Mask, const String& EditText) {
    if (Mask.Empty()) return EditText;
    String edit = Normalised(Mask, EditText);
    String out;
    for (int p = 0; p < Mask.Size(); ++p) {
        char c = edit[static_cast<size_t>(p)];
        if (!IsInputPlace(Mask, p)) {
            if (Mask.SaveLiterals) out += c;
            continue;
        }
        out += c == Mask.Blank ? ' ' : c;
    }
    if (!Mask.SaveLiterals) {
        // Without literals the blanks of the unfilled places are dropped at the side they sit on.
        if (Mask.LeadingBlanks) out.erase(0, out.find_first_not_of(' ') == String::npos ? out.size() : out.find_first_not_of(' '));
        else out.erase(out.find_last_not_of(' ') == String::npos ? 0 : out.find_last_not_of(' ') + 1);
    }
    return out;
}

String TextToEditText(const TEditMask& Mask, const String& Text) {
    if (Mask.Empty()) return Text;
    String edit = BlankEditText(Mask);
    auto put = [&](int p, char c) {
        if (c == ' ' || c == Mask.Blank) return;
        if (FitsPlace(Mask, p, c)) SetPlace(edit, p, c);
    };
    if (Mask.SaveLiterals) {
        // Place by place; a literal of the text stands where the mask has that literal.
        size_t i = 0;
        for (int p = 0; p < Mask.Size() && i < Text.size(); ++p) {
            if (!IsInputPlace(Mask, p)) {
                if (Text[i] == Mask.Slots[static_cast<size_t>(p)].Literal) ++i;
                continue;
            }
            put(p, Text[i++]);
        }
        return edit;
    }
    std::vector<int> places;
    for (int p = 0; p < Mask.Size(); ++p)
        if (IsInputPlace(Mask, p)) places.push_back(p);
    size_t n = std::min(places.size(), Text.size());
    size_t first = Mask.LeadingBlanks ? places.size() - n : 0;
    for (size_t k = 0; k < n; ++k) put(places[first + k], Text[k]);
    return edit;
}

int FirstInvalidPos(const TEditMask& Mask, const String& EditText) {
    String edit = Normalised(Mask, EditText);
    for (int p = 0; p < Mask.Size(); ++p) {
        if (!IsInputPlace(Mask, p)) continue;
        char c = edit[static_cast<size_t>(p)];
        if (c == Mask.Blank) {
            if (IsRequiredPlace(Mask, p)) return p;
            continue;
        }
        if (!FitsPlace(Mask, p, c)) return p;
    }
    return -1;
}

namespace {

// The place after the literal Ch among the literals from Pos on (before the next input place);
// -1 when none of them is Ch.
int PastLiteral(const TEditMask& Mask, int Pos, char Ch) {
    for (int q = Pos; q < Mask.Size() && !IsInputPlace(Mask, q); ++q)
        if (Mask.Slots[static_cast<size_t>(q)].Literal == Ch) return q + 1;
    return -1;
}

}  // namespace

TMaskEditStep MaskTypeChar(const TEditMask& Mask, const String& EditText, int SelStart, int SelLength, char Ch) {
    TMaskEditStep step{Normalised(Mask, EditText), SelStart, false};
    auto stepOver = [&](int past) {
        BlankRange(Mask, step.EditText, SelStart, SelLength);
        step.Caret = NextInputPos(Mask, past);
        step.Accepted = true;
        return step;
    };
    if (int past = PastLiteral(Mask, SelStart, Ch); past >= 0) return stepOver(past);
    int p = NextInputPos(Mask, SelStart);
    char c = Ch;
    if (p < Mask.Size() && FitsPlace(Mask, p, c)) {
        BlankRange(Mask, step.EditText, SelStart, SelLength);
        SetPlace(step.EditText, p, c);
        step.Caret = NextInputPos(Mask, p + 1);
        step.Accepted = true;
        return step;
    }
    // A separator typed inside a field moves on to the next field.
    int q = p;
    while (q < Mask.Size() && IsInputPlace(Mask, q)) ++q;
    if (int past = PastLiteral(Mask, q, Ch); past >= 0) return stepOver(past);
    return step;
}

TMaskEditStep MaskBackspace(const TEditMask& Mask, const String& EditText, int SelStart, int SelLength) {
    TMaskEditStep step{Normalised(Mask, EditText), SelStart, true};
    if (SelLength > 0) {
        BlankRange(Mask, step.EditText, SelStart, SelLength);
        return step;
    }
    int p = PrevInputPos(Mask, SelStart);
    if (p < 0) {
        step.Accepted = false;
        return step;
    }
    SetPlace(step.EditText, p, Mask.Blank);
    step.Caret = p;
    return step;
}

TMaskEditStep MaskDelete(const TEditMask& Mask, const String& EditText, int SelStart, int SelLength) {
    TMaskEditStep step{Normalised(Mask, EditText), SelStart, true};
    if (SelLength > 0) {
        BlankRange(Mask, step.EditText, SelStart, SelLength);
        return step;
    }
    int p = NextInputPos(Mask, SelStart);
    if (p >= Mask.Size()) {
        step.Accepted = false;
        return step;
    }
    SetPlace(step.EditText, p, Mask.Blank);
    return step;
}
