#include "platform/vcl/SysUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

namespace {

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/sysutils_test_XXXXXX";
        m_path = mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    const String& Path() const { return m_path; }
    String operator/(const String& name) const { return m_path + "/" + name; }

private:
    String m_path;
};

void Touch(const String& path, const String& content = "x") { std::ofstream(path) << content; }

// ------------------------------------------------------------------------ file names

struct PathCase {
    const char* path;
    const char* name;
    const char* filePath;
    const char* dir;
    const char* ext;
    const char* drive;
};

TEST(SysUtilsFileNames, SplitsPathsWithEitherDelimiter) {
    const PathCase cases[] = {
        {"/a/b/c.txt", "c.txt", "/a/b/", "/a/b", ".txt", ""},
        {"a/b.c/d", "d", "a/b.c/", "a/b.c", "", ""},
        {"a\\b.txt", "b.txt", "a\\", "a", ".txt", ""},
        {"C:\\Program Files\\x.ini", "x.ini", "C:\\Program Files\\", "C:\\Program Files", ".ini", "C:"},
        {"C:\\x.ini", "x.ini", "C:\\", "C:\\", ".ini", "C:"},
        {"C:x.ini", "x.ini", "C:", "C:", ".ini", "C:"},
        {"/x.vob", "x.vob", "/", "/", ".vob", ""},
        {"file", "file", "", "", "", ""},
        {"dir/", "", "dir/", "dir", "", ""},
        {"a/.hidden", ".hidden", "a/", "a", ".hidden", ""},
        {"a/b.tar.gz", "b.tar.gz", "a/", "a", ".gz", ""},
        {"\\\\server\\share\\f.txt", "f.txt", "\\\\server\\share\\", "\\\\server\\share", ".txt",
         "\\\\server\\share"},
        {"", "", "", "", "", ""},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractFileName(c.path), c.name);
        EXPECT_EQ(ExtractFilePath(c.path), c.filePath);
        EXPECT_EQ(ExtractFileDir(c.path), c.dir);
        EXPECT_EQ(ExtractFileExt(c.path), c.ext);
        EXPECT_EQ(ExtractFileDrive(c.path), c.drive);
    }
}

TEST(SysUtilsFileNames, ChangesExtensionsAndDelimiters) {
    EXPECT_EQ(ChangeFileExt("a/b.txt", ".ini"), "a/b.ini");
    EXPECT_EQ(ChangeFileExt("a/b", ".ini"), "a/b.ini");
    EXPECT_EQ(ChangeFileExt("a.d/b", ".ini"), "a.d/b.ini");
    EXPECT_EQ(ChangeFileExt("a/b.txt", ""), "a/b");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp"), "/tmp/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp/"), "/tmp/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/tmp/"), "/tmp");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/tmp"), "/tmp");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("a\\"), "a");
    EXPECT_EQ(PathDelim, '/');
    EXPECT_EQ(LastDelimiter("/\\", "a/b\\c"), 4);
    EXPECT_EQ(LastDelimiter(".", "abc"), 0);
    EXPECT_EQ(ExpandFileName("/a/b/../c/./d.txt"), "/a/c/d.txt");
}

// ------------------------------------------------------------------------ files and folders

TEST(SysUtilsFiles, CreatesRenamesAndDeletes) {
    TempDir t;
    EXPECT_TRUE(DirectoryExists(t.Path()));
    EXPECT_FALSE(FileExists(t.Path())) << "a folder is no file";
    EXPECT_FALSE(FileExists(t / "none"));

    EXPECT_TRUE(CreateDir(t / "one"));
    EXPECT_FALSE(CreateDir(t / "one")) << "exists already";
    EXPECT_FALSE(CreateDir(t / "x/y")) << "parent missing";
    EXPECT_TRUE(ForceDirectories(t / "x/y/z/"));
    EXPECT_TRUE(DirectoryExists(t / "x/y/z"));
    EXPECT_TRUE(ForceDirectories(t / "x/y/z")) << "already there is fine";

    Touch(t / "a.txt", "hello");
    EXPECT_TRUE(FileExists(t / "a.txt"));
    EXPECT_EQ(FileSizeOf(t / "a.txt"), 5);
    EXPECT_TRUE(RenameFile(t / "a.txt", t / "b.txt"));
    EXPECT_FALSE(FileExists(t / "a.txt"));
    Touch(t / "c.txt");
    EXPECT_FALSE(RenameFile(t / "b.txt", t / "c.txt")) << "never replaces an existing file";
    EXPECT_TRUE(FileExists(t / "b.txt"));

    EXPECT_FALSE(DeleteFile(t / "one")) << "DeleteFile leaves folders alone";
    EXPECT_TRUE(DeleteFile(t / "b.txt"));
    EXPECT_FALSE(DeleteFile(t / "b.txt"));
    EXPECT_FALSE(RemoveDir(t / "x")) << "not empty";
    EXPECT_TRUE(RemoveDir(t / "one"));
    EXPECT_FALSE(DirectoryExists(t / "one"));
}

