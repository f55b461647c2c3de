#include "app/RootCasterApp.h"

#include "framework/OleSession.h"
#include "menubuilder/AddDirectory.h"
#include "settings/SettingsStore.h"
#include "ui/RootCasterDlg.h"

#include <cstdint>

BOOL CRootCasterApp::InitInstance() {
    EnableControlSupport();
    settings::SettingsStore::Instance().SetRegistryKey(settings::kCompanyKey);

    // Shortcut items are shell link objects; without OLE end at once, silently.
    fw::OleSession ole;
    if (!ole.Ok()) return FALSE;

    std::string text = CommandLineText();
    if (text.empty()) {
        RunMainDialog();
    } else {
        menubuilder::AddDirectory(text);
    }

    RaiseUsageCounter();
    return FALSE;
}

// The dialog's modal loop is the program's only message loop.
void CRootCasterApp::RunMainDialog() {
    CRootCasterDlg dialog;
    SetMainWindow(&dialog);
    dialog.DoModal();
    SetMainWindow(nullptr);
}

// Raised after the run's work; the count wraps like the 32-bit value it is.
void CRootCasterApp::RaiseUsageCounter() {
    const settings::SettingsStore& store = settings::SettingsStore::Instance();
    const auto times = static_cast<uint32_t>(store.Read(settings::kTimes));
    store.Write(settings::kTimes, static_cast<int>(times + 1u));
}
