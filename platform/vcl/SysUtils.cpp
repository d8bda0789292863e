#include "platform/vcl/SysUtils.h"

#include <dirent.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <limits>
#include <vector>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
char UpChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char LowChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
bool IsDelim(char c) { return c == '/' || c == '\\'; }

}  // namespace

// ======================================================================== files and folders

namespace {

bool StatPath(const String& path, struct stat& st) { return !path.empty() && ::stat(path.c_str(), &st) == 0; }

}  // namespace

bool FileExists(const String& FileName) {
    struct stat st;
    return StatPath(FileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const String& Directory) {
    struct stat st;
    return StatPath(Directory, st) && S_ISDIR(st.st_mode);
}

bool CreateDir(const String& Dir) { return !Dir.empty() && ::mkdir(Dir.c_str(), 0777) == 0; }

bool ForceDirectories(const String& Dir) {
    if (Dir.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(Dir, ec);
    return DirectoryExists(Dir);
}

bool DeleteFile(const String& FileName) {
    struct stat st;
    if (FileName.empty() || ::lstat(FileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return ::unlink(FileName.c_str()) == 0;
}

bool RenameFile(const String& OldName, const String& NewName) {
    struct stat st;
    if (OldName.empty() || NewName.empty() || ::lstat(NewName.c_str(), &st) == 0) return false;
    return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

bool RemoveDir(const String& Dir) { return !Dir.empty() && ::rmdir(Dir.c_str()) == 0; }

String GetCurrentDir() {
    std::error_code ec;
    auto p = std::filesystem::current_path(ec);
    return ec ? String() : p.string();
}

bool SetCurrentDir(const String& Dir) { return !Dir.empty() && ::chdir(Dir.c_str()) == 0; }

Int64 FileSizeOf(const String& FileName) {
    struct stat st;
    return StatPath(FileName, st) ? static_cast<Int64>(st.st_size) : -1;
}

String SysErrorMessage(int ErrorCode) {
    char buf[256];
    // GNU strerror_r returns the text, which may not be buf.
    return String(strerror_r(ErrorCode, buf, sizeof buf));
}

// ------------------------------------------------------------------------ FindFirst

namespace {

bool MatchWild(const char* n, const char* m) {
    // Iterative '*' matching with one backtrack point keeps it linear for ordinary masks.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*n != '\0') {
        if (*m == '*') {
            star = m++;
            resume = n;
        } else if (*m == '?' || (*m != '\0' && UpChar(*m) == UpChar(*n))) {
            ++m;
            ++n;
        } else if (star != nullptr) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*m == '*') ++m;
    return *m == '\0';
}

TDateTime UnixToDateTime(time_t t) {
    struct tm lt;
    localtime_r(&t, &lt);
    return EncodeDate(static_cast<Word>(lt.tm_year + 1900), static_cast<Word>(lt.tm_mon + 1),
                      static_cast<Word>(lt.tm_mday)) +
           EncodeTime(static_cast<Word>(lt.tm_hour), static_cast<Word>(lt.tm_min),
                      static_cast<Word>(lt.tm_sec), 0);
}

}  // namespace

bool MatchesMask(const String& FileName, const String& Mask) {
    if (Mask == "*.*" || Mask == "*") return true;
    if (MatchWild(FileName.c_str(), Mask.c_str())) return true;
    // Windows lets "name.*" match "name" (the dot belongs to an empty extension).
    if (Mask.size() >= 2 && Mask.compare(Mask.size() - 2, 2, ".*") == 0 &&
        FileName.find('.') == String::npos)
        return MatchWild(FileName.c_str(), Mask.substr(0, Mask.size() - 2).c_str());
    return false;
}

struct TSearchState {
    std::vector<TSearchRec> entries;
    size_t next = 0;
};

namespace {

int AttrOf(const String& name, const struct stat& st) {
    int attr = 0;
    if (S_ISDIR(st.st_mode)) attr |= faDirectory;
    if ((st.st_mode & S_IWUSR) == 0) attr |= faReadOnly;
    if (name.size() > 1 && name[0] == '.' && name != "..") attr |= faHidden;
    return attr;
}

bool StatEntry(const String& full, struct stat& st) {
    if (::stat(full.c_str(), &st) == 0) return true;
    return ::lstat(full.c_str(), &st) == 0;  // a dangling link is still an entry
}

TSearchRec MakeRec(const String& name, const struct stat& st, int excludeAttr) {
    TSearchRec r;
    r.Name = name;
    r.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<Int64>(st.st_size);
    r.Attr = AttrOf(name, st);
    r.Time = static_cast<Int64>(st.st_mtime);
    r.TimeStamp = UnixToDateTime(st.st_mtime);
    r.ExcludeAttr = excludeAttr;
    return r;
}

bool DotName(const String& n) { return n == "." || n == ".."; }

void FillFrom(TSearchRec& F, const TSearchRec& e) {
    F.Name = e.Name;
    F.Size = e.Size;
    F.Attr = e.Attr;
    F.Time = e.Time;
    F.TimeStamp = e.TimeStamp;
}

}  // namespace

int FindFirst(const String& Path, int Attr, TSearchRec& F) {
    FindClose(F);
    size_t cut = Path.find_last_of("/\\");
    String dir = cut == String::npos ? String(".") : Path.substr(0, cut + 1);
    String mask = cut == String::npos ? Path : Path.substr(cut + 1);
    if (mask.empty()) return ENOENT;
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return errno != 0 ? errno : ENOENT;
    int exclude = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    auto state = std::make_shared<TSearchState>();
    while (struct dirent* de = ::readdir(d)) {
        String name = de->d_name;
        if (!MatchesMask(name, mask)) continue;
        struct stat st;
        String full = dir + (IsDelim(dir.back()) ? "" : "/") + name;
        if (!StatEntry(full, st)) continue;
        TSearchRec rec = MakeRec(name, st, exclude);
        if ((rec.Attr & exclude) != 0) continue;
        state->entries.push_back(std::move(rec));
    }
    ::closedir(d);
    std::stable_sort(state->entries.begin(), state->entries.end(),
                     [](const TSearchRec& a, const TSearchRec& b) {
                         if (DotName(a.Name) != DotName(b.Name)) return DotName(a.Name);
                         return CompareText(a.Name, b.Name) < 0;
                     });
    if (state->entries.empty()) return ENOENT;
    F.ExcludeAttr = exclude;
    F.FindHandle = state;
    return FindNext(F);
}

int FindNext(TSearchRec& F) {
    TSearchState* s = F.FindHandle.get();
    if (s == nullptr || s->next >= s->entries.size()) return ENOENT;
    FillFrom(F, s->entries[s->next++]);
    return 0;
}

void FindClose(TSearchRec& F) { F.FindHandle.reset(); }

// ======================================================================== file names

namespace {

// Index just past the last delimiter (or the drive's colon), 0 when none.
size_t NameStart(const String& s) {
    size_t i = s.find_last_of("/\\");
    size_t start = i == String::npos ? 0 : i + 1;
    if (start == 0 && s.size() >= 2 && s[1] == ':' && std::isalpha(static_cast<unsigned char>(s[0])))
        start = 2;
    return start;
}

}  // namespace

String ExtractFileName(const String& FileName) { return FileName.substr(NameStart(FileName)); }

String ExtractFilePath(const String& FileName) { return FileName.substr(0, NameStart(FileName)); }

String ExtractFileDir(const String& FileName) {
    String path = ExtractFilePath(FileName);
    String drive = ExtractFileDrive(path);
    // Keep a lone root delimiter ("/", "C:\") so the result still names the root; a UNC
    // share names its root without one.
    size_t rootLen = drive.size() + (drive.compare(0, 2, "\\\\") == 0 ? 0 : 1);
    if (path.size() > rootLen && IsDelim(path.back())) path.pop_back();
    return path;
}

String ExtractFileExt(const String& FileName) {
    size_t start = NameStart(FileName);
    size_t dot = FileName.rfind('.');
    if (dot == String::npos || dot < start) return String();
    return FileName.substr(dot);
}

String ExtractFileDrive(const String& FileName) {
    if (FileName.size() >= 2 && FileName[1] == ':' && std::isalpha(static_cast<unsigned char>(FileName[0])))
        return FileName.substr(0, 2);
    if (FileName.size() >= 2 && FileName[0] == '\\' && FileName[1] == '\\') {
        size_t server = FileName.find_first_of("/\\", 2);
        if (server == String::npos) return FileName;
        size_t share = FileName.find_first_of("/\\", server + 1);
        return FileName.substr(0, share);
    }
    return String();
}

String ChangeFileExt(const String& FileName, const String& Extension) {
    String ext = ExtractFileExt(FileName);
    return FileName.substr(0, FileName.size() - ext.size()) + Extension;
}

String IncludeTrailingPathDelimiter(const String& S) {
    if (!S.empty() && IsDelim(S.back())) return S;
    return S + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& S) {
    if (!S.empty() && IsDelim(S.back())) return S.substr(0, S.size() - 1);
    return S;
}

String ExpandFileName(const String& FileName) {
    if (FileName.empty()) return GetCurrentDir();
    std::error_code ec;
    auto p = std::filesystem::absolute(FileName, ec);
    return ec ? FileName : p.lexically_normal().string();
}

bool IsPathDelimiter(const String& S, int Index) {
    return Index >= 1 && Index <= static_cast<int>(S.size()) && IsDelim(S[static_cast<size_t>(Index - 1)]);
}

int LastDelimiter(const String& Delimiters, const String& S) {
    size_t i = S.find_last_of(Delimiters);
    return i == String::npos ? 0 : static_cast<int>(i) + 1;
}

// ======================================================================== numbers

String IntToStr(int Value) { return std::to_string(Value); }
String IntToStr(unsigned Value) { return std::to_string(Value); }
String IntToStr(Int64 Value) { return std::to_string(Value); }
String IntToStr(std::uint64_t Value) { return std::to_string(Value); }

namespace {

String HexOf(std::uint64_t v, int digits) {
    static const char kHex[] = "0123456789ABCDEF";
    String s;
    do {
        s.insert(s.begin(), kHex[v & 0xF]);
        v >>= 4;
    } while (v != 0);
    if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<size_t>(digits) - s.size(), '0');
    return s;
}

// Parses Delphi's integer syntax into a magnitude and sign; false on any stray character.
bool ParseInteger(const String& text, std::uint64_t& magnitude, bool& negative, bool& hex) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) return false;
    auto r = std::from_chars(text.data() + i, text.data() + text.size(), magnitude, hex ? 16 : 10);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

bool ToInt64(const String& s, Int64& out) {
    std::uint64_t mag;
    bool neg, hex;
    if (!ParseInteger(s, mag, neg, hex)) return false;
    if (hex && !neg) {
        out = static_cast<Int64>(mag);  // hex spells a bit pattern
        return true;
    }
    const std::uint64_t limit = neg ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    if (mag > limit) return false;
    out = neg ? static_cast<Int64>(0 - mag) : static_cast<Int64>(mag);
    return true;
}

bool ToInt32(const String& s, int& out) {
    std::uint64_t mag;
    bool neg, hex;
    if (!ParseInteger(s, mag, neg, hex)) return false;
    if (hex && !neg) {
        if (mag > 0xFFFFFFFFull) return false;
        out = static_cast<int>(static_cast<std::uint32_t>(mag));
        return true;
    }
    const std::uint64_t limit = neg ? 0x80000000ull : 0x7FFFFFFFull;
    if (mag > limit) return false;
    out = static_cast<int>(neg ? -static_cast<Int64>(mag) : static_cast<Int64>(mag));
    return true;
}

}  // namespace

String IntToHex(int Value, int Digits) { return HexOf(static_cast<std::uint32_t>(Value), Digits); }
String IntToHex(Int64 Value, int Digits) { return HexOf(static_cast<std::uint64_t>(Value), Digits); }

bool TryStrToInt(const String& S, int& Value) { return ToInt32(S, Value); }
bool TryStrToInt64(const String& S, Int64& Value) { return ToInt64(S, Value); }

int StrToInt(const String& S) {
    int v;
    if (!ToInt32(S, v)) throw EConvertError("'" + S + "' is not a valid integer value");
    return v;
}

Int64 StrToInt64(const String& S) {
    Int64 v;
    if (!ToInt64(S, v)) throw EConvertError("'" + S + "' is not a valid integer value");
    return v;
}

int StrToIntDef(const String& S, int Default) {
    int v;
    return ToInt32(S, v) ? v : Default;
}

Int64 StrToInt64Def(const String& S, Int64 Default) {
    Int64 v;
    return ToInt64(S, v) ? v : Default;
}

bool TryStrToFloat(const String& S, double& Value) {
    String t = Trim(S);
    if (t.empty()) return false;
    // from_chars takes "inf" and "nan", which are no numbers here; only digits, sign, point, E.
    for (char c : t)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    size_t start = (t[0] == '+') ? 1 : 0;
    if (start == 1 && (t.size() == 1 || t[1] == '-' || t[1] == '+')) return false;
    // from_chars is locale-independent, unlike strtod under a German locale.
    auto r = std::from_chars(t.data() + start, t.data() + t.size(), Value);
    return r.ec == std::errc() && r.ptr == t.data() + t.size();
}

double StrToFloat(const String& S) {
    double v;
    if (!TryStrToFloat(S, v)) throw EConvertError("'" + S + "' is not a valid floating point value");
    return v;
}

double StrToFloatDef(const String& S, double Default) {
    double v;
    return TryStrToFloat(S, v) ? v : Default;
}

namespace {

// "1e+20" from to_chars becomes "1E20", "1e-05" becomes "1E-5".
String TidyExponent(String s) {
    size_t e = s.find('e');
    if (e == String::npos) return s;
    String mant = s.substr(0, e);
    String exp = s.substr(e + 1);
    bool neg = !exp.empty() && exp[0] == '-';
    if (!exp.empty() && (exp[0] == '-' || exp[0] == '+')) exp.erase(0, 1);
    exp.erase(0, std::min(exp.find_first_not_of('0'), exp.size() - 1));
    return mant + "E" + (neg ? "-" : "") + exp;
}

String NonFinite(double v) {
    if (std::isnan(v)) return "NAN";
    return v < 0 ? "-INF" : "INF";
}

String GeneralText(double v, int precision) {
    if (!std::isfinite(v)) return NonFinite(v);
    if (v == 0) v = 0;  // negative zero prints as "0"
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
    return TidyExponent(String(buf, r.ptr));
}

// The decimal digits of |v| rounded half away from zero to Decimals places, taken from its
// first 15 significant digits (so 1.005 shows as 1.01, as the value was written).
void FixedDigits(double v, int decimals, String& intPart, String& fracPart) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 14);
    String sci(buf, r.ptr);
    size_t e = sci.find('e');
    String digits = sci.substr(0, 1) + sci.substr(2, e - 2);
    int point = std::atoi(sci.c_str() + e + 1) + 1;  // digits before the decimal point
    if (digits.find_first_not_of('0') == String::npos) point = 1;
    int keep = point + decimals;
    if (keep < 0) {
        digits.clear();
    } else if (keep < static_cast<int>(digits.size())) {
        bool up = digits[static_cast<size_t>(keep)] >= '5';
        digits.resize(static_cast<size_t>(keep));
        int i = keep - 1;
        for (; up && i >= 0; --i) {
            if (digits[static_cast<size_t>(i)] == '9') {
                digits[static_cast<size_t>(i)] = '0';
            } else {
                ++digits[static_cast<size_t>(i)];
                up = false;
            }
        }
        if (up) {
            digits.insert(digits.begin(), '1');
            ++point;
        }
    } else {
        digits.append(static_cast<size_t>(keep) - digits.size(), '0');
    }
    if (point <= 0) {
        intPart.clear();
        fracPart = String(static_cast<size_t>(std::min(-point, decimals)), '0') + digits;
    } else {
        intPart = digits.substr(0, static_cast<size_t>(point));
        if (intPart.size() < static_cast<size_t>(point)) intPart.append(static_cast<size_t>(point) - intPart.size(), '0');
        fracPart = digits.size() > static_cast<size_t>(point) ? digits.substr(static_cast<size_t>(point)) : String();
    }
    fracPart.resize(static_cast<size_t>(decimals), '0');
    intPart.erase(0, intPart.find_first_not_of('0') == String::npos ? intPart.size() : intPart.find_first_not_of('0'));
}

String GroupThousands(const String& digits) {
    String out;
    for (size_t i = 0; i < digits.size(); ++i) {
        out += digits[i];
        size_t rest = digits.size() - 1 - i;
        if (rest > 0 && rest % 3 == 0) out += ',';
    }
    return out;
}

bool AllZero(const String& a, const String& b) {
    return a.find_first_not_of('0') == String::npos && b.find_first_not_of('0') == String::npos;
}

}  // namespace

