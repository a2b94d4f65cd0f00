// The yardstick for the Windows program's start-up: the plainest Win32 window with the
// program's client size and caption style, filled with one colour so the benchmark can tell when
// it has painted.
#include <windows.h>

static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR arguments, int show) {
    (void)previous, (void)arguments;
    const WNDCLASSW windowClass = {.lpfnWndProc = windowProcedure,
                                   .hInstance = instance,
                                   .hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW),
                                   .hbrBackground = CreateSolidBrush(RGB(0, 0x7A, 0xFF)),
                                   .lpszClassName = L"BareWindow"};
    RegisterClassW(&windowClass);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame = {0, 0, 425, 508};
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowW(L"BareWindow", L"Bare window", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, NULL, NULL,
                                instance, NULL);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
