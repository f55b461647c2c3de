#include "framework/Dpi.h"

#include "framework/RuntimeLink.h"

namespace fw {
namespace {

using GetDpiForWindowFunction = UINT WINAPI(HWND);
using GetSystemMetricsForDpiFunction = int WINAPI(int, UINT);

int SystemDpi() {
    // A memory DC reports the screen's DPI, and owns itself.
    const UniqueDC screen(::CreateCompatibleDC(nullptr));
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : kDefaultDpi;
    return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

int DpiOf(HWND window) {
    if (auto* dpiForWindow = LookUp<GetDpiForWindowFunction>("user32.dll", "GetDpiForWindow"); window && dpiForWindow) {
        if (const UINT dpi = dpiForWindow(window)) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

// Before 10 1607 the metrics are the system DPI's, which is then the only one.
int MetricAt(int index, int dpi) {
    if (auto* metricsForDpi = LookUp<GetSystemMetricsForDpiFunction>("user32.dll", "GetSystemMetricsForDpi")) {
        return metricsForDpi(index, static_cast<UINT>(dpi));
    }
    const int system = SystemDpi();
    return dpi == system ? ::GetSystemMetrics(index) : ::MulDiv(::GetSystemMetrics(index), dpi, system);
}

// The system keeps the fonts at its own DPI.
UniqueFont NonClientFontAt(LOGFONTA NONCLIENTMETRICSA::*font, int dpi) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return UniqueFont();
    LOGFONTA chosen = metrics.*font;
    chosen.lfHeight = ::MulDiv(chosen.lfHeight, dpi, SystemDpi());
    return UniqueFont(::CreateFontIndirectA(&chosen));
}

}  // namespace fw
