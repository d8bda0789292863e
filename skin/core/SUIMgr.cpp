#include "skin/core/SUIMgr.h"

#include <filesystem>
#include <system_error>

#include "platform/vcl/Forms.h"
#include "platform/win32/Windows.h"
#include "skin/core/Suipublic.h"

// ---- keyed access --------------------------------------------------------------------------

bool TsuiFileThemeMgr::LoadFromFile(const String& Path) {
    if (!FileExists(Path)) return false;
    // Built aside: a reader that fails to load never replaces the theme in use.
    auto fresh = std::make_unique<TsuiThemeFileReader>(Path);
    m_reader = std::move(fresh);
    return true;
}

void TsuiFileThemeMgr::GetBitmap(int Key, TBitmap* Bitmap) const {
    if (Bitmap == nullptr || !m_reader || !IsSUIThemeKey(Key)) return;
    TMemoryStream* entry = m_reader->GetFile(SUIThemeItemName(Key));
    if (entry != nullptr) Bitmap->LoadFromStream(entry);
}

int TsuiFileThemeMgr::GetInt(int Key) const {
    if (!m_reader) return 0;
    if (!IsSUIThemeKey(Key)) return -1;
    return m_reader->GetInteger(SUIThemeItemName(Key));
}

bool TsuiFileThemeMgr::GetBool(int Key) const {
    if (!m_reader || !IsSUIThemeKey(Key)) return false;
    return m_reader->GetBool(SUIThemeItemName(Key));
}

// ---- file theme ----------------------------------------------------------------------------

TsuiFileTheme::TsuiFileTheme(TComponent* AOwner) : TComponent(AOwner) {}

TsuiFileTheme::~TsuiFileTheme() { Destroying(); }

std::vector<String> TsuiFileTheme::SearchFolders() const {
    // The program folder is where a theme shipped with the program lies. Windows' own folders
    // have no counterpart here, so the search ends there.
    return {IncludeTrailingPathDelimiter(Win32_ProgramFolder())};
}

String TsuiFileTheme::FindThemeFile(const String& Name) const {
    // Kept as a full path: a relative name would change meaning with the current folder.
    if (FileExists(Name)) return ExpandFileName(Name);
    const String bare = ExtractFileName(Name);
    if (bare.empty()) return "";
    for (const String& folder : SearchFolders()) {
        const String candidate = IncludeTrailingPathDelimiter(folder) + bare;
        if (FileExists(candidate)) return candidate;
    }
    return "";
}

void TsuiFileTheme::SetThemeFile(const String& Name) {
    if (Name == m_themeFile) return;
    const String path = FindThemeFile(Name);
    if (path.empty()) return;
    if (!CheckThemeFile(path)) throw EsuiThemeError(SUI_INVALID_THEME_FILE_TEXT);
    // A load that raises leaves the name, CanUse and the theme as they were.
    const bool loaded = m_access.LoadFromFile(path);
    m_themeFile = path;
    m_canUse = loaded;
    if (m_canUse) ReapplyToOwnerForm();
}

void TsuiFileTheme::ReapplyToOwnerForm() {
    TComponent* owner = GetOwner();
    if (owner == nullptr || !owner->Is<TForm>()) return;
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        IsuiStyled* styled = SUIStyledComponent(owner->Components(i));
        if (styled != nullptr && styled->GetFileTheme() == this) styled->SetFileTheme(this);
    }
}

void TsuiFileTheme::GetBitmap(int Key, TBitmap* Bitmap) const { m_access.GetBitmap(Key, Bitmap); }

void TsuiFileTheme::GetBitmap(int Key, TBitmap* Bitmap, int Count, int Frame) const {
    if (Bitmap == nullptr) return;
    TBitmap whole;
    m_access.GetBitmap(Key, &whole);
    SpitBitmap(&whole, Bitmap, Count, Frame);
}

// ---- embedded file theme -------------------------------------------------------------------

bool TsuiBuiltInFileTheme::HasSkinData() const {
    return !m_designPath.empty() && FileExists(m_designPath);
}

