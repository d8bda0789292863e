#include "skin/core/SUIThemeFile.h"

#include <cstring>
#include <filesystem>
#include <limits>
#include <set>
#include <system_error>
#include <vector>

#include "platform/vcl/SysUtils.h"

namespace {

using Bytes = std::vector<Byte>;

constexpr int kFormatNumber = 1;
constexpr int kSignatureFieldSize = 12;
// Offsets inside a record.
constexpr int kTypeAt = 64;
constexpr int kDataOffsetAt = 65;
constexpr int kDataSizeAt = 69;
constexpr int kNextAt = 73;

Int64 ReadLE32(const Bytes& b, Int64 at) {
    std::uint32_t v = static_cast<std::uint32_t>(b[static_cast<size_t>(at)]) |
                      static_cast<std::uint32_t>(b[static_cast<size_t>(at + 1)]) << 8 |
                      static_cast<std::uint32_t>(b[static_cast<size_t>(at + 2)]) << 16 |
                      static_cast<std::uint32_t>(b[static_cast<size_t>(at + 3)]) << 24;
    return static_cast<std::int32_t>(v);
}

void PutLE32(Bytes& b, size_t at, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<Byte>(v >> (8 * i));
}

[[noreturn]] void Malformed(const String& Why) { throw EReadError("Invalid theme file: " + Why); }

Bytes ReadWholeStream(TStream* Stream) {
    Int64 size = Stream->GetSize();
    if (size < 0 || size > std::numeric_limits<std::int32_t>::max()) Malformed("file too large");
    Bytes data(static_cast<size_t>(size));
    Stream->SetPosition(0);
    if (size > 0) Stream->ReadBuffer(data.data(), size);
    return data;
}

String EntryName(const Bytes& b, Int64 recordAt) {
    const char* p = reinterpret_cast<const char*>(b.data() + recordAt);
    size_t n = 0;
    while (n < static_cast<size_t>(SUI_THEMEFILE_NAME_SIZE) && p[n] != '\0') ++n;
    return String(p, n);
}

// The fixed size an entry type needs, or -1 when any size is fine.
Int64 RequiredSize(Byte type) {
    switch (static_cast<TsuiThemeEntryType>(type)) {
        case TsuiThemeEntryType::Integer: return 4;
        case TsuiThemeEntryType::Bool: return 1;
        default: return -1;
    }
}

bool KnownType(Byte type) { return type <= static_cast<Byte>(TsuiThemeEntryType::Str); }

// ---- writing ----

struct TPendingEntry {
    String name;
    TsuiThemeEntryType type;
    Bytes data;
};

Bytes MakeHeader() {
    Bytes h(SUI_THEMEFILE_HEADER_SIZE, 0);
    std::memcpy(h.data(), SUI_THEMEFILE_SIGNATURE, std::strlen(SUI_THEMEFILE_SIGNATURE));
    PutLE32(h, 12, SUI_THEMEFILE_HEADER_SIZE);
    PutLE32(h, 16, kFormatNumber);
    PutLE32(h, 20, SUI_THEMEFILE_HEADER_SIZE);
    return h;
}

void AppendRecord(Bytes& out, const String& name, Byte type, std::int32_t dataAt, std::int32_t dataSize,
                  std::int32_t next) {
    size_t at = out.size();
    out.resize(at + SUI_THEMEFILE_RECORD_SIZE, 0);
    std::memcpy(out.data() + at, name.data(), std::min<size_t>(name.size(), SUI_THEMEFILE_NAME_SIZE));
    out[at + kTypeAt] = type;
    PutLE32(out, at + kDataOffsetAt, dataAt);
    PutLE32(out, at + kDataSizeAt, dataSize);
    PutLE32(out, at + kNextAt, next);
}

Bytes ReadFileBytes(const String& Path) {
    TFileStream f(Path, fmOpenRead | fmShareDenyNone);
    return ReadWholeStream(&f);
}

Bytes IntBytes(int v) {
    Bytes b(4);
    PutLE32(b, 0, v);
    return b;
}

// The whole file image; raises before anything is written when an item is bad.
Bytes BuildImage(TStrings* files, TStrings* strs, TStrings* ints, TStrings* bools) {
    std::vector<TPendingEntry> entries;
    for (int i = 0; i < files->Count(); ++i)
        entries.push_back({files->Names(i), TsuiThemeEntryType::File, ReadFileBytes(files->ValueFromIndex(i))});
    for (int i = 0; i < strs->Count(); ++i) {
        String s = strs->ValueFromIndex(i);
        entries.push_back({strs->Names(i), TsuiThemeEntryType::Str, Bytes(s.begin(), s.end())});
    }
    for (int i = 0; i < ints->Count(); ++i)
        entries.push_back({ints->Names(i), TsuiThemeEntryType::Integer, IntBytes(StrToInt(ints->ValueFromIndex(i)))});
    for (int i = 0; i < bools->Count(); ++i) {
        Byte v = static_cast<Byte>(StrToInt(bools->ValueFromIndex(i)) & 0xFF);
        entries.push_back({bools->Names(i), TsuiThemeEntryType::Bool, Bytes{v}});
    }

    Bytes out = MakeHeader();
    for (const TPendingEntry& e : entries) {
        Int64 dataAt = static_cast<Int64>(out.size()) + SUI_THEMEFILE_RECORD_SIZE;
        Int64 next = dataAt + static_cast<Int64>(e.data.size());
        if (next + SUI_THEMEFILE_RECORD_SIZE > std::numeric_limits<std::int32_t>::max())
            throw EWriteError("Theme file too large for 32-bit offsets");
        AppendRecord(out, e.name, static_cast<Byte>(e.type), static_cast<std::int32_t>(dataAt),
                     static_cast<std::int32_t>(e.data.size()), static_cast<std::int32_t>(next));
        out.insert(out.end(), e.data.begin(), e.data.end());
    }
    AppendRecord(out, String(), static_cast<Byte>(TsuiThemeEntryType::Bool), 0, 0, 0);
    return out;
}

String FreeTemporaryName(const String& Target) {
    for (int i = 0;; ++i) {
        String name = Target + ".~" + IntToStr(i) + ".tmp";
        if (!FileExists(name) && !DirectoryExists(name)) return name;
    }
}

// Writes the image beside the target and moves it into place, so the target is either the
// old file or the complete new one.
void WriteReplacing(const String& Target, const Bytes& image) {
    String temp = FreeTemporaryName(Target);
    try {
        TFileStream f(temp, fmCreate);
        f.WriteBuffer(image.data(), static_cast<Int64>(image.size()));
    } catch (const EFCreateError&) {
        throw EFCreateError("Cannot create file \"" + Target + "\"");
    } catch (...) {
        DeleteFile(temp);
        throw;
    }
    std::error_code ec;
    std::filesystem::rename(temp, Target, ec);
    if (ec) {
        DeleteFile(temp);
        throw EFCreateError("Cannot create file \"" + Target + "\": " + ec.message());
    }
}

// The lists hold "name=value", so a name with '=' would lose its tail and shift the value.
void CheckName(const String& Name) {
    if (Name.find('=') != String::npos) throw EConvertError("Theme entry name may not contain '=': " + Name);
}

std::unique_ptr<TStringList> NewList(bool ownsObjects = false) {
    return std::make_unique<TStringList>(ownsObjects);
}

}  // namespace

