#include "framework/CommonControls.h"

namespace fw {
namespace {

// A function of the common controls the program is linked with, or nullptr
// when their version lacks it.
template <class Function>
Function CommonControlsFunction(const char* name) {
    const HMODULE controls = ::GetModuleHandleA("comctl32.dll");
    if (!controls) return nullptr;
    // Through void*: a FARPROC is cast to the function's real type.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(controls, name)));
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

}  // namespace fw
