#include "skin/core/SUIThemeFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <unistd.h>

#include "platform/vcl/SysUtils.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class ThemeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() / (String("suithemefile_") + info->name() + "_" + IntToStr(int(::getpid())));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    String Path(const String& name) const { return (m_dir / name).string(); }

    static Bytes ReadAll(const String& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void WriteAll(const String& path, const Bytes& b) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    static std::int32_t Le32(const Bytes& b, size_t at) {
        return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24);
    }
    static void PutLe32(Bytes& b, size_t at, std::int32_t v) {
        for (int i = 0; i < 4; ++i) b[at + size_t(i)] = std::uint8_t(std::uint32_t(v) >> (8 * i));
    }

    // Builds a file by hand: header, then records as given (no end record unless asked for).
    struct RawRecord {
        String name;
        std::uint8_t type;
        std::int32_t dataAt;
        std::int32_t dataSize;
        std::int32_t next;
        Bytes data;
    };
    static Bytes Header(std::int32_t headerSize = 24, std::int32_t first = 24) {
        Bytes h(24, 0);
        std::memcpy(h.data(), "SkinKit_TB", 10);
        PutLe32(h, 12, headerSize);
        PutLe32(h, 16, 1);
        PutLe32(h, 20, first);
        return h;
    }
    static void Append(Bytes& file, const RawRecord& r) {
        size_t at = file.size();
        file.resize(at + 77, 0);
        std::memcpy(file.data() + at, r.name.data(), std::min<size_t>(r.name.size(), 64));
        file[at + 64] = r.type;
        PutLe32(file, at + 65, r.dataAt);
        PutLe32(file, at + 69, r.dataSize);
        PutLe32(file, at + 73, r.next);
        file.insert(file.end(), r.data.begin(), r.data.end());
    }
    static void AppendEnd(Bytes& file) { Append(file, {"", 2, 0, 0, 0, {}}); }

    fs::path m_dir;
};

// ---- exact bytes ----

TEST_F(ThemeFileTest, EmptyFileIsHeaderAndEndRecord) {
    String path = Path("empty.sui");
    TsuiThemeFileWriter(path).Save();
    Bytes b = ReadAll(path);
    ASSERT_EQ(b.size(), 101u);
    Bytes expected(101, 0);
    std::memcpy(expected.data(), "SkinKit_TB", 10);
    PutLe32(expected, 12, 24);
    PutLe32(expected, 16, 1);
    PutLe32(expected, 20, 24);
    expected[88] = 2;
    EXPECT_EQ(b, expected);
}

TEST_F(ThemeFileTest, OneIntegerFileBytes) {
    String path = Path("one.sui");
    {
        TsuiThemeFileWriter w(path);
        w.AddInteger("FormMinWidthInt", 130);
    }  // the destructor writes
    Bytes b = ReadAll(path);
    ASSERT_EQ(b.size(), size_t(24 + 77 + 4 + 77));
    EXPECT_EQ(0, std::memcmp(b.data() + 24, "FormMinWidthInt", 15));
    for (size_t i = 24 + 15; i < 24 + 64; ++i) EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(b[24 + 64], 1);
    EXPECT_EQ(Le32(b, 24 + 65), 101);
    EXPECT_EQ(Le32(b, 24 + 69), 4);
    EXPECT_EQ(Le32(b, 24 + 73), 105);
    EXPECT_EQ(Le32(b, 101), 130);
    EXPECT_EQ(b[105 + 64], 2);
    for (size_t i = 105; i < b.size(); ++i)
        if (i != 105 + 64) {
            EXPECT_EQ(b[i], 0) << i;
        }
}

TEST_F(ThemeFileTest, WrittenOrderIsFilesStringsIntegersBools) {
    String pic = Path("pic.bin");
    WriteAll(pic, {1, 2, 3});
    String path = Path("order.sui");
    TsuiThemeFileWriter w(path);
    w.AddBool("b", true);
    w.AddInteger("i", 5);
    w.AddStr("s", "xy");
    w.AddFile("f", pic);
    w.Save();
    Bytes b = ReadAll(path);
    std::vector<std::pair<String, int>> seen;
    for (std::int32_t at = 24;;) {
        if (Le32(b, size_t(at) + 73) == 0) break;
        seen.emplace_back(String(reinterpret_cast<const char*>(&b[size_t(at)])), b[size_t(at) + 64]);
        at = Le32(b, size_t(at) + 73);
    }
    std::vector<std::pair<String, int>> expected{{"f", 0}, {"s", 3}, {"i", 1}, {"b", 2}};
    EXPECT_EQ(seen, expected);
}

