#include "framework/CommonControls.h"

#include "framework/RuntimeLink.h"

#include <type_traits>

namespace fw {
namespace {

// A function of the common controls the program is linked with, or nullptr
// when their version lacks it.
template <class Function>
Function CommonControlsFunction(const char* name) {
    return LookUp<std::remove_pointer_t<Function>>("comctl32.dll", name);
}

}  // namespace

void InitCommonControlClasses(DWORD classes) {
    static const auto initEx = CommonControlsFunction<decltype(&::InitCommonControlsEx)>("InitCommonControlsEx");
    if (!initEx) {
        ::InitCommonControls();
        return;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), classes};
    initEx(&controls);
}

ImageListMoves& SystemImageListMoves() {
    static ImageListMoves moves{
        CommonControlsFunction<decltype(&::ImageList_Copy)>("ImageList_Copy"),
        CommonControlsFunction<decltype(&::ImageList_SetImageCount)>("ImageList_SetImageCount"),
    };
    return moves;
}

bool& OwnerDataListViews() {
    static bool available =
        CommonControlsFunction<decltype(&::InitCommonControlsEx)>("InitCommonControlsEx") != nullptr;
    return available;
}

}  // namespace fw
