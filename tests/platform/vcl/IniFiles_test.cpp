#include "platform/vcl/IniFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "platform/vcl/SysUtils.h"

namespace {

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/inifiles_test_XXXXXX";
        m_path = mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    String operator/(const String& name) const { return m_path + "/" + name; }
    const String& Path() const { return m_path; }
    std::vector<String> Entries() const {
        std::vector<String> v;
        for (auto& e : std::filesystem::directory_iterator(m_path)) v.push_back(e.path().filename().string());
        return v;
    }

private:
    String m_path;
};

void WriteText(const String& path, const String& text) { std::ofstream(path, std::ios::binary) << text; }

String ReadText(const String& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

using V = std::vector<String>;

V Items(const TStrings& s) {
    V v;
    for (int i = 0; i < s.Count(); ++i) v.push_back(s[i]);
    return v;
}

const char kSample[] =
    "; settings written by hand\n"
    "\n"
    "[Option]\n"
    "OutputFolder = /home/me/dvd \n"
    "UseSPTI=1\n"
    "; a comment inside\n"
    "Quoted=\"  padded  \"\n"
    "Single='x'\n"
    "Half=\"open\n"
    "Number=abc\n"
    "Hex=0x1F\n"
    "Dollar=$10\n"
    "Float=2.5\n"
    "Empty=\n"
    "useSPTI=0\n"
    "not a key line\n"
    "\n"
    "  [ Text ]  \n"
    "0=Video : Size \n"
    "[option]\n"
    "Late=1\n"
    "UseSPTI=5\n";

// ------------------------------------------------------------------------ reading

TEST(IniFileRead, ProfileRules) {
    TempDir d;
    WriteText(d / "a.ini", kSample);
    TIniFile ini(d / "a.ini");
    struct Case {
        const char* section;
        const char* key;
        const char* want;
    } cases[] = {
        {"Option", "OutputFolder", "/home/me/dvd"},  // blanks around '=' and the value dropped
        {"OPTION", "usespti", "1"},                 // no case; the first duplicate key wins
        {"Option", "Quoted", "  padded  "},         // one pair of quotes off, blanks inside kept
        {"Option", "Single", "x"},
        {"Option", "Half", "\"open"},               // an unmatched quote stays
        {"Option", "Empty", ""},                    // present and empty: not the default
        {"Text", "0", "Video : Size"},              // blanks around section names dropped
        {"Option", "Late", "dflt"},                 // only the first [Option] section answers
        {"Option", "not a key line", "dflt"},
        {"Option", "; a comment inside", "dflt"},
        {"Missing", "x", "dflt"},
    };
    for (const Case& c : cases) EXPECT_EQ(ini.ReadString(c.section, c.key, "dflt"), c.want) << c.section << "/" << c.key;
}

TEST(IniFileRead, NumbersAndBooleans) {
    TempDir d;
    WriteText(d / "a.ini", kSample);
    TIniFile ini(d / "a.ini");
    EXPECT_EQ(ini.ReadInteger("Option", "UseSPTI", 7), 1);
    EXPECT_EQ(ini.ReadInteger("Option", "Number", 7), 7) << "no number: the default";
    EXPECT_EQ(ini.ReadInteger("Option", "Empty", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Option", "Hex", 7), 31);
    EXPECT_EQ(ini.ReadInteger("Option", "Dollar", 7), 16);
    EXPECT_EQ(ini.ReadInteger("Option", "Missing", -3), -3);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Option", "Float", 0), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Option", "Number", 1.25), 1.25);
    EXPECT_TRUE(ini.ReadBool("Option", "UseSPTI", false));
    EXPECT_TRUE(ini.ReadBool("Option", "Hex", false));
    EXPECT_TRUE(ini.ReadBool("Option", "Missing", true));
    EXPECT_FALSE(ini.ReadBool("Option", "Missing", false));
    EXPECT_TRUE(ini.ReadBool("Option", "Number", true)) << "no number: the default";
}

TEST(IniFileRead, SectionsAndKeys) {
    TempDir d;
    WriteText(d / "a.ini", kSample + String("[EmptyOne]\n"));
    TIniFile ini(d / "a.ini");
    TStringList s;
    s.Add("stale");
    ini.ReadSections(&s);
    EXPECT_EQ(Items(s), (V{"Option", "Text", "EmptyOne"}));
    ini.ReadSection("option", &s);
    EXPECT_EQ(Items(s), (V{"OutputFolder", "UseSPTI", "Quoted", "Single", "Half", "Number", "Hex", "Dollar",
                           "Float", "Empty"}));
    ini.ReadSectionValues("Text", &s);
    EXPECT_EQ(Items(s), (V{"0=Video : Size"}));
    ini.ReadSection("Missing", &s);
    EXPECT_EQ(s.Count(), 0);

    EXPECT_TRUE(ini.SectionExists("TEXT"));
    EXPECT_FALSE(ini.SectionExists("EmptyOne")) << "a section needs a key to exist";
    EXPECT_TRUE(ini.SectionPresent("EmptyOne"));
    EXPECT_FALSE(ini.SectionExists("Missing"));
    EXPECT_TRUE(ini.ValueExists("option", "EMPTY"));
    EXPECT_FALSE(ini.ValueExists("Option", "Late"));
    EXPECT_EQ(ini.FileName(), d / "a.ini");
}

TEST(IniFileRead, AcceptsCrlfAndBom) {
    TempDir d;
    WriteText(d / "a.ini", "\xEF\xBB\xBF[S]\r\nk=v\r\nn=2\r\n");
    TIniFile ini(d / "a.ini");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "v");
    EXPECT_EQ(ini.ReadInteger("S", "n", 0), 2);
}

