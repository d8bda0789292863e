// File themes: a theme file loaded into a component that skinned controls refer to, the
// embedded variant that carries the file's bytes in the form, and the theme manager that pushes
// one look to a list of components.
//
//   auto* Theme = new TsuiFileTheme(Form);
//   Theme->SetThemeFile("Blue.sui");       // found beside the program too; raises for a non-theme
//   Button->SetUIStyle(FromThemeFile);
//   Button->SetFileTheme(Theme);            // the button now reads its values from the file
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIThemeFile.h"
#include "skin/core/SUIThemes.h"

VCL_EXCEPTION(EsuiThemeError, Exception)

// The text raised for a file that is found but carries no theme signature.
inline constexpr const char* SUI_INVALID_THEME_FILE_TEXT = "Invalid skin file for SkinKit!";

// Keyed access to a loaded theme file: a key 1..42 becomes its item name.
class TsuiFileThemeMgr {
public:
    TsuiFileThemeMgr() = default;
    TsuiFileThemeMgr(const TsuiFileThemeMgr&) = delete;
    TsuiFileThemeMgr& operator=(const TsuiFileThemeMgr&) = delete;

    // False (old theme kept) when the file doesn't exist. A file that can't be read raises the
    // reader's stream exception and also keeps the old theme: the new reader replaces the old
    // one only once it has loaded.
    bool LoadFromFile(const String& Path);
    bool Loaded() const { return m_reader != nullptr; }

    // The entry's picture; the bitmap is left unchanged without a reader or entry.
    void GetBitmap(int Key, TBitmap* Bitmap) const;
    // 0 without a reader; -1 for a missing key (also a key outside 1..42).
    int GetColor(int Key) const { return GetInt(Key); }
    int GetInt(int Key) const;
    // False without a reader or for a missing key.
    bool GetBool(int Key) const;

private:
    std::unique_ptr<TsuiThemeFileReader> m_reader;
};

class TsuiFileTheme : public TComponent {
    VCL_CLASS(TsuiFileTheme)
    explicit TsuiFileTheme(TComponent* AOwner);
    ~TsuiFileTheme() override;

    const String& GetThemeFile() const { return m_themeFile; }
    // Finds, checks and loads the file, then makes every skinned component of the owner form
    // that refers to this theme re-apply it. A name found nowhere changes nothing; a file
    // without the signature raises EsuiThemeError "Invalid skin file for SkinKit!".
    void SetThemeFile(const String& Name);
    bool CanUse() const { return m_canUse; }
    bool CheckThemeFile(const String& Path) const { return IsSUIThemeFile(Path); }

    void GetBitmap(int Key, TBitmap* Bitmap) const;
    // Frame Frame (1-based) of Count; an empty bitmap when the key is missing.
    void GetBitmap(int Key, TBitmap* Bitmap, int Count, int Frame) const;
    TColor GetColor(int Key) const { return m_access.GetColor(Key); }
    int GetInt(int Key) const { return m_access.GetInt(Key); }
    bool GetBool(int Key) const { return m_access.GetBool(Key); }

protected:
    // Where a name that is not an existing path is looked for, in order, each with a trailing
    // delimiter: the program folder, then the system's own folders.
    virtual std::vector<String> SearchFolders() const;

private:
    String FindThemeFile(const String& Name) const;
    void ReapplyToOwnerForm();

    TsuiFileThemeMgr m_access;
    String m_themeFile;
    bool m_canUse = false;
};

// A file theme whose bytes travel inside the form ("SkinData"); on disk only while loading.
class TsuiBuiltInFileTheme : public TsuiFileTheme {
    VCL_CLASS(TsuiBuiltInFileTheme)
    using TsuiFileTheme::TsuiFileTheme;

    // The path chosen when designing; storing it loads nothing.
    const String& GetThemeFile2() const { return m_designPath; }
    void SetThemeFile2(const String& Path) { m_designPath = Path; }

    // "SkinData" is written only when the stored path names an existing file.
    bool HasSkinData() const;
    // The whole file named by the stored path.
    void WriteSkinData(TStream* Stream) const;
    // Saves the bytes as a free "SUIPAKT[n].sui" in the temporary folder, loads it and deletes
    // it again on every path, errors included.
    void ReadSkinData(TStream* Stream);

private:
    String m_designPath;
};

// The system's temporary folder, with a trailing delimiter.
String SUITempFolder();
// "SUIPAKT.sui" in Folder, or the first of "SUIPAKT1.sui", "SUIPAKT2.sui", ... that doesn't exist.
String SUIPaktFileName(const String& Folder);

// A list of component names.
class TsuiThemeMgrCompList : public TStringList {
    VCL_CLASS(TsuiThemeMgrCompList)
    using TStringList::TStringList;
};

// Pushes one look and one file theme to the named components of its form.
class TsuiThemeManager : public TComponent {
    VCL_CLASS(TsuiThemeManager)
    explicit TsuiThemeManager(TComponent* AOwner);
    ~TsuiThemeManager() override;

    TsuiUIStyle GetUIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle Value);
    TsuiFileTheme* GetFileTheme() const { return m_fileTheme; }
    void SetFileTheme(TsuiFileTheme* Value);
    TsuiThemeMgrCompList* GetCompList() const { return m_compList.get(); }
    void SetList(TStrings* List);

    void UpdateAll();
    void UpdateTheme() { UpdateAll(); }

    TNotifyEvent OnUIStyleChanged;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TsuiUIStyle m_uiStyle = DeepBlue;
    TsuiFileTheme* m_fileTheme = nullptr;
    std::unique_ptr<TsuiThemeMgrCompList> m_compList;
};

// Decides between a file theme and a built-in look: true only for FromThemeFile with a usable
// theme; Effective is the look, or DeepBlue for FromThemeFile without a usable theme.
bool UsingFileTheme(TsuiFileTheme* FileTheme, TsuiUIStyle Look, TsuiUIStyle& Effective);

// True when Component is a skinned component ("Tsui" class) that publishes the style pair.
IsuiStyled* SUIStyledComponent(TComponent* Component);
