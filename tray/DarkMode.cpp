#include "tray/DarkMode.h"

#include "framework/WindowsVersion.h"
#include "tray/DarkModeChoice.h"

#include <utility>

namespace tray {
namespace {

// Only Windows 10 gets as far as loading: it knows this flag.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

fw::UniqueModule LoadFromSystem(const char* name) {
    return fw::UniqueModule(::LoadLibraryExA(name, nullptr, kSearchSystem32));
}

// `name` may be an ordinal (MAKEINTRESOURCEA).
template <class Function>
void Find(HMODULE module, const char* name, Function*& into) {
    // Through void*: a FARPROC is cast to the function's real type.
    into = module ? reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

constexpr char kListProcProperty[] = "RootCasterListProc";
constexpr char kDarkModeProperty[] = "RootCasterDarkMode";

HWND HeaderOf(HWND list) {
    return reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
}

// A header tells its list, not the list's parent, how it draws.
LRESULT CALLBACK HeaderWatchProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto own = reinterpret_cast<WNDPROC>(::GetPropA(list, kListProcProperty));
    const auto* dark = static_cast<const DarkMode*>(::GetPropA(list, kDarkModeProperty));
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (message == WM_NOTIFY && header->code == NM_CUSTOMDRAW && header->hwndFrom == HeaderOf(list)) {
        return dark->ColorHeader(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam));
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        ::RemovePropA(list, kListProcProperty);
        ::RemovePropA(list, kDarkModeProperty);
    }
    return ::CallWindowProcA(own, list, message, wParam, lParam);
}

bool HighContrast() {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof(contrast);
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace

bool DarkModeEntries::AllFound() const {
    return shouldAppsUseDarkMode && allowDarkModeForWindow && setAppMode && flushMenuThemes &&
           refreshImmersiveColorPolicyState && setWindowTheme && dwmSetWindowAttribute;
}

DarkMode::DarkMode(const DarkModeEntries& entries, unsigned build) : DarkMode(entries, build, {}, {}) {}

DarkMode::DarkMode(const DarkModeEntries& entries, unsigned build, fw::UniqueModule uxtheme, fw::UniqueModule dwmapi)
    : m_uxtheme(std::move(uxtheme)), m_dwmapi(std::move(dwmapi)), m_entries(entries), m_build(build) {
    DarkModeFacts facts;
    facts.major = 10;
    facts.build = build;
    facts.resolved = entries.AllFound();
    m_available = DarkModeAvailable(facts);
}

DarkMode DarkMode::ForThisSystem() {
    const OSVERSIONINFOA version = fw::ReportedVersion();
    DarkModeFacts facts;
    facts.wine = UnderWine();
    facts.major = version.dwMajorVersion;
    facts.build = version.dwBuildNumber;
    if (!MayLookUpDarkMode(facts)) return {};
    fw::UniqueModule uxtheme = LoadFromSystem("uxtheme.dll");
    fw::UniqueModule dwmapi = LoadFromSystem("dwmapi.dll");
    DarkModeEntries entries;
    Find(uxtheme.get(), MAKEINTRESOURCEA(132), entries.shouldAppsUseDarkMode);
    Find(uxtheme.get(), MAKEINTRESOURCEA(133), entries.allowDarkModeForWindow);
    Find(uxtheme.get(), MAKEINTRESOURCEA(135), entries.setAppMode);
    Find(uxtheme.get(), MAKEINTRESOURCEA(136), entries.flushMenuThemes);
    Find(uxtheme.get(), MAKEINTRESOURCEA(104), entries.refreshImmersiveColorPolicyState);
    Find(uxtheme.get(), "SetWindowTheme", entries.setWindowTheme);
    Find(dwmapi.get(), "DwmSetWindowAttribute", entries.dwmSetWindowAttribute);
    return DarkMode(entries, facts.build, std::move(uxtheme), std::move(dwmapi));
}

// The policy is read again first: the answer to "should apps use dark?" is
// the one read when it was last refreshed. Menus built from now on follow
// the app mode once their cached themes are flushed.
bool DarkMode::Refresh() {
    if (!m_available) return false;
    m_entries.refreshImmersiveColorPolicyState();
    DarkModeFacts facts;
    facts.major = 10;
    facts.build = m_build;
    facts.resolved = true;
    facts.appsUseDark = m_entries.shouldAppsUseDarkMode();
    facts.highContrast = HighContrast();
    const bool dark = WindowsAreDark(facts);
    m_entries.setAppMode(AppModeArgument(dark));
    m_entries.flushMenuThemes();
    if (dark && !m_back) m_back.reset(::CreateSolidBrush(kDarkBack));
    return std::exchange(m_dark, dark) != dark;
}

void DarkMode::AllowMenus(HWND window) const {
    if (m_available) m_entries.allowDarkModeForWindow(window, true);
}

void DarkMode::ApplyTo(HWND control, const wchar_t* darkTheme) const {
    if (!m_available || !control) return;
    m_entries.allowDarkModeForWindow(control, m_dark);
    m_entries.setWindowTheme(control, m_dark ? darkTheme : nullptr, nullptr);
}

void DarkMode::ApplyToCaption(HWND window) const {
    if (!m_available) return;
    const BOOL dark = m_dark;
    m_entries.dwmSetWindowAttribute(window, DarkCaptionAttribute(m_build), &dark, sizeof(dark));
}

void DarkMode::ApplyToList(HWND list) const {
    if (!m_available) return;
    ApplyTo(list, kDarkListTheme);
    ApplyTo(HeaderOf(list), kDarkHeaderTheme);
    ColorList(list);
    WatchHeaderOf(list);
}

void DarkMode::ColorList(HWND list) const {
    const COLORREF back = m_dark ? kDarkBack : ::GetSysColor(COLOR_WINDOW);
    ::SendMessageA(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
    ::SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
    ::SendMessageA(list, LVM_SETTEXTCOLOR, 0,
                   static_cast<LPARAM>(m_dark ? kDarkText : ::GetSysColor(COLOR_WINDOWTEXT)));
}

// Once per list.
void DarkMode::WatchHeaderOf(HWND list) const {
    if (::GetPropA(list, kListProcProperty)) return;
    ::SetPropA(list, kDarkModeProperty, const_cast<DarkMode*>(this));
    ::SetPropA(list, kListProcProperty,
               reinterpret_cast<HANDLE>(
                   ::SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HeaderWatchProc))));
}

HBRUSH DarkMode::ColorControl(HDC dc) const {
    if (!m_dark || !m_back) return nullptr;
    ::SetTextColor(dc, kDarkText);
    ::SetBkColor(dc, kDarkBack);
    return m_back.get();
}

LRESULT DarkMode::ColorHeader(const NMCUSTOMDRAW& draw) const {
    if (!m_dark) return CDRF_DODEFAULT;
    if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage == CDDS_ITEMPREPAINT) ::SetTextColor(draw.hdc, kDarkText);
    return CDRF_DODEFAULT;
}

bool DarkMode::EraseBackground(HWND window, HDC dc) const {
    if (!m_dark || !m_back) return false;
    RECT client{};
    ::GetClientRect(window, &client);
    ::FillRect(dc, &client, m_back.get());
    return true;
}

}  // namespace tray
