#include "platform/vcl/StringList.h"

#include <algorithm>
#include <numeric>

#include "platform/vcl/Streams.h"
#include "platform/vcl/SysUtils.h"

namespace {

// Keeps BeginUpdate/EndUpdate paired when an operation raises half-way.
class TUpdateScope {
public:
    explicit TUpdateScope(TStrings* s) : m_s(s) { m_s->BeginUpdate(); }
    ~TUpdateScope() { m_s->EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TStrings* m_s;
};

bool IsBlank(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }

}  // namespace

// ======================================================================== TStrings

void TStrings::Error(int Index) const {
    throw EStringListError("List index out of bounds (" + IntToStr(Index) + ")");
}

int TStrings::Add(const String& S) {
    int i = GetCount();
    Insert(i, S);
    return i;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
    TUpdateScope scope(this);
    int i = Add(S);
    PutObject(i, AObject);
    return i;
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
    TUpdateScope scope(this);
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::Put(int Index, const String& S) {
    TUpdateScope scope(this);
    TObject* obj = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, obj);
}

TObject* TStrings::GetObject(int Index) const {
    if (Index < 0 || Index >= GetCount()) Error(Index);
    return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::Exchange(int Index1, int Index2) {
    TUpdateScope scope(this);
    String s1 = Get(Index1);
    TObject* o1 = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s1);
    PutObject(Index2, o1);
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    if (NewIndex < 0 || NewIndex >= GetCount()) Error(NewIndex);
    TUpdateScope scope(this);
    String s = Get(CurIndex);
    TObject* obj = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, obj);
}

int TStrings::CompareStrings(const String& S1, const String& S2) const { return AnsiCompareText(S1, S2); }

