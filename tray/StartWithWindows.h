#pragma once
// The per-user Run entry that starts the tray program when the user logs on.
// The setup program writes and removes the same value.

namespace tray {

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "RootCasterTray";

bool StartsWithWindows();
// On: the running program's quoted path; off: no value.
void SetStartWithWindows(bool on);

}  // namespace tray
