#pragma once
// One modal run of the system's file-open dialog.

#include <windows.h>

#include <string>

namespace fw {

class FileOpenDialog {
public:
    // `filter` is a list of "description|pattern|" pairs ended by a further
    // "|"; `flags` are OFN_ flags, added to those this wrapper needs itself.
    FileOpenDialog(const std::string& initialFile, const char* filter, DWORD flags);

    // True when the user confirmed a file.
    bool DoModal(HWND owner);

    // The full path of the confirmed file.
    std::string PathName() const { return m_file; }

private:
    std::string m_filter;
    DWORD m_flags;
    char m_file[MAX_PATH] = {};
};

}  // namespace fw