void TsuiBuiltInFileTheme::WriteSkinData(TStream* Stream) const {
    TMemoryStream bytes;
    bytes.LoadFromFile(m_designPath);
    bytes.SaveToStream(Stream);
}

namespace {

// Deletes the temporary theme file however the loading ends.
class TempFileGuard {
public:
    explicit TempFileGuard(String path) : m_path(std::move(path)) {}
    ~TempFileGuard() {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;

private:
    String m_path;
};

}  // namespace

void TsuiBuiltInFileTheme::ReadSkinData(TStream* Stream) {
    auto bytes = std::make_unique<TMemoryStream>();
    bytes->LoadFromStream(Stream);
    const String target = SUIPaktFileName(SUITempFolder());
    TempFileGuard guard(target);
    bytes->SaveToFile(target);
    bytes.reset();
    SetThemeFile(target);
}

String SUITempFolder() {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) dir = "/tmp";
    return IncludeTrailingPathDelimiter(dir.string());
}

String SUIPaktFileName(const String& Folder) {
    const String base = IncludeTrailingPathDelimiter(Folder) + "SUIPAKT";
    String name = base + ".sui";
    for (int n = 1; FileExists(name) || DirectoryExists(name); ++n) name = base + IntToStr(n) + ".sui";
    return name;
}

// ---- theme manager -------------------------------------------------------------------------

TsuiThemeManager::TsuiThemeManager(TComponent* AOwner)
    : TComponent(AOwner), m_compList(std::make_unique<TsuiThemeMgrCompList>()) {
    SetUIStyle(DeepBlue);
}

TsuiThemeManager::~TsuiThemeManager() { Destroying(); }

void TsuiThemeManager::SetUIStyle(TsuiUIStyle Value) {
    const bool changed = Value != m_uiStyle;
    m_uiStyle = Value;
    UpdateAll();
    if (changed && OnUIStyleChanged) OnUIStyleChanged(this);
}

void TsuiThemeManager::SetFileTheme(TsuiFileTheme* Value) {
    if (m_fileTheme != Value) {
        if (m_fileTheme != nullptr) {
            m_fileTheme->RemoveFreeNotification(this);
            RemoveFreeNotification(m_fileTheme);
        }
        m_fileTheme = Value;
        if (m_fileTheme != nullptr) m_fileTheme->FreeNotification(this);
    }
    SetUIStyle(m_uiStyle);
}

void TsuiThemeManager::SetList(TStrings* List) { m_compList->Assign(List); }

void TsuiThemeManager::UpdateAll() {
    TComponent* owner = GetOwner();
    if (owner == nullptr || !owner->Is<TForm>()) return;
    for (int i = 0; i < m_compList->Count(); ++i) {
        TComponent* c = owner->FindComponent(m_compList->Strings(i));
        auto* styled = c != nullptr ? dynamic_cast<IsuiStyled*>(c) : nullptr;
        if (styled == nullptr) continue;
        styled->SetUIStyle(m_uiStyle);
        styled->SetFileTheme(m_fileTheme);
    }
}

void TsuiThemeManager::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent == nullptr || AComponent == this) return;
    if (m_compList) {
        const int at = m_compList->IndexOf(AComponent->GetName());
        if (at >= 0 && !AComponent->GetName().empty()) m_compList->Delete(at);
    }
    if (AComponent == static_cast<TComponent*>(m_fileTheme)) {
        m_fileTheme = nullptr;
        m_uiStyle = DeepBlue;
    }
}

// ---- the resolution rule -------------------------------------------------------------------

bool UsingFileTheme(TsuiFileTheme* FileTheme, TsuiUIStyle Look, TsuiUIStyle& Effective) {
    Effective = Look;
    if (Look != FromThemeFile) return false;
    if (FileTheme != nullptr && FileTheme->CanUse()) return true;
    Effective = DeepBlue;
    return false;
}

IsuiStyled* SUIStyledComponent(TComponent* Component) {
    if (Component == nullptr) return nullptr;
    if (String(Component->ClassName()).rfind("Tsui", 0) != 0) return nullptr;
    return dynamic_cast<IsuiStyled*>(Component);
}
