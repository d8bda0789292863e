#include "platform/vcl/Registry.h"

#include <cstdlib>
#include <mutex>

#include "platform/vcl/IniFiles.h"
#include "platform/vcl/SysUtils.h"

namespace {

std::mutex g_storeMutex;
String g_storeFile;  // set by tests; empty means the per-user default

String RootName(HKEY key) {
    if (key == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
    if (key == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (key == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (key == HKEY_USERS) return "HKEY_USERS";
    if (key == HKEY_CURRENT_CONFIG) return "HKEY_CURRENT_CONFIG";
    return String();
}

// "\A\\B\" becomes "A\B".
String NormalizePath(const String& path) {
    String out;
    for (char c : path) {
        if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
        out += c;
    }
    if (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

bool StartsWithText(const String& s, const String& prefix) {
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

const char kDwordPrefix[] = "dword:";

}  // namespace

void TRegistry::SetStoreFile(const String& Path) {
    std::lock_guard<std::mutex> lock(g_storeMutex);
    g_storeFile = Path;
}

String TRegistry::StoreFile() {
    {
        std::lock_guard<std::mutex> lock(g_storeMutex);
        if (!g_storeFile.empty()) return g_storeFile;
    }
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    String base = (xdg != nullptr && *xdg != '\0') ? String(xdg) : String(home != nullptr ? home : "") + "/.config";
    return IncludeTrailingPathDelimiter(base) + "QuelloxDOZEzedav/registry.ini";
}

void TRegistry::SetRootKey(HKEY Value) {
    if (RootName(Value).empty()) throw ERegistryException("Unknown registry root key");
    CloseKey();
    m_rootKey = Value;
}

String TRegistry::SectionOf(const String& path) const {
    return path.empty() ? RootName(m_rootKey) : RootName(m_rootKey) + "\\" + path;
}

String TRegistry::Resolve(const String& Key) const {
    bool absolute = !Key.empty() && Key[0] == '\\';
    String path = NormalizePath(Key);
    if (!absolute && m_open && !m_currentPath.empty()) path = path.empty() ? m_currentPath : m_currentPath + "\\" + path;
    return path;
}

// The default value of a key has the empty name; in the file it is "@", as .reg files write it.
String TRegistry::ValueName(const String& Name) const { return Name.empty() ? String("@") : Name; }

bool TRegistry::KeyExists(const String& Key) {
    String path = Resolve(Key);
    if (path.empty()) return true;  // the root always exists
    String section = SectionOf(path);
    TIniFile store(StoreFile());
    TStringList sections;
    store.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
        String s = NormalizePath(sections[i]);
        if (SameText(s, section) || StartsWithText(s, section + "\\")) return true;
    }
    return false;
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
    String path = Resolve(Key);
    if (!CanCreate && !KeyExists("\\" + path)) return false;
    m_currentPath = path;
    m_open = true;
    m_readOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
    if (!OpenKey(Key, false)) return false;
    m_readOnly = true;
    return true;
}

void TRegistry::CloseKey() {
    m_currentPath.clear();
    m_open = false;
    m_readOnly = false;
}

bool TRegistry::ValueExists(const String& Name) {
    TIniFile store(StoreFile());
    return store.ValueExists(SectionOf(m_currentPath), ValueName(Name));
}

String TRegistry::ReadString(const String& Name) {
    TIniFile store(StoreFile());
    String v = store.ReadString(SectionOf(m_currentPath), ValueName(Name), String());
    if (StartsWithText(v, kDwordPrefix)) throw ERegistryException("Invalid data type for '" + Name + "'");
    return v;
}

int TRegistry::ReadInteger(const String& Name) {
    if (!ValueExists(Name)) throw ERegistryException("Failed to get data for '" + Name + "'");
    TIniFile store(StoreFile());
    String v = Trim(store.ReadString(SectionOf(m_currentPath), ValueName(Name), String()));
    int result = 0;
    bool ok = StartsWithText(v, kDwordPrefix) ? TryStrToInt("$" + v.substr(sizeof kDwordPrefix - 1), result)
                                               : TryStrToInt(v, result);
    if (!ok) throw ERegistryException("Invalid data type for '" + Name + "'");
    return result;
}

void TRegistry::CheckWritable(const String& Name) const {
    if (m_readOnly) throw ERegistryException("Failed to set data for '" + Name + "': the key is open read-only");
}

void TRegistry::WriteString(const String& Name, const String& Value) {
    CheckWritable(Name);
    String file = StoreFile();
    ForceDirectories(ExtractFileDir(file));
    try {
        TIniFile(file).WriteString(SectionOf(m_currentPath), ValueName(Name), Value);
    } catch (const EIniFileException& e) {
        throw ERegistryException("Failed to set data for '" + Name + "': " + e.Message());
    }
}

void TRegistry::WriteInteger(const String& Name, int Value) {
    WriteString(Name, kDwordPrefix + LowerCase(IntToHex(Value, 8)));
}

bool TRegistry::DeleteValue(const String& Name) {
    CheckWritable(Name);
    if (!ValueExists(Name)) return false;
    try {
        TIniFile(StoreFile()).DeleteKey(SectionOf(m_currentPath), ValueName(Name));
    } catch (const EIniFileException& e) {
        throw ERegistryException("Failed to delete '" + Name + "': " + e.Message());
    }
    return true;
}

void TRegistry::GetValueNames(TStrings* Strings) {
    if (Strings == nullptr) return;
    TStringList names;
    TIniFile(StoreFile()).ReadSection(SectionOf(m_currentPath), &names);
    int at = names.IndexOf("@");
    if (at >= 0) names.SetStrings(at, String());
    Strings->Assign(&names);
}

void TRegistry::GetKeyNames(TStrings* Strings) {
    if (Strings == nullptr) return;
    String prefix = SectionOf(m_currentPath) + "\\";
    TStringList sections, names;
    TIniFile(StoreFile()).ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
        String s = NormalizePath(sections[i]);
        if (!StartsWithText(s, prefix)) continue;
        String child = s.substr(prefix.size());
        child = child.substr(0, child.find('\\'));
        if (!child.empty() && names.IndexOf(child) < 0) names.Add(child);
    }
    Strings->Assign(&names);
}
