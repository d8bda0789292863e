#include "platform/vcl/StringList.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "platform/vcl/Classes.h"
#include "platform/vcl/SysUtils.h"

namespace {

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/stringlist_test_XXXXXX";
        m_path = mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    String operator/(const String& name) const { return m_path + "/" + name; }

private:
    String m_path;
};

std::vector<String> Items(const TStrings& s) {
    std::vector<String> v;
    for (int i = 0; i < s.Count(); ++i) v.push_back(s[i]);
    return v;
}

using V = std::vector<String>;

// Counts the change events a list fires.
struct EventCounter {
    int changing = 0;
    int changed = 0;
    std::vector<int> countsSeenByChange;
    void Attach(TStringList& l) {
        l.OnChanging = [this](TObject*) { ++changing; };
        l.OnChange = [this, &l](TObject* sender) {
            EXPECT_EQ(sender, &l);
            ++changed;
            countsSeenByChange.push_back(l.Count());
        };
    }
};

class Tagged : public TObject {
public:
    explicit Tagged(int* alive) : m_alive(alive) { ++*m_alive; }
    ~Tagged() override { --*m_alive; }

private:
    int* m_alive;
};

// ------------------------------------------------------------------------ basic list

TEST(StringList, AddInsertDeleteAndIndexErrors) {
    TStringList l;
    EXPECT_EQ(l.Add("b"), 0);
    EXPECT_EQ(l.Add("d"), 1);
    l.Insert(0, "a");
    l.Insert(2, "c");
    l.Insert(4, "e");
    EXPECT_EQ(Items(l), (V{"a", "b", "c", "d", "e"}));
    l.Delete(1);
    EXPECT_EQ(Items(l), (V{"a", "c", "d", "e"}));
    l.SetStrings(0, "A");
    EXPECT_EQ(l.Strings(0), "A");
    EXPECT_EQ(l.IndexOf("C"), 1) << "without case by default";
    EXPECT_EQ(l.IndexOf("x"), -1);

    try {
        l.Strings(5);
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
    EXPECT_THROW(l.Delete(-1), EStringListError);
    EXPECT_THROW(l.Insert(6, "x"), EStringListError);
    EXPECT_THROW(l.Objects(4), EStringListError);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
}

TEST(StringList, ObjectsTravelWithTheirStrings) {
    TStringList l;
    TObject a, b;
    l.AddObject("a", &a);
    l.Add("x");
    l.InsertObject(1, "b", &b);
    EXPECT_EQ(l.Objects(0), &a);
    EXPECT_EQ(l.Objects(1), &b);
    EXPECT_EQ(l.Objects(2), nullptr);
    l.Exchange(0, 2);
    EXPECT_EQ(Items(l), (V{"x", "b", "a"}));
    EXPECT_EQ(l.Objects(2), &a);
    l.Move(2, 0);
    EXPECT_EQ(Items(l), (V{"a", "x", "b"}));
    EXPECT_EQ(l.Objects(0), &a);
    EXPECT_EQ(l.IndexOfObject(&b), 2);
    l.SetObjects(1, &b);
    EXPECT_EQ(l.Objects(1), &b);
}

TEST(StringList, OwnsObjectsFreesThem) {
    int alive = 0;
    {
        TStringList l(true);
        l.AddObject("a", new Tagged(&alive));
        l.AddObject("b", new Tagged(&alive));
        l.AddObject("c", new Tagged(&alive));
        EXPECT_EQ(alive, 3);
        l.Delete(0);
        EXPECT_EQ(alive, 2);
    }
    EXPECT_EQ(alive, 0);
}

// ------------------------------------------------------------------------ sorting

TEST(StringList, SortedInsertsInOrderAndFinds) {
    TStringList l;
    l.SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig", "banana"}) l.Add(s);
    EXPECT_EQ(Items(l), (V{"Apple", "banana", "fig", "pear"}));
    int i = -1;
    EXPECT_TRUE(l.Find("FIG", i));
    EXPECT_EQ(i, 2);
    EXPECT_FALSE(l.Find("cherry", i));
    EXPECT_EQ(i, 2) << "the insertion point";
    EXPECT_EQ(l.IndexOf("PEAR"), 3);
    EXPECT_THROW(l.Insert(0, "x"), EStringListError);
    EXPECT_THROW(l.SetStrings(0, "x"), EStringListError);
}

TEST(StringList, DuplicatesPolicy) {
    struct Case {
        TDuplicates dup;
        V want;
        bool raises;
    } cases[] = {
        {dupIgnore, {"a", "b"}, false},
        {dupAccept, {"a", "B", "b"}, false},
        {dupError, {"a", "b"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.dup));
        TStringList l;
        l.SetSorted(true);
        l.SetDuplicates(c.dup);
        l.Add("B");
        l.Add("a");
        if (c.raises) {
            EXPECT_THROW(l.Add("b"), EStringListError);
        } else {
            int at = l.Add("b");
            EXPECT_EQ(l[at], c.dup == dupIgnore ? "B" : "b");
        }
        EXPECT_EQ(Items(l).size(), c.want.size());
        if (c.dup == dupAccept) {
            EXPECT_EQ(Items(l), c.want) << "accepted duplicates keep arrival order";
        }
    }
}

TEST(StringList, DuplicatesAreIgnoredOnlyInSortedLists) {
    TStringList l;
    l.SetDuplicates(dupError);
    l.Add("a");
    EXPECT_NO_THROW(l.Add("a"));
    EXPECT_EQ(l.Count(), 2);
}

TEST(StringList, CaseSensitivityAffectsLookupAndOrder) {
    TStringList l;
    l.SetSorted(true);
    l.SetDuplicates(dupAccept);
    for (const char* s : {"b", "A", "a", "B"}) l.Add(s);
    EXPECT_EQ(l.IndexOf("a"), 0);
    l.SetCaseSensitive(true);
    EXPECT_EQ(Items(l), (V{"a", "A", "b", "B"})) << "re-sorted, lower case first";
    EXPECT_EQ(l.IndexOf("A"), 1);
    EXPECT_EQ(l.IndexOf("a"), 0);

    TStringList u;
    u.SetCaseSensitive(true);
    u.Add("Key");
    EXPECT_EQ(u.IndexOf("key"), -1);
    EXPECT_EQ(u.IndexOf("Key"), 0);
}

TEST(StringList, SortAndCustomSortAreStable) {
    TStringList l;
    TObject o1, o2;
    l.AddObject("b", &o1);
    l.Add("C");
    l.Add("a");
    l.AddObject("B", &o2);
    l.Sort();
    EXPECT_EQ(Items(l), (V{"a", "b", "B", "C"}));
    EXPECT_EQ(l.Objects(1), &o1);
    EXPECT_EQ(l.Objects(2), &o2);

    l.CustomSort([](TStringList* list, int i1, int i2) {
        return CompareStr(list->Strings(i2), list->Strings(i1));  // descending by bytes
    });
    EXPECT_EQ(Items(l), (V{"b", "a", "C", "B"}));
}

// ------------------------------------------------------------------------ names and values

TEST(StringList, NamesAndValues) {
    TStringList l;
    l.SetText("Width=640\nheight=480\nplain\nempty=\nx=a=b\n");
    EXPECT_EQ(l.Names(0), "Width");
    EXPECT_EQ(l.Names(2), "");
    EXPECT_EQ(l.Values("WIDTH"), "640");
    EXPECT_EQ(l.Values("x"), "a=b");
    EXPECT_EQ(l.Values("plain"), "") << "a line without '=' has no name";
    EXPECT_EQ(l.Values("missing"), "");
    EXPECT_EQ(l.IndexOfName("Height"), 1);
    EXPECT_EQ(l.IndexOfName("empty"), 3);
    EXPECT_EQ(l.ValueFromIndex(4), "a=b");
    EXPECT_EQ(l.ValueFromIndex(2), "");

    l.SetValues("height", "600");
    EXPECT_EQ(l[1], "height=600");
    l.SetValues("depth", "32");
    EXPECT_EQ(l[5], "depth=32");
    l.SetValues("Width", "");
    EXPECT_EQ(l.IndexOfName("Width"), -1) << "an empty value deletes the line";
    EXPECT_EQ(l.Count(), 5);
    l.SetValues("nothing", "");
    EXPECT_EQ(l.Count(), 5);
    l.SetValueFromIndex(0, "768");
    EXPECT_EQ(l[0], "height=768");
}

TEST(StringList, ValuesOnASortedList) {
    TStringList l;
    l.SetSorted(true);
    l.SetValues("b", "2");
    l.SetValues("a", "1");
    l.SetValues("b", "3");
    EXPECT_EQ(Items(l), (V{"a=1", "b=3"}));
}

// ------------------------------------------------------------------------ text forms

TEST(StringList, TextSplitsEveryLineBreakStyle) {
    struct Case {
        const char* text;
        V lines;
    } cases[] = {
        {"a\nb\n", {"a", "b"}},      {"a\r\nb\r\n", {"a", "b"}}, {"a\rb", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},  {"a\r\n\r\nb", {"a", "", "b"}}, {"", {}},
        {"\n", {""}},               {"a", {"a"}},                {"a\n\r\nb\r", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        TStringList l;
        l.SetText(c.text);
        EXPECT_EQ(Items(l), c.lines) << c.text;
    }
    TStringList l;
    l.SetText("x\r\ny");
    EXPECT_EQ(l.GetText(), "x\ny\n");
}

TEST(StringList, CommaText) {
    struct Case {
        V items;
        const char* text;
    } cases[] = {
        {{"a", "b", "c"}, "a,b,c"},
        {{"a b", "c"}, "\"a b\",c"},
        {{"say \"hi\"", "x,y"}, "\"say \"\"hi\"\"\",\"x,y\""},
        {{"a", "", "b"}, "a,,b"},
        {{""}, "\"\""},
        {{}, ""},
    };
    for (const Case& c : cases) {
        TStringList l;
        for (const String& s : c.items) l.Add(s);
        EXPECT_EQ(l.GetCommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Items(back), c.items.empty() ? V{} : c.items) << c.text;
    }
    TStringList l;
    l.SetCommaText(" a b , c,");
    EXPECT_EQ(Items(l), (V{"a", "b", "c", ""})) << "blanks separate, a trailing comma adds an empty item";
}

TEST(StringList, DelimitedTextWithOwnDelimiter) {
    TStringList l;
    l.SetDelimiter(';');
    l.SetQuoteChar('\'');
    l.SetDelimitedText("a;'b;c';d e");
    EXPECT_EQ(Items(l), (V{"a", "b;c", "d", "e"}));
    l.SetStrictDelimiter(true);
    l.SetDelimitedText("a; b c ;d");
    EXPECT_EQ(Items(l), (V{"a", " b c ", "d"}));
    EXPECT_EQ(l.GetDelimitedText(), "a; b c ;d");
}

// ------------------------------------------------------------------------ files and streams

TEST(StringList, LoadsAnyLineBreaksAndDropsTheBom) {
    TempDir d;
    std::ofstream(d / "in.txt", std::ios::binary) << "\xEF\xBB\xBFone\r\ntwo\rthree\nfour";
    TStringList l;
    l.LoadFromFile(d / "in.txt");
    EXPECT_EQ(Items(l), (V{"one", "two", "three", "four"}));
    l.SaveToFile(d / "out.txt");
    std::ifstream f(d / "out.txt", std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    EXPECT_EQ(ss.str(), "one\ntwo\nthree\nfour\n");
    EXPECT_THROW(l.LoadFromFile(d / "missing.txt"), EFOpenError);
    EXPECT_EQ(l.Count(), 4) << "a failed load changes nothing";
}

TEST(StringList, StreamsFromTheCurrentPosition) {
    TMemoryStream m;
    m.WriteBuffer("skip\nkeep\n", 10);
    m.SetPosition(5);
    TStringList l;
    l.LoadFromStream(&m);
    EXPECT_EQ(Items(l), (V{"keep"}));
    TMemoryStream out;
    l.SaveToStream(&out);
    EXPECT_EQ(String(out.Data().begin(), out.Data().end()), "keep\n");
}

// ------------------------------------------------------------------------ change events

TEST(StringList, EachChangeFiresOnce) {
    TStringList l;
    EventCounter ev;
    ev.Attach(l);
    l.Add("a");
    l.AddObject("b", nullptr);
    l.Insert(0, "c");
    l.SetStrings(0, "d");
    l.SetObjects(0, nullptr);
    l.Exchange(0, 1);
    l.Delete(0);
    l.Sort();
    EXPECT_EQ(ev.changing, 8);
    EXPECT_EQ(ev.changed, 8);
    EXPECT_EQ(ev.countsSeenByChange.front(), 1) << "OnChange comes after the change";
    l.Clear();
    EXPECT_EQ(ev.changed, 9);
    l.Clear();
    EXPECT_EQ(ev.changed, 9) << "clearing an empty list changes nothing";
}

TEST(StringList, UpdatesCollectChanges) {
    TStringList l;
    EventCounter ev;
    ev.Attach(l);
    l.BeginUpdate();
    l.Add("a");
    l.BeginUpdate();
    l.Add("b");
    l.EndUpdate();
    EXPECT_EQ(ev.changed, 0) << "still inside the outer update";
    l.Add("c");
    l.EndUpdate();
    EXPECT_EQ(ev.changing, 1);
    EXPECT_EQ(ev.changed, 1);
    EXPECT_EQ(ev.countsSeenByChange, (std::vector<int>{3}));

    l.BeginUpdate();
    l.EndUpdate();
    EXPECT_EQ(ev.changed, 1) << "nothing changed, nothing fired";
    l.EndUpdate();  // unbalanced: ignored
    EXPECT_EQ(l.UpdateCount(), 0);

    l.SetText("x\ny\nz");
    l.SetCommaText("1,2");
    EXPECT_EQ(ev.changed, 3) << "whole-list setters fire once";
}

TEST(StringList, AssignCopiesStringsAndObjects) {
    TStringList src, dst;
    TObject o;
    src.AddObject("one", &o);
    src.Add("two");
    src.SetDelimiter(';');
    dst.Add("old");
    EventCounter ev;
    ev.Attach(dst);
    dst.Assign(&src);
    EXPECT_EQ(Items(dst), (V{"one", "two"}));
    EXPECT_EQ(dst.Objects(0), &o);
    EXPECT_EQ(dst.GetDelimiter(), ';');
    EXPECT_EQ(ev.changed, 1);
    EXPECT_TRUE(dst.Equals(&src));

    dst.AddStrings(&dst);
    EXPECT_EQ(Items(dst), (V{"one", "two", "one", "two"}));

    TPersistent other;
    EXPECT_THROW(dst.Assign(&other), EConvertError);
}

}  // namespace

// ------------------------------------------------------------------------ TList (the pointer list beside it)


namespace {

TEST(PointerList, KeepsOrderAndChecksIndexes) {
    int a = 1, b = 2, c = 3;
    TList l;
    EXPECT_EQ(l.Add(&a), 0);
    EXPECT_EQ(l.Add(&c), 1);
    l.Insert(1, &b);
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.First(), &a);
    EXPECT_EQ(l.Last(), &c);
    EXPECT_EQ(l.IndexOf(&b), 1);
    l.Exchange(0, 2);
    EXPECT_EQ(l[0], &c);
    l.Move(0, 2);
    EXPECT_EQ(l.List(), (std::vector<void*>{&b, &a, &c}));
    l[1] = nullptr;
    l.Pack();
    EXPECT_EQ(l.List(), (std::vector<void*>{&b, &c}));
    EXPECT_EQ(l.Remove(&b), 0);
    EXPECT_EQ(l.Remove(&b), -1);
    EXPECT_EQ(l.Extract(&c), &c);
    EXPECT_EQ(l.Count(), 0);
    try {
        l.Items(5);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
    EXPECT_THROW(l.First(), EListError);
    EXPECT_THROW(l.Insert(1, &a), EListError);
    EXPECT_THROW(l.Delete(0), EListError);
    l.SetCount(2);
    EXPECT_EQ(l[1], nullptr);
}

TEST(PointerList, SortsStablyWithACompareFunction) {
    struct Item {
        int key;
        char tag;
    } items[] = {{2, 'a'}, {1, 'b'}, {2, 'c'}, {0, 'd'}};
    TTypedList<Item> l;
    for (Item& it : items) l.Add(&it);
    l.Sort([](Item* x, Item* y) { return x->key - y->key; });
    String order;
    for (int i = 0; i < l.Count(); ++i) order += l[i]->tag;
    EXPECT_EQ(order, "dbac");
    l.Untyped().Sort(nullptr);  // no compare function: left alone
    EXPECT_EQ(l.First()->tag, 'd');
}

}  // namespace
