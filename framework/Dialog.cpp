#include "framework/Dialog.h"

#include "framework/Application.h"
#include "framework/Button.h"

#include <algorithm>

namespace fw {

Dialog::Dialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

INT_PTR Dialog::DoModal() {
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), Owner(), &Dialog::DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

// Without a parent of its own a dialog is owned by the application's main
// window, so that window is disabled while the dialog runs.
HWND Dialog::Owner() const {
    if (m_parent) return m_parent;
    const Application* application = Application::Current();
    return application ? application->MainWindow() : nullptr;
}

void Dialog::UpdateData(bool saving) {
    DataExchange exchange(*this, saving);
    DoDataExchange(exchange);
}

void Dialog::DoDataExchange(DataExchange&) {}

BOOL Dialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void Dialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool Dialog::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
        case IDOK: OnOK(); return true;
        case IDCANCEL: OnCancel(); return true;
        default: return false;
    }
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: CenterOverOwner(); return OnInitDialog();
        case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        case WM_NOTIFY: return ReflectNotify(*reinterpret_cast<const NMHDR*>(lParam));
        default: return FALSE;
    }
}

bool Dialog::ReflectNotify(const NMHDR& header) {
    LRESULT result = 0;
    if (!m_boundControls.Reflect(header, result)) return false;
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return true;
}

// Centred over the owner, or in the work area without one, and kept inside
// the work area.
void Dialog::CenterOverOwner() const {
    RECT area;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT frame = area;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &frame);
    RECT mine;
    ::GetWindowRect(m_hWnd, &mine);
    const LONG width = mine.right - mine.left;
    const LONG height = mine.bottom - mine.top;
    LONG left = (frame.left + frame.right - width) / 2;
    LONG top = (frame.top + frame.bottom - height) / 2;
    left = std::max(area.left, std::min(left, area.right - width));
    top = std::max(area.top, std::min(top, area.bottom - height));
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        dialog->m_hWnd = window;
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    }
    auto* dialog = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog) return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        dialog->m_boundControls.DetachAll();
        dialog->m_hWnd = nullptr;
        return FALSE;
    }
    return dialog->HandleMessage(message, wParam, lParam);
}

void DataExchange::Control(int id, Window& control) {
    if (control.Hwnd()) return;
    control.Attach(m_dialog.Item(id));
    m_dialog.m_boundControls.Add(control);
}

void DataExchange::CheckBox(int id, int& value) {
    Button box;
    box.Attach(m_dialog.Item(id));
    if (m_saving) {
        value = box.GetCheck();
        return;
    }
    if (value < 0 || value > 2) value = 0;
    box.SetCheck(value);
}

void DataExchange::Text(int id, std::string& value, int limit) {
    HWND edit = m_dialog.Item(id);
    if (m_saving) {
        const int length = ::GetWindowTextLengthA(edit);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        text.resize(static_cast<size_t>(::GetWindowTextA(edit, &text[0], length + 1)));
        value = text;
        return;
    }
    ::SetWindowTextA(edit, value.c_str());
    ::SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

}  // namespace fw