// ---- round trips ----

TEST_F(ThemeFileTest, RoundTripOfAllFourTypes) {
    String pic = Path("pic.bmp");
    Bytes picture{'B', 'M', 0, 0xFF, 7, 0, 42};
    WriteAll(pic, picture);
    String path = Path("all.sui");
    {
        TsuiThemeFileWriter w(path);
        w.AddFile("ButtonImage", pic);
        w.AddStr("Caption", "Hello = world");
        w.AddInteger("FormMinWidthInt", -270);
        w.AddInteger("FormBackgroundColor", 0xE7E7E7);
        w.AddBool("ButtonTransparentBool", true);
        w.AddBool("TitleBarButtonTransparentBool", false);
        w.Save();
    }
    TsuiThemeFileReader r(path);
    TMemoryStream* s = r.GetFile("buttonimage");  // names compare without case
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetPosition(), 0);
    EXPECT_EQ(s->Data(), picture);
    EXPECT_EQ(r.GetStr("Caption"), "Hello = world");
    EXPECT_EQ(r.GetInteger("FormMinWidthInt"), -270);
    EXPECT_EQ(r.GetInteger("FormBackgroundColor"), 0xE7E7E7);
    EXPECT_TRUE(r.GetBool("ButtonTransparentBool"));
    EXPECT_FALSE(r.GetBool("TitleBarButtonTransparentBool"));
    EXPECT_EQ(r.FileList()->Count(), 1);
    EXPECT_EQ(r.IntegerList()->Count(), 2);
}

TEST_F(ThemeFileTest, GetFileRewindsTheStream) {
    String pic = Path("pic.bin");
    WriteAll(pic, {9, 8, 7});
    String path = Path("rewind.sui");
    { TsuiThemeFileWriter w(path); w.AddFile("P", pic); }
    TsuiThemeFileReader r(path);
    Byte tmp[3];
    r.GetFile("P")->ReadBuffer(tmp, 3);
    EXPECT_EQ(r.GetFile("P")->GetPosition(), 0);
}

TEST_F(ThemeFileTest, MissingNamesAnswerDefaults) {
    String path = Path("empty.sui");
    TsuiThemeFileWriter(path).Save();
    TsuiThemeFileReader r(path);
    EXPECT_EQ(r.GetInteger("Nope"), -1);
    EXPECT_FALSE(r.GetBool("Nope"));
    EXPECT_EQ(r.GetFile("Nope"), nullptr);
    EXPECT_EQ(r.GetStr("Nope"), "");
}

TEST_F(ThemeFileTest, LongNameIsCutTo64Characters) {
    String path = Path("long.sui");
    String name(70, 'N');
    name[63] = 'Z';
    { TsuiThemeFileWriter w(path); w.AddInteger(name, 3); }
    TsuiThemeFileReader r(path);
    ASSERT_EQ(r.IntegerList()->Count(), 1);
    EXPECT_EQ(r.IntegerList()->Names(0), name.substr(0, 64));
    EXPECT_EQ(r.GetInteger(name.substr(0, 64)), 3);
}