// ---- signature ----

bool IsSUIThemeFile(const String& FileName) {
    if (!FileExists(FileName)) return false;
    try {
        TFileStream f(FileName, fmOpenRead | fmShareDenyNone);
        char field[kSignatureFieldSize] = {};
        if (f.Read(field, kSignatureFieldSize) != kSignatureFieldSize) return false;
        size_t n = 0;
        while (n < sizeof field && field[n] != '\0') ++n;
        return String(field, n) == SUI_THEMEFILE_SIGNATURE;
    } catch (...) {
        return false;
    }
}

// ---- reader ----

TsuiThemeFileReader::TsuiThemeFileReader()
    : m_files(NewList(true)), m_integers(NewList()), m_bools(NewList()), m_strs(NewList()) {}

TsuiThemeFileReader::TsuiThemeFileReader(const String& FileName) : TsuiThemeFileReader() { Load(FileName); }

TsuiThemeFileReader::~TsuiThemeFileReader() = default;

void TsuiThemeFileReader::Load(const String& FileName) {
    TFileStream f(FileName, fmOpenRead | fmShareDenyNone);
    LoadFromStream(&f);
}

void TsuiThemeFileReader::LoadFromStream(TStream* Stream) {
    const Bytes b = ReadWholeStream(Stream);
    const auto size = static_cast<Int64>(b.size());
    if (size < SUI_THEMEFILE_HEADER_SIZE) Malformed("shorter than its header");
    if (ReadLE32(b, 12) != SUI_THEMEFILE_HEADER_SIZE) Malformed("unexpected header size");

    std::set<Int64> visited;
    for (Int64 at = ReadLE32(b, 20);;) {
        if (at < 0 || at + SUI_THEMEFILE_RECORD_SIZE > size) Malformed("record beyond the end of the file");
        if (!visited.insert(at).second) Malformed("record chain loops");
        const Int64 next = ReadLE32(b, at + kNextAt);
        if (next == 0) return;  // the end record

        const Byte type = b[static_cast<size_t>(at + kTypeAt)];
        if (KnownType(type)) {
            const Int64 dataAt = ReadLE32(b, at + kDataOffsetAt);
            const Int64 dataSize = ReadLE32(b, at + kDataSizeAt);
            if (dataAt < 0 || dataSize < 0 || dataAt + dataSize > size) Malformed("data beyond the end of the file");
            const Int64 need = RequiredSize(type);
            if (need >= 0 && dataSize != need) Malformed("entry size does not fit its type");
            const String name = EntryName(b, at);
            const Byte* data = b.data() + dataAt;
            switch (static_cast<TsuiThemeEntryType>(type)) {
                case TsuiThemeEntryType::File: {
                    auto stream = std::make_unique<TMemoryStream>();
                    if (dataSize > 0) stream->WriteBuffer(data, dataSize);
                    stream->SetPosition(0);
                    m_files->AddObject(name, stream.get());
                    stream.release();
                    break;
                }
                case TsuiThemeEntryType::Integer:
                    m_integers->Add(name + "=" + IntToStr(static_cast<int>(ReadLE32(b, dataAt))));
                    break;
                case TsuiThemeEntryType::Bool:
                    m_bools->Add(name + "=" + IntToStr(static_cast<int>(data[0])));
                    break;
                case TsuiThemeEntryType::Str:
                    m_strs->Add(name + "=" + String(reinterpret_cast<const char*>(data), static_cast<size_t>(dataSize)));
                    break;
            }
        }
        at = next;
    }
}

