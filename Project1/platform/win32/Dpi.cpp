#include "Dpi.h"

#include "SystemCalls.h"

namespace zanthera::win32 {

namespace {

int systemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : designDpi;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : designDpi;
}

} // namespace

int dpiOf(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = systemCall<ForWindow>(L"user32.dll", "GetDpiForWindow");
    if (forWindow && window)
        if (const UINT dpi = forWindow(window))
            return static_cast<int>(dpi);
    return systemDpi();
}

RECT outerRect(RECT client, DWORD style, DWORD extendedStyle, int dpi) {
    using ForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = systemCall<ForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&client, style, FALSE, extendedStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&client, style, FALSE, extendedStyle);
    return client;
}

LOGFONTW interfaceFont(int dpi) {
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = systemCall<ForDpi>(L"user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (forDpi &&
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi)))
        return metrics.lfMessageFont;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        LOGFONTW fallback{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
        metrics.lfMessageFont = fallback;
    }
    // Without the per-DPI call the metrics are those of the system DPI.
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi());
    return metrics.lfMessageFont;
}

} // namespace zanthera::win32