TEST_F(ThemeFileTest, RepeatedNameWritesEachItemsOwnValue) {
    String path = Path("twice.sui");
    {
        TsuiThemeFileWriter w(path);
        w.AddInteger("X", 1);
        w.AddInteger("X", 2);
        w.AddStr("S", "first");
        w.AddStr("S", "second");
    }
    Bytes b = ReadAll(path);
    // Records: S, S, X, X; each data block right behind its record.
    std::vector<Bytes> data;
    for (std::int32_t at = 24; Le32(b, size_t(at) + 73) != 0; at = Le32(b, size_t(at) + 73)) {
        size_t d = size_t(Le32(b, size_t(at) + 65));
        data.emplace_back(b.begin() + long(d), b.begin() + long(d) + Le32(b, size_t(at) + 69));
    }
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(String(data[0].begin(), data[0].end()), "first");
    EXPECT_EQ(String(data[1].begin(), data[1].end()), "second");
    EXPECT_EQ(Le32(data[2], 0), 1);
    EXPECT_EQ(Le32(data[3], 0), 2);
    TsuiThemeFileReader r(path);
    EXPECT_EQ(r.GetInteger("X"), 1);  // the first item wins a lookup
    EXPECT_EQ(r.IntegerList()->Count(), 2);
}

TEST_F(ThemeFileTest, NameWithEqualsSignIsRefused) {
    TsuiThemeFileWriter w(Path("eq.sui"));
    EXPECT_THROW(w.AddStr("a=b", "text"), EConvertError);
    EXPECT_THROW(w.AddInteger("a=b", 1), EConvertError);
    EXPECT_THROW(w.AddBool("a=b", true), EConvertError);
    EXPECT_THROW(w.AddFile("a=b", Path("x")), EConvertError);
    EXPECT_EQ(w.StrList()->Count() + w.IntegerList()->Count() + w.BoolList()->Count() + w.FileList()->Count(), 0);
}

// ---- saving never leaves a broken file ----

TEST_F(ThemeFileTest, FailedSaveKeepsTheOldFile) {
    String path = Path("keep.sui");
    { TsuiThemeFileWriter w(path); w.AddInteger("A", 7); }
    Bytes before = ReadAll(path);

    TsuiThemeFileWriter bad(path);
    bad.AddInteger("A", 8);
    bad.AddFile("Missing", Path("no-such-file.bmp"));
    EXPECT_THROW(bad.Save(), EFOpenError);
    EXPECT_EQ(ReadAll(path), before);

    TsuiThemeFileWriter notANumber(path);
    notANumber.AddInteger("A", 9);
    notANumber.IntegerList()->Add("B=twelve");
    EXPECT_THROW(notANumber.Save(), EConvertError);
    EXPECT_EQ(ReadAll(path), before);

    int entries = 0;
    for (const auto& e : fs::directory_iterator(m_dir)) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "no temporary file is left behind";
}

TEST_F(ThemeFileTest, DestructorSwallowsSaveFailure) {
    String path = Path("no-folder/x.sui");
    EXPECT_NO_THROW({
        TsuiThemeFileWriter w(path);
        w.AddInteger("A", 1);
    });
    EXPECT_FALSE(FileExists(path));
    TsuiThemeFileWriter w(path);
    EXPECT_THROW(w.Save(), EFCreateError);
}

// ---- the signature ----

TEST_F(ThemeFileTest, SignatureCases) {
    struct Case {
        const char* what;
        Bytes bytes;
        bool expected;
    };
    auto sig = [](const char* s, size_t total) {
        Bytes b(total, 0);
        std::memcpy(b.data(), s, std::min(std::strlen(s), total));
        return b;
    };
    const Case cases[] = {
        {"exact signature and two NULs", sig("SkinKit_TB", 24), true},
        {"only the 12-byte field", sig("SkinKit_TB", 12), true},
        {"capitals", sig("SKINKIT_TB", 24), false},
        {"eleventh character", sig("SkinKit_TBx", 24), false},
        {"twelve characters without NUL", sig("SkinKit_TBxy", 24), false},
        {"shorter than the field", sig("SkinKit_TB", 11), false},
        {"empty file", {}, false},
        {"other text", sig("BM", 24), false},
    };
    for (const Case& c : cases) {
        String path = Path("sig.sui");
        WriteAll(path, c.bytes);
        EXPECT_EQ(IsSUIThemeFile(path), c.expected) << c.what;
    }
    EXPECT_FALSE(IsSUIThemeFile(Path("missing.sui")));
    EXPECT_FALSE(IsSUIThemeFile(m_dir.string()));
}

// ---- hostile files ----

