#pragma once
// The main dialog: the directory tree, the options, the icon buttons, and
// the buttons that add a directory to the Start Menu.

#include "framework/Dialog.h"
#include "tree/DirTreeCtrl.h"
#include "ui/IconChooser.h"

#include <string>

class CRootCasterDlg : public fw::Dialog {
public:
    // Reads the three options; creates no window.
    explicit CRootCasterDlg(HWND parent = nullptr);
    ~CRootCasterDlg() override = default;

protected:
    void DoDataExchange(fw::DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    // "Add Selected Directory!" (and Enter): the dialog stays open.
    void OnOK() override;
    // "Done", Escape and Close: stores the options, updates the Explorer verb.
    void OnCancel() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    bool OnSysCommand(UINT command);
    bool OnPaint() const;
    HICON OnQueryDragIcon() const;
    void OnBrowse();
    void OnDOSIcon();
    void OnOpenIcon();
    void OnAbout() const;
    void OnHelp() const;

    void AddSystemMenuItem() const;
    void SetWindowIcons() const;
    void StoreItemOptions() const;
    void StoreItemOptionsFromControls();

    ui::IconButton m_btnOpenIcon;
    ui::IconButton m_btnDOSIcon;
    CDirTreeCtrl m_tree;
    int m_bAddToRootCaster = 0;
    int m_bAddDOSPrompt = 0;
    int m_bAddOpen = 0;
    std::string m_strMainItem;
    HICON m_hIcon;  // shared by the system; never destroyed
};
