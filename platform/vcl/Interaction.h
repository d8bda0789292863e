// The one service through which everything that waits on a person goes: message boxes, file,
// folder and colour dialogs, and modal forms. The default shows real dialogs; tests install a
// scripted service that records each question and gives the scripted answer.
#pragma once

#include <functional>
#include <vector>

#include "platform/vcl/System.h"

class TCustomForm;
class TPopupMenu;
class TMenuItem;
using TColor = std::int32_t;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = Set<TMsgDlgBtn>;
constexpr TMsgDlgBtn mbYes = TMsgDlgBtn::mbYes;
constexpr TMsgDlgBtn mbNo = TMsgDlgBtn::mbNo;
constexpr TMsgDlgBtn mbOK = TMsgDlgBtn::mbOK;
constexpr TMsgDlgBtn mbCancel = TMsgDlgBtn::mbCancel;
constexpr TMsgDlgBtn mbAbort = TMsgDlgBtn::mbAbort;
constexpr TMsgDlgBtn mbRetry = TMsgDlgBtn::mbRetry;
constexpr TMsgDlgBtn mbIgnore = TMsgDlgBtn::mbIgnore;
constexpr TMsgDlgBtn mbAll = TMsgDlgBtn::mbAll;
constexpr TMsgDlgBtn mbHelp = TMsgDlgBtn::mbHelp;
inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

struct TFileDialogRequest {
    bool Save = false;
    String Title;
    String Filter;        // VCL syntax: "Video files|*.avi;*.mpg|All files|*.*"
    int FilterIndex = 1;  // 1-based
    String InitialDir;
    String FileName;
    String DefaultExt;
    bool MultiSelect = false;
    bool OverwritePrompt = false;
    bool FileMustExist = false;
};

struct TFileDialogAnswer {
    std::vector<String> Files;  // one unless MultiSelect
    int FilterIndex = 1;
};

class TInteractionService {
public:
    virtual ~TInteractionService() = default;
    // Returns the mr* value of the button pressed.
    virtual TModalResult MessageBox(const String& Text, const String& Caption, TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons) = 0;
    virtual bool FileDialog(const TFileDialogRequest& Request, TFileDialogAnswer& Answer) = 0;
    // Directory is the start folder on entry and the chosen folder on success.
    virtual bool SelectDirectory(const String& Caption, const String& Root, String& Directory) = 0;
    virtual bool ChooseColor(TColor& Color) = 0;
    // Runs a modal form: the default just calls RunLoop, which shows the form and spins until
    // its ModalResult is set; a scripted service acts on the form first (or instead).
    virtual TModalResult ShowModal(TCustomForm* Form, const std::function<TModalResult()>& RunLoop) = 0;
    // Shows a popup menu at a screen point until it closes; returns the item chosen, or nullptr.
    // The caller dispatches the item's click afterwards.
    virtual TMenuItem* TrackPopupMenu(TPopupMenu* Menu, int X, int Y) = 0;
    // Closes the popup TrackPopupMenu shows for Menu, which then answers nullptr (its window
    // went). A service whose popups answer at once has nothing to close.
    virtual void CancelPopupMenu(TPopupMenu* Menu) { (void)Menu; }
};

TInteractionService* GetInteractionService();
// The service that shows real dialogs and popups, whatever is installed.
TInteractionService* DefaultInteractionService();
// nullptr restores the default service. The caller keeps ownership of what it installs.
void SetInteractionService(TInteractionService* Service);
