#pragma once
// The shell's small icons of menu entries, as indexes into the system image
// list. Most files show the icon of their type, looked up once per type by
// name and attributes alone; files that carry their own icon (programs,
// icons, shortcuts and the like) and drive roots are asked for by their path,
// unless it lies on a server or a removable drive (listing::MayBlock).

#include "framework/ImageList.h"
#include "tray/MenuPages.h"

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

namespace tray {

class ShellIcons {
public:
    // The system's small image list; the shell owns it.
    HIMAGELIST Images() const;

    // The index of the icon of the file or directory (with closing
    // backslash) at `path`; kNoIcon when the shell has none.
    int IndexOf(const std::wstring& path, DWORD attributes);

    // Types are looked up afresh from now on (after an association changed).
    void Forget() { m_byType.clear(); }

private:
    std::map<std::wstring, int> m_byType;
};

// The shell's icons at one size: the system's list itself where it has that
// size, else a list of that size holding the icons asked for, each scaled
// once (on a monitor of another DPI than the system's).
class IconsAtSize {
public:
    IconsAtSize(const ShellIcons& shell, int size);

    HIMAGELIST Images() const { return m_own.Get() ? m_own.Get() : m_system; }
    int Size() const { return m_size; }

    // The index here of the system list's icon `shellIndex`; kNoIcon stays.
    int IndexOf(int shellIndex);

private:
    HIMAGELIST m_system;
    int m_size;
    fw::ImageList m_own;
    std::map<int, int> m_added;  // by the system list's index
};

}  // namespace tray
