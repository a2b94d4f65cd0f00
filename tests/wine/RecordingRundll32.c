// Stands in for the system's rundll32.exe in the test prefix's system folder, and is planted
// beside zanthera.exe where it must never run: writes the command line it was started with,
// exactly as the starter passed it, as one UTF-8 line to a file of its own beside itself, named by
// its start time in hex, so that the names' order is the order of the starts however many run at
// once.
#include <windows.h>

#include <stdio.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR arguments, int show) {
    (void)instance, (void)previous, (void)arguments, (void)show;
    FILETIME started, unused[3];
    GetProcessTimes(GetCurrentProcess(), &started, &unused[0], &unused[1], &unused[2]);
    wchar_t path[MAX_PATH + 32];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    while (length > 0 && path[length - 1] != L'\\')
        --length;
    swprintf(path + length, 32, L"launch-%08lx%08lx.txt", started.dwHighDateTime,
             started.dwLowDateTime);

    char line[4096];
    int bytes =
        WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line, sizeof line - 1, NULL, NULL);
    if (bytes <= 0)
        return 1;
    line[bytes - 1] = '\n';
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(file, line, (DWORD)bytes, &written, NULL);
    CloseHandle(file);
    return ok && written == (DWORD)bytes ? 0 : 1;
}