String FloatToStr(double Value) { return GeneralText(Value, 15); }

String BoolToStr(bool B, bool UseBoolStrs) {
    if (UseBoolStrs) return B ? "True" : "False";
    return B ? "-1" : "0";
}

bool StrToBoolDef(const String& S, bool Default) {
    String t = Trim(S);
    if (SameText(t, "true") || SameText(t, "yes")) return true;
    if (SameText(t, "false") || SameText(t, "no")) return false;
    double d;
    if (TryStrToFloat(t, d)) return d != 0;
    return Default;
}

bool StrToBool(const String& S) {
    if (StrToBoolDef(S, true) != StrToBoolDef(S, false))
        throw EConvertError("'" + S + "' is not a valid boolean value");
    return StrToBoolDef(S, false);
}

// ------------------------------------------------------------------------ FormatFloat

namespace {

struct TPicToken {
    enum Kind { Literal, Zero, Hash, Point, Exponent } kind;
    String text;        // literal text, or "E+" / "E-" / "e+" / "e-" for an exponent
    int expDigits = 0;
};

struct TPicture {
    std::vector<TPicToken> tokens;
    bool thousands = false;
    int intSlots = 0, minInt = 0, fracSlots = 0, minFrac = 0;
    bool scientific = false;
};

// Splits a format into its sections, keeping quoted literals whole.
std::vector<String> PictureSections(const String& fmt) {
    std::vector<String> sections(1);
    char quote = 0;
    for (char c : fmt) {
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

TPicture ParsePicture(const String& sec) {
    TPicture p;
    bool afterPoint = false;
    int firstIntZero = -1;
    for (size_t i = 0; i < sec.size(); ++i) {
        char c = sec[i];
        if (c == '"' || c == '\'') {
            size_t end = sec.find(c, i + 1);
            if (end == String::npos) end = sec.size();
            p.tokens.push_back({TPicToken::Literal, sec.substr(i + 1, end - i - 1)});
            i = end;
        } else if (c == '0' || c == '#') {
            p.tokens.push_back({c == '0' ? TPicToken::Zero : TPicToken::Hash, String()});
            if (afterPoint) {
                ++p.fracSlots;
                if (c == '0') p.minFrac = p.fracSlots;
            } else {
                if (c == '0' && firstIntZero < 0) firstIntZero = p.intSlots;
                ++p.intSlots;
            }
        } else if (c == '.' && !afterPoint && !p.scientific) {
            p.tokens.push_back({TPicToken::Point, String()});
            afterPoint = true;
        } else if (c == ',') {
            p.thousands = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < sec.size() && (sec[i + 1] == '+' || sec[i + 1] == '-') &&
                   !p.scientific) {
            TPicToken t{TPicToken::Exponent, sec.substr(i, 2)};
            i += 2;
            while (i < sec.size() && sec[i] == '0' && t.expDigits < 4) {
                ++t.expDigits;
                ++i;
            }
            --i;
            p.tokens.push_back(t);
            p.scientific = true;
            afterPoint = true;  // digit slots after the exponent are not part of the number
        } else {
            p.tokens.push_back({TPicToken::Literal, String(1, c)});
        }
    }
    // Every slot from the first integer '0' on shows a digit, zero or not.
    p.minInt = firstIntZero < 0 ? 0 : p.intSlots - firstIntZero;
    return p;
}

// Rounds |v| for a scientific picture: the mantissa keeps intSlots integer digits.
void ScientificDigits(double v, const TPicture& p, String& intPart, String& fracPart, int& exponent) {
    int intDigits = std::max(p.intSlots, 1);
    double a = std::fabs(v);
    exponent = 0;
    if (a != 0) exponent = static_cast<int>(std::floor(std::log10(a))) - (intDigits - 1);
    double mant = a / std::pow(10.0, exponent);
    FixedDigits(mant, p.fracSlots, intPart, fracPart);
    if (static_cast<int>(intPart.size()) > intDigits) {  // rounding carried into a new digit
        ++exponent;
        FixedDigits(a / std::pow(10.0, exponent), p.fracSlots, intPart, fracPart);
    }
}

String ExponentText(const TPicToken& t, int exponent) {
    String digits = std::to_string(std::abs(exponent));
    if (static_cast<int>(digits.size()) < t.expDigits)
        digits.insert(0, static_cast<size_t>(t.expDigits) - digits.size(), '0');
    String sign = exponent < 0 ? "-" : (t.text[1] == '+' ? "+" : "");
    return String(1, t.text[0]) + sign + digits;
}

String EmitPicture(const TPicture& p, String intPart, String fracPart, int exponent) {
    while (static_cast<int>(fracPart.size()) > p.minFrac && !fracPart.empty() && fracPart.back() == '0')
        fracPart.pop_back();
    if (static_cast<int>(intPart.size()) < p.minInt)
        intPart.insert(0, static_cast<size_t>(p.minInt) - intPart.size(), '0');
    const int len = static_cast<int>(intPart.size());
    String out;
    auto emitInt = [&](int from, int to) {  // digits [from, to] of intPart
        for (int k = std::max(from, 0); k <= to && k < len; ++k) {
            out += intPart[static_cast<size_t>(k)];
            int rest = len - 1 - k;
            if (p.thousands && rest > 0 && rest % 3 == 0) out += ',';
        }
    };
    int intSlot = 0, fracSlot = 0;
    bool afterPoint = false;
    for (const TPicToken& t : p.tokens) {
        switch (t.kind) {
            case TPicToken::Literal: out += t.text; break;
            case TPicToken::Point:
                if (p.intSlots == 0) emitInt(0, len - 1);
                if (!fracPart.empty()) out += '.';
                afterPoint = true;
                break;
            case TPicToken::Exponent: out += ExponentText(t, exponent); afterPoint = true; break;
            case TPicToken::Zero:
            case TPicToken::Hash:
                if (!afterPoint) {
                    int j = len - p.intSlots + intSlot;  // the digit this slot shows
                    emitInt(intSlot == 0 ? 0 : j, j);
                    ++intSlot;
                } else if (fracSlot < static_cast<int>(fracPart.size())) {
                    out += fracPart[static_cast<size_t>(fracSlot++)];
                }
                break;
        }
    }
    return out;
}

}  // namespace

String FormatFloat(const String& Format, double Value) {
    if (!std::isfinite(Value)) return NonFinite(Value);
    std::vector<String> sections = PictureSections(Format);
    if (Format.empty()) return FloatToStr(Value);
    String section = sections[0];
    bool showSign = Value < 0;
    if (Value < 0 && sections.size() >= 2 && !sections[1].empty()) {
        section = sections[1];
        showSign = false;
    }
    if (Value == 0 && sections.size() >= 3 && !sections[2].empty()) section = sections[2];
    TPicture p = ParsePicture(section);
    String intPart, fracPart;
    int exponent = 0;
    if (p.scientific)
        ScientificDigits(Value, p, intPart, fracPart, exponent);
    else
        FixedDigits(Value, p.fracSlots, intPart, fracPart);
    if (AllZero(intPart, fracPart)) {
        showSign = false;  // a negative that rounds to zero shows as zero
        if (Value != 0 && sections.size() >= 3 && !sections[2].empty()) p = ParsePicture(sections[2]);
    }
    return (showSign ? "-" : "") + EmitPicture(p, intPart, fracPart, exponent);
}

// ------------------------------------------------------------------------ Format

namespace {

struct TFormatSpec {
    bool left = false;
    int width = -1;
    int prec = -1;
    char type = 0;
};

[[noreturn]] void BadFormat(const String& fmt) {
    throw EConvertError("Format '" + fmt + "' invalid or incompatible with argument");
}

class TFormatter {
public:
    TFormatter(const String& fmt, std::initializer_list<TVarRec> args) : m_fmt(fmt), m_args(args) {}

    String Run() {
        String out;
        for (size_t i = 0; i < m_fmt.size(); ++i) {
            if (m_fmt[i] != '%') {
                out += m_fmt[i];
            } else if (i + 1 < m_fmt.size() && m_fmt[i + 1] == '%') {
                out += '%';
                ++i;
            } else {
                i = Directive(i + 1, out);
            }
        }
        return out;
    }

private:
    const TVarRec& NextArg() {
        if (m_next >= m_args.size()) throw EConvertError("No argument for format '" + m_fmt + "'");
        return m_args.begin()[m_next++];
    }

    // A number or '*' at i; -1 when there is neither.
    int Number(size_t& i) {
        if (i < m_fmt.size() && m_fmt[i] == '*') {
            ++i;
            const TVarRec& a = NextArg();
            if (a.Kind != TVarRec::vtInteger && a.Kind != TVarRec::vtInt64) BadFormat(m_fmt);
            return static_cast<int>(a.I);
        }
        if (i >= m_fmt.size() || !std::isdigit(static_cast<unsigned char>(m_fmt[i]))) return -1;
        int n = 0;
        while (i < m_fmt.size() && std::isdigit(static_cast<unsigned char>(m_fmt[i])))
            n = std::min(n * 10 + (m_fmt[i++] - '0'), 1 << 20);
        return n;
    }

    size_t Directive(size_t i, String& out) {
        TFormatSpec spec;
        int n = Number(i);
        if (i < m_fmt.size() && m_fmt[i] == ':') {  // an argument index
            if (n < 0) n = 0;
            m_next = static_cast<size_t>(n);
            ++i;
            n = -1;
        }
        if (n < 0 && i < m_fmt.size() && m_fmt[i] == '-') {
            spec.left = true;
            ++i;
        }
        spec.width = n >= 0 ? n : Number(i);
        if (i < m_fmt.size() && m_fmt[i] == '.') {
            ++i;
            spec.prec = std::max(Number(i), 0);
        }
        if (i >= m_fmt.size()) BadFormat(m_fmt);
        spec.type = LowChar(m_fmt[i]);
        String text = Convert(spec, NextArg());
        if (spec.width > static_cast<int>(text.size())) {
            String pad(static_cast<size_t>(spec.width) - text.size(), ' ');
            text = spec.left ? text + pad : pad + text;
        }
        out += text;
        return i;
    }

    String Convert(const TFormatSpec& s, const TVarRec& a) {
        bool isInt = a.Kind == TVarRec::vtInteger || a.Kind == TVarRec::vtInt64;
        switch (s.type) {
            case 'd': if (!isInt) BadFormat(m_fmt); return Signed(a.I, s.prec);
            case 'u':
                if (!isInt) BadFormat(m_fmt);
                return Digits(std::to_string(Unsigned(a)), s.prec);
            case 'x': if (!isInt) BadFormat(m_fmt); return HexOf(Unsigned(a), s.prec);
            case 'p': if (a.Kind != TVarRec::vtPointer) BadFormat(m_fmt);
                return HexOf(reinterpret_cast<std::uintptr_t>(a.P), static_cast<int>(sizeof(void*) * 2));
            case 's':
                if (a.Kind != TVarRec::vtString && a.Kind != TVarRec::vtChar) BadFormat(m_fmt);
                return String(s.prec >= 0 ? a.S.substr(0, static_cast<size_t>(s.prec)) : a.S);
            case 'f': case 'n': case 'e': case 'g':
                return Float(s, FloatArg(a));
            default: BadFormat(m_fmt);
        }
    }

    double FloatArg(const TVarRec& a) {
        if (a.Kind != TVarRec::vtExtended) BadFormat(m_fmt);
        return a.F;
    }

    static std::uint64_t Unsigned(const TVarRec& a) {
        if (a.Kind == TVarRec::vtInteger) return static_cast<std::uint32_t>(a.I);
        return static_cast<std::uint64_t>(a.I);
    }

    static String Digits(String d, int prec) {
        if (prec > static_cast<int>(d.size())) d.insert(0, static_cast<size_t>(prec) - d.size(), '0');
        return d;
    }

    static String Signed(Int64 v, int prec) {
        std::uint64_t mag = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
        return (v < 0 ? "-" : "") + Digits(std::to_string(mag), prec);
    }

    static String Float(const TFormatSpec& s, double v) {
        if (!std::isfinite(v)) return NonFinite(v);
        if (s.type == 'g') return GeneralText(v, s.prec < 0 ? 15 : std::clamp(s.prec, 1, 17));
        if (s.type == 'e') return Scientific(v, s.prec < 0 ? 15 : std::clamp(s.prec, 1, 17));
        String ip, fp;
        int prec = s.prec < 0 ? 2 : std::min(s.prec, 18);
        FixedDigits(v, prec, ip, fp);
        if (ip.empty()) ip = "0";
        if (s.type == 'n') ip = GroupThousands(ip);
        bool neg = v < 0 && !AllZero(ip, fp);
        return (neg ? "-" : "") + ip + (fp.empty() ? "" : "." + fp);
    }

    // "-d.dddE+ddd" with Digits significant digits and at least three exponent digits.
    static String Scientific(double v, int digits) {
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, digits - 1);
        String t(buf, r.ptr);
        size_t e = t.find('e');
        String exp = t.substr(e + 2);
        if (exp.size() < 3) exp.insert(0, 3 - exp.size(), '0');
        return t.substr(0, e) + "E" + t[e + 1] + exp;
    }

    const String& m_fmt;
    std::initializer_list<TVarRec> m_args;
    size_t m_next = 0;
};

}  // namespace

String Format(const String& Fmt, std::initializer_list<TVarRec> Args) { return TFormatter(Fmt, Args).Run(); }

// ======================================================================== strings

String Trim(const String& S) { return TrimLeft(TrimRight(S)); }

String TrimLeft(const String& S) {
    size_t i = 0;
    while (i < S.size() && IsBlank(S[i])) ++i;
    return S.substr(i);
}

String TrimRight(const String& S) {
    size_t n = S.size();
    while (n > 0 && IsBlank(S[n - 1])) --n;
    return S.substr(0, n);
}

String UpperCase(const String& S) {
    String r = S;
    for (char& c : r) c = UpChar(c);
    return r;
}

String LowerCase(const String& S) {
    String r = S;
    for (char& c : r) c = LowChar(c);
    return r;
}

namespace {

// Folds ASCII and the Latin-1 letters (U+00C0..U+00FE, two bytes C3 xx in UTF-8).
String FoldLatin1(const String& s, bool upper) {
    String r = upper ? UpperCase(s) : LowerCase(s);
    for (size_t i = 0; i + 1 < r.size(); ++i) {
        if (static_cast<unsigned char>(r[i]) != 0xC3) continue;
        unsigned char b = static_cast<unsigned char>(r[i + 1]);
        if (upper && b >= 0xA0 && b <= 0xBE && b != 0xB7) r[i + 1] = static_cast<char>(b - 0x20);
        if (!upper && b >= 0x80 && b <= 0x9E && b != 0x97) r[i + 1] = static_cast<char>(b + 0x20);
        ++i;
    }
    return r;
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

String AnsiUpperCase(const String& S) { return FoldLatin1(S, true); }
String AnsiLowerCase(const String& S) { return FoldLatin1(S, false); }

bool SameText(const String& S1, const String& S2) {
    return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

bool AnsiSameText(const String& S1, const String& S2) { return AnsiCompareText(S1, S2) == 0; }

int CompareText(const String& S1, const String& S2) {
    size_t n = std::min(S1.size(), S2.size());
    for (size_t i = 0; i < n; ++i) {
        int a = static_cast<unsigned char>(UpChar(S1[i]));
        int b = static_cast<unsigned char>(UpChar(S2[i]));
        if (a != b) return a - b;
    }
    return Sign(static_cast<int>(S1.size()) - static_cast<int>(S2.size()));
}

int CompareStr(const String& S1, const String& S2) { return Sign(S1.compare(S2)); }

int AnsiCompareText(const String& S1, const String& S2) {
    return CompareStr(AnsiUpperCase(S1), AnsiUpperCase(S2));
}

int AnsiCompareStr(const String& S1, const String& S2) {
    int r = AnsiCompareText(S1, S2);
    if (r != 0) return r;
    for (size_t i = 0; i < S1.size() && i < S2.size(); ++i) {
        if (S1[i] == S2[i]) continue;
        bool lower1 = S1[i] != UpChar(S1[i]);
        return lower1 ? -1 : 1;  // lower case sorts first
    }
    return CompareStr(S1, S2);
}

int Pos(const String& SubStr, const String& S) { return PosEx(SubStr, S, 1); }

int PosEx(const String& SubStr, const String& S, int Offset) {
    if (SubStr.empty() || Offset < 1 || Offset > static_cast<int>(S.size())) return 0;
    size_t i = S.find(SubStr, static_cast<size_t>(Offset - 1));
    return i == String::npos ? 0 : static_cast<int>(i) + 1;
}

int AnsiPos(const String& SubStr, const String& S) { return Pos(SubStr, S); }

String Copy(const String& S, int Index, int Count) {
    if (Index < 1) Index = 1;
    if (Count <= 0 || Index > static_cast<int>(S.size())) return String();
    return S.substr(static_cast<size_t>(Index - 1), static_cast<size_t>(Count));
}

void Delete(String& S, int Index, int Count) {
    if (Index < 1 || Index > static_cast<int>(S.size()) || Count <= 0) return;
    S.erase(static_cast<size_t>(Index - 1), static_cast<size_t>(Count));
}

void Insert(const String& Source, String& S, int Index) {
    Index = std::clamp(Index, 1, static_cast<int>(S.size()) + 1);
    S.insert(static_cast<size_t>(Index - 1), Source);
}

String StringOfChar(char Ch, int Count) { return String(static_cast<size_t>(std::max(Count, 0)), Ch); }

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern, TReplaceFlags Flags) {
    if (OldPattern.empty()) return S;
    const bool all = Flags.Contains(rfReplaceAll);
    const String hay = Flags.Contains(rfIgnoreCase) ? AnsiUpperCase(S) : S;
    const String needle = Flags.Contains(rfIgnoreCase) ? AnsiUpperCase(OldPattern) : OldPattern;
    String out;
    size_t from = 0;
    while (true) {
        size_t at = hay.find(needle, from);
        if (at == String::npos) break;
        out.append(S, from, at - from);
        out += NewPattern;
        from = at + OldPattern.size();
        if (!all) break;
    }
    out.append(S, from, String::npos);
    return out;
}

String QuotedStr(const String& S) { return AnsiQuotedStr(S, '\''); }

String AnsiQuotedStr(const String& S, char Quote) {
    String r(1, Quote);
    for (char c : S) {
        r += c;
        if (c == Quote) r += c;
    }
    return r + Quote;
}

String AnsiDequotedStr(const String& S, char Quote) {
    if (S.empty() || S[0] != Quote) return S;
    String r;
    size_t i = 1;
    for (; i < S.size(); ++i) {
        if (S[i] == Quote) {
            if (i + 1 < S.size() && S[i + 1] == Quote) {
                r += Quote;
                ++i;
            } else {
                return r;
            }
        } else {
            r += S[i];
        }
    }
    return r;  // no closing quote: everything after the opening one
}

// ======================================================================== dates and times

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
Int64 DaysFromCivil(int y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<Int64>(era) * 146097 + static_cast<Int64>(doe) - 719468;
}

constexpr Int64 kDelphiEpochFromUnix = 25569;  // days from 1899-12-30 to 1970-01-01

}  // namespace

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
    if (Month < 1 || Month > 12 || Day < 1 || Day > 31 || Year < 1)
        throw EConvertError("Invalid argument to date encode");
    return static_cast<double>(DaysFromCivil(Year, Month, Day) + kDelphiEpochFromUnix);
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
    if (Hour > 23 || Min > 59 || Sec > 59 || MSec > 999) throw EConvertError("Invalid argument to time encode");
    return (((Hour * 60.0 + Min) * 60.0 + Sec) * 1000.0 + MSec) / 86400000.0;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day) {
    Int64 z = static_cast<Int64>(std::floor(Date)) - kDelphiEpochFromUnix + 719468;
    const Int64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    Day = static_cast<Word>(doy - (153 * mp + 2) / 5 + 1);
    Month = static_cast<Word>(mp < 10 ? mp + 3 : mp - 9);
    Year = static_cast<Word>(static_cast<Int64>(yoe) + era * 400 + (Month <= 2));
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
    double frac = std::fabs(Time - std::floor(Time));
    Int64 ms = std::llround(frac * 86400000.0);
    if (ms >= 86400000) ms = 86399999;
    MSec = static_cast<Word>(ms % 1000);
    Sec = static_cast<Word>(ms / 1000 % 60);
    Min = static_cast<Word>(ms / 60000 % 60);
    Hour = static_cast<Word>(ms / 3600000);
}

TDateTime Now() {
    auto now = std::chrono::system_clock::now();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    time_t secs = static_cast<time_t>(ms / 1000);
    struct tm lt;
    localtime_r(&secs, &lt);
    return EncodeDate(static_cast<Word>(lt.tm_year + 1900), static_cast<Word>(lt.tm_mon + 1),
                      static_cast<Word>(lt.tm_mday)) +
           EncodeTime(static_cast<Word>(lt.tm_hour), static_cast<Word>(lt.tm_min),
                      static_cast<Word>(std::min(lt.tm_sec, 59)), static_cast<Word>(ms % 1000));
}

TDateTime Date() { return std::floor(Now()); }

TDateTime Time() {
    TDateTime n = Now();
    return n - std::floor(n);
}

void Abort() { throw EAbort("Operation aborted"); }

// ------------------------------------------------------------------------ locale separators

TFormatSettings UserLocaleFormatSettings() {
    TFormatSettings settings;
    locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (user == static_cast<locale_t>(nullptr)) return settings;
    const char* decimal = nl_langinfo_l(RADIXCHAR, user);
    const char* thousands = nl_langinfo_l(THOUSEP, user);
    if (decimal != nullptr && *decimal != '\0') settings.DecimalSeparator = decimal;
    settings.ThousandSeparator = thousands != nullptr ? thousands : "";
    freelocale(user);
    return settings;
}

TFormatSettings FormatSettings = UserLocaleFormatSettings();
