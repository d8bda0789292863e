#include "platform/vcl/IniFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/vcl/SysUtils.h"

// ======================================================================== TCustomIniFile

int TCustomIniFile::ReadInteger(const String& Section, const String& Ident, int Default) {
    return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default) {
    return StrToFloatDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, double Value) {
    WriteString(Section, Ident, FloatToStr(Value));
}

bool TCustomIniFile::SectionExists(const String& Section) {
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.IndexOf(Ident) >= 0;
}

// ======================================================================== the document

namespace {

std::atomic<unsigned long long> g_linesExamined{0};

void Examined(std::size_t Lines) { g_linesExamined.fetch_add(Lines, std::memory_order_relaxed); }

struct TIniLine {
    enum Kind { Other, Section, Key } kind = Other;
    String raw;    // the line as it stands in the file, without its line break
    String name;   // section or key name, trimmed
    String value;  // key value, trimmed, quotes still on
};

struct TIniDoc {
    std::vector<TIniLine> lines;
    bool crlf = false;
    bool bom = false;
};

TIniLine ParseLine(const String& raw) {
    TIniLine line;
    line.raw = raw;
    String t = Trim(raw);
    if (t.empty() || t[0] == ';') return line;
    if (t[0] == '[') {
        size_t close = t.find(']');
        line.kind = TIniLine::Section;
        line.name = Trim(t.substr(1, close == String::npos ? String::npos : close - 1));
        return line;
    }
    size_t eq = t.find('=');
    if (eq == String::npos) return line;  // neither key nor section: kept, never read
    line.kind = TIniLine::Key;
    line.name = Trim(t.substr(0, eq));
    line.value = Trim(t.substr(eq + 1));
    return line;
}

TIniDoc ParseDoc(String text) {
    TIniDoc doc;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        doc.bom = true;
        text.erase(0, 3);
    }
    size_t firstBreak = text.find_first_of("\r\n");
    doc.crlf = firstBreak != String::npos && text.compare(firstBreak, 2, "\r\n") == 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == String::npos) end = text.size();
        doc.lines.push_back(ParseLine(text.substr(start, end - start)));
        Examined(1);
        start = end + ((end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ? 2 : 1);
    }
    return doc;
}

String SerializeDoc(const TIniDoc& doc) {
    String out = doc.bom ? "\xEF\xBB\xBF" : "";
    const char* nl = doc.crlf ? "\r\n" : "\n";
    for (const TIniLine& l : doc.lines) out += l.raw + nl;
    return out;
}

String Unquoted(const String& v) {
    if (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\''))
        return v.substr(1, v.size() - 2);
    return v;
}

// Quotes a value that would not read back as written (outer blanks, or outer quotes).
String QuotedForWrite(const String& v) {
    bool blanks = !v.empty() && (Trim(v).size() != v.size());
    bool quoted = Unquoted(v).size() != v.size();
    return (blanks || quoted) ? "\"" + v + "\"" : v;
}

int FindSection(const TIniDoc& doc, const String& section, int from = 0) {
    for (int i = from; i < static_cast<int>(doc.lines.size()); ++i) {
        Examined(1);
        if (doc.lines[static_cast<size_t>(i)].kind == TIniLine::Section &&
            SameText(doc.lines[static_cast<size_t>(i)].name, section))
            return i;
    }
    return -1;
}

// One past the last line of the section whose header is at `header`.
int SectionEnd(const TIniDoc& doc, int header) {
    int i = header + 1;
    while (i < static_cast<int>(doc.lines.size()) && doc.lines[static_cast<size_t>(i)].kind != TIniLine::Section) ++i;
    Examined(static_cast<std::size_t>(i - header));
    return i;
}

int FindKey(const TIniDoc& doc, int header, const String& key) {
    const int end = SectionEnd(doc, header);
    for (int i = header + 1; i < end; ++i)
        if (doc.lines[static_cast<size_t>(i)].kind == TIniLine::Key && SameText(doc.lines[static_cast<size_t>(i)].name, key))
            return i;
    return -1;
}