TEST(SysUtilsFiles, CurrentDirFollowsSetCurrentDir) {
    TempDir t;
    String before = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(t.Path()));
    EXPECT_EQ(GetCurrentDir(), std::filesystem::canonical(t.Path()).string());
    Touch("rel.txt");
    EXPECT_TRUE(FileExists(t / "rel.txt"));
    EXPECT_FALSE(SetCurrentDir(t / "missing"));
    ASSERT_TRUE(SetCurrentDir(before));
}

std::vector<String> FindAll(const String& pattern, int attr) {
    std::vector<String> names;
    TSearchRec sr;
    if (FindFirst(pattern, attr, sr) == 0) {
        do names.push_back(sr.Name);
        while (FindNext(sr) == 0);
        FindClose(sr);
    }
    return names;
}

TEST(SysUtilsFindFirst, MatchesPatternsWithoutCase) {
    TempDir t;
    for (const char* n : {"VTS_01_1.VOB", "vts_01_2.vob", "VIDEO_TS.IFO", "readme", "b.Vob.bak", ".hidden.vob"})
        Touch(t / n);
    CreateDir(t / "sub.vob");

    using V = std::vector<String>;
    EXPECT_EQ(FindAll(t / "*.vob", faAnyFile & ~faDirectory & ~faHidden), (V{"VTS_01_1.VOB", "vts_01_2.vob"}));
    EXPECT_EQ(FindAll(t / "*.*", 0), (V{"b.Vob.bak", "readme", "VIDEO_TS.IFO", "VTS_01_1.VOB", "vts_01_2.vob"}))
        << "*.* matches names without a dot too; no folders or hidden files unless asked";
    EXPECT_EQ(FindAll(t / "vts_??_1.*", 0), (V{"VTS_01_1.VOB"}));
    EXPECT_EQ(FindAll(t / "readme.*", 0), (V{"readme"})) << "name.* matches the bare name";
    EXPECT_EQ(FindAll(t / "*.vob", faDirectory), (V{"sub.vob", "VTS_01_1.VOB", "vts_01_2.vob"}));
    EXPECT_EQ(FindAll(t / "*.vob", faHidden), (V{".hidden.vob", "VTS_01_1.VOB", "vts_01_2.vob"}));
    EXPECT_TRUE(FindAll(t / "*.mpg", faAnyFile).empty());
    EXPECT_TRUE(FindAll(t / "missing/*.*", faAnyFile).empty());

    V all = FindAll(t / "*", faAnyFile);
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[0], ".") << "folders requested: the dot entries come first, as on Windows";
    EXPECT_EQ(all[1], "..");
}

TEST(SysUtilsFindFirst, ReportsSizeAttributesAndTime) {
    TempDir t;
    Touch(t / "data.bin", "12345678");
    Touch(t / "ro.txt");
    chmod((t / "ro.txt").c_str(), 0444);
    CreateDir(t / "folder");

    TSearchRec sr;
    ASSERT_EQ(FindFirst(t / "data.bin", faAnyFile, sr), 0);
    EXPECT_EQ(sr.Name, "data.bin");
    EXPECT_EQ(sr.Size, 8);
    EXPECT_EQ(sr.Attr & faDirectory, 0);
    EXPECT_GT(sr.Time, 0);
    EXPECT_LT(std::fabs(sr.TimeStamp - Now()), 1.0) << "made just now";
    EXPECT_NE(FindNext(sr), 0);
    FindClose(sr);

    ASSERT_EQ(FindFirst(t / "ro.txt", faAnyFile, sr), 0);
    EXPECT_NE(sr.Attr & faReadOnly, 0);
    FindClose(sr);

    ASSERT_EQ(FindFirst(t / "folder", faDirectory, sr), 0);
    EXPECT_NE(sr.Attr & faDirectory, 0);
    FindClose(sr);
    EXPECT_NE(FindFirst(t / "folder", 0, sr), 0) << "folders only when faDirectory is asked for";
}

