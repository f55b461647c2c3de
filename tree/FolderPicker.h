#pragma once
// One modal run of the shell's browse-for-folder dialog, returning the chosen
// folder's file-system path.

#include <windows.h>

#include <string>

class CFolderPicker {
public:
    CFolderPicker() = default;
    virtual ~CFolderPicker() = default;
    CFolderPicker(const CFolderPicker&) = delete;
    CFolderPicker& operator=(const CFolderPicker&) = delete;

    // True when the user confirmed a folder that has a file-system path, which
    // is then in m_strPath (a drive as C:\, any other folder without a final
    // backslash). False when cancelled, when the chosen item has no path or
    // one that may have been cut to fit the platform's buffer, or when
    // m_strRoot names no folder (then nothing is shown).
    bool Browse(HWND owner);

    std::string m_strPath;   // out: the chosen folder
    std::string m_strRoot;   // in: folder at the top of the dialog; empty: the desktop
    std::string m_strTitle;  // in: text above the dialog's tree; empty: "Open"
    int m_nImage = 0;        // out: the chosen folder's index in the system image list
};