TEST(IniFileRead, MissingOrUnreadableFilesReadAsEmpty) {
    TempDir d;
    // A folder in place of the file cannot be read, even by root.
    for (const String& name : {d / "missing.ini", d.Path(), d / "no/dir/x.ini", String()}) {
        SCOPED_TRACE(name);
        TIniFile ini(name);
        TStringList s;
        EXPECT_NO_THROW({
            EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
            EXPECT_EQ(ini.ReadInteger("S", "k", 4), 4);
            EXPECT_TRUE(ini.ReadBool("S", "k", true));
            ini.ReadSections(&s);
            EXPECT_FALSE(ini.SectionExists("S"));
        });
        EXPECT_EQ(s.Count(), 0);
    }
}

TEST(IniFileRead, SeesChangesMadeByOthers) {
    TempDir d;
    WriteText(d / "a.ini", "[S]\nk=1\n");
    TIniFile reader(d / "a.ini");
    TIniFile writer(d / "a.ini");
    EXPECT_EQ(reader.ReadString("S", "k", ""), "1");
    writer.WriteString("S", "k", "2");  // same size, within the same clock tick
    EXPECT_EQ(reader.ReadString("S", "k", ""), "2");
    WriteText(d / "a.ini", "[S]\nk=3\n");  // rewritten in place by someone else
    EXPECT_EQ(reader.ReadString("S", "k", ""), "3");
    std::filesystem::remove(d / "a.ini");
    EXPECT_EQ(reader.ReadString("S", "k", "gone"), "gone");
}

