#include "display_scale.h"

namespace kvorn {

int DpiOf(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window))
            return int(dpi);
    // The system's scale without a screen DC, which Wine makes dearly.
    using GetDpiForSystemFunction = UINT(WINAPI*)();
    static const auto getDpiForSystem = reinterpret_cast<GetDpiForSystemFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForSystem")));
    if (getDpiForSystem && !window)
        if (const UINT dpi = getDpiForSystem())
            return int(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

RECT Scaled(const Geometry& bounds, int dpi)
{
    const int left = Scaled(bounds.Left, dpi), top = Scaled(bounds.Top, dpi);
    return {left, top, left + Scaled(bounds.Width, dpi), top + Scaled(bounds.Height, dpi)};
}

bool StandsAt(HWND child, const RECT& bounds)
{
    RECT shown;
    GetWindowRect(child, &shown);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&shown), 2);
    return EqualRect(&shown, &bounds);
}

void TakeSuggestedBounds(HWND window, const RECT& suggested)
{
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kvorn
