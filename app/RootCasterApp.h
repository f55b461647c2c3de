#pragma once
// The application: one task per process. An empty command-line text shows
// the main dialog; "/remove " and a directory path takes that directory's
// menus off; any other text is one directory path to add.

#include "framework/Application.h"

class CRootCasterApp : public fw::Application {
public:
    CRootCasterApp() = default;
    ~CRootCasterApp() override = default;

    // Always FALSE: the process ends without an application message loop.
    // Exit status: 0 after the dialog; in command-line mode the add's
    // menubuilder::AddStatus or RemoveStatus; 1 (nothing could be made)
    // without OLE.
    BOOL InitInstance() override;

private:
    void RunMainDialog();
    static void RaiseUsageCounter();
};