TEST(SysUtilsFindFirst, MaskRules) {
    struct Case {
        const char* name;
        const char* mask;
        bool match;
    } cases[] = {
        {"abc", "*.*", true},   {"a.b", "*.*", true},      {"ABC.TXT", "*.txt", true},
        {"abc.txt", "a?c.*", true}, {"abc", "a?c.*", true}, {"abcd", "a?c", false},
        {"x.txt.bak", "*.txt", false}, {"ab", "a*b*", true}, {"aXbYc", "a*b*c", true},
        {"aXbY", "a*b*c", false}, {"", "*", true},           {"a", "", false},
    };
    for (const Case& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " ~ " << c.mask;
}

// ------------------------------------------------------------------------ numbers

TEST(SysUtilsNumbers, IntegerText) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(Int64{-9223372036854775807} - 1), "-9223372036854775808");
    EXPECT_EQ(IntToStr(4294967295u), "4294967295");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x1234, 2), "1234");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64{-1}, 2), "FFFFFFFFFFFFFFFF");
}

TEST(SysUtilsNumbers, StrToIntAcceptsDelphiSyntax) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"0", true, 0},       {"123", true, 123},   {"-17", true, -17},       {"+5", true, 5},
        {"  42", true, 42},   {"$1F", true, 31},    {"0x1F", true, 31},       {"0X1f", true, 31},
        {"-$10", true, -16},  {"$FFFFFFFF", true, -1}, {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1}, {"2147483648", false, 0}, {"42 ", false, 0},
        {"", false, 0},       {"abc", false, 0},    {"12abc", false, 0},      {"1.5", false, 0},
        {"-", false, 0},      {"$", false, 0},      {"0x", false, 0},         {"--1", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int v = 99;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok);
        if (c.ok) {
            EXPECT_EQ(v, c.value);
            EXPECT_EQ(StrToInt(c.text), c.value);
        }
        EXPECT_EQ(StrToIntDef(c.text, -99), c.ok ? c.value : -99);
    }
    EXPECT_EQ(StrToInt64("9223372036854775807"), 9223372036854775807);
    EXPECT_EQ(StrToInt64Def("9223372036854775808", 7), 7);
}

TEST(SysUtilsNumbers, StrToIntRaisesWithTheText) {
    try {
        StrToInt("x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
    }
    EXPECT_THROW(StrToFloat("1,5"), EConvertError);
}

TEST(SysUtilsNumbers, FloatsReadAndWriteWithAPoint) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"1.5", true, 1.5}, {" -2.25 ", true, -2.25}, {"1e3", true, 1000}, {"+.5", true, 0.5},
        {"3", true, 3},     {"1,5", false, 0},        {"inf", false, 0},   {"nan", false, 0},
        {"", false, 0},     {"1.5x", false, 0},       {"+", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double v = 0;
        EXPECT_EQ(TryStrToFloat(c.text, v), c.ok);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value);
        }
        EXPECT_DOUBLE_EQ(StrToFloatDef(c.text, -1), c.ok ? c.value : -1);
    }
    struct Out {
        double v;
        const char* text;
    } outs[] = {
        {0, "0"}, {-0.0, "0"}, {1.5, "1.5"}, {-0.25, "-0.25"}, {0.1, "0.1"}, {100, "100"}, {1e20, "1E20"},
        {1e-10, "1E-10"}, {123456789012345.0, "123456789012345"}, {1.0 / 3, "0.333333333333333"},
    };
    for (const Out& o : outs) EXPECT_EQ(FloatToStr(o.v), o.text) << o.v;
}

