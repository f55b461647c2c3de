#include "tests/ui/MainDialogRun.h"

#include "tests/support/WineTest.h"

using namespace testing_support;

namespace ui_testing {

MainDialogRun::MainDialogRun() : m_program(ProgramPath(), "") {
    m_dialog = m_program.WaitForWindow("RootCaster");
    EXPECT_TRUE(m_dialog) << "the main dialog did not appear";
}

bool MainDialogRun::Done() const {
    Click(m_dialog, IDCANCEL);
    return m_program.WaitForExit();
}

HWND MainDialogRun::WaitForOwnedWindow() const {
    return WaitFor([this] { return FindOwnedWindow(m_dialog); });
}

HWND MainDialogRun::WaitForAboutBox() const {
    return WaitFor([this] { return FindTopLevelWindow(m_program.Id(), "About RootCaster", m_dialog); });
}

bool MainDialogRun::StillOpen() const {
    return AnswersMessages(m_dialog) && ::IsWindowVisible(m_dialog) && m_program.Running();
}

void MainDialogTest::ClearGround() {
    RemoveTree(MenuRoot());
    DeleteKeyTree(HKEY_CURRENT_USER, kConfigKey);
    for (const std::string& key : {kVerbKey, kExtensionClassKey}) {
        DeleteKeyTree(HKEY_CLASSES_ROOT, key);
        DeleteKeyTree(HKEY_CURRENT_USER, kClasses + key);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kClasses + key);
    }
}

}  // namespace ui_testing
