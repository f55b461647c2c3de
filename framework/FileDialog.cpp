#include "framework/FileDialog.h"

#include <commdlg.h>

#include <algorithm>

namespace fw {

FileOpenDialog::FileOpenDialog(const std::string& initialFile, const char* filter, DWORD flags)
    : m_filter(filter), m_flags(flags) {
    // The system wants the filter's parts separated by NUL characters.
    std::replace(m_filter.begin(), m_filter.end(), '|', '\0');
    // A name too long for the buffer is not proposed cut short.
    if (initialFile.size() < sizeof(m_file)) initialFile.copy(m_file, initialFile.size());
}

bool FileOpenDialog::DoModal(HWND owner) {
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = m_filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = m_file;
    dialog.nMaxFile = sizeof(m_file);
    dialog.Flags = m_flags | OFN_EXPLORER;
    return ::GetOpenFileNameA(&dialog) != FALSE;
}

}  // namespace fw