TEST(SysUtilsNumbers, FormatFloatPictures) {
    struct Case {
        const char* fmt;
        double v;
        const char* text;
    } cases[] = {
        {"0.00", 3.14159, "3.14"},   {"0.00", 2.5, "2.50"},      {"0.00", 1.005, "1.01"},
        {"0", 0.5, "1"},             {"0", 2.5, "3"},            {"0", -2.5, "-3"},
        {"0.#", 1.0, "1"},           {"0.#", 1.25, "1.3"},       {"0.##", 1.5, "1.5"},
        {"#,##0", 1234567, "1,234,567"}, {"#,##0", 12, "12"},    {"#,##0", 0, "0"},
        {"#,##0.00", -1234.5, "-1,234.50"}, {"000", 7, "007"},   {"#.##", 0.5, ".5"},
        {"0.0", -0.01, "0.0"},       {"0.00E+00", 12345, "1.23E+04"}, {"0.0E-0", 0.00012, "1.2E-4"},
        {"0.0;(0.0)", -2, "(2.0)"},  {"0.0;(0.0);zero", 0, "zero"}, {"\"x=\"0", 5, "x=5"},
        {"0 'MB'", 12.4, "12 MB"},   {"0.00", 1e15, "1000000000000000.00"}, {"", 1.5, "1.5"},
        {"0.000", 0.0005, "0.001"},  {"#", 1234, "1234"},        {"00.00", 9.999, "10.00"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.fmt, c.v), c.text) << c.fmt << " of " << c.v;
}

// ------------------------------------------------------------------------ Format

TEST(SysUtilsFormat, Directives) {
    struct Case {
        String got;
        const char* want;
    } cases[] = {
        {Format("%d of %s", {3, "x"}), "3 of x"},
        {Format("%5d|%-5d|", {42, 42}), "   42|42   |"},
        {Format("%.3d", {7}), "007"},
        {Format("%d", {-7}), "-7"},
        {Format("%d", {Int64{10000000000}}), "10000000000"},
        {Format("%u", {-1}), "4294967295"},
        {Format("%x", {255}), "FF"},
        {Format("%.4x", {255}), "00FF"},
        {Format("%X", {-1}), "FFFFFFFF"},
        {Format("%f", {3.14159}), "3.14"},
        {Format("%.2f", {2.005}), "2.01"},
        {Format("%.0f", {2.5}), "3"},
        {Format("%8.3f|", {-1.5}), "  -1.500|"},
        {Format("%n", {1234567.891}), "1,234,567.89"},
        {Format("%e", {1234.5}), "1.23450000000000E+003"},
        {Format("%.3e", {-0.000123}), "-1.23E-004"},
        {Format("%g", {0.5}), "0.5"},
        {Format("%g", {1e20}), "1E20"},
        {Format("%s", {String("str")}), "str"},
        {Format("%-5s|%5s|", {"ab", "cd"}), "ab   |   cd|"},
        {Format("%.2s", {"abcdef"}), "ab"},
        {Format("%s", {'c'}), "c"},
        {Format("100%%", {}), "100%"},
        {Format("%*d", {4, 1}), "   1"},
        {Format("%1:s %0:s", {"a", "b"}), "b a"},
        {Format("%d%%", {50}), "50%"},
        {Format("no args"), "no args"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(SysUtilsFormat, MismatchesRaise) {
    EXPECT_THROW(Format("%d", {"x"}), EConvertError);
    EXPECT_THROW(Format("%s", {1}), EConvertError);
    EXPECT_THROW(Format("%f", {1}), EConvertError);
    EXPECT_THROW(Format("%d %d", {1}), EConvertError);
    EXPECT_THROW(Format("%q", {1}), EConvertError);
    EXPECT_THROW(Format("%", {1}), EConvertError);
}

// ------------------------------------------------------------------------ strings

TEST(SysUtilsStrings, TrimAndCase) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(Trim(" \xC3\xA9 "), "\xC3\xA9") << "UTF-8 bytes are no blanks";
    EXPECT_EQ(UpperCase("abc\xC3\xA9z"), "ABC\xC3\xA9Z");
    EXPECT_EQ(LowerCase("ABC"), "abc");
    EXPECT_EQ(AnsiUpperCase("caf\xC3\xA9"), "CAF\xC3\x89");
    EXPECT_EQ(AnsiLowerCase("\xC3\x89T\xC3\x89"), "\xC3\xA9t\xC3\xA9");
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_FALSE(SameText("Hello", "Hell"));
    EXPECT_TRUE(AnsiSameText("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"));
}

TEST(SysUtilsStrings, Comparisons) {
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    EXPECT_GT(CompareText("_", "Z"), 0) << "compares the upper-case forms";
    EXPECT_LT(CompareStr("A", "a"), 0);
    EXPECT_GT(CompareStr("b", "a"), 0);
    EXPECT_LT(AnsiCompareStr("a", "A"), 0) << "lower case first, as a Windows locale";
    EXPECT_LT(AnsiCompareStr("A", "b"), 0);
}

TEST(SysUtilsStrings, PositionsAndCopies) {
    EXPECT_EQ(Pos("b", "abc"), 2);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(AnsiPos("bc", "abcbc"), 2);
    EXPECT_EQ(PosEx("bc", "abcbc", 3), 4);
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 3), "cdef");
    EXPECT_EQ(Copy("abc", 2, -1), "");
    String s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Insert("XY", s, 2);
    EXPECT_EQ(s, "aXYdef");
    EXPECT_EQ(StringOfChar('-', 3), "---");
}