// Where every section and key of one version of a document stands, built in one pass, so a
// lookup costs the same in a section of ten keys as in one of a hundred thousand.
struct TIniIndex {
    struct TSectionSpan {
        int header = -1;
        int end = -1;      // one past its last line
        int lastKey = -1;  // its last key line, or the header when it has none
    };
    std::unordered_map<String, int> sections;   // upper-cased name -> first header line
    std::unordered_map<int, TSectionSpan> spans;  // header line -> its span
    std::unordered_map<String, int> keys;       // header line + '\n' + upper-cased key -> first key line

    static String KeyName(int header, const String& key) { return IntToStr(header) + "\n" + UpperCase(key); }

    int Section(const String& name) const {
        auto it = sections.find(UpperCase(name));
        return it == sections.end() ? -1 : it->second;
    }
    int Key(int header, const String& key) const {
        if (header < 0) return -1;
        auto it = keys.find(KeyName(header, key));
        return it == keys.end() ? -1 : it->second;
    }
    TSectionSpan Span(int header) const {
        auto it = spans.find(header);
        return it == spans.end() ? TSectionSpan{} : it->second;
    }
};

TIniIndex BuildIndex(const TIniDoc& doc) {
    TIniIndex index;
    int header = -1;
    for (int i = 0; i < static_cast<int>(doc.lines.size()); ++i) {
        const TIniLine& l = doc.lines[static_cast<size_t>(i)];
        if (l.kind == TIniLine::Section) {
            if (header >= 0) index.spans[header].end = i;
            header = i;
            index.sections.emplace(UpperCase(l.name), i);
            index.spans[i] = TIniIndex::TSectionSpan{i, static_cast<int>(doc.lines.size()), i};
        } else if (l.kind == TIniLine::Key && header >= 0) {
            index.keys.emplace(TIniIndex::KeyName(header, l.name), i);
            index.spans[header].lastKey = i;
        }
    }
    Examined(doc.lines.size());
    return index;
}

// The keys of a section, first spelling of each, in file order.
std::vector<const TIniLine*> SectionKeys(const TIniDoc& doc, const TIniIndex& index, int header) {
    std::vector<const TIniLine*> keys;
    if (header < 0) return keys;
    const int end = index.Span(header).end;
    Examined(static_cast<std::size_t>(end - header));
    for (int i = header + 1; i < end; ++i) {
        const TIniLine& l = doc.lines[static_cast<size_t>(i)];
        if (l.kind == TIniLine::Key && index.Key(header, l.name) == i) keys.push_back(&l);
    }
    return keys;
}

void CheckName(const String& fileName, const String& what, const String& s, bool isKey) {
    bool bad = s.find_first_of("\r\n") != String::npos;
    if (isKey) bad = bad || s.find('=') != String::npos || Trim(s).empty() || Trim(s)[0] == '[' || Trim(s)[0] == ';';
    else bad = bad || s.find(']') != String::npos;
    if (bad) throw EIniFileException("Cannot write " + what + " \"" + s + "\" to the INI file \"" + fileName + "\"");
}

// ------------------------------------------------------------------------ file access

struct TFileSignature {
    bool valid = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    struct timespec mtime {};
    struct timespec ctime {};

    bool operator==(const TFileSignature& o) const {
        return valid == o.valid && dev == o.dev && ino == o.ino && size == o.size &&
               mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec &&
               ctime.tv_sec == o.ctime.tv_sec && ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

TFileSignature SignatureOf(const String& path) {
    TFileSignature s;
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return s;
    s.valid = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = st.st_size;
    s.mtime = st.st_mtim;
    s.ctime = st.st_ctim;
    return s;
}

// Reads the whole file; returns 0, or the errno that stopped it.
int ReadWholeFile(const String& path, String& text) {
    text.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return EISDIR;
    }
    char buf[8192];
    int err = 0;
    while (true) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) err = errno;
        if (n <= 0) break;
        text.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return err;
}

