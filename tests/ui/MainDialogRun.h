#pragma once
// RootCaster.exe started without a directory, driven through its main
// dialog's controls and messages from the test program.

#include "tests/support/WindowDriver.h"

#include <gtest/gtest.h>

#include <string>

namespace ui_testing {

inline const std::string kConfigKey = "Software\\Quillmoor\\RootCaster\\Config";
inline const std::string kStatsKey = "Software\\Quillmoor\\RootCaster\\Stats";
inline const std::string kVerbKey = "Directory\\Shell\\RootCaster";
inline const std::string kVerbCommandKey = "Directory\\Shell\\RootCaster\\Command";
inline const std::string kExtensionClassKey = "CLSID\\{5A3C71E4-2B90-11D1-A4F6-00C04F7B3E28}";
// The classes: the user's below HKEY_CURRENT_USER, where the program keeps its
// verb on Windows 2000 and later, and the machine's below HKEY_LOCAL_MACHINE.
// Known Wine difference: Wine's HKEY_CLASSES_ROOT is the machine's classes
// alone and shows no key that exists only in the user's, where Windows shows
// the two merged; tests read each place explicitly.
inline const std::string kClasses = "Software\\Classes\\";
// The verb where the program keeps it under the Windows the prefix reports
// by default, one with the user's own classes.
inline const std::string kUserVerbKey = kClasses + kVerbKey;
inline const std::string kUserVerbCommandKey = kClasses + kVerbCommandKey;

class MainDialogRun {
public:
    MainDialogRun();
    MainDialogRun(const MainDialogRun&) = delete;
    MainDialogRun& operator=(const MainDialogRun&) = delete;

    HWND Dialog() const { return m_dialog; }
    HWND Item(int id) const { return ::GetDlgItem(m_dialog, id); }
    const testing_support::ProgramRun& Program() const { return m_program; }

    // Presses "Done"; true when the program then ended.
    bool Done() const;
    // The modal window the dialog opened (About box, file or folder dialog).
    HWND WaitForOwnedWindow() const;
    HWND WaitForAboutBox() const;
    // True when the dialog is still there after the handlers ran.
    bool StillOpen() const;

private:
    testing_support::ProgramRun m_program;
    HWND m_dialog = nullptr;
};

// Every test starts from no menu folders, no stored options, no Explorer verb
// and no installation record of the shell extension, and leaves the same
// behind.
class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ClearGround(); }
    void TearDown() override { ClearGround(); }
    static void ClearGround();
};

}  // namespace ui_testing
