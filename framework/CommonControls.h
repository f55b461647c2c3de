#pragma once
// The common controls as the system has them. Windows 95 and NT 4.0 come with
// version 4.00; what later versions add (4.70 came with Internet Explorer 3)
// is looked up at run time, so that the program still starts without it.

#include <windows.h>
#include <commctrl.h>

namespace fw {

// Registers the window classes of these controls (ICC_ flags): through
// InitCommonControlsEx where the system has it, otherwise through
// InitCommonControls, which registers all the classes of 4.00.
void InitCommonControlClasses(DWORD classes);

// The image-list functions of 4.70 that move images within a list and cut
// it, found once per process; both empty on 4.00. Tests empty them to run
// what a bare Windows 95 runs.
struct ImageListMoves {
    decltype(&::ImageList_Copy) copy = nullptr;
    decltype(&::ImageList_SetImageCount) setImageCount = nullptr;

    bool Available() const { return copy && setImageCount; }
};
ImageListMoves& SystemImageListMoves();

// Whether list views may keep no items of their own and ask for each row as
// they draw it (LVS_OWNERDATA, new in 4.70), known by a function new in
// 4.70. Tests turn it off to run what a bare Windows 95 runs.
bool& OwnerDataListViews();

}  // namespace fw
