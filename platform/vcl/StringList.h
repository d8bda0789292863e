// TStrings, the abstract list of strings with attached objects, and TStringList, its
// in-memory form with sorting, duplicates policy and change events.
//
// Indexed properties read as P(i) and write as SetP(i, v) (Strings, Objects, Values,
// ValueFromIndex); plain ones as GetP() / SetP(v) (Text, CommaText, Sorted, ...).
#pragma once

#include <functional>
#include <vector>

#include "platform/vcl/Component.h"

class TStream;

class TStrings : public TPersistent {
    VCL_CLASS(TStrings)
    ~TStrings() override = default;

    int Count() const { return GetCount(); }
    // Index errors raise EStringListError "List index out of bounds (5)".
    String Strings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const String& S) { Put(Index, S); }
    String operator[](int Index) const { return Get(Index); }
    TObject* Objects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

    virtual int Add(const String& S);
    virtual int AddObject(const String& S, TObject* AObject);
    virtual void Insert(int Index, const String& S) = 0;
    void InsertObject(int Index, const String& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);
    // Index of the first string equal to S (without case unless the list says otherwise), or -1.
    virtual int IndexOf(const String& S) const;
    int IndexOfObject(TObject* AObject) const;
    void AddStrings(TStrings* Strings);
    // Copies strings, objects and the delimiter settings of another TStrings.
    void Assign(TPersistent* Source) override;
    bool Equals(TStrings* Strings) const;

    // Name=Value lines: the name is the text before the first separator.
    String Names(int Index) const;
    int IndexOfName(const String& Name) const;
    String Values(const String& Name) const;
    // Replaces or appends the line; an empty Value deletes it.
    void SetValues(const String& Name, const String& Value);
    String ValueFromIndex(int Index) const;
    void SetValueFromIndex(int Index, const String& Value);
    char GetNameValueSeparator() const { return m_nameValueSeparator; }
    void SetNameValueSeparator(char c) { m_nameValueSeparator = c; }

    // Each line followed by "\n"; setting splits at LF, CRLF or CR.
    String GetText() const;
    virtual void SetText(const String& Text);
    // Comma-separated, quoting with '"' the items that hold blanks, commas or quotes.
    String GetCommaText() const;
    void SetCommaText(const String& Text);
    // As CommaText with this list's Delimiter and QuoteChar; without StrictDelimiter, blanks
    // separate items too.
    String GetDelimitedText() const;
    void SetDelimitedText(const String& Text);
    char GetDelimiter() const { return m_delimiter; }
    void SetDelimiter(char c) { m_delimiter = c; }
    char GetQuoteChar() const { return m_quoteChar; }
    void SetQuoteChar(char c) { m_quoteChar = c; }
    bool GetStrictDelimiter() const { return m_strictDelimiter; }
    void SetStrictDelimiter(bool v) { m_strictDelimiter = v; }

    // Reading accepts LF, CRLF and CR and drops a UTF-8 byte order mark; writing uses "\n".
    // A missing file raises EFOpenError.
    virtual void LoadFromFile(const String& FileName);
    virtual void LoadFromStream(TStream* Stream);
    virtual void SaveToFile(const String& FileName) const;
    virtual void SaveToStream(TStream* Stream) const;

    // Updates nest; change events wait for the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }

protected:
    virtual int GetCount() const = 0;
    virtual String Get(int Index) const = 0;
    virtual void Put(int Index, const String& S);
    virtual TObject* GetObject(int Index) const;
    virtual void PutObject(int Index, TObject* AObject);
    // Called with true at the outermost BeginUpdate and false at the matching EndUpdate.
    virtual void SetUpdateState(bool Updating);
    virtual int CompareStrings(const String& S1, const String& S2) const;
    // Replaces line Index for SetValues; a sorted list moves the line to its new place.
    virtual void ReplaceLine(int Index, const String& S) { Put(Index, S); }
    [[noreturn]] void Error(int Index) const;

private:
    String Delimited(char delimiter, char quote, bool strict) const;
    void ParseDelimited(const String& text, char delimiter, char quote, bool strict);

    int m_updateCount = 0;
    char m_delimiter = ',';
    char m_quoteChar = '"';
    char m_nameValueSeparator = '=';
    bool m_strictDelimiter = false;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
    VCL_CLASS(TStringList)
    TStringList() = default;
    // With OwnsObjects, the list frees the objects of lines it deletes and at its end.
    explicit TStringList(bool OwnsObjects) : m_ownsObjects(OwnsObjects) {}
    ~TStringList() override;

    int Add(const String& S) override;
    // On a sorted list: inserts in order; dupIgnore answers the existing index, dupError raises.
    int AddObject(const String& S, TObject* AObject) override;
    // Raises EStringListError on a sorted list.
    void Insert(int Index, const String& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    int IndexOf(const String& S) const override;
    // Binary search of a sorted list: true when found, Index the first match or the insertion point.
    bool Find(const String& S, int& Index) const;
    // Stable; a sorted list is sorted already and is left alone.
    virtual void Sort();
    void CustomSort(const TStringListSortCompare& Compare);

    bool GetSorted() const { return m_sorted; }
    void SetSorted(bool Value);
    TDuplicates GetDuplicates() const { return m_duplicates; }
    void SetDuplicates(TDuplicates Value) { m_duplicates = Value; }
    bool GetCaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool Value);
    bool GetOwnsObjects() const { return m_ownsObjects; }
    void SetOwnsObjects(bool Value) { m_ownsObjects = Value; }

    // Fired before and after each change; within BeginUpdate/EndUpdate, OnChanging fires at the
    // first change and OnChange once at the outermost EndUpdate, and only if something changed.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    int GetCount() const override { return static_cast<int>(m_items.size()); }
    String Get(int Index) const override;
    void Put(int Index, const String& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const String& S1, const String& S2) const override;
    void ReplaceLine(int Index, const String& S) override;
    virtual void Changing();
    virtual void Changed();

private:
    struct TItem {
        String s;
        TObject* obj = nullptr;
    };
    void Check(int Index) const;
    void InsertItem(int Index, const String& S, TObject* AObject);
    void SortBy(const std::function<int(int, int)>& Compare);
    void FreeObject(TObject* AObject);

    std::vector<TItem> m_items;
    bool m_sorted = false;
    TDuplicates m_duplicates = dupIgnore;
    bool m_caseSensitive = false;
    bool m_ownsObjects = false;
    bool m_changingSent = false;  // within an update
    bool m_changedPending = false;
};