bool WriteAll(int fd, const String& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The file a save replaces: the target of a symbolic link, so the link survives.
String SaveTarget(const String& path) {
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        auto target = std::filesystem::canonical(path, ec);
        if (!ec) return target.string();
    }
    return path;
}

// Creates a fresh temporary file beside `target`; returns its descriptor or -1 with errno set.
int CreateTempBeside(const String& target, String& tempName) {
    static std::atomic<unsigned> counter{0};
    String dir = ExtractFilePath(target);
    String base = ExtractFileName(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = dir + "." + base + ".tmp" + IntToStr(static_cast<int>(::getpid())) + "-" + IntToStr(counter++);
        int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes text to path atomically; returns 0 or the errno of the step that failed.
int SaveAtomically(const String& path, const String& text) {
    String target = SaveTarget(path);
    String temp;
    int fd = CreateTempBeside(target, temp);
    if (fd < 0) return errno;
    struct stat old;
    int err = 0;
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    if (!WriteAll(fd, text) || ::fsync(fd) != 0) err = errno != 0 ? errno : EIO;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
    if (err != 0) ::unlink(temp.c_str());
    return err;
}

}  // namespace

// ======================================================================== TIniFile

struct TIniFileState {
    TIniDoc doc;
    String text;  // the bytes doc was parsed from
    TIniIndex index;
    TFileSignature signature;
    bool loaded = false;
};

namespace {

void Take(TIniFileState& st, TIniDoc doc, String text, const TFileSignature& signature) {
    st.doc = std::move(doc);
    st.text = std::move(text);
    st.index = BuildIndex(st.doc);
    st.signature = signature;
    st.loaded = true;
}

// File times tick in steps of a few milliseconds, so two saves close together can leave the
// same signature: a file changed in the last seconds is read again every time, but parsed only
// when its bytes differ from the version parsed last.
bool SettledSince(const TFileSignature& s) {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - s.mtime.tv_sec > 2 && now.tv_sec - s.ctime.tv_sec > 2;
}

// The document as the file holds it now, parsed once per version of the file.
const TIniFileState& Current(TIniFileState& st, const String& path) {
    TFileSignature now = SignatureOf(path);
    if (st.loaded && now == st.signature && (!now.valid || SettledSince(now))) return st;
    String text;
    if (!now.valid || ReadWholeFile(path, text) != 0) text.clear();
    if (st.loaded && text == st.text) {
        st.signature = now;
        return st;
    }
    TIniDoc doc = ParseDoc(text);
    Take(st, std::move(doc), std::move(text), now);
    return st;
}

// The first header of Section in the current document, or -1.
int IndexedSection(const TIniFileState& st, const String& section) { return st.index.Section(section); }

// Applies change to the file as it is now and saves it when change answers true. A file whose
// bytes are those parsed last is not parsed again.
void Modify(TIniFileState& st, const String& path, const std::function<bool(TIniDoc&, const TIniIndex&)>& change) {
    String text;
    int err = ReadWholeFile(path, text);
    if (err != 0 && err != ENOENT)
        throw EIniFileException("Cannot read the INI file \"" + path + "\": " + SysErrorMessage(err));
    if (err != 0) text.clear();
    if (!st.loaded || text != st.text) Take(st, ParseDoc(text), text, SignatureOf(path));
    TIniDoc doc = st.doc;
    if (!change(doc, st.index)) return;
    String saved = SerializeDoc(doc);
    err = SaveAtomically(path, saved);
    if (err != 0) throw EIniFileException("Cannot save the INI file \"" + path + "\": " + SysErrorMessage(err));
    // Reparsed, so that the lines' raw text and the index match what a reader of the file gets.
    TIniDoc reread = ParseDoc(saved);
    Take(st, std::move(reread), std::move(saved), SignatureOf(path));
}

// Sets one key; false when the document already said so. The index must be the document's.
bool SetKey(TIniDoc& doc, const TIniIndex& index, const String& section, const String& key, const String& value) {
    TIniLine line = ParseLine(key + "=" + QuotedForWrite(value));
    const int header = index.Section(section);
    if (header < 0) {
        if (!doc.lines.empty() && !Trim(doc.lines.back().raw).empty()) doc.lines.push_back(TIniLine());
        doc.lines.push_back(ParseLine("[" + section + "]"));
        doc.lines.push_back(line);
        return true;
    }
    const int at = index.Key(header, key);
    if (at >= 0) {
        TIniLine& old = doc.lines[static_cast<size_t>(at)];
        // Keep the file's spelling of the key.
        line = ParseLine(old.name + "=" + QuotedForWrite(value));
        if (line.raw == old.raw) return false;
        old = line;
        return true;
    }
    doc.lines.insert(doc.lines.begin() + index.Span(header).lastKey + 1, line);
    return true;
}

void CheckWrite(const String& fileName, const String& Section, const String& Ident, const String& Value) {
    CheckName(fileName, "the section", Section, false);
    CheckName(fileName, "the key", Ident, true);
    if (Value.find_first_of("\r\n") != String::npos)
        throw EIniFileException("Cannot write a value with a line break to the INI file \"" + fileName + "\"");
}

}  // namespace

TIniFile::TIniFile(const String& FileName) : TCustomIniFile(FileName), m_state(std::make_unique<TIniFileState>()) {}

TIniFile::~TIniFile() = default;

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
    const TIniFileState& st = Current(*m_state, FileName());
    const int at = st.index.Key(st.index.Section(Section), Ident);
    return at < 0 ? Default : Unquoted(st.doc.lines[static_cast<size_t>(at)].value);
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    CheckWrite(FileName(), Section, Ident, Value);
    Modify(*m_state, FileName(), [&](TIniDoc& doc, const TIniIndex& index) {
        return SetKey(doc, index, Trim(Section), Trim(Ident), Value) || !FileExists(FileName());
    });
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) {
    if (Strings == nullptr) return;
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        const TIniFileState& st = Current(*m_state, FileName());
        for (const TIniLine* k : SectionKeys(st.doc, st.index, IndexedSection(st, Section))) Strings->Add(k->name);
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* Strings) {
    if (Strings == nullptr) return;
    const TIniFileState& st = Current(*m_state, FileName());
    TStringList names;
    // The first spelling of each section, in file order.
    for (int i = 0; i < static_cast<int>(st.doc.lines.size()); ++i) {
        const TIniLine& l = st.doc.lines[static_cast<size_t>(i)];
        if (l.kind == TIniLine::Section && IndexedSection(st, l.name) == i) names.Add(l.name);
    }
    Strings->Assign(&names);
}