TEST(IniFileRead, ManySectionsKeepFileOrderAndFirstSpellings) {
    TempDir d;
    String text;
    for (int i = 0; i < 5000; ++i) text += "[Region" + IntToStr(i) + "]\nCode=" + IntToStr(i) + "\n";
    text += "[REGION7]\nCode=late\nExtra=1\n";
    WriteText(d / "big.ini", text);
    TIniFile ini(d / "big.ini");
    TStringList sections;
    ini.ReadSections(&sections);
    ASSERT_EQ(sections.Count(), 5000);
    EXPECT_EQ(sections[0], "Region0");
    EXPECT_EQ(sections[7], "Region7");
    EXPECT_EQ(sections[4999], "Region4999");
    // Reads of every section answer from the first of each name.
    for (int i = 0; i < 5000; i += 499) EXPECT_EQ(ini.ReadInteger("region" + IntToStr(i), "code", -1), i);
    EXPECT_EQ(ini.ReadString("Region7", "Code", ""), "7");
    EXPECT_EQ(ini.ReadString("Region7", "Extra", "none"), "none");
    EXPECT_TRUE(ini.SectionPresent("REGION4999"));
    EXPECT_FALSE(ini.SectionPresent("Region5000"));
    // A write through another object is seen by the next read of this one.
    TIniFile other(d / "big.ini");
    other.WriteString("Region4999", "Code", "changed");
    EXPECT_EQ(ini.ReadString("Region4999", "Code", ""), "changed");
    other.WriteString("New", "Key", "v");
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.Count(), 5001);
    EXPECT_EQ(sections[5000], "New");
}

// ------------------------------------------------------------------------ writing

TEST(IniFileWrite, ChangesOnlyItsOwnLine) {
    TempDir d;
    WriteText(d / "a.ini", kSample);
    TIniFile ini(d / "a.ini");
    ini.WriteString("option", "USESPTI", "0");
    String want = kSample;
    want.replace(want.find("UseSPTI=1"), 9, "UseSPTI=0");
    EXPECT_EQ(ReadText(d / "a.ini"), want) << "comments, blanks, odd lines, order and other sections kept";
    EXPECT_EQ(ini.ReadInteger("Option", "UseSPTI", -1), 0);
}

TEST(IniFileWrite, AddsKeysAndSections) {
    TempDir d;
    WriteText(d / "a.ini", "; top\n[A]\nx=1\n\n; about B\n[B]\ny=2\n");
    TIniFile ini(d / "a.ini");
    ini.WriteString("A", "z", "3");
    ini.WriteInteger("C", "n", -5);
    ini.WriteString("B", "y", "two");
    EXPECT_EQ(ReadText(d / "a.ini"), "; top\n[A]\nx=1\nz=3\n\n; about B\n[B]\ny=two\n\n[C]\nn=-5\n")
        << "a new key goes after the section's last key; a new section at the end";
}

TEST(IniFileWrite, CreatesTheFile) {
    TempDir d;
    {
        TIniFile ini(d / "new.ini");
        ini.WriteBool("Option", "DeleteTempFiles", true);
        ini.WriteBool("Option", "VideoFormat", false);
        ini.WriteInteger("Option", "DVD5Size", 4403200);
        ini.WriteFloat("Option", "Ratio", 1.5);
    }
    EXPECT_EQ(ReadText(d / "new.ini"), "[Option]\nDeleteTempFiles=1\nVideoFormat=0\nDVD5Size=4403200\nRatio=1.5\n");
    TIniFile again(d / "new.ini");
    EXPECT_TRUE(again.ReadBool("Option", "DeleteTempFiles", false));
    EXPECT_FALSE(again.ReadBool("Option", "VideoFormat", true));
    EXPECT_DOUBLE_EQ(again.ReadFloat("Option", "Ratio", 0), 1.5);
    EXPECT_EQ(d.Entries(), (V{"new.ini"})) << "no temporary file left behind";
}

TEST(IniFileWrite, ValuesReadBackAsWritten) {
    TempDir d;
    TIniFile ini(d / "a.ini");
    for (const String& v : {String("plain"), String(" Video : Size "), String("\"quoted\""), String("'q'"),
                            String(""), String("a=b;c"), String("\"")}) {
        ini.WriteString("S", "k", v);
        EXPECT_EQ(ini.ReadString("S", "k", "dflt"), v);
        EXPECT_EQ(TIniFile(d / "a.ini").ReadString("S", "k", "dflt"), v);
    }
}

