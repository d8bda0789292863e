// Exceptions, file and string utilities as SysUtils offers them.
#pragma once

#include <stdexcept>

#include "platform/vcl/System.h"

// The class library's exception; what() and Message() give the text shown to the user.
class Exception : public std::exception {
public:
    explicit Exception(String msg) : m_message(std::move(msg)) {}
    const char* what() const noexcept override { return m_message.c_str(); }
    const String& Message() const { return m_message; }
    void SetMessage(const String& m) { m_message = m; }
    virtual const char* ClassName() const { return "Exception"; }

private:
    String m_message;
};

#define VCL_EXCEPTION(Name, Base)                                        \
    class Name : public Base {                                           \
    public:                                                              \
        using Base::Base;                                                \
        const char* ClassName() const override { return #Name; }         \
    };

VCL_EXCEPTION(EConvertError, Exception)
VCL_EXCEPTION(EComponentError, Exception)
VCL_EXCEPTION(EInvalidOperation, Exception)
VCL_EXCEPTION(EInvalidGraphic, Exception)
VCL_EXCEPTION(EInvalidGraphicOperation, Exception)
VCL_EXCEPTION(EOutOfResources, Exception)
VCL_EXCEPTION(EInOutError, Exception)
VCL_EXCEPTION(EStreamError, Exception)
VCL_EXCEPTION(EFOpenError, EStreamError)
VCL_EXCEPTION(EFCreateError, EStreamError)
VCL_EXCEPTION(EReadError, EStreamError)
VCL_EXCEPTION(EWriteError, EStreamError)
VCL_EXCEPTION(EListError, Exception)
VCL_EXCEPTION(EStringListError, Exception)
VCL_EXCEPTION(EIniFileException, Exception)
VCL_EXCEPTION(ERegistryException, Exception)
VCL_EXCEPTION(EAbort, Exception)
VCL_EXCEPTION(EJPEG, EInvalidGraphic)

// ---- the rest of SysUtils (files, strings, numbers, Format) follows below ----

#include <initializer_list>
#include <memory>
#include <string_view>

// ---- files and folders ----

constexpr char PathDelim = '/';
constexpr char DriveDelim = ':';
constexpr char PathSep = ':';

// True for an existing file that is not a folder.
bool FileExists(const String& FileName);
bool DirectoryExists(const String& Directory);
// Creates one folder; false when it exists already or cannot be made.
bool CreateDir(const String& Dir);
// Creates the folder and every missing parent; true when the folder exists afterwards.
bool ForceDirectories(const String& Dir);
bool DeleteFile(const String& FileName);
// As Windows' MoveFile: fails (false) when NewName exists already.
bool RenameFile(const String& OldName, const String& NewName);
bool RemoveDir(const String& Dir);
String GetCurrentDir();
bool SetCurrentDir(const String& Dir);
// Size in bytes, or -1 when the file cannot be examined.
Int64 FileSizeOf(const String& FileName);
// Text of an errno value, for messages.
String SysErrorMessage(int ErrorCode);

// File attributes as FindFirst reports them. Names starting with '.' (other than "." and "..")
// count as hidden; a file without write permission for its owner as read-only.
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faSymLink = 0x40;
constexpr int faNormal = 0x80;
constexpr int faAnyFile = 0x3F;

struct TSearchState;
using TDateTime = double;  // days since 1899-12-30, local time

struct TSearchRec {
    String Name;        // the entry's name, without its folder
    Int64 Size = 0;
    int Attr = 0;
    Int64 Time = 0;     // modification time, seconds since 1970-01-01 UTC
    TDateTime TimeStamp = 0;
    int ExcludeAttr = 0;
    std::shared_ptr<TSearchState> FindHandle;
};

// Lists the entries of a folder matching a pattern such as "folder/*.vob" ('*' and '?', without
// case, "*.*" matching every name). As on Windows, folders are listed only when Attr asks for
// faDirectory (then "." and ".." come first), hidden entries only with faHidden; the others come
// in case-insensitive name order. Returns 0 and fills F for the first entry, non-zero when none.
int FindFirst(const String& Path, int Attr, TSearchRec& F);
// Moves F to the next entry: 0, or non-zero when there are no more.
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);
// Windows' wildcard rules without case: "*.*" matches names without a dot, "a.*" matches "a".
bool MatchesMask(const String& FileName, const String& Mask);

// ---- file names ('/' is the delimiter; '\' is accepted as one when taking names apart) ----

String ExtractFileName(const String& FileName);
// The folder part with its trailing delimiter ("a/b/c.txt" gives "a/b/").
String ExtractFilePath(const String& FileName);
// The folder part without its trailing delimiter, except for a root ("/x" gives "/").
String ExtractFileDir(const String& FileName);
// The extension with its dot, or "" ("a/b.c.txt" gives ".txt").
String ExtractFileExt(const String& FileName);
// "C:" of "C:\x", "\\server\share" of a UNC name, "" for a POSIX path.
String ExtractFileDrive(const String& FileName);
String ChangeFileExt(const String& FileName, const String& Extension);
// As the VCL: "" gives "/".
String IncludeTrailingPathDelimiter(const String& S);
String ExcludeTrailingPathDelimiter(const String& S);
String ExpandFileName(const String& FileName);
bool IsPathDelimiter(const String& S, int Index);
// 1-based index of the last character of S that is in Delimiters, 0 when none.
int LastDelimiter(const String& Delimiters, const String& S);

// ---- numbers ----

