#pragma once
// Menu folders and their desktop.ini markers.

#include <string>

namespace menubuilder {

// Creates every folder along `menuFolder` (the menu base followed by an
// encoded path), top down. Except on Windows 95, the menu root and every
// folder below it get the System attribute and a marker; the Start Menu
// folder and its parents never do. A failure is skipped and the walk goes on;
// the result says whether every folder and marker is in place.
bool CreateMenuFolders(const std::string& menuFolder, const std::string& menuBase);

// Writes the hidden desktop.ini naming the identifier that the folder's depth
// below the menu root calls for; a folder that is neither the menu root nor
// below it gets none. False when the folder is left without its marker.
bool WriteDesktopIni(const std::string& folder, const std::string& menuBase);

// Whether the file holds exactly the bytes of a marker that WriteDesktopIni
// writes, for any depth.
bool IsOwnMarker(const std::string& path);

}  // namespace menubuilder