int TStrings::IndexOf(const String& S) const {
    for (int i = 0; i < GetCount(); ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

void TStrings::AddStrings(TStrings* Strings) {
    if (Strings == nullptr) return;
    TUpdateScope scope(this);
    // Counted first, so that adding a list to itself doubles it once.
    const int n = Strings->GetCount();
    for (int i = 0; i < n; ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
}

void TStrings::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TStrings*>(Source);
    if (src == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    if (src == this) return;
    TUpdateScope scope(this);
    Clear();
    m_delimiter = src->m_delimiter;
    m_quoteChar = src->m_quoteChar;
    m_nameValueSeparator = src->m_nameValueSeparator;
    m_strictDelimiter = src->m_strictDelimiter;
    AddStrings(src);
}

bool TStrings::Equals(TStrings* Strings) const {
    if (Strings == nullptr || Strings->GetCount() != GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != Strings->Get(i)) return false;
    return true;
}

// ------------------------------------------------------------------------ names and values

String TStrings::Names(int Index) const {
    String s = Get(Index);
    size_t p = s.find(m_nameValueSeparator);
    return p == String::npos ? String() : s.substr(0, p);
}

int TStrings::IndexOfName(const String& Name) const {
    for (int i = 0; i < GetCount(); ++i) {
        String s = Get(i);
        size_t p = s.find(m_nameValueSeparator);
        if (p != String::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
    }
    return -1;
}

String TStrings::Values(const String& Name) const {
    int i = IndexOfName(Name);
    return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValues(const String& Name, const String& Value) {
    int i = IndexOfName(Name);
    String line = Name + m_nameValueSeparator + Value;
    if (Value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i < 0) {
        Add(line);
    } else {
        ReplaceLine(i, line);
    }
}

String TStrings::ValueFromIndex(int Index) const {
    String s = Get(Index);
    size_t p = s.find(m_nameValueSeparator);
    return p == String::npos ? String() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int Index, const String& Value) {
    if (Value.empty())
        Delete(Index);
    else
        Put(Index, Names(Index) + m_nameValueSeparator + Value);
}

// ------------------------------------------------------------------------ text forms

String TStrings::GetText() const {
    String out;
    for (int i = 0; i < GetCount(); ++i) out += Get(i) + "\n";
    return out;
}

void TStrings::SetText(const String& Text) {
    TUpdateScope scope(this);
    Clear();
    size_t start = 0;
    while (start < Text.size()) {
        size_t end = Text.find_first_of("\r\n", start);
        if (end == String::npos) {
            Add(Text.substr(start));
            break;
        }
        Add(Text.substr(start, end - start));
        start = end + ((Text[end] == '\r' && end + 1 < Text.size() && Text[end + 1] == '\n') ? 2 : 1);
    }
}

String TStrings::Delimited(char delimiter, char quote, bool strict) const {
    if (GetCount() == 1 && Get(0).empty()) return String(2, quote);
    String out;
    for (int i = 0; i < GetCount(); ++i) {
        String s = Get(i);
        bool plain = std::none_of(s.begin(), s.end(), [&](char c) {
            return c == quote || c == delimiter || (!strict && static_cast<unsigned char>(c) <= ' ');
        });
        if (i > 0) out += delimiter;
        out += plain ? s : AnsiQuotedStr(s, quote);
    }
    return out;
}

void TStrings::ParseDelimited(const String& text, char delimiter, char quote, bool strict) {
    TUpdateScope scope(this);
    Clear();
    size_t p = 0;
    const size_t n = text.size();
    auto skipBlanks = [&] {
        while (!strict && p < n && IsBlank(text[p])) ++p;
    };
    skipBlanks();
    while (p < n) {
        String item;
        if (text[p] == quote) {
            // A quoted item: doubled quotes stand for one, the closing quote ends it.
            for (++p; p < n; ++p) {
                if (text[p] != quote) {
                    item += text[p];
                } else if (p + 1 < n && text[p + 1] == quote) {
                    item += quote;
                    ++p;
                } else {
                    ++p;
                    break;
                }
            }
        } else {
            size_t start = p;
            while (p < n && text[p] != delimiter && (strict || !IsBlank(text[p]))) ++p;
            item = text.substr(start, p - start);
        }
        Add(item);
        skipBlanks();
        if (p < n && text[p] == delimiter) {
            ++p;
            if (p == n) Add(String());  // a trailing delimiter ends with an empty item
            skipBlanks();
        }
    }
}

String TStrings::GetCommaText() const { return Delimited(',', '"', false); }
void TStrings::SetCommaText(const String& Text) { ParseDelimited(Text, ',', '"', false); }
String TStrings::GetDelimitedText() const { return Delimited(m_delimiter, m_quoteChar, m_strictDelimiter); }
void TStrings::SetDelimitedText(const String& Text) {
    ParseDelimited(Text, m_delimiter, m_quoteChar, m_strictDelimiter);
}

// ------------------------------------------------------------------------ files and streams

void TStrings::LoadFromFile(const String& FileName) {
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

void TStrings::LoadFromStream(TStream* Stream) {
    if (Stream == nullptr) throw EStreamError("Cannot load strings from a nil stream");
    Int64 left = Stream->GetSize() - Stream->GetPosition();
    String text(static_cast<size_t>(std::max<Int64>(left, 0)), '\0');
    text.resize(static_cast<size_t>(Stream->Read(text.data(), static_cast<Int64>(text.size()))));
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    SetText(text);
}

void TStrings::SaveToFile(const String& FileName) const {
    TFileStream f(FileName, fmCreate);
    SaveToStream(&f);
}

void TStrings::SaveToStream(TStream* Stream) const {
    if (Stream == nullptr) throw EStreamError("Cannot save strings to a nil stream");
    String text = GetText();
    Stream->WriteBuffer(text.data(), static_cast<Int64>(text.size()));
}

// ------------------------------------------------------------------------ updates

void TStrings::BeginUpdate() {
    if (m_updateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (m_updateCount == 0) return;
    if (--m_updateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

// ======================================================================== TStringList

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (m_ownsObjects)
        for (TItem& it : m_items) FreeObject(it.obj);
}

void TStringList::FreeObject(TObject* AObject) {
    if (m_ownsObjects) delete AObject;
}

void TStringList::Check(int Index) const {
    if (Index < 0 || Index >= GetCount()) Error(Index);
}

void TStringList::Changing() {
    if (UpdateCount() > 0) {
        if (m_changingSent) return;
        m_changingSent = true;
    }
    if (OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() > 0) {
        m_changedPending = true;
        return;
    }
    if (OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating) {
        m_changingSent = false;
        m_changedPending = false;
        return;
    }
    bool fire = m_changedPending;
    m_changingSent = false;
    m_changedPending = false;
    if (fire) Changed();
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
    return m_caseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

String TStringList::Get(int Index) const {
    Check(Index);
    return m_items[static_cast<size_t>(Index)].s;
}

TObject* TStringList::GetObject(int Index) const {
    Check(Index);
    return m_items[static_cast<size_t>(Index)].obj;
}

void TStringList::Put(int Index, const String& S) {
    if (m_sorted) throw EStringListError("Operation not allowed on sorted list");
    Check(Index);
    Changing();
    m_items[static_cast<size_t>(Index)].s = S;
    Changed();
}

void TStringList::ReplaceLine(int Index, const String& S) {
    if (!m_sorted) {
        Put(Index, S);
        return;
    }
    TUpdateScope scope(this);
    TObject* obj = GetObject(Index);
    Changing();
    m_items.erase(m_items.begin() + Index);  // not Delete: the object stays with its line
    AddObject(S, obj);
}

void TStringList::PutObject(int Index, TObject* AObject) {
    Check(Index);
    Changing();
    m_items[static_cast<size_t>(Index)].obj = AObject;
    Changed();
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
    Changing();
    m_items.insert(m_items.begin() + Index, TItem{S, AObject});
    Changed();
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, TObject* AObject) {
    int index = GetCount();
    if (m_sorted) {
        if (Find(S, index)) {
            if (m_duplicates == dupIgnore) return index;
            if (m_duplicates == dupError) throw EStringListError("String list does not allow duplicates");
            // Accepted duplicates go after their equals, keeping the order they came in.
            while (index < GetCount() && CompareStrings(m_items[static_cast<size_t>(index)].s, S) == 0) ++index;
        }
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Insert(int Index, const String& S) {
    if (m_sorted) throw EStringListError("Operation not allowed on sorted list");
    if (Index < 0 || Index > GetCount()) Error(Index);
    InsertItem(Index, S, nullptr);
}

void TStringList::Delete(int Index) {
    Check(Index);
    Changing();
    TObject* obj = m_items[static_cast<size_t>(Index)].obj;
    m_items.erase(m_items.begin() + Index);
    FreeObject(obj);
    Changed();
}

void TStringList::Clear() {
    if (m_items.empty()) return;
    Changing();
    std::vector<TItem> old;
    old.swap(m_items);
    for (TItem& it : old) FreeObject(it.obj);
    Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
    Check(Index1);
    Check(Index2);
    Changing();
    std::swap(m_items[static_cast<size_t>(Index1)], m_items[static_cast<size_t>(Index2)]);
    Changed();
}

bool TStringList::Find(const String& S, int& Index) const {
    int lo = 0, hi = GetCount();
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (CompareStrings(m_items[static_cast<size_t>(mid)].s, S) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    Index = lo;
    return lo < GetCount() && CompareStrings(m_items[static_cast<size_t>(lo)].s, S) == 0;
}

int TStringList::IndexOf(const String& S) const {
    if (!m_sorted) return TStrings::IndexOf(S);
    int i;
    return Find(S, i) ? i : -1;
}

void TStringList::SortBy(const std::function<int(int, int)>& Compare) {
    if (GetCount() < 2) return;
    // Sort a permutation, so that Compare always sees the list as it was.
    std::vector<int> order(m_items.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(a, b) < 0; });
    std::vector<TItem> sorted;
    sorted.reserve(m_items.size());
    for (int i : order) sorted.push_back(m_items[static_cast<size_t>(i)]);
    Changing();
    m_items.swap(sorted);
    Changed();
}

void TStringList::Sort() {
    if (m_sorted) return;
    SortBy([this](int a, int b) {
        return CompareStrings(m_items[static_cast<size_t>(a)].s, m_items[static_cast<size_t>(b)].s);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
    if (m_sorted || !Compare) return;
    SortBy([&](int a, int b) { return Compare(this, a, b); });
}

void TStringList::SetSorted(bool Value) {
    if (Value == m_sorted) return;
    if (Value) Sort();
    m_sorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (Value == m_caseSensitive) return;
    m_caseSensitive = Value;
    if (m_sorted) {
        m_sorted = false;
        Sort();
        m_sorted = true;
    }
}