TEST(SysUtilsStrings, StringReplaceFlags) {
    EXPECT_EQ(StringReplace("a.b.c", ".", "/", {}), "a/b.c");
    EXPECT_EQ(StringReplace("a.b.c", ".", "/", {rfReplaceAll}), "a/b/c");
    EXPECT_EQ(StringReplace("Abc abc", "ABC", "x", {rfIgnoreCase}), "x abc");
    EXPECT_EQ(StringReplace("Abc abc", "ABC", "x", {rfReplaceAll, rfIgnoreCase}), "x x");
    EXPECT_EQ(StringReplace("Abc", "abc", "x", {rfReplaceAll}), "Abc");
    EXPECT_EQ(StringReplace("aaa", "a", "aa", {rfReplaceAll}), "aaaaaa") << "no rescanning of replacements";
    EXPECT_EQ(StringReplace("abc", "", "x", {rfReplaceAll}), "abc");
}

TEST(SysUtilsStrings, Quoting) {
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(AnsiQuotedStr("a\"b", '"'), "\"a\"\"b\"");
    EXPECT_EQ(AnsiDequotedStr("'it''s'", '\''), "it's");
    EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
}

TEST(SysUtilsStrings, Booleans) {
    EXPECT_EQ(BoolToStr(true), "-1");
    EXPECT_EQ(BoolToStr(false, true), "False");
    EXPECT_TRUE(StrToBool("True"));
    EXPECT_TRUE(StrToBool("1"));
    EXPECT_FALSE(StrToBool("0"));
    EXPECT_THROW(StrToBool("maybe"), EConvertError);
}

// ------------------------------------------------------------------------ dates, Abort

TEST(SysUtilsDates, EncodesAndDecodesDelphiDays) {
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_DOUBLE_EQ(EncodeDate(1970, 1, 1), 25569);
    EXPECT_DOUBLE_EQ(EncodeDate(2000, 3, 1), 36586);
    Word y, m, d;
    DecodeDate(36586.75, y, m, d);
    EXPECT_EQ(y, 2000);
    EXPECT_EQ(m, 3);
    EXPECT_EQ(d, 1);
    Word h, mi, s, ms;
    DecodeTime(EncodeTime(13, 45, 30, 250), h, mi, s, ms);
    EXPECT_EQ(h, 13);
    EXPECT_EQ(mi, 45);
    EXPECT_EQ(s, 30);
    EXPECT_EQ(ms, 250);
    EXPECT_THROW(EncodeDate(2000, 13, 1), EConvertError);
    TDateTime now = Now();
    EXPECT_DOUBLE_EQ(Date(), std::floor(now)) << "unless run across midnight";
    EXPECT_GE(Time(), 0.0);
    EXPECT_LT(Time(), 1.0);
}

TEST(SysUtilsAbort, RaisesEAbort) {
    EXPECT_THROW(Abort(), EAbort);
    try {
        Abort();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.ClassName(), "EAbort");
    }
}

}  // namespace
