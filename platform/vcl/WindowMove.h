// Moving a window as if its caption had been pressed (a form's WM_NCLBUTTONDOWN with HTCAPTION).
//
// The default service asks the window system to move the window (the toolkit's system move);
// where the platform can't, the window follows the pointer until the mouse button is released.
// Tests install a recording service instead.
#pragma once

class TCustomForm;

class TWindowMoveService {
public:
    virtual ~TWindowMoveService() = default;
    // Starts moving Form with the pointer; returns at once, the move goes on from the loop.
    virtual void StartMove(TCustomForm* Form) = 0;
};

TWindowMoveService* GetWindowMoveService();
// Installs Service (not owned; it must outlive its use); nullptr restores the default.
void SetWindowMoveService(TWindowMoveService* Service);
