#pragma once
// The Windows version as the system reports it to this program (which a
// compatibility setting may change): the one place that asks.

#include <windows.h>

namespace fw {

// Zeroed when the system does not answer.
inline OSVERSIONINFOA ReportedVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExA(&info)) info = OSVERSIONINFOA{};
    return info;
}

}  // namespace fw
