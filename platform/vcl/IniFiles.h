// INI files read and written with the rules of Windows' profile functions.
//
// Sections and keys compare without case; the first of duplicate sections or keys answers;
// blanks around names and values are dropped and one pair of surrounding quotes is taken off a
// value; lines starting with ';' are comments. A missing or unreadable file reads as empty.
// A file's sections and keys are indexed once per version of the file, so a lookup does not
// grow with the size of its section.
// Each write of a TIniFile is saved at once through a temporary file and a rename, changing only its own
// line and keeping every other line (comments, blank lines, order) as it was.
#pragma once

#include <memory>

#include "platform/vcl/StringList.h"

class TCustomIniFile : public TObject {
    VCL_CLASS(TCustomIniFile)
    explicit TCustomIniFile(const String& FileName) : m_fileName(FileName) {}
    ~TCustomIniFile() override = default;

    const String& FileName() const { return m_fileName; }

    virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
    virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
    // Fills Strings (cleared first) with the keys of Section, in file order.
    virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
    virtual void ReadSections(TStrings* Strings) = 0;
    // Fills Strings with "key=value" lines of Section, values as ReadString gives them.
    virtual void ReadSectionValues(const String& Section, TStrings* Strings) = 0;
    virtual void EraseSection(const String& Section) = 0;
    virtual void DeleteKey(const String& Section, const String& Ident) = 0;
    virtual void UpdateFile() = 0;

    // The default when the value is absent or no number (decimal, "$1F" or "0x1F").
    int ReadInteger(const String& Section, const String& Ident, int Default);
    // ReadInteger(...) != 0.
    bool ReadBool(const String& Section, const String& Ident, bool Default);
    double ReadFloat(const String& Section, const String& Ident, double Default);
    void WriteInteger(const String& Section, const String& Ident, int Value);
    // Writes 1 or 0.
    void WriteBool(const String& Section, const String& Ident, bool Value);
    void WriteFloat(const String& Section, const String& Ident, double Value);
    // As the VCL: a section exists when it holds at least one key.
    bool SectionExists(const String& Section);
    virtual bool ValueExists(const String& Section, const String& Ident);

private:
    String m_fileName;
};

struct TIniFileState;

class TIniFile : public TCustomIniFile {
    VCL_CLASS(TIniFile)
    explicit TIniFile(const String& FileName);
    ~TIniFile() override;

    String ReadString(const String& Section, const String& Ident, const String& Default) override;
    // Creates the section (at the end) or the file when missing. Raises EIniFileException,
    // naming the file, when it cannot be saved or the names cannot be written as INI text.
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    void ReadSection(const String& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(const String& Section, TStrings* Strings) override;
    // Removes every section of that name with its lines.
    void EraseSection(const String& Section) override;
    // Removes the key (each duplicate of it) from the section that answers reads.
    void DeleteKey(const String& Section, const String& Ident) override;
    // Every write is saved at once; nothing is pending.
    void UpdateFile() override {}
    // Sections of that name, empty ones included (SectionExists needs a key).
    bool SectionPresent(const String& Section);

private:
    std::unique_ptr<TIniFileState> m_state;
};

// The whole file in memory: writes change the memory only, and UpdateFile saves the new text in
// one step (all the writes or none of them). Reads answer from memory.
class TMemIniFile : public TCustomIniFile {
    VCL_CLASS(TMemIniFile)
    // Reads the file now; a missing or unreadable file starts empty.
    explicit TMemIniFile(const String& FileName);
    ~TMemIniFile() override;

    String ReadString(const String& Section, const String& Ident, const String& Default) override;
    // Raises EIniFileException, changing nothing, when the names or the value cannot be written
    // as INI text.
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    void ReadSection(const String& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(const String& Section, TStrings* Strings) override;
    void EraseSection(const String& Section) override;
    void DeleteKey(const String& Section, const String& Ident) override;
    // Replaces the file with the text in memory; raises EIniFileException, naming the file, and
    // leaves the file as it was, when it cannot be saved.
    void UpdateFile() override;

private:
    const TIniFileState& State();
    std::unique_ptr<TIniFileState> m_state;
    bool m_changed = false;
    bool m_stale = false;
};

// Lines the INI code has looked at since the program started: what a read or a write costs,
// counted rather than timed.
namespace IniFilesWork {
unsigned long long LinesExamined();
}
