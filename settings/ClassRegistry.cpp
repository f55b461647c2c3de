#include "settings/ClassRegistry.h"

#include "framework/WindowsVersion.h"
#include "menubuilder/MenuPath.h"
#include "settings/RegistryHelpers.h"
#include "settings/SettingsCatalogue.h"

namespace settings {

bool HasUserClasses() {
    return fw::ReportedVersion().dwMajorVersion >= 5;
}

ClassesPlace OwnClasses() {
    return HasUserClasses() ? kUserClasses : kMergedClasses;
}

std::string ExtensionClassKey() {
    return std::string("CLSID\\") + menubuilder::kRootClassId;
}

std::string ReadInstallDir() {
    for (const ClassesPlace& place : {kUserClasses, kMachineClasses}) {
        std::string installDir =
            ReadRegistryString(place.root, place.Path(ExtensionClassKey().c_str()).c_str(), kInstallDirValue);
        if (!installDir.empty()) return installDir;
    }
    return std::string();
}

}  // namespace settings
