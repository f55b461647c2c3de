#include "tray/DarkModeChoice.h"

#include <cstring>

namespace tray {
namespace {

constexpr unsigned kSetHighContrast = 0x0043;  // SPI_SETHIGHCONTRAST
constexpr char kColorSetChange[] = "ImmersiveColorSet";

}  // namespace

bool MayLookUpDarkMode(const DarkModeFacts& facts) {
    return !facts.wine && facts.major >= 10 && facts.build >= kFirstDarkModeBuild;
}

bool DarkModeAvailable(const DarkModeFacts& facts) {
    return MayLookUpDarkMode(facts) && facts.resolved;
}

bool WindowsAreDark(const DarkModeFacts& facts) {
    return DarkModeAvailable(facts) && facts.appsUseDark && !facts.highContrast;
}

unsigned DarkCaptionAttribute(unsigned build) {
    return build >= kFinalCaptionAttributeBuild ? 20 : 19;
}

bool IsColorSchemeChange(unsigned action, const char* text) {
    return action == kSetHighContrast || (text && std::strcmp(text, kColorSetChange) == 0);
}

}  // namespace tray
