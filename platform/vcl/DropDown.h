// The dropped list of a combo box: a frameless popup window under the face holding a list box.
// While it is open it has the mouse and the keyboard, in a modal window as anywhere, as a
// desktop's drop-down list has: the item under the pointer is highlighted, a click takes it,
// a click anywhere else or Escape closes the list without a change, and the list closes when
// the window it drops from hides or goes.
//
//   auto* drop = new TDropDownWindow(Combo, Host);   // the combo owns and frees it
//   drop->List()->GetItems()->Assign(Items);
//   drop->Open(ScreenRect);      // the host hears DropDownPicked or DropDownDismissed
//   drop->Shut();                // closes it without telling the host
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

// What the open list tells the control it drops from. The list is already shut when the host
// hears it.
class TDropDownHost {
public:
    virtual ~TDropDownHost() = default;
    // A click on an item, Return, Tab or F4 took Index (-1 when none is highlighted).
    virtual void DropDownPicked(int Index) = 0;
    // Escape, a click outside, or the window going away closed the list.
    virtual void DropDownDismissed() = 0;
};

class TDropDownWindow : public TCustomForm {
    VCL_CLASS(TDropDownWindow)
    TDropDownWindow(TWinControl* DroppedFrom, TDropDownHost* Host);
    ~TDropDownWindow() override;

    TListBox* List() const { return m_list; }
    TWinControl* DroppedFrom() const { return m_droppedFrom; }
    // Places the window over ScreenRect (its one-pixel frame included) and shows it; from now
    // on the mouse and the keys are the list's.
    void Open(const TRect& ScreenRect);
    void Shut();
    // Closes it as Escape does: the host hears DropDownDismissed.
    void Dismiss();
    bool IsOpen() const { return GetVisible(); }
    // The list keys: Up, Down, Home, End, PageUp and PageDown move the highlight; Return, Tab,
    // F4 and Alt+Up or Down take the highlighted item; Escape closes. True when the key was one.
    bool ListKey(Word Key, TShiftState Shift);

    void Dispatch(TMessage& Message) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    // The window system closed the popup (another window came forward): the list is dismissed.
    void DoClose(TCloseAction& Action) override;

private:
    void Pick(int Index);
    void HighlightAt(int X, int Y);
    void MoveHighlight(int Index);

    TWinControl* m_droppedFrom;
    TDropDownHost* m_host;
    TListBox* m_list;
};

// The open list, or nullptr.
TDropDownWindow* OpenDropDown();
// A mouse press at ScreenPos: outside the open list it closes the list and is eaten (true), as
// a desktop's list eats the click that closes it.
bool DropDownTakesPress(TPoint ScreenPos);
// The window Form hides or goes: a list dropped from a control inside it closes.
void CloseDropDownOf(TCustomForm* Form);
