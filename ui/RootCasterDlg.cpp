#include "ui/RootCasterDlg.h"

#include "framework/PaintDC.h"
#include "framework/Resources.h"
#include "framework/WaitCursor.h"
#include "launch/OpenWithHtmlViewer.h"
#include "menubuilder/AddDirectory.h"
#include "menubuilder/MenuPath.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "tree/FolderPicker.h"
#include "ui/AboutDlg.h"
#include "ui/ExplorerVerb.h"
#include "ui/IconChooser.h"

namespace {

constexpr int kMainItemLimit = 60;

const settings::SettingsStore& Store() {
    return settings::SettingsStore::Instance();
}

}  // namespace

CRootCasterDlg::CRootCasterDlg(HWND parent)
    : fw::Dialog(IDD_ROOTCASTER_DIALOG, parent),
      m_btnOpenIcon(settings::kOpenIcon, menubuilder::kOpenKind),
      m_btnDOSIcon(settings::kDOSIcon, menubuilder::kDOSPromptKind),
      m_strMainItem("RootCaster"),
      m_hIcon(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ROOTCASTER))) {
    m_bAddToRootCaster = Store().Read(settings::kAddToRootCaster);
    m_bAddOpen = Store().Read(settings::kAddOpen);
    m_bAddDOSPrompt = Store().Read(settings::kAddDOSPrompt);
}

void CRootCasterDlg::DoDataExchange(fw::DataExchange& exchange) {
    exchange.Control(IDC_OPEN_ICON, m_btnOpenIcon);
    exchange.Control(IDC_DOS_ICON, m_btnDOSIcon);
    exchange.Control(IDC_TREE, m_tree);
    exchange.CheckBox(IDC_ADD_TO_ROOTCASTER, m_bAddToRootCaster);
    exchange.CheckBox(IDC_ADD_DOS_PROMPT, m_bAddDOSPrompt);
    exchange.CheckBox(IDC_ADD_OPEN, m_bAddOpen);
    exchange.Text(IDC_MAIN_ITEM, m_strMainItem, kMainItemLimit);
}

BOOL CRootCasterDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    AddSystemMenuItem();
    SetWindowIcons();
    m_tree.InitTree();
    m_btnOpenIcon.ShowStoredIcon();
    m_btnDOSIcon.ShowStoredIcon();
    return TRUE;
}

INT_PTR CRootCasterDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND: return OnSysCommand(static_cast<UINT>(wParam));
        case WM_PAINT: return OnPaint();
        case WM_QUERYDRAGICON: return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
        default: return fw::Dialog::HandleMessage(message, wParam, lParam);
    }
}

bool CRootCasterDlg::OnCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
            case IDC_BROWSE: OnBrowse(); return true;
            case IDC_DOS_ICON: OnDOSIcon(); return true;
            case IDC_OPEN_ICON: OnOpenIcon(); return true;
            case IDC_ABOUT: OnAbout(); return true;
            case IDC_HELP_BUTTON: OnHelp(); return true;
            default: break;
        }
    }
    return fw::Dialog::OnCommand(id, code, control);
}

// The tree keeps its selection and expansion; an empty path ("My Computer"
// or nothing selected) goes to the builder as it is.
void CRootCasterDlg::OnOK() {
    fw::WaitCursor wait;
    StoreItemOptionsFromControls();
    std::string path = m_tree.GetSelectedPath();
    menubuilder::AddDirectory(path);
}

void CRootCasterDlg::OnCancel() {
    UpdateData(true);
    Store().Write(settings::kAddToRootCaster, m_bAddToRootCaster);
    StoreItemOptions();
    ui::UpdateExplorerVerb(m_bAddToRootCaster);
    EndDialog(IDCANCEL);
}

// Every command of the About item's group opens the About box: the system
// keeps the low four bits of a command identifier for itself.
bool CRootCasterDlg::OnSysCommand(UINT command) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
    OnAbout();
    return true;
}

// Minimised, the dialog draws its icon in the middle of its client area.
bool CRootCasterDlg::OnPaint() const {
    if (!::IsIconic(m_hWnd)) return false;
    fw::PaintDC dc(m_hWnd);
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()));
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.Get(), x, y, m_hIcon);
    return true;
}

HICON CRootCasterDlg::OnQueryDragIcon() const {
    return m_hIcon;
}

void CRootCasterDlg::OnBrowse() {
    CFolderPicker picker;
    picker.m_strTitle = "Select Directory";
    if (!picker.Browse(m_hWnd)) return;
    fw::WaitCursor wait;
    StoreItemOptionsFromControls();
    menubuilder::AddDirectory(picker.m_strPath);
}

void CRootCasterDlg::OnDOSIcon() {
    m_btnDOSIcon.ChooseIcon(m_hWnd);
}

void CRootCasterDlg::OnOpenIcon() {
    m_btnOpenIcon.ChooseIcon(m_hWnd);
}

void CRootCasterDlg::OnAbout() const {
    CAboutDlg about;
    about.DoModal();
}

void CRootCasterDlg::OnHelp() const {
    launch::OpenWithHtmlViewer(Store().Read(settings::kHelpFile));
}

void CRootCasterDlg::AddSystemMenuItem() const {
    HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
    if (!menu) return;
    const std::string about = fw::LoadResourceString(IDS_ABOUTBOX);
    if (about.empty()) return;
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
}

void CRootCasterDlg::SetWindowIcons() const {
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
}

// The add-directory run reads these two options from the settings.
void CRootCasterDlg::StoreItemOptions() const {
    Store().Write(settings::kAddOpen, m_bAddOpen);
    Store().Write(settings::kAddDOSPrompt, m_bAddDOSPrompt);
}

void CRootCasterDlg::StoreItemOptionsFromControls() {
    UpdateData(true);
    StoreItemOptions();
}