TEST(IniFileWrite, KeepsCrlfBomAndPermissions) {
    TempDir d;
    WriteText(d / "a.ini", "\xEF\xBB\xBF[S]\r\nk=v\r\n");
    chmod((d / "a.ini").c_str(), 0640);
    TIniFile ini(d / "a.ini");
    ini.WriteString("S", "k", "w");
    ini.WriteString("S", "m", "x");
    EXPECT_EQ(ReadText(d / "a.ini"), "\xEF\xBB\xBF[S]\r\nk=w\r\nm=x\r\n");
    struct stat st;
    ASSERT_EQ(stat((d / "a.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(IniFileWrite, WritesThroughASymbolicLink) {
    TempDir d;
    WriteText(d / "real.ini", "[S]\nk=1\n");
    std::filesystem::create_symlink(d / "real.ini", d / "link.ini");
    TIniFile(d / "link.ini").WriteString("S", "k", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(d / "link.ini"));
    EXPECT_EQ(ReadText(d / "real.ini"), "[S]\nk=2\n");
}

TEST(IniFileWrite, EraseSectionAndDeleteKey) {
    TempDir d;
    WriteText(d / "a.ini", "[A]\nx=1\nX=2\ny=3\n[B]\nz=1\n[a]\nx=9\n");
    TIniFile ini(d / "a.ini");
    ini.DeleteKey("a", "x");
    EXPECT_EQ(ReadText(d / "a.ini"), "[A]\ny=3\n[B]\nz=1\n[a]\nx=9\n");
    EXPECT_FALSE(ini.ValueExists("A", "x"));
    ini.EraseSection("A");
    EXPECT_EQ(ReadText(d / "a.ini"), "[B]\nz=1\n") << "every section of the name goes";
    struct stat before, after;
    stat((d / "a.ini").c_str(), &before);
    ini.DeleteKey("B", "missing");
    ini.EraseSection("Missing");
    stat((d / "a.ini").c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino) << "nothing to change: the file is not rewritten";
    TIniFile(d / "none.ini").EraseSection("X");
    EXPECT_FALSE(FileExists(d / "none.ini"));
}

TEST(IniFileWrite, FailuresRaiseNamingTheFile) {
    TempDir d;
    struct Case {
        String file;
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {d / "no/such/dir/a.ini", "S", "k", "v"},  // folder missing
        {d.Path(), "S", "k", "v"},                  // a folder in the way
        {d / "ok.ini", "S", "k", "two\nlines"},
        {d / "ok.ini", "S", "a=b", "v"},
        {d / "ok.ini", "S", "", "v"},
        {d / "ok.ini", "S]", "k", "v"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + c.key);
        try {
            TIniFile(c.file).WriteString(c.section, c.key, c.value);
            ADD_FAILURE() << "written";
        } catch (const EIniFileException& e) {
            EXPECT_NE(e.Message().find("\"" + c.file + "\""), String::npos) << e.Message();
        }
    }
    EXPECT_EQ(d.Entries(), V{}) << "nothing created, no temporary file left";
}

// ------------------------------------------------------------------------ the work a file costs

// A file with one section of Keys keys.
String BigSection(int Keys) {
    String text = "[Head]\nA=1\n[Big]\n";
    for (int i = 0; i < Keys; ++i) text += "K" + IntToStr(i) + "=" + IntToStr(i) + "\n";
    return text + "[Tail]\nZ=9\n";
}

// Lines looked at, counted rather than timed: reading every key of a section once, and one
// write into it, cost a few passes over the file, whatever the size of the section. A search
// through the section per lookup would cost Keys x Keys / 2.
TEST(IniFileWork, ReadsAndWritesAreLinearInTheSection) {
    for (int keys : {1000, 5000}) {
        SCOPED_TRACE(keys);
        TempDir d;
        const String path = d / "big.ini";
        WriteText(path, BigSection(keys));
        const unsigned long long lines = static_cast<unsigned long long>(keys) + 6;
        TIniFile ini(path);
        unsigned long long start = IniFilesWork::LinesExamined();
        for (int i = 0; i < keys; i += 1) ASSERT_EQ(ini.ReadInteger("Big", "K" + IntToStr(i), -1), i);
        EXPECT_EQ(ini.ReadString("Tail", "Z", ""), "9");
        EXPECT_LE(IniFilesWork::LinesExamined() - start, 3 * lines);

        start = IniFilesWork::LinesExamined();
        ini.WriteString("Big", "K" + IntToStr(keys - 1), "changed");
        ini.WriteString("Big", "New", "added");
        EXPECT_LE(IniFilesWork::LinesExamined() - start, 2 * 4 * lines);
        EXPECT_EQ(ini.ReadString("Big", "New", ""), "added");
        EXPECT_EQ(ini.ReadString("Big", "K" + IntToStr(keys - 1), ""), "changed");

        start = IniFilesWork::LinesExamined();
        TStringList names;
        ini.ReadSection("Big", &names);
        EXPECT_EQ(names.Count(), keys + 1);
        EXPECT_LE(IniFilesWork::LinesExamined() - start, 3 * lines);
    }
}

// ------------------------------------------------------------------------ the file in memory

TEST(MemIniFile, WritesReachTheFileAllTogetherOrNotAtAll) {
    TempDir d;
    const String path = d / "opt.ini";
    const String before = "; kept\n[Option]\nA=1\nB=2\n";
    WriteText(path, before);
    {
        TMemIniFile ini(path);
        ini.WriteString("Option", "A", "10");
        ini.WriteString("Option", "C", "3");
        ini.WriteString("Other", "X", "y");
        EXPECT_EQ(ini.ReadString("Option", "C", ""), "3");  // reads answer from memory
        EXPECT_EQ(ReadText(path), before) << "nothing is saved before UpdateFile";
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadText(path), "; kept\n[Option]\nA=10\nB=2\nC=3\n\n[Other]\nX=y\n");
    EXPECT_EQ(TIniFile(path).ReadString("Other", "X", ""), "y");

    // A value that cannot be written raises before anything changes; what was written before
    // it is saved only when the caller goes on to UpdateFile, which a failed save skips.
    const String saved = ReadText(path);
    {
        TMemIniFile ini(path);
        ini.WriteString("Option", "A", "20");
        EXPECT_THROW(ini.WriteString("Option", "Folder", "two\nlines"), EIniFileException);
        EXPECT_EQ(ini.ReadString("Option", "Folder", "none"), "none");
    }
    EXPECT_EQ(ReadText(path), saved);
    EXPECT_EQ(d.Entries(), V{"opt.ini"});
}

TEST(MemIniFile, AFailedSaveLeavesTheFileAsItWas) {
    TempDir d;
    TMemIniFile missing(d / "no/such/dir/a.ini");
    missing.WriteString("S", "k", "v");
    EXPECT_THROW(missing.UpdateFile(), EIniFileException);
    TMemIniFile folder(d.Path());
    folder.WriteString("S", "k", "v");
    try {
        folder.UpdateFile();
        ADD_FAILURE() << "saved over a folder";
    } catch (const EIniFileException& e) {
        EXPECT_NE(e.Message().find("\"" + d.Path() + "\""), String::npos) << e.Message();
    }
    EXPECT_EQ(d.Entries(), V{}) << "no temporary file left";
    // A new file is made by the first save, and the keys of a section keep their order.
    TMemIniFile fresh(d / "new.ini");
    fresh.WriteString("S", "b", "2");
    fresh.WriteString("S", "a", "1");
    fresh.DeleteKey("S", "b");
    fresh.WriteString("S", "c", "3");
    fresh.UpdateFile();
    EXPECT_EQ(ReadText(d / "new.ini"), "[S]\na=1\nc=3\n");
}

}  // namespace
