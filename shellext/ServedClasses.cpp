#include "shellext/ServedClasses.h"

#include "menubuilder/MenuPath.h"

namespace shellext {
namespace {

const char* const kServedClasses[kServedClassCount] = {menubuilder::kRootClassId, menubuilder::kFirstLevelClassId,
                                                       menubuilder::kDeeperClassId};

CLSID ParseClass(const char* text) {
    CLSID classId = CLSID_NULL;
    std::wstring wide = Widen(text);
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

CLSID RootClass() {
    return ParseClass(menubuilder::kRootClassId);
}

std::wstring Widen(const char* ascii) {
    std::wstring wide;
    for (; *ascii; ++ascii) wide += static_cast<wchar_t>(static_cast<unsigned char>(*ascii));
    return wide;
}

}  // namespace shellext