String IntToStr(int Value);
String IntToStr(unsigned Value);
String IntToStr(Int64 Value);
String IntToStr(std::uint64_t Value);
// Upper-case hex, at least Digits long; a negative int shows its 32-bit pattern.
String IntToHex(int Value, int Digits);
String IntToHex(Int64 Value, int Digits);
// Decimal with an optional sign, or hex as "$1F", "0x1F"; leading blanks allowed.
// Raises EConvertError "'x' is not a valid integer value".
int StrToInt(const String& S);
Int64 StrToInt64(const String& S);
int StrToIntDef(const String& S, int Default);
Int64 StrToInt64Def(const String& S, Int64 Default);
bool TryStrToInt(const String& S, int& Value);
bool TryStrToInt64(const String& S, Int64& Value);
// The decimal separator is always '.'; blanks around the number are allowed.
double StrToFloat(const String& S);
double StrToFloatDef(const String& S, double Default);
bool TryStrToFloat(const String& S, double& Value);
// 15 significant digits, scientific only where needed ("1.5", "1E20", "1E-5").
String FloatToStr(double Value);
// Picture formats: '0' digit, '#' optional digit, '.' decimal point, ',' thousands,
// "E+00" exponent, quoted literals, up to three sections "positive;negative;zero".
String FormatFloat(const String& Format, double Value);
String BoolToStr(bool B, bool UseBoolStrs = false);

// The number separators of the user's locale (LC_NUMERIC of the environment), read at start-up
// without changing the process locale, so files keep '.'; controls that show numbers to the user
// read them. The thousands separator may be empty or several bytes (a narrow no-break space).
struct TFormatSettings {
    String DecimalSeparator = ".";
    String ThousandSeparator = ",";
};
TFormatSettings UserLocaleFormatSettings();
extern TFormatSettings FormatSettings;
bool StrToBool(const String& S);
bool StrToBoolDef(const String& S, bool Default);

// One argument of Format.
struct TVarRec {
    enum TKind { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtPointer };
    TKind Kind;
    Int64 I = 0;
    double F = 0;
    std::string_view S;
    const void* P = nullptr;

    TVarRec(int v) : Kind(vtInteger), I(v) {}
    TVarRec(unsigned v) : Kind(vtInt64), I(v) {}
    TVarRec(long v) : Kind(vtInt64), I(v) {}
    TVarRec(unsigned long v) : Kind(vtInt64), I(static_cast<Int64>(v)) {}
    TVarRec(long long v) : Kind(vtInt64), I(static_cast<Int64>(v)) {}
    TVarRec(unsigned long long v) : Kind(vtInt64), I(static_cast<Int64>(v)) {}
    TVarRec(double v) : Kind(vtExtended), F(v) {}
    TVarRec(char c) : Kind(vtChar), S(&m_char, 1), m_char(c) {}
    TVarRec(const char* s) : Kind(vtString), S(s ? s : "") {}
    TVarRec(const String& s) : Kind(vtString), S(s) {}
    TVarRec(std::string_view s) : Kind(vtString), S(s) {}
    TVarRec(const void* p) : Kind(vtPointer), P(p) {}
    TVarRec(const TVarRec& o) : Kind(o.Kind), I(o.I), F(o.F), S(o.S), P(o.P), m_char(o.m_char) {
        if (Kind == vtChar) S = std::string_view(&m_char, 1);
    }
    TVarRec& operator=(const TVarRec&) = delete;

private:
    char m_char = 0;
};

// Delphi's Format: %[index:][-][width][.prec]type with d u x e f g n p s and %%; '*' takes
// width or precision from the arguments. Raises EConvertError for a bad or mismatched format.
String Format(const String& Fmt, std::initializer_list<TVarRec> Args = {});

// ---- strings (ASCII case rules; the Ansi forms also fold Latin-1 letters in UTF-8) ----

String Trim(const String& S);
String TrimLeft(const String& S);
String TrimRight(const String& S);
String UpperCase(const String& S);
String LowerCase(const String& S);
String AnsiUpperCase(const String& S);
String AnsiLowerCase(const String& S);
bool SameText(const String& S1, const String& S2);
bool AnsiSameText(const String& S1, const String& S2);
// <0, 0 or >0; CompareText compares the upper-case forms, CompareStr the bytes.
int CompareText(const String& S1, const String& S2);
int CompareStr(const String& S1, const String& S2);
int AnsiCompareText(const String& S1, const String& S2);
// Without case first, then lower case before upper case, as a Windows locale sorts.
int AnsiCompareStr(const String& S1, const String& S2);
// 1-based position of SubStr in S, 0 when absent.
int Pos(const String& SubStr, const String& S);
int PosEx(const String& SubStr, const String& S, int Offset = 1);
int AnsiPos(const String& SubStr, const String& S);
// Delphi's Copy: Index is 1-based; out-of-range parts are cut off, never an error.
String Copy(const String& S, int Index, int Count = 0x7FFFFFFF);
// Delphi's Delete and Insert procedures on a string.
void Delete(String& S, int Index, int Count);
void Insert(const String& Source, String& S, int Index);
String StringOfChar(char Ch, int Count);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = Set<TReplaceFlag>;
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags);
// 'it''s' style quoting and its reverse (a string not starting with Quote comes back as is).
String QuotedStr(const String& S);
String AnsiQuotedStr(const String& S, char Quote);
String AnsiDequotedStr(const String& S, char Quote);

// ---- dates and times ----

TDateTime EncodeDate(Word Year, Word Month, Word Day);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Raises the silent exception that ends an operation without a message.
[[noreturn]] void Abort();