TMemoryStream* TsuiThemeFileReader::GetFile(const String& Name) {
    int i = m_files->IndexOf(Name);
    if (i < 0) return nullptr;
    auto* stream = dynamic_cast<TMemoryStream*>(m_files->Objects(i));
    if (stream != nullptr) stream->SetPosition(0);
    return stream;
}

int TsuiThemeFileReader::GetInteger(const String& Name) const {
    int i = m_integers->IndexOfName(Name);
    return i < 0 ? -1 : StrToIntDef(m_integers->ValueFromIndex(i), -1);
}

bool TsuiThemeFileReader::GetBool(const String& Name) const {
    int i = m_bools->IndexOfName(Name);
    return i >= 0 && StrToIntDef(m_bools->ValueFromIndex(i), 0) != 0;
}

String TsuiThemeFileReader::GetStr(const String& Name) const {
    int i = m_strs->IndexOfName(Name);
    return i < 0 ? String() : m_strs->ValueFromIndex(i);
}

// ---- writer ----

TsuiThemeFileWriter::TsuiThemeFileWriter(const String& FileName)
    : m_fileName(FileName), m_files(NewList()), m_integers(NewList()), m_bools(NewList()), m_strs(NewList()) {}

TsuiThemeFileWriter::~TsuiThemeFileWriter() {
    if (!m_dirty) return;
    try {
        Save();
    } catch (...) {
        // A destructor must not raise; the target keeps what it held before.
    }
}

void TsuiThemeFileWriter::AddFile(const String& Name, const String& FilePath) {
    CheckName(Name);
    m_files->Add(Name + "=" + FilePath);
    m_dirty = true;
}

void TsuiThemeFileWriter::AddStr(const String& Name, const String& Text) {
    CheckName(Name);
    m_strs->Add(Name + "=" + Text);
    m_dirty = true;
}

void TsuiThemeFileWriter::AddInteger(const String& Name, int Value) {
    CheckName(Name);
    m_integers->Add(Name + "=" + IntToStr(Value));
    m_dirty = true;
}

void TsuiThemeFileWriter::AddBool(const String& Name, bool Value) {
    CheckName(Name);
    m_bools->Add(Name + "=" + (Value ? "1" : "0"));
    m_dirty = true;
}

void TsuiThemeFileWriter::Save() {
    Bytes image = BuildImage(m_files.get(), m_strs.get(), m_integers.get(), m_bools.get());
    WriteReplacing(m_fileName, image);
    m_dirty = false;
}
