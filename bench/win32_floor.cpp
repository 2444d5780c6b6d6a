// The floor Windows sets for start-up: a bare Win32 window with the
// calculator's controls (seven edits, two combo boxes, two buttons), no
// pictures, fonts or styling. run-benchmarks starts it under Wine beside the
// calculator.

#include <windows.h>

#include <initializer_list>

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    WNDCLASSW type = {};
    type.lpfnWndProc = WindowProc;
    type.hInstance = instance;
    type.lpszClassName = L"Floor";
    RegisterClassW(&type);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, L"Floor", L"Floor", WS_POPUP | WS_CLIPCHILDREN, 444, 196, 196, 317,
                                  nullptr, nullptr, instance, nullptr);
    for (int i = 0; i < 7; ++i)
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 138, 38 + 22 * i, 48, 22,
                        window, nullptr, instance, nullptr);
    for (int i = 0; i < 2; ++i) {
        HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, 10,
                                     6 + 217 * i, 176, 154, window, nullptr, instance, nullptr);
        for (const wchar_t* item : {L"12", L"16", L"24"})
            SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(item));
    }
    for (int i = 0; i < 2; ++i)
        CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 14 + 90 * i, 288, 78, 19, window,
                        nullptr, instance, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
