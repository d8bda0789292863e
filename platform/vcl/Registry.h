// TRegistry over a small per-user file: one INI section per key path, e.g.
//   [HKEY_CURRENT_USER\SOFTWARE\ZQDVD]
//   UILanguage=English
// Strings are stored as text, integers as "dword:0000001f" (plain decimal text reads too).
// The file is $XDG_CONFIG_HOME (or ~/.config)/QuelloxDOZEzedav/registry.ini unless
// SetStoreFile names another. Key paths and value names compare without case.
#pragma once

#include <cstdint>

#include "platform/vcl/StringList.h"

struct HKEY__;
using HKEY = HKEY__*;
inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(std::uintptr_t{0x80000003});
inline HKEY const HKEY_CURRENT_CONFIG = reinterpret_cast<HKEY>(std::uintptr_t{0x80000005});

class TRegistry : public TObject {
    VCL_CLASS(TRegistry)
    TRegistry() = default;
    ~TRegistry() override = default;

    HKEY GetRootKey() const { return m_rootKey; }
    // Closes the open key, as the VCL does. Raises ERegistryException for an unknown root.
    void SetRootKey(HKEY Value);
    // The open key's path below the root, without a leading '\' ("" when none is open).
    const String& CurrentPath() const { return m_currentPath; }

    // Key is relative to the open key, or absolute with a leading '\'. Without CanCreate a
    // missing key answers false; with it the key opens and appears with its first value.
    bool OpenKey(const String& Key, bool CanCreate);
    bool OpenKeyReadOnly(const String& Key);
    bool KeyExists(const String& Key);
    void CloseKey();

    bool ValueExists(const String& Name);
    // "" for a missing value, as the VCL answers; ERegistryException for an integer value.
    String ReadString(const String& Name);
    // Raises ERegistryException for a missing value or one that is no integer.
    int ReadInteger(const String& Name);
    bool ReadBool(const String& Name) { return ReadInteger(Name) != 0; }
    // Write into the open key (or the root); ERegistryException when the key was opened read-only
    // or the store cannot be saved.
    void WriteString(const String& Name, const String& Value);
    void WriteInteger(const String& Name, int Value);
    void WriteBool(const String& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
    bool DeleteValue(const String& Name);
    // The open key's value names, and the names of its direct subkeys.
    void GetValueNames(TStrings* Strings);
    void GetKeyNames(TStrings* Strings);

    // Points every TRegistry at another store file; "" goes back to the per-user default.
    static void SetStoreFile(const String& Path);
    static String StoreFile();

private:
    String SectionOf(const String& path) const;
    String Resolve(const String& Key) const;
    String ValueName(const String& Name) const;
    void CheckWritable(const String& Name) const;

    HKEY m_rootKey = HKEY_CURRENT_USER;
    String m_currentPath;
    bool m_open = false;
    bool m_readOnly = false;
};
