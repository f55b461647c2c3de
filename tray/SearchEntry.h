#pragma once
// "Search..." at the top of the tray's folder menu, above what the folder
// menus put there; typing "s" chooses it, and the letters the folder menus
// answer for their own entries move past it.

#include <windows.h>

namespace tray {

inline constexpr UINT kSearchCommand = 0xFFFF;
// "Search..." and a separator.
inline constexpr UINT kSearchEntryItems = 2;

inline void AddSearchEntry(HMENU menu) {
    ::InsertMenuA(menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    ::InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING, kSearchCommand, "&Search...");
}

// What WM_MENUCHAR answers for the menu given what the folder menus answered
// for their entries alone.
inline LRESULT MenuCharWithSearchEntry(LRESULT folderAnswer, wchar_t character) {
    if (HIWORD(folderAnswer) != MNC_IGNORE)
        return MAKELRESULT(LOWORD(folderAnswer) + kSearchEntryItems, HIWORD(folderAnswer));
    if (character == L's' || character == L'S') return MAKELRESULT(0, MNC_EXECUTE);
    return folderAnswer;
}

}  // namespace tray