TEST_F(ThemeFileTest, HostileFilesAreRejected) {
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, Bytes b) { cases.push_back({what, std::move(b)}); };

    { Bytes b = Header(); b.resize(20); add("shorter than the header", b); }
    { Bytes b = Header(25); AppendEnd(b); add("header size above 24", b); }
    { Bytes b = Header(8); AppendEnd(b); add("header size below 24", b); }
    { Bytes b = Header(); add("no record at all", b); }
    { Bytes b = Header(24, 5000); AppendEnd(b); add("first record beyond the end", b); }
    { Bytes b = Header(24, -77); AppendEnd(b); add("negative first record", b); }
    { Bytes b = Header(); Append(b, {"I", 1, 101, 2, 103, {1, 2}}); AppendEnd(b); add("integer of 2 bytes", b); }
    { Bytes b = Header(); Append(b, {"I", 1, 101, 8, 109, {1, 2, 3, 4, 5, 6, 7, 8}}); AppendEnd(b); add("integer of 8 bytes", b); }
    { Bytes b = Header(); Append(b, {"B", 2, 101, 0, 101, {}}); AppendEnd(b); add("bool of 0 bytes", b); }
    { Bytes b = Header(); Append(b, {"B", 2, 101, 2, 103, {1, 1}}); AppendEnd(b); add("bool of 2 bytes", b); }
    { Bytes b = Header(); Append(b, {"S", 3, 101, 1000, 101, {}}); AppendEnd(b); add("string beyond the end", b); }
    { Bytes b = Header(); Append(b, {"F", 0, 90000, 4, 101, {}}); AppendEnd(b); add("file data beyond the end", b); }
    { Bytes b = Header(); Append(b, {"F", 0, 101, -5, 101, {}}); AppendEnd(b); add("negative size", b); }
    { Bytes b = Header(); Append(b, {"I", 1, 101, 4, 105, {1, 0, 0, 0}}); add("no end record", b); }
    { Bytes b = Header(); Append(b, {"I", 1, 101, 4, 24, {1, 0, 0, 0}}); add("record pointing at itself", b); }
    {
        Bytes b = Header();
        Append(b, {"A", 1, 101, 4, 105, {1, 0, 0, 0}});
        Append(b, {"B", 1, 182, 4, 24, {2, 0, 0, 0}});
        add("two-record loop", b);
    }

    for (const Case& c : cases) {
        String path = Path("hostile.sui");
        WriteAll(path, c.bytes);
        EXPECT_THROW(TsuiThemeFileReader r(path), EReadError) << c.what;
    }
}

TEST_F(ThemeFileTest, EntriesBeforeAFaultStay) {
    Bytes b = Header();
    Append(b, {"Good", 1, 101, 4, 105, {42, 0, 0, 0}});
    Append(b, {"Bad", 2, 182, 0, 182, {}});
    AppendEnd(b);
    String path = Path("partial.sui");
    WriteAll(path, b);
    TsuiThemeFileReader r;
    EXPECT_THROW(r.Load(path), EReadError);
    EXPECT_EQ(r.GetInteger("Good"), 42);
}

TEST_F(ThemeFileTest, UnknownTypeIsSkippedAndTheChainGoesOn) {
    Bytes b = Header();
    Append(b, {"Odd", 9, 99999, 99999, 101, {}});
    Append(b, {"I", 1, 178, 4, 182, {5, 0, 0, 0}});
    AppendEnd(b);
    String path = Path("odd.sui");
    WriteAll(path, b);
    TsuiThemeFileReader r(path);
    EXPECT_EQ(r.GetInteger("I"), 5);
    EXPECT_EQ(r.IntegerList()->Count(), 1);
}

TEST_F(ThemeFileTest, MissingFileRaisesOpenError) {
    EXPECT_THROW(TsuiThemeFileReader r(Path("none.sui")), EFOpenError);
}

TEST_F(ThemeFileTest, NameOf64CharactersWithoutNulReadsBack) {
    Bytes b = Header();
    String name(64, 'Q');
    Append(b, {name, 3, 101, 2, 103, {'o', 'k'}});
    AppendEnd(b);
    String path = Path("n64.sui");
    WriteAll(path, b);
    TsuiThemeFileReader r(path);
    EXPECT_EQ(r.GetStr(name), "ok");
}

}  // namespace
