#include "platform/vcl/FileCtrl.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/vcl/SysUtils.h"

namespace fs = std::filesystem;

// ---- TDriveComboBox -----------------------------------------------------------------------------

TDriveComboBox::TDriveComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
    SetStyle(csDropDownList);
    BuildList();
}

void TDriveComboBox::BuildList() {
    GetItems()->BeginUpdate();
    GetItems()->Clear();
    DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((drives & (DWORD{1} << i)) == 0) continue;
        char letter = static_cast<char>('a' + i);
        String root = String(1, static_cast<char>('A' + i)) + ":\\";
        char label[64] = {};
        String text = String(1, letter) + ":";
        if (GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0) &&
            label[0] != 0)
            text += " [" + String(label) + "]";
        GetItems()->AddObject(text, reinterpret_cast<TObject*>(static_cast<std::uintptr_t>(letter)));
    }
    GetItems()->EndUpdate();
    if (GetItems()->Count() > 0) {
        SetItemIndex(0);
        m_drive = static_cast<char>(reinterpret_cast<std::uintptr_t>(GetItems()->Objects(0)));
    }
}

void TDriveComboBox::SetDrive(char Value) {
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(Value)));
    for (int i = 0; i < GetItems()->Count(); ++i) {
        if (static_cast<char>(reinterpret_cast<std::uintptr_t>(GetItems()->Objects(i))) != letter) continue;
        m_drive = letter;
        SetItemIndex(i);
        return;
    }
}

void TDriveComboBox::Change() {
    int i = GetItemIndex();
    if (i >= 0) m_drive = static_cast<char>(reinterpret_cast<std::uintptr_t>(GetItems()->Objects(i)));
    TCustomComboBox::Change();
}

// ---- TFilterComboBox ----------------------------------------------------------------------------

TFilterComboBox::TFilterComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
    SetStyle(csDropDownList);
    SetFilter("All files (*.*)|*.*");
}

void TFilterComboBox::SetFilter(const String& Value) {
    m_filter = Value;
    m_masks.clear();
    GetItems()->BeginUpdate();
    GetItems()->Clear();
    size_t at = 0;
    while (at <= Value.size()) {
        size_t bar = Value.find('|', at);
        String text = Value.substr(at, bar == String::npos ? String::npos : bar - at);
        String mask;
        if (bar != String::npos) {
            size_t next = Value.find('|', bar + 1);
            mask = Value.substr(bar + 1, next == String::npos ? String::npos : next - bar - 1);
            at = next == String::npos ? Value.size() + 1 : next + 1;
        } else {
            at = Value.size() + 1;
        }
        if (text.empty() && mask.empty()) continue;
        GetItems()->Add(text);
        m_masks.push_back(mask);
    }
    GetItems()->EndUpdate();
    SetItemIndex(GetItems()->Count() > 0 ? 0 : -1);
}

String TFilterComboBox::GetMask() const {
    int i = GetItemIndex();
    return i >= 0 && i < static_cast<int>(m_masks.size()) ? m_masks[static_cast<size_t>(i)] : String("*.*");
}

// ---- TDirectoryListBox --------------------------------------------------------------------------

TDirectoryListBox::TDirectoryListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
    std::error_code ec;
    m_directory = fs::current_path(ec).string();
    BuildList();
}

void TDirectoryListBox::SetDirectory(const String& Value) {
    std::error_code ec;
    if (!fs::is_directory(Value, ec)) return;
    String path = fs::absolute(Value, ec).lexically_normal().string();
    if (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path == m_directory) return;
    m_directory = path;
    BuildList();
    if (OnChange) OnChange(this);
}

String TDirectoryListBox::GetItemPath(int Index) const {
    return Index >= 0 && Index < static_cast<int>(m_paths.size()) ? m_paths[static_cast<size_t>(Index)] : String();
}

void TDirectoryListBox::BuildList() {
    m_paths.clear();
    std::vector<String> chain;
    for (fs::path p = m_directory; ; p = p.parent_path()) {
        chain.push_back(p.string());
        if (p == p.parent_path() || p.empty()) break;
    }
    std::reverse(chain.begin(), chain.end());
    std::vector<String> subs;
    std::error_code ec;
    for (fs::directory_iterator it(m_directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code dirEc;
        if (it->is_directory(dirEc)) subs.push_back(it->path().string());
    }
    std::sort(subs.begin(), subs.end(), [](const String& a, const String& b) { return AnsiCompareText(a, b) < 0; });
    GetItems()->BeginUpdate();
    GetItems()->Clear();
    auto add = [this](const String& path) {
        String name = fs::path(path).filename().string();
        GetItems()->Add(name.empty() ? path : name);
        m_paths.push_back(path);
    };
    for (const String& p : chain) add(p);
    int current = static_cast<int>(m_paths.size()) - 1;
    for (const String& p : subs) add(p);
    GetItems()->EndUpdate();
    SetItemIndex(current);
}

void TDirectoryListBox::DblClick() {
    String path = GetItemPath(GetItemIndex());
    if (!path.empty()) SetDirectory(path);
    TCustomListBox::DblClick();
}

// ---- TFileListBox -------------------------------------------------------------------------------

TFileListBox::TFileListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
    std::error_code ec;
    m_directory = fs::current_path(ec).string();
    Update();
}

void TFileListBox::SetDirectory(const String& Value) {
    if (Value == m_directory) return;
    m_directory = Value;
    Update();
}

void TFileListBox::SetMask(const String& Value) {
    if (Value == m_mask) return;
    m_mask = Value;
    Update();
}

String TFileListBox::GetFileName() const {
    int i = GetItemIndex();
    if (i < 0) return String();
    return (fs::path(m_directory) / GetItems()->Strings(i)).string();
}

void TFileListBox::Update() {
    std::vector<String> names;
    std::error_code ec;
    for (fs::directory_iterator it(m_directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc)) continue;
        String name = it->path().filename().string();
        // A mask list "*.vob;*.mpg" matches any of its patterns.
        size_t at = 0;
        bool match = false;
        while (at <= m_mask.size() && !match) {
            size_t semi = m_mask.find(';', at);
            String one = m_mask.substr(at, semi == String::npos ? String::npos : semi - at);
            match = one == "*.*" || MatchesMask(name, one);
            at = semi == String::npos ? m_mask.size() + 1 : semi + 1;
        }
        if (match) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const String& a, const String& b) { return AnsiCompareText(a, b) < 0; });
    GetItems()->BeginUpdate();
    GetItems()->Clear();
    for (const String& n : names) GetItems()->Add(n);
    GetItems()->EndUpdate();
    TCustomListBox::Update();
}
