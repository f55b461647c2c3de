#pragma once
// When the tray's menus and the search window turn dark, free of Windows.
// Windows 10 1809 (build 17763) and later let a program follow the user's
// choice of a dark theme through unnamed exports of uxtheme. They are used
// only where the reported build has them and every one was found, never
// under Wine (whose uxtheme exports other functions at those ordinals), and
// never under high contrast, whose colours come first.

namespace tray {

inline constexpr unsigned kFirstDarkModeBuild = 17763;
// The build from which the dark caption has its final attribute number.
inline constexpr unsigned kFinalCaptionAttributeBuild = 18985;

// What the system says of itself and of the user's choice.
struct DarkModeFacts {
    bool wine = false;
    unsigned major = 0;
    unsigned build = 0;
    bool resolved = false;     // every entry point was found
    bool appsUseDark = false;  // the system's answer to "should apps use dark?"
    bool highContrast = false;
};

// Whether the unnamed exports may be looked up at all: looking up is safe,
// calling one where it is another function is not, so this comes first.
bool MayLookUpDarkMode(const DarkModeFacts& facts);
// Whether they may be called: looked up and every one found.
bool DarkModeAvailable(const DarkModeFacts& facts);
bool WindowsAreDark(const DarkModeFacts& facts);
// Ordinal 135 is AllowDarkModeForApp(BOOL) before build 18362 and
// SetPreferredAppMode(mode) from it, whose modes "allow dark" and "default"
// are 1 and 0 as TRUE and FALSE are: one call serves both.
inline constexpr int AppModeArgument(bool dark) {
    return dark ? 1 : 0;
}
// The DwmSetWindowAttribute attribute of a dark caption.
unsigned DarkCaptionAttribute(unsigned build);
// Whether a WM_SETTINGCHANGE (its wParam and its lParam text, which may be
// null) may have changed the colours: the dark or light choice, or high
// contrast turned on or off.
bool IsColorSchemeChange(unsigned action, const char* text);

}  // namespace tray
