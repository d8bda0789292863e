#include "platform/vcl/StdCtrls.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"

// ---- TCustomEdit ---------------------------------------------------------------------------------

int NextCharPos(const String& Text, int Pos) {
    int n = static_cast<int>(Text.size());
    if (Pos >= n) return n;
    ++Pos;
    while (Pos < n && (static_cast<Byte>(Text[static_cast<size_t>(Pos)]) & 0xC0) == 0x80) ++Pos;
    return Pos;
}

int PrevCharPos(const String& Text, int Pos) {
    if (Pos <= 0) return 0;
    Pos = std::min(Pos, static_cast<int>(Text.size()));
    --Pos;
    while (Pos > 0 && (static_cast<Byte>(Text[static_cast<size_t>(Pos)]) & 0xC0) == 0x80) --Pos;
    return Pos;
}

namespace {

// Width of the sunken frame a bsSingle edit draws inside its window.
constexpr int kSingleFrame = 2;

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    ControlStyle() = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(GetLeft(), GetTop(), 121, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomEdit::~TCustomEdit() {
    Destroying();
    // The view's widget lives inside our window's: it goes first.
    m_view.reset();
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.Style |= ES_AUTOHSCROLL;
    if (m_readOnly) Params.Style |= ES_READONLY;
}

void TCustomEdit::CreateWnd() {
    TWinControl::CreateWnd();
    if (m_view != nullptr || !HasBridge()) return;
    m_view = CreateEditView(this, [this](int a, int c) { ViewSelected(a, c); });
    TCreateParams params;
    CreateParams(params);
    DWORD align = params.Style & (ES_CENTER | ES_RIGHT);
    m_view->SetAlignment(align == ES_RIGHT ? taRightJustify : align == ES_CENTER ? taCenter : taLeftJustify);
    m_view->SetBounds(ViewRect());
    PushLook();
    m_view->SetPasswordChar(m_passwordChar);
    PushText();
    PushMargins();
}

void TCustomEdit::DestroyWnd() {
    m_view.reset();
    TWinControl::DestroyWnd();
}

TRect TCustomEdit::ViewRect() const {
    TRect r = GetInsetClientRect();
    if (m_borderStyle == bsSingle) InflateRect(r, -kSingleFrame, -kSingleFrame);
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle v) {
    if (v != bsNone) v = bsSingle;
    if (v == m_borderStyle) return;
    m_borderStyle = v;
    if (m_view) m_view->SetBounds(ViewRect());
    Invalidate();
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
    if (v == m_charCase) return;
    m_charCase = v;
    if (v != ecNormal) SetText(ApplyCharCase(StoredText()));
}

void TCustomEdit::SetMaxLength(int v) { Perform(EM_LIMITTEXT, static_cast<WPARAM>(std::max(v, 0)), 0); }

void TCustomEdit::SetPasswordChar(char v) {
    if (v == m_passwordChar) return;
    m_passwordChar = v;
    if (m_view) m_view->SetPasswordChar(v);
}

void TCustomEdit::SetReadOnly(bool v) { Perform(EM_SETREADONLY, v ? 1 : 0, 0); }

int TCustomEdit::GetSelStart() const { return std::min(m_anchor, m_caret); }

int TCustomEdit::GetSelLength() const { return std::abs(m_caret - m_anchor); }

void TCustomEdit::SetSelStart(int v) { Perform(EM_SETSEL, static_cast<WPARAM>(v), v); }

void TCustomEdit::SetSelLength(int v) {
    int start = GetSelStart();
    Perform(EM_SETSEL, static_cast<WPARAM>(start), start + v);
}

String TCustomEdit::GetSelText() const { return StoredText().substr(static_cast<size_t>(GetSelStart()), static_cast<size_t>(GetSelLength())); }

void TCustomEdit::SetSelText(const String& v) { ReplaceSelection(v); }

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }

TRect TCustomEdit::GetEditRect() {
    TRect r;
    Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TCustomEdit::SetSelection(int AnchorPos, int CaretPos) {
    int n = static_cast<int>(StoredText().size());
    m_anchor = std::clamp(AnchorPos, 0, n);
    m_caret = std::clamp(CaretPos, 0, n);
    PushSelection();
}

void TCustomEdit::ViewSelected(int AnchorPos, int CaretPos) {
    int n = static_cast<int>(StoredText().size());
    m_anchor = std::clamp(AnchorPos, 0, n);
    m_caret = std::clamp(CaretPos, 0, n);
}

void TCustomEdit::MoveCaret(int Pos, bool Extend) { SetSelection(Extend ? m_anchor : Pos, Pos); }

String TCustomEdit::ApplyCharCase(const String& Text) const {
    String s = Text;
    if (m_charCase == ecUpperCase)
        for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    else if (m_charCase == ecLowerCase)
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

void TCustomEdit::ChangeText(const String& Text, int CaretPos) {
    m_undoText = StoredText();
    m_canUndo = true;
    StoreText(Text);
    m_modified = true;
    PushText();
    SetSelection(CaretPos, CaretPos);
    Change();
}

bool TCustomEdit::ReplaceSelection(const String& Text) {
    const String& old = StoredText();
    int start = GetSelStart(), len = GetSelLength();
    String insert = ApplyCharCase(Text);
    if (m_maxLength > 0) {
        int room = m_maxLength - (static_cast<int>(old.size()) - len);
        if (room < static_cast<int>(insert.size())) {
            // Cut on a character boundary.
            int cut = 0;
            while (cut < static_cast<int>(insert.size()) && NextCharPos(insert, cut) <= room) cut = NextCharPos(insert, cut);
            insert.resize(static_cast<size_t>(std::max(cut, 0)));
        }
    }
    if (len == 0 && insert.empty()) return false;
    String s = old.substr(0, static_cast<size_t>(start)) + insert + old.substr(static_cast<size_t>(start + len));
    ChangeText(s, start + static_cast<int>(insert.size()));
    return true;
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
    TCreateParams params;
    CreateParams(params);
    if (m_autoSelect && !ControlState().Contains(csLButtonDown) && (params.Style & ES_MULTILINE) == 0) SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::EditKeyDown(Word Key, TShiftState Shift) {
    bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
    const String& text = StoredText();
    switch (Key) {
        case VK_LEFT:
            if (!shift && GetSelLength() > 0) MoveCaret(GetSelStart(), false);
            else MoveCaret(PrevCharPos(text, m_caret), shift);
            break;
        case VK_RIGHT:
            if (!shift && GetSelLength() > 0) MoveCaret(GetSelStart() + GetSelLength(), false);
            else MoveCaret(NextCharPos(text, m_caret), shift);
            break;
        case VK_HOME: MoveCaret(0, shift); break;
        case VK_END: MoveCaret(static_cast<int>(text.size()), shift); break;
        case VK_DELETE:
            if (shift) Perform(WM_CUT, 0, 0);
            else if (GetSelLength() > 0) Perform(WM_CLEAR, 0, 0);
            else if (!m_readOnly && m_caret < static_cast<int>(text.size())) {
                SetSelection(m_caret, NextCharPos(text, m_caret));
                ReplaceSelection("");
            }
            break;
        case VK_INSERT:
            if (shift) Perform(WM_PASTE, 0, 0);
            else if (ctrl) Perform(WM_COPY, 0, 0);
            break;
        default:
            if (!ctrl || shift) break;
            if (Key == 'A') SelectAll();
            else if (Key == 'C') Perform(WM_COPY, 0, 0);
            else if (Key == 'X') Perform(WM_CUT, 0, 0);
            else if (Key == 'V') Perform(WM_PASTE, 0, 0);
            else if (Key == 'Z') Perform(WM_UNDO, 0, 0);
            break;
    }
}

void TCustomEdit::EditChar(char Key) {
    if (m_readOnly) return;
    if (Key == '\b') {
        if (GetSelLength() == 0) {
            if (m_caret == 0) return;
            SetSelection(m_caret, PrevCharPos(StoredText(), m_caret));
        }
        ReplaceSelection("");
        return;
    }
    if (static_cast<Byte>(Key) < 0x20) return;
    ReplaceSelection(String(1, Key));
}

void TCustomEdit::DoCopy() {
    if (GetSelLength() > 0 && m_passwordChar == 0) Clipboard()->SetAsText(GetSelText());
}

void TCustomEdit::DoCut() {
    if (m_readOnly) return;
    DoCopy();
    DoClear();
}

void TCustomEdit::DoPaste() {
    if (m_readOnly) return;
    String s = Clipboard()->GetAsText();
    // A single-line edit takes the first line.
    if (auto eol = s.find_first_of("\r\n"); eol != String::npos) s.resize(eol);
    ReplaceSelection(s);
}

void TCustomEdit::DoClear() {
    if (m_readOnly || GetSelLength() == 0) return;
    ReplaceSelection("");
}

void TCustomEdit::DoUndo() {
    if (!m_canUndo || m_readOnly) return;
    String back = m_undoText;
    ChangeText(back, static_cast<int>(back.size()));
}

void TCustomEdit::DoSetText(TMessage& Message) {
    TWinControl::Dispatch(Message);  // stores the text
    // As the system's edit: the caret goes home, the undo and modified flags are cleared.
    m_modified = false;
    m_canUndo = false;
    m_anchor = m_caret = 0;
    PushText();
    PushSelection();
}

void TCustomEdit::PushText() {
    if (m_view) m_view->SetText(StoredText());
}

void TCustomEdit::PushSelection() {
    if (m_view) m_view->SetSelection(m_anchor, m_caret);
}

void TCustomEdit::PushLook() {
    if (m_view) m_view->SetLook(*GetFont(), GetColor());
}

void TCustomEdit::PushMargins() {
    if (!m_view) return;
    TRect view = ViewRect();
    if (!m_hasEditRect) {
        m_view->SetMargins(TRect{});
        return;
    }
    // The formatting rectangle is in client coordinates inside BorderWidth.
    int inset = ViewRect().Left - GetInsetClientRect().Left;
    TRect r = m_editRect;
    OffsetRect(r, -inset, -inset);
    m_view->SetMargins(Rect(std::max(r.Left, 0), std::max(r.Top, 0), std::max(view.Width() - r.Right, 0),
                            std::max(view.Height() - r.Bottom, 0)));
}

void TCustomEdit::PaintFrame(TCanvas* Canvas) {
    if (m_borderStyle != bsSingle) return;
    TRect r = GetInsetClientRect();
    Frame3D(Canvas, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(Canvas, r, clWindowFrame, clBtnFace, 1);
}

void TCustomEdit::PaintNativeContent(TCanvas* Canvas) {
    if (!m_view) return;
    TRect r = ViewRect();
    m_view->RenderTo(Canvas, r.Left, r.Top);
}

void TCustomEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN:
            TWinControl::Dispatch(Message);
            if (Message.WParam != 0) EditKeyDown(static_cast<Word>(Message.WParam), KeyDataToShiftState(Message.LParam));
            return;
        case WM_CHAR:
            TWinControl::Dispatch(Message);
            if (Message.WParam != 0) EditChar(static_cast<char>(Message.WParam));
            return;
        case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
        case WM_CUT: DoCut(); return;
        case WM_COPY: DoCopy(); return;
        case WM_PASTE: DoPaste(); return;
        case WM_CLEAR: DoClear(); return;
        case WM_UNDO: DoUndo(); return;
        case WM_SETTEXT: DoSetText(Message); return;
        case CM_TEXTCHANGED:
            TWinControl::Dispatch(Message);
            Change();
            return;
        case EM_GETSEL:
            Message.Result = MAKELPARAM(GetSelStart(), GetSelStart() + GetSelLength());
            return;
        case EM_SETSEL: {
            int n = static_cast<int>(StoredText().size());
            int a = static_cast<int>(Message.WParam), c = static_cast<int>(Message.LParam);
            if (a < 0) { a = c = m_caret; }  // -1 start: deselect, caret stays
            if (c < 0 || c > n) c = n;
            SetSelection(a, c);
            return;
        }
        case EM_GETRECT:
            if (Message.LParam != 0) {
                TRect r = ViewRect();
                OffsetRect(r, -GetInsetClientRect().Left, -GetInsetClientRect().Top);
                *reinterpret_cast<TRect*>(Message.LParam) = m_hasEditRect ? m_editRect : r;
            }
            return;
        case EM_SETRECT:
        case EM_SETRECTNP:
            if (Message.LParam != 0) {
                m_editRect = *reinterpret_cast<const TRect*>(Message.LParam);
                m_hasEditRect = true;
            } else {
                m_hasEditRect = false;
            }
            PushMargins();
            if (Message.Msg == EM_SETRECT) Invalidate();
            return;
        case EM_GETMODIFY: Message.Result = m_modified ? 1 : 0; return;
        case EM_SETMODIFY: m_modified = Message.WParam != 0; return;
        case EM_LIMITTEXT: m_maxLength = static_cast<int>(Message.WParam); return;
        case EM_SETREADONLY: m_readOnly = Message.WParam != 0; Message.Result = 1; return;
        case WM_ERASEBKGND:
            TWinControl::Dispatch(Message);
            if (Message.WParam != 0) PaintFrame(reinterpret_cast<TCanvas*>(Message.WParam));
            return;
        case CM_FONTCHANGED:
        case CM_COLORCHANGED:
            TWinControl::Dispatch(Message);
            PushLook();
            return;
        case CM_BORDERCHANGED:
            TWinControl::Dispatch(Message);
            if (m_view) m_view->SetBounds(ViewRect());
            PushMargins();
            return;
        default:
            TWinControl::Dispatch(Message);
            return;
    }
}

void TCustomEdit::BoundsChanged() {
    TWinControl::BoundsChanged();
    if (m_view) m_view->SetBounds(ViewRect());
    PushMargins();
}

// ---- TMemoStrings ------------------------------------------------------------------------------

namespace {

std::vector<String> SplitLines(const String& Text) {
    std::vector<String> lines;
    if (Text.empty()) return lines;
    String line;
    for (size_t i = 0; i < Text.size(); ++i) {
        char c = Text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    return lines;
}

String JoinLines(const std::vector<String>& Lines) {
    String s;
    for (size_t i = 0; i < Lines.size(); ++i) {
        if (i > 0) s += '\n';
        s += Lines[i];
    }
    return s;
}

}  // namespace

String TMemoStrings::Get(int Index) const {
    if (Index < 0 || Index >= GetCount()) Error(Index);
    return m_lines[static_cast<size_t>(Index)];
}

void TMemoStrings::Put(int Index, const String& S) {
    if (Index < 0 || Index >= GetCount()) Error(Index);
    m_lines[static_cast<size_t>(Index)] = S;
    Changed();
}

int TMemoStrings::Add(const String& S) {
    int first = GetCount();
    // A line of several lines becomes several lines, as in the window.
    for (const String& line : S.empty() ? std::vector<String>{String()} : SplitLines(S)) m_lines.push_back(line);
    if (UpdateCount() > 0) m_dirty = true;
    else m_memo->LinesChanged(first);
    return GetCount() - 1;
}

void TMemoStrings::Insert(int Index, const String& S) {
    if (Index < 0 || Index > GetCount()) Error(Index);
    if (Index == GetCount()) {
        Add(S);
        return;
    }
    m_lines.insert(m_lines.begin() + Index, S);
    Changed();
}

void TMemoStrings::Delete(int Index) {
    if (Index < 0 || Index >= GetCount()) Error(Index);
    m_lines.erase(m_lines.begin() + Index);
    Changed();
}

void TMemoStrings::Clear() {
    if (m_lines.empty()) return;
    m_lines.clear();
    Changed();
}

void TMemoStrings::SetText(const String& Text) {
    m_lines = SplitLines(Text);
    Changed();
}

void TMemoStrings::SetUpdateState(bool Updating) {
    if (Updating || !m_dirty) return;
    m_dirty = false;
    m_memo->LinesChanged(-1);
}

void TMemoStrings::Changed() {
    if (UpdateCount() > 0) m_dirty = true;
    else m_memo->LinesChanged(-1);
}

// ---- TCustomMemo -------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner) : TWinControl(AOwner), m_lines(new TMemoStrings(this)) {
    ControlStyle() = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(GetLeft(), GetTop(), 185, 89);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomMemo::~TCustomMemo() {
    Destroying();
    m_view.reset();
    delete m_lines;
}

String TCustomMemo::GetText() const { return JoinLines(m_lines->m_lines); }

void TCustomMemo::CreateWnd() {
    TWinControl::CreateWnd();
    if (m_view != nullptr || !HasBridge()) return;
    m_view = CreateMemoView(this, [this] { ViewTextChanged(); });
    m_view->SetBounds(ViewRect());
    PushAll();
}

void TCustomMemo::DestroyWnd() {
    m_view.reset();
    TWinControl::DestroyWnd();
}

void TCustomMemo::PushAll() {
    if (!m_view) return;
    m_view->SetLook(*GetFont(), GetColor());
    m_view->SetScrollBars(m_scrollBars);
    m_view->SetWordWrap(m_wordWrap);
    m_view->SetReadOnly(m_readOnly);
    m_view->SetAlignment(m_alignment);
    m_pushing = true;
    m_view->SetText(GetText());
    m_pushing = false;
}

TRect TCustomMemo::ViewRect() const {
    TRect r = GetInsetClientRect();
    if (m_borderStyle == bsSingle) InflateRect(r, -2, -2);
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

void TCustomMemo::BoundsChanged() {
    TWinControl::BoundsChanged();
    if (m_view) m_view->SetBounds(ViewRect());
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
    if (v == m_scrollBars) return;
    m_scrollBars = v;
    if (m_view) m_view->SetScrollBars(v);
}

void TCustomMemo::SetWordWrap(bool v) {
    if (v == m_wordWrap) return;
    m_wordWrap = v;
    if (m_view) m_view->SetWordWrap(v);
}

void TCustomMemo::SetReadOnly(bool v) {
    m_readOnly = v;
    if (m_view) m_view->SetReadOnly(v);
}

void TCustomMemo::SetAlignment(TAlignment v) {
    m_alignment = v;
    if (m_view) m_view->SetAlignment(v);
}

void TCustomMemo::SetBorderStyle(TFormBorderStyle v) {
    if (v != bsNone) v = bsSingle;
    if (v == m_borderStyle) return;
    m_borderStyle = v;
    if (m_view) m_view->SetBounds(ViewRect());
    Invalidate();
}

int TCustomMemo::GetSelStart() const { return m_view ? m_view->SelStart() : 0; }
int TCustomMemo::GetSelLength() const { return m_view ? m_view->SelLength() : 0; }
void TCustomMemo::SetSelStart(int v) { if (m_view) m_view->SetSelection(v, 0); }
void TCustomMemo::SetSelLength(int v) { if (m_view) m_view->SetSelection(GetSelStart(), v); }
void TCustomMemo::SelectAll() { if (m_view) m_view->SelectAll(); }

void TCustomMemo::LinesChanged(int FirstAppended) {
    if (m_view) {
        m_pushing = true;
        const auto& lines = m_lines->m_lines;
        if (FirstAppended > 0) {
            for (size_t i = static_cast<size_t>(FirstAppended); i < lines.size(); ++i) m_view->AppendLine(lines[i]);
        } else {
            m_view->SetText(GetText());
        }
        // An added line is shown: the caret goes to the end, as the system's memo does.
        if (FirstAppended >= 0) m_view->ShowEnd();
        m_pushing = false;
    }
    Change();
}

void TCustomMemo::ViewTextChanged() {
    if (m_pushing || !m_view) return;
    m_lines->m_lines = SplitLines(m_view->Text());
    m_modified = true;
    Change();
}

void TCustomMemo::Change() {
    if (OnChange) OnChange(this);
}

bool TCustomMemo::GetControlScrollInfo(int Bar, SCROLLINFO& Info) {
    return m_view != nullptr && m_view->GetScrollInfo(Bar, Info);
}

bool TCustomMemo::GetControlScrollBarState(int Bar, TScrollBarState& State) {
    if (m_view == nullptr || !m_view->GetScrollBarState(Bar, State)) return false;
    // The view lies inside the frame: report in our client coordinates.
    TRect r = ViewRect();
    OffsetRect(State.BarRect, r.Left, r.Top);
    int along = Bar == SB_VERT ? r.Top : r.Left;
    State.ThumbStart += along;
    State.ThumbEnd += along;
    return true;
}

void TCustomMemo::DoScroll(int Bar, TMessage& Message) {
    if (!m_view) return;
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    if (!m_view->GetScrollInfo(Bar, si)) return;
    int page = std::max(static_cast<int>(si.nPage), 1);
    int pos = si.nPos;
    switch (LOWORD(static_cast<DWORD>(Message.WParam & 0xFFFF))) {
        case SB_LINEUP: pos -= 1; break;
        case SB_LINEDOWN: pos += 1; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_TOP: pos = si.nMin; break;
        case SB_BOTTOM: pos = si.nMax; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            // The whole 32-bit position (HIWORD would keep only its low 16 bits).
            pos = ScrollWParamPos(Message.WParam);
            break;
        default: return;
    }
    m_view->ScrollTo(Bar, pos);
}

void TCustomMemo::PaintFrame(TCanvas* Canvas) {
    if (m_borderStyle != bsSingle) return;
    TRect r = GetInsetClientRect();
    Frame3D(Canvas, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(Canvas, r, clWindowFrame, clBtnFace, 1);
}

void TCustomMemo::PaintNativeContent(TCanvas* Canvas) {
    if (!m_view) return;
    TRect r = ViewRect();
    m_view->RenderTo(Canvas, r.Left, r.Top);
}

void TCustomMemo::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_KEYDOWN: {
            TWinControl::Dispatch(Message);
            Word key = static_cast<Word>(Message.WParam);
            TShiftState shift = KeyDataToShiftState(Message.LParam);
            if (key == 0) return;
            bool ctrl = shift.Contains(ssCtrl) && !shift.Contains(ssShift);
            if (ctrl && key == 'C') Perform(WM_COPY, 0, 0);
            else if (ctrl && key == 'X') Perform(WM_CUT, 0, 0);
            else if (ctrl && key == 'V') Perform(WM_PASTE, 0, 0);
            else if (ctrl && key == 'Z') Perform(WM_UNDO, 0, 0);
            else if (ctrl && key == 'A') SelectAll();
            else if (key == VK_DELETE && shift.Contains(ssShift)) Perform(WM_CUT, 0, 0);
            else if (key == VK_INSERT && shift.Contains(ssShift)) Perform(WM_PASTE, 0, 0);
            else if (m_view && key != VK_BACK && key != VK_RETURN && key != VK_TAB) m_view->EditKey(key, shift);
            return;
        }
        case WM_CHAR:
            TWinControl::Dispatch(Message);
            if (Message.WParam == 0 || !m_view) return;
            if (Message.WParam == '\t' && !m_wantTabs) return;
            if (Message.WParam == '\r' && !m_wantReturns) return;
            if (m_maxLength > 0 && static_cast<int>(GetText().size()) >= m_maxLength && Message.WParam != '\b') return;
            m_view->EditChar(static_cast<char>(Message.WParam));
            return;
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (m_wantTabs ? DLGC_WANTTAB : 0);
            return;
        case CM_WANTSPECIALKEY:
            Message.Result = Message.WParam == VK_RETURN && m_wantReturns ? 1 : 0;
            return;
        case WM_CUT: if (m_view && !m_readOnly) m_view->Cut(); return;
        case WM_COPY: if (m_view) m_view->Copy(); return;
        case WM_PASTE: if (m_view && !m_readOnly) m_view->Paste(); return;
        case WM_CLEAR: if (m_view && !m_readOnly) m_view->ClearSelection(); return;
        case WM_UNDO: if (m_view && !m_readOnly) m_view->Undo(); return;
        case WM_SETTEXT:
            if (Message.LParam != 0) {
                m_lines->m_lines = SplitLines(*reinterpret_cast<const String*>(Message.LParam));
                TWinControl::Dispatch(Message);
                m_modified = false;
                if (m_view) {
                    m_pushing = true;
                    m_view->SetText(GetText());
                    m_pushing = false;
                }
            }
            Message.Result = 1;
            return;
        case CM_TEXTCHANGED:
            TWinControl::Dispatch(Message);
            Change();
            return;
        case WM_VSCROLL: DoScroll(SB_VERT, Message); return;
        case WM_HSCROLL: DoScroll(SB_HORZ, Message); return;
        case WM_ERASEBKGND:
            TWinControl::Dispatch(Message);
            if (Message.WParam != 0) PaintFrame(reinterpret_cast<TCanvas*>(Message.WParam));
            return;
        case CM_FONTCHANGED:
        case CM_COLORCHANGED:
            TWinControl::Dispatch(Message);
            if (m_view) m_view->SetLook(*GetFont(), GetColor());
            return;
        case CM_BORDERCHANGED:
            TWinControl::Dispatch(Message);
            if (m_view) m_view->SetBounds(ViewRect());
            return;
        default:
            TWinControl::Dispatch(Message);
            return;
    }
}

// ---- TLabel ---------------------------------------------------------------------------------------

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    ControlStyle() << csOpaque << csReplicatable << csClickEvents << csDoubleClicks << csCaptureMouse;
    SetBounds(GetLeft(), GetTop(), 65, 17);
}

TLabel::~TLabel() = default;

void TLabel::SetAutoSize(bool v) {
    if (v == m_autoSize) return;
    m_autoSize = v;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool v) {
    if (v == m_wordWrap) return;
    m_wordWrap = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool v) {
    if (v == m_transparent) return;
    m_transparent = v;
    if (v) ControlStyle() >> csOpaque; else ControlStyle() << csOpaque;
    Invalidate();
}

void TLabel::SetAlignment(TAlignment v) {
    if (v == m_alignment) return;
    m_alignment = v;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout v) {
    if (v == m_layout) return;
    m_layout = v;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
    if (v == m_showAccelChar) return;
    m_showAccelChar = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* v) {
    m_focusControl = v;
    if (v != nullptr) v->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_focusControl) m_focusControl = nullptr;
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

UINT TLabel::DrawTextFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (m_wordWrap) flags |= DT_WORDBREAK;
    if (m_alignment == taCenter) flags |= DT_CENTER;
    else if (m_alignment == taRightJustify) flags |= DT_RIGHT;
    if (!m_showAccelChar) flags |= DT_NOPREFIX;
    return flags;
}

void TLabel::DoDrawText(TCanvas* ACanvas, TRect& Rect, UINT Flags) {
    String text = GetCaption();
    // An empty caption (or a lone accelerator mark) still measures one line high.
    if ((Flags & DT_CALCRECT) != 0 && (text.empty() || (m_showAccelChar && text == "&"))) text += ' ';
    if (!m_showAccelChar) Flags |= DT_NOPREFIX;
    ACanvas->SetFont(GetFont());
    if (!GetEnabled() && (Flags & DT_CALCRECT) == 0) {
        OffsetRect(Rect, 1, 1);
        ACanvas->GetFont()->SetColor(clBtnHighlight);
        ACanvas->DrawText(text, Rect, Flags);
        OffsetRect(Rect, -1, -1);
        ACanvas->GetFont()->SetColor(clBtnShadow);
        ACanvas->DrawText(text, Rect, Flags);
    } else {
        ACanvas->DrawText(text, Rect, Flags);
    }
}

void TLabel::AdjustBounds() {
    if (!m_autoSize || GetComponentState().Contains(csReading) || GetComponentState().Contains(csLoading)) return;
    TCanvas measure;
    TRect r = GetClientRect();
    UINT flags = DT_EXPANDTABS | DT_CALCRECT | (m_wordWrap ? DT_WORDBREAK : 0);
    DoDrawText(&measure, r, flags);
    // A word-wrapped label keeps its width and grows down.
    int width = m_wordWrap ? GetWidth() : r.Right;
    int x = GetLeft();
    if (m_alignment == taRightJustify) x += GetWidth() - width;
    SetBounds(x, GetTop(), width, r.Bottom);
}

void TLabel::Paint() {
    TCanvas* c = Canvas();
    TRect client = GetClientRect();
    if (!m_transparent) {
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(GetColor());
        c->FillRect(client);
    }
    c->GetBrush()->SetStyle(bsClear);
    TRect r = client;
    UINT flags = DrawTextFlags();
    if (m_layout != tlTop) {
        TRect calc = r;
        DoDrawText(c, calc, flags | DT_CALCRECT);
        int dy = m_layout == tlBottom ? GetHeight() - calc.Bottom : (GetHeight() - calc.Bottom) / 2;
        OffsetRect(r, 0, dy);
    }
    DoDrawText(c, r, flags);
}

void TLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        break;
    case CM_DIALOGCHAR: {
        char key = static_cast<char>(std::toupper(static_cast<unsigned char>(Message.CharCode())));
        if (m_focusControl != nullptr && GetEnabled() && m_showAccelChar && key != 0 &&
            GetHotkey(GetCaption()) == key && m_focusControl->CanFocus()) {
            m_focusControl->SetFocus();
            Message.Result = 1;
            return;
        }
        break;
    }
    default:
        break;
    }
    TGraphicControl::Dispatch(Message);
}
