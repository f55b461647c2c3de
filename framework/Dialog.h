#pragma once
// Modal dialogs from templates. The base passes `this` through
// DialogBoxParamA, keeps it in DWLP_USER and forwards every message to
// HandleMessage, the derived class's message map. The pointer is cleared
// before the window dies, so no virtual call runs during teardown.

#include "framework/BoundControls.h"
#include "framework/Window.h"

#include <string>

namespace fw {

class DataExchange;

class Dialog : public Window {
public:
    explicit Dialog(UINT templateId, HWND parent = nullptr);

    // Runs the dialog with its own message loop; returns EndDialog's result,
    // or -1 when the dialog could not be created. Without a parent the
    // application's main window, if any, owns it.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result) const { ::EndDialog(m_hWnd, result); }

    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

    // Moves data between the members and the controls (saving: from the
    // controls into the members).
    void UpdateData(bool saving);

protected:
    // One function lists every bound control, in order; runs both ways.
    virtual void DoDataExchange(DataExchange& exchange);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // The message map. Derived dialogs handle their own messages and hand
    // every other one to the base; FALSE means the dialog manager's default.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool OnCommand(int id, int code, HWND control);

    HWND Parent() const { return m_parent; }

private:
    friend class DataExchange;

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND Owner() const;
    bool ReflectNotify(const NMHDR& header);
    void CenterOverOwner() const;

    UINT m_templateId;
    HWND m_parent;
    BoundControls m_boundControls;
};

// The two directions of a dialog's data exchange.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saving) : m_dialog(dialog), m_saving(saving) {}

    bool Saving() const { return m_saving; }

    // Binds a wrapper to a control of the dialog (at the first exchange only);
    // the control's notifications are then reflected to the wrapper.
    void Control(int id, Window& control);

    // A check box and an int flag. Towards the control a value outside 0..2
    // is first replaced by 0; from the control the value is 0 or 1 (or 2).
    void CheckBox(int id, int& value);

    // An edit control and a string, with a length limit set on the control.
    void Text(int id, std::string& value, int limit);

private:
    Dialog& m_dialog;
    bool m_saving;
};

}  // namespace fw
