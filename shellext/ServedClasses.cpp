#include "shellext/ServedClasses.h"

#include "framework/WideText.h"
#include "menubuilder/MenuPath.h"

namespace shellext {
namespace {

const char* const kServedClasses[kServedClassCount] = {menubuilder::kRootClassId, menubuilder::kFirstLevelClassId,
                                                       menubuilder::kDeeperClassId};

CLSID ParseClass(const char* text) {
    CLSID classId = CLSID_NULL;
    std::wstring wide = fw::Widen(text);
    ::CLSIDFromString(&wide[0], &classId);
    return classId;
}

}  // namespace

const char* ServedClassText(int index) {
    return kServedClasses[index];
}

bool IsServedClass(REFCLSID classId) {
    for (const char* text : kServedClasses) {
        if (IsEqualCLSID(classId, ParseClass(text))) return true;
    }
    return false;
}

CLSID ClassOfDepth(int depth) {
    return ParseClass(menubuilder::ClassIdForDepth(depth));
}

}  // namespace shellext
