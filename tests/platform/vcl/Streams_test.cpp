#include "platform/vcl/Streams.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/vcl/SysUtils.h"

namespace {

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/streams_test_XXXXXX";
        m_path = mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(m_path); }
    String operator/(const String& name) const { return m_path + "/" + name; }
    const String& Path() const { return m_path; }

private:
    String m_path;
};

String FileText(const String& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

String ReadAll(TStream& s) {
    String out(static_cast<size_t>(s.GetSize() - s.GetPosition()), '\0');
    s.ReadBuffer(out.data(), static_cast<Int64>(out.size()));
    return out;
}

// The same behaviour is expected of both stream kinds; each case gets a fresh, empty stream.
struct StreamKind {
    const char* name;
    std::function<std::unique_ptr<TStream>(const TempDir&)> make;
};

class StreamContract : public ::testing::TestWithParam<StreamKind> {
protected:
    TempDir dir;
    std::unique_ptr<TStream> s = GetParam().make(dir);
};

TEST_P(StreamContract, WritesReadsAndSeeks) {
    s->WriteBuffer("hello world", 11);
    EXPECT_EQ(s->GetSize(), 11);
    EXPECT_EQ(s->GetPosition(), 11);
    EXPECT_EQ(s->Seek(-5, soEnd), 6);
    char buf[16] = {};
    EXPECT_EQ(s->Read(buf, 16), 5) << "a read stops at the end";
    EXPECT_STREQ(buf, "world");
    EXPECT_EQ(s->Read(buf, 4), 0);
    s->SetPosition(0);
    EXPECT_EQ(s->Seek(6, soCurrent), 6);
    s->WriteBuffer("W", 1);
    s->SetPosition(0);
    EXPECT_EQ(ReadAll(*s), "hello World");
}

TEST_P(StreamContract, ReadBufferRaisesAtTheEnd) {
    s->WriteBuffer("abc", 3);
    s->SetPosition(1);
    char buf[8];
    EXPECT_THROW(s->ReadBuffer(buf, 3), EReadError);
    s->SetPosition(1);
    EXPECT_NO_THROW(s->ReadBuffer(buf, 2));
    EXPECT_NO_THROW(s->ReadBuffer(buf, 0));
}

TEST_P(StreamContract, SetSizeTruncatesAndExtends) {
    s->WriteBuffer("0123456789", 10);
    s->SetSize(4);
    EXPECT_EQ(s->GetSize(), 4);
    EXPECT_LE(s->GetPosition(), 4);
    s->SetSize(6);
    s->SetPosition(0);
    String all = ReadAll(*s);
    EXPECT_EQ(all, String("0123\0\0", 6)) << "the extension reads as zeros";
}

TEST_P(StreamContract, WritingPastTheEndFillsWithZeros) {
    s->WriteBuffer("ab", 2);
    s->SetPosition(4);
    s->WriteBuffer("c", 1);
    EXPECT_EQ(s->GetSize(), 5);
    s->SetPosition(0);
    EXPECT_EQ(ReadAll(*s), String("ab\0\0c", 5));
}

TEST_P(StreamContract, CopyFromTakesACountOrEverything) {
    TMemoryStream src;
    src.WriteBuffer("abcdefgh", 8);
    src.SetPosition(2);
    EXPECT_EQ(s->CopyFrom(&src, 3), 3);
    EXPECT_EQ(src.GetPosition(), 5);
    EXPECT_EQ(s->CopyFrom(&src, 0), 8) << "0 copies the whole source from its start";
    s->SetPosition(0);
    EXPECT_EQ(ReadAll(*s), "cdeabcdefgh");
    src.SetPosition(7);
    EXPECT_THROW(s->CopyFrom(&src, 5), EReadError);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, StreamContract,
    ::testing::Values(StreamKind{"Memory", [](const TempDir&) { return std::make_unique<TMemoryStream>(); }},
                      StreamKind{"File",
                                 [](const TempDir& d) {
                                     return std::make_unique<TFileStream>(d / "s.bin", fmCreate);
                                 }}),
    [](const auto& info) { return String(info.param.name); });

// ------------------------------------------------------------------------ TMemoryStream

TEST(MemoryStream, RejectsANegativePosition) {
    TMemoryStream m;
    EXPECT_THROW(m.Seek(-1, soBeginning), EStreamError);
    EXPECT_THROW(m.SetSize(-1), EStreamError);
}

TEST(MemoryStream, SavesAndLoadsFiles) {
    TempDir d;
    TMemoryStream m;
    m.WriteBuffer("payload\0x", 9);
    EXPECT_EQ(std::memcmp(m.Memory(), "payload", 7), 0);
    m.SaveToFile(d / "m.bin");
    EXPECT_EQ(FileText(d / "m.bin"), String("payload\0x", 9));

    TMemoryStream n;
    n.WriteBuffer("old", 3);
    n.LoadFromFile(d / "m.bin");
    EXPECT_EQ(n.GetSize(), 9);
    EXPECT_EQ(n.GetPosition(), 0);
    EXPECT_EQ(String(n.Data().begin(), n.Data().end()), String("payload\0x", 9));
    n.Clear();
    EXPECT_EQ(n.GetSize(), 0);
    EXPECT_THROW(n.LoadFromFile(d / "missing.bin"), EFOpenError);
}

// ------------------------------------------------------------------------ TFileStream

TEST(FileStream, CreateTruncatesAnExistingFile) {
    TempDir d;
    std::ofstream(d / "f.txt") << "old content";
    { TFileStream f(d / "f.txt", fmCreate); f.WriteBuffer("new", 3); }
    EXPECT_EQ(FileText(d / "f.txt"), "new");
}

TEST(FileStream, OpenModes) {
    TempDir d;
    std::ofstream(d / "f.txt") << "abcdef";
    {
        TFileStream r(d / "f.txt", fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(r.GetSize(), 6);
        EXPECT_EQ(ReadAll(r), "abcdef");
        EXPECT_EQ(r.Write("x", 1), 0) << "a read-only stream writes nothing";
        EXPECT_THROW(r.WriteBuffer("x", 1), EWriteError);
        EXPECT_EQ(r.FileName(), d / "f.txt");
    }
    {
        TFileStream w(d / "f.txt", fmOpenReadWrite);
        w.Seek(2, soBeginning);
        w.WriteBuffer("ZZ", 2);
        w.SetSize(5);
        EXPECT_EQ(w.GetPosition(), 5) << "SetSize moves to the new end";
    }
    EXPECT_EQ(FileText(d / "f.txt"), "abZZe");
    {
        TFileStream w(d / "f.txt", fmOpenWrite);
        w.WriteBuffer("1", 1);
        char c;
        w.SetPosition(0);
        EXPECT_EQ(w.Read(&c, 1), 0) << "a write-only stream reads nothing";
    }
    EXPECT_EQ(FileText(d / "f.txt"), "1bZZe");
}

TEST(FileStream, OpenErrorsNameTheFile) {
    TempDir d;
    const String missing = d / "no/such.bin";
    struct Case {
        String name;
        Word mode;
        bool create;
        const char* reason;
    } cases[] = {
        {missing, fmOpenRead, false, "No such file or directory"},
        {missing, fmCreate, true, "No such file or directory"},
        {d.Path(), fmOpenRead, false, "Is a directory"},
        {d.Path(), fmCreate, true, "Is a directory"},
        {"", fmOpenRead, false, "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        String expected = String(c.create ? "Cannot create file \"" : "Cannot open file \"") + c.name + "\". " + c.reason;
        try {
            TFileStream f(c.name, c.mode);
            ADD_FAILURE() << "opened";
        } catch (const EFCreateError& e) {
            EXPECT_TRUE(c.create);
            EXPECT_EQ(e.Message(), expected);
        } catch (const EFOpenError& e) {
            EXPECT_FALSE(c.create);
            EXPECT_EQ(e.Message(), expected);
        }
    }
}

TEST(FileStream, ClosesItsDescriptor) {
    TempDir d;
    auto openFds = [] {
        int n = 0;
        for (auto& e : std::filesystem::directory_iterator("/proc/self/fd")) n += e.is_symlink() ? 1 : 0;
        return n;
    };
    int before = openFds();
    for (int i = 0; i < 20; ++i) {
        TFileStream f(d / "f.bin", fmCreate);
        f.WriteBuffer("x", 1);
    }
    EXPECT_EQ(openFds(), before);
}

}  // namespace
