// Theme files (".sui"): a 24-byte header, then a chain of 77-byte records, each followed by its
// data, ending with an end record. All integers are 32-bit little-endian, offsets absolute.
//
//   TsuiThemeFileReader Reader(FileName);            // loads every entry into memory
//   TMemoryStream* Pic = Reader.GetFile("ButtonImage");
//   int Width = Reader.GetInteger("FormMinWidthInt");
//
//   TsuiThemeFileWriter Writer(FileName);            // the tool side: collect, then Save
//   Writer.AddInteger("FormMinWidthInt", 130);
//   Writer.Save();                                   // all or nothing
#pragma once

#include <memory>

#include "platform/vcl/Classes.h"

// Entry types of a record.
enum class TsuiThemeEntryType : Byte { File = 0, Integer = 1, Bool = 2, Str = 3 };

constexpr int SUI_THEMEFILE_HEADER_SIZE = 24;
constexpr int SUI_THEMEFILE_RECORD_SIZE = 77;
constexpr int SUI_THEMEFILE_NAME_SIZE = 64;
constexpr const char* SUI_THEMEFILE_SIGNATURE = "SkinKit_TB";

// True only when the file exists, can be read and its first 12 bytes hold exactly "SkinKit_TB"
// up to the first NUL. Never raises.
bool IsSUIThemeFile(const String& FileName);

// Holds a whole theme file in memory; keeps no handle to the file once loaded.
class TsuiThemeFileReader : public TObject {
    VCL_CLASS(TsuiThemeFileReader)
    // An empty reader; fill it with Load or LoadFromStream.
    TsuiThemeFileReader();
    // Loads the file; raises as Load does (the reader then does not exist).
    explicit TsuiThemeFileReader(const String& FileName);
    ~TsuiThemeFileReader() override;

    // Adds the file's entries to the lists. Raises EFOpenError when the file can't be opened,
    // EReadError for a malformed file (bad header size, an entry whose size doesn't fit its
    // type, a record or data block beyond the end, a record chain that loops or has no end
    // record); entries read before the fault stay in the lists.
    void Load(const String& FileName);
    // As Load, over the whole of Stream from its start.
    void LoadFromStream(TStream* Stream);

    // The file entry's bytes, rewound to 0, owned by the reader; null when there is none.
    TMemoryStream* GetFile(const String& Name);
    // The value; -1 when the name is missing or its text is not a number.
    int GetInteger(const String& Name) const;
    // True when the value is non-zero; false when missing or not a number.
    bool GetBool(const String& Name) const;
    // The text; empty when missing.
    String GetStr(const String& Name) const;

    // Names compare without case; with a repeated name the first item wins.
    // File list: the entry name with its TMemoryStream as object. The others: "name=value".
    TStrings* FileList() const { return m_files.get(); }
    TStrings* IntegerList() const { return m_integers.get(); }
    TStrings* BoolList() const { return m_bools.get(); }
    TStrings* StrList() const { return m_strs.get(); }

private:
    std::unique_ptr<TStringList> m_files;  // owns its streams
    std::unique_ptr<TStringList> m_integers;
    std::unique_ptr<TStringList> m_bools;
    std::unique_ptr<TStringList> m_strs;
};

// Collects entries and writes a theme file. Written order: files (as added), strings,
// integers, bools, then the end record.
class TsuiThemeFileWriter : public TObject {
    VCL_CLASS(TsuiThemeFileWriter)
    explicit TsuiThemeFileWriter(const String& FileName);
    // Saves when entries were added (or nothing was saved yet) since the last successful Save;
    // a failure there is swallowed, so destruction never raises.
    ~TsuiThemeFileWriter() override;

    // Each appends "name=value" to its list; for AddFile the value is the path to embed.
    // A name containing '=' raises EConvertError.
    void AddFile(const String& Name, const String& FilePath);
    void AddStr(const String& Name, const String& Text);
    void AddInteger(const String& Name, int Value);
    void AddBool(const String& Name, bool Value);

    // Writes the file, or raises and leaves any existing file as it was: every value is checked
    // and every embedded file read before a temporary file is written and renamed over the
    // target. Raises EFOpenError (an embedded file), EConvertError (a value that is not a
    // number), EFCreateError / EWriteError (the target).
    void Save();

    const String& GetFileName() const { return m_fileName; }
    TStrings* FileList() const { return m_files.get(); }
    TStrings* IntegerList() const { return m_integers.get(); }
    TStrings* BoolList() const { return m_bools.get(); }
    TStrings* StrList() const { return m_strs.get(); }

private:
    String m_fileName;
    std::unique_ptr<TStringList> m_files;
    std::unique_ptr<TStringList> m_integers;
    std::unique_ptr<TStringList> m_bools;
    std::unique_ptr<TStringList> m_strs;
    bool m_dirty = true;
};
