#include "app/RootCasterApp.h"

#include "framework/NamedMutexLock.h"
#include "framework/OleSession.h"
#include "app/CommandLine.h"
#include "menubuilder/AddDirectory.h"
#include "menubuilder/RemoveDirectoryMenus.h"
#include "settings/SettingsStore.h"
#include "ui/RootCasterDlg.h"

#include <cstdint>

BOOL CRootCasterApp::InitInstance() {
    EnableControlSupport();
    settings::SettingsStore::Instance().SetRegistryKey(settings::kCompanyKey);

    // Shortcut items are shell link objects; without OLE end at once, silently.
    fw::OleSession ole;
    if (!ole.Ok()) {
        SetExitStatus(static_cast<int>(menubuilder::AddStatus::kIncomplete));
        return FALSE;
    }

    // With a directory nothing is shown; the exit status tells a script what
    // happened.
    app::Request request = app::ReadRequest(CommandLineText());
    switch (request.task) {
        case app::Request::Task::kShowDialog: RunMainDialog(); break;
        case app::Request::Task::kAdd:
            SetExitStatus(static_cast<int>(menubuilder::AddDirectory(request.directory)));
            break;
        case app::Request::Task::kRemove:
            SetExitStatus(static_cast<int>(menubuilder::RemoveDirectoryMenus(request.directory)));
            break;
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
// Explorer starts one process per selected folder, all at once: a mutex
// named after the settings key makes each read-add-write whole, so no raise
// is lost. Should it stay taken, the counter is raised all the same.
void CRootCasterApp::RaiseUsageCounter() {
    const settings::SettingsStore& store = settings::SettingsStore::Instance();
    const fw::NamedMutexLock lock(store.CompanyKey() + " " + store.ApplicationName() + " usage counter");
    const auto times = static_cast<uint32_t>(store.Read(settings::kTimes));
    store.Write(settings::kTimes, static_cast<int>(times + 1u));
}
