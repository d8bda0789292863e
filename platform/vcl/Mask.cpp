#include "platform/vcl/Mask.h"

#include "platform/vcl/Clipbrd.h"

namespace {

const char* const kMaskEditError = "Invalid input value.  Use escape key to abandon changes";

}  // namespace

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

TCustomMaskEdit::~TCustomMaskEdit() = default;

void TCustomMaskEdit::SetEditMask(const String& v) {
    if (v == m_maskText) return;
    String text = GetText();
    m_maskText = v;
    m_mask = ParseEditMask(v);
    if (IsMasked()) SetMaxLength(m_mask.Size());
    SetEditText(TextToEditText(m_mask, text));
}

void TCustomMaskEdit::SetEditText(const String& v) {
    if (v == StoredText()) return;
    m_settingEditText = true;
    try {
        Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(&v));
    } catch (...) {
        m_settingEditText = false;
        throw;
    }
    m_settingEditText = false;
    Perform(CM_TEXTCHANGED, 0, 0);
}

String TCustomMaskEdit::GetText() const { return IsMasked() ? EditTextToText(m_mask, StoredText()) : StoredText(); }

void TCustomMaskEdit::ValidateEdit() {
    if (!IsMasked() || !GetModified()) return;
    int bad = FirstInvalidPos(m_mask, StoredText());
    if (bad < 0) return;
    // The focus comes back here, without the entry's select-all and remembered value.
    m_reEnter = true;
    if (CanFocus()) SetFocus();
    m_reEnter = false;
    SetSelStart(bad);
    MessageBeep(0);
    throw EDBEditError(kMaskEditError);
}

void TCustomMaskEdit::Reset() {
    if (!GetModified()) return;
    SetEditText(m_oldValue);
    SetModified(false);
}

void TCustomMaskEdit::DoEnter() {
    if (m_reEnter) {
        TWinControl::DoEnter();
        return;
    }
    m_oldValue = StoredText();
    TCustomEdit::DoEnter();
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == VK_ESCAPE && IsMasked() && GetModified()) {
        Reset();
        Key = 0;
    }
}

void TCustomMaskEdit::ApplyStep(const TMaskEditStep& Step) {
    if (Step.EditText != StoredText()) ChangeText(Step.EditText, Step.Caret);
    else MoveCaret(Step.Caret, false);
}

void TCustomMaskEdit::EditKeyDown(Word Key, TShiftState Shift) {
    if (!IsMasked() || Key != VK_DELETE || Shift.Contains(ssShift)) {
        TCustomEdit::EditKeyDown(Key, Shift);
        return;
    }
    if (GetReadOnly()) return;
    ApplyStep(MaskDelete(m_mask, StoredText(), GetSelStart(), GetSelLength()));
}

void TCustomMaskEdit::EditChar(char Key) {
    if (!IsMasked()) {
        TCustomEdit::EditChar(Key);
        return;
    }
    if (GetReadOnly()) return;
    if (Key == '\b') {
        ApplyStep(MaskBackspace(m_mask, StoredText(), GetSelStart(), GetSelLength()));
        return;
    }
    if (static_cast<Byte>(Key) < 0x20) return;
    TMaskEditStep step = MaskTypeChar(m_mask, StoredText(), GetSelStart(), GetSelLength(), Key);
    if (!step.Accepted) {
        MessageBeep(0);
        return;
    }
    ApplyStep(step);
}

// Pasted text is typed place by place; the first character that fits nowhere stops it.
bool TCustomMaskEdit::TypeText(const String& Text) {
    String before = StoredText();
    for (char c : Text) {
        TMaskEditStep step = MaskTypeChar(m_mask, StoredText(), GetSelStart(), GetSelLength(), c);
        if (!step.Accepted) {
            MessageBeep(0);
            break;
        }
        ApplyStep(step);
    }
    return StoredText() != before;
}

bool TCustomMaskEdit::ReplaceSelection(const String& Text) {
    if (!IsMasked()) return TCustomEdit::ReplaceSelection(Text);
    String before = StoredText();
    if (Text.empty()) ApplyStep(MaskDelete(m_mask, StoredText(), GetSelStart(), GetSelLength()));
    else TypeText(Text);
    return StoredText() != before;
}

void TCustomMaskEdit::DoSetText(TMessage& Message) {
    String edit;
    if (!m_settingEditText && Message.LParam != 0) {
        edit = TextToEditText(m_mask, *reinterpret_cast<const String*>(Message.LParam));
        Message.LParam = reinterpret_cast<LPARAM>(&edit);
    }
    TCustomEdit::Dispatch(Message);
    m_oldValue = StoredText();
}

void TCustomMaskEdit::Dispatch(TMessage& Message) {
    if (!IsMasked()) {
        TCustomEdit::Dispatch(Message);
        return;
    }
    switch (Message.Msg) {
        case WM_SETTEXT: DoSetText(Message); return;
        case WM_CUT:
            if (GetReadOnly() || GetSelLength() == 0) return;
            Perform(WM_COPY, 0, 0);
            Perform(WM_CLEAR, 0, 0);
            return;
        case WM_CLEAR:
            if (GetReadOnly() || GetSelLength() == 0) return;
            ApplyStep(MaskDelete(m_mask, StoredText(), GetSelStart(), GetSelLength()));
            return;
        case WM_PASTE:
            if (!GetReadOnly()) TypeText(Clipboard()->GetAsText());
            return;
        case CM_WANTSPECIALKEY:
            Message.Result = Message.WParam == VK_ESCAPE && GetModified() ? 1 : 0;
            return;
        case CM_EXIT:
            ValidateEdit();
            TCustomEdit::Dispatch(Message);
            return;
        default:
            TCustomEdit::Dispatch(Message);
            return;
    }
}