void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
    if (Strings == nullptr) return;
    TStringList lines;
    const TIniFileState& st = Current(*m_state, FileName());
    for (const TIniLine* k : SectionKeys(st.doc, st.index, IndexedSection(st, Section)))
        lines.Add(k->name + "=" + Unquoted(k->value));
    Strings->Assign(&lines);
}

bool TIniFile::SectionPresent(const String& Section) {
    return IndexedSection(Current(*m_state, FileName()), Section) >= 0;
}

void TIniFile::EraseSection(const String& Section) {
    Modify(*m_state, FileName(), [&](TIniDoc& doc, const TIniIndex&) {
        bool changed = false;
        for (int header = FindSection(doc, Section); header >= 0; header = FindSection(doc, Section)) {
            doc.lines.erase(doc.lines.begin() + header, doc.lines.begin() + SectionEnd(doc, header));
            changed = true;
        }
        return changed;
    });
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
    Modify(*m_state, FileName(), [&](TIniDoc& doc, const TIniIndex&) {
        int header = FindSection(doc, Section);
        if (header < 0) return false;
        bool changed = false;
        for (int at = FindKey(doc, header, Ident); at >= 0; at = FindKey(doc, header, Ident)) {
            doc.lines.erase(doc.lines.begin() + at);
            changed = true;
        }
        return changed;
    });
}

