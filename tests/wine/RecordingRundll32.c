// Stands in for the system's rundll32.exe beside zanthera.exe (Windows looks in the program's
// own folder first): appends the command line it was started with, exactly as the starter
// passed it, to launches.txt beside itself, one UTF-8 line per start.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR arguments, int show) {
    (void)instance, (void)previous, (void)arguments, (void)show;
    wchar_t path[MAX_PATH + 16];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    while (length > 0 && path[length - 1] != L'\\')
        --length;
    lstrcpyW(path + length, L"launches.txt");

    char line[4096];
    int bytes =
        WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line, sizeof line - 1, NULL, NULL);
    if (bytes <= 0)
        return 1;
    line[bytes - 1] = '\n';
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(file, line, (DWORD)bytes, &written, NULL);
    CloseHandle(file);
    return ok && written == (DWORD)bytes ? 0 : 1;
}
