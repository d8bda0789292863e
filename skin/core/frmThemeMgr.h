// The design-time editors: the theme manager's dialog (which skinned components of the manager's
// form follow it) and the open-file dialog of the two file-theme components.
//
//   SUIEditThemeManager(Manager);   // shows TfrmMgr; OK stores the ticked names, then UpdateAll
//   SUIEditFileTheme(Theme);        // a chosen "*.sui" file is loaded (SetThemeFile)
//   SUIEditBuiltInFileTheme(Theme); // a chosen file's path is stored (SetThemeFile2)
#pragma once

#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/StringList.h"

class TsuiThemeManager;
class TsuiFileTheme;
class TsuiBuiltInFileTheme;

inline constexpr const char* SUI_THEME_FILE_FILTER = "SkinKit Theme File(*.sui)|*.sui";

// A list of names, each with a tick box; a click on a row flips its tick.
class TsuiMgrCheckList : public TCustomControl {
    VCL_CLASS(TsuiMgrCheckList)
    explicit TsuiMgrCheckList(TComponent* AOwner);

    int Count() const { return static_cast<int>(m_names.size()); }
    const String& Item(int Index) const { return m_names.at(static_cast<size_t>(Index)); }
    void Add(const String& Name, bool Checked);
    void Clear();
    bool GetChecked(int Index) const { return m_checked.at(static_cast<size_t>(Index)); }
    void SetChecked(int Index, bool Value);
    void SetAllChecked(bool Value);
    // The row at a client point, or -1.
    int ItemAtPos(int X, int Y) const;

    static constexpr int kRowHeight = 16;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    std::vector<String> m_names;
    std::vector<bool> m_checked;
};

// A push button drawn flat; a modal result ends its form's modal loop.
class TsuiMgrButton : public TCustomControl {
    VCL_CLASS(TsuiMgrButton)
    explicit TsuiMgrButton(TComponent* AOwner);

    TModalResult GetModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult v) { m_modalResult = v; }
    bool GetDefault() const { return m_default; }
    void SetDefault(bool v);
    void Click() override;

protected:
    void Paint() override;

private:
    TModalResult m_modalResult = mrNone;
    bool m_default = false;
};

class TfrmMgr : public TForm {
    VCL_CLASS(TfrmMgr)
    explicit TfrmMgr(TComponent* AOwner);

    TsuiMgrCheckList* List = nullptr;
    TsuiMgrButton* btn_sel = nullptr;
    TsuiMgrButton* btn_unsel = nullptr;
    TsuiMgrButton* btn_ok = nullptr;

    void btn_selClick(TObject* Sender);
    void btn_unselClick(TObject* Sender);
};

// The manager's editor: lists the owner form's skinned components (not theme managers), ticks
// those already in the manager's list, and on OK makes the ticked names the new list; then the
// manager updates them. Nothing happens for a manager whose owner is not a form.
void SUIEditThemeManager(TsuiThemeManager* Manager);

// The file theme's editor: asks for a theme file; a chosen one is loaded (and may raise, as
// SetThemeFile does); a cancelled dialog changes nothing.
void SUIEditFileTheme(TsuiFileTheme* Theme);
// The embedded theme's editor: a chosen file's path is only stored; its bytes are embedded when
// the form is saved.
void SUIEditBuiltInFileTheme(TsuiBuiltInFileTheme* Theme);