// ======================================================================== TMemIniFile

TMemIniFile::TMemIniFile(const String& FileName)
    : TCustomIniFile(FileName), m_state(std::make_unique<TIniFileState>()) {
    String text;
    if (ReadWholeFile(FileName, text) != 0) text.clear();
    TIniDoc doc = ParseDoc(text);
    Take(*m_state, std::move(doc), std::move(text), SignatureOf(FileName));
}

TMemIniFile::~TMemIniFile() = default;

const TIniFileState& TMemIniFile::State() {
    // An added line moves those after it: the index is made again before the next lookup.
    if (m_stale) {
        m_state->index = BuildIndex(m_state->doc);
        m_stale = false;
    }
    return *m_state;
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
    const TIniFileState& st = State();
    const int at = st.index.Key(st.index.Section(Section), Ident);
    return at < 0 ? Default : Unquoted(st.doc.lines[static_cast<size_t>(at)].value);
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    CheckWrite(FileName(), Section, Ident, Value);
    const std::size_t lines = State().doc.lines.size();
    if (SetKey(m_state->doc, m_state->index, Trim(Section), Trim(Ident), Value)) m_changed = true;
    if (m_state->doc.lines.size() != lines) m_stale = true;
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings) {
    if (Strings == nullptr) return;
    TStringList names;
    const TIniFileState& st = State();
    for (const TIniLine* k : SectionKeys(st.doc, st.index, st.index.Section(Section))) names.Add(k->name);
    Strings->Assign(&names);
}

void TMemIniFile::ReadSections(TStrings* Strings) {
    if (Strings == nullptr) return;
    const TIniFileState& st = State();
    TStringList names;
    for (int i = 0; i < static_cast<int>(st.doc.lines.size()); ++i) {
        const TIniLine& l = st.doc.lines[static_cast<size_t>(i)];
        if (l.kind == TIniLine::Section && st.index.Section(l.name) == i) names.Add(l.name);
    }
    Strings->Assign(&names);
}

void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
    if (Strings == nullptr) return;
    TStringList lines;
    const TIniFileState& st = State();
    for (const TIniLine* k : SectionKeys(st.doc, st.index, st.index.Section(Section)))
        lines.Add(k->name + "=" + Unquoted(k->value));
    Strings->Assign(&lines);
}

void TMemIniFile::EraseSection(const String& Section) {
    TIniDoc& doc = m_state->doc;
    for (int header = FindSection(doc, Section); header >= 0; header = FindSection(doc, Section)) {
        doc.lines.erase(doc.lines.begin() + header, doc.lines.begin() + SectionEnd(doc, header));
        m_changed = m_stale = true;
    }
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
    TIniDoc& doc = m_state->doc;
    const int header = FindSection(doc, Section);
    if (header < 0) return;
    for (int at = FindKey(doc, header, Ident); at >= 0; at = FindKey(doc, header, Ident)) {
        doc.lines.erase(doc.lines.begin() + at);
        m_changed = m_stale = true;
    }
}

void TMemIniFile::UpdateFile() {
    if (!m_changed && FileExists(FileName())) return;
    const int err = SaveAtomically(FileName(), SerializeDoc(m_state->doc));
    if (err != 0) throw EIniFileException("Cannot save the INI file \"" + FileName() + "\": " + SysErrorMessage(err));
    m_changed = false;
}

namespace IniFilesWork {
unsigned long long LinesExamined() { return g_linesExamined.load(std::memory_order_relaxed); }
}  // namespace IniFilesWork
