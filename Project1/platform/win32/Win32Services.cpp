#include "Win32Services.h"

#include "Utf16.h"

#include <cmath>
#include <cstdio>
#include <cwchar>

namespace zanthera::win32 {

namespace {

std::string systemText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : narrow(message);
}

SYSTEMTIME systemTime(const CalendarDate& date, const TimeOfDay& time = {}) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(date.year);
    st.wMonth = static_cast<WORD>(date.month);
    st.wDay = static_cast<WORD>(date.day);
    st.wHour = static_cast<WORD>(time.hour);
    st.wMinute = static_cast<WORD>(time.minute);
    st.wSecond = static_cast<WORD>(time.second);
    return st;
}

// A text the locale call wrote into `buffer`, its length counting the NUL; empty on failure.
std::string written(const wchar_t* buffer, int length) {
    return length > 1 ? narrow({buffer, static_cast<std::size_t>(length - 1)}) : std::string();
}

using NameCall = BOOL(WINAPI*)(LPWSTR, LPDWORD);

// Asks once more with the size the call says it needs, so that a long name comes through whole.
Result<std::string> readName(NameCall call, DWORD size, std::string_view what,
                             std::string_view callName) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::wstring buffer(size + 1, L'\0');
        DWORD length = size + 1;
        if (call(buffer.data(), &length))
            return narrow({buffer.data(), wcsnlen(buffer.data(), buffer.size())});
        const DWORD error = GetLastError();
        if ((error != ERROR_BUFFER_OVERFLOW && error != ERROR_INSUFFICIENT_BUFFER) ||
            length <= size + 1)
            return systemFailure(what, callName, error);
        size = length;
    }
    return systemFailure(what, callName, ERROR_INSUFFICIENT_BUFFER);
}

} // namespace

Error systemFailure(std::string_view what, std::string_view call, DWORD error) {
    return Error{std::string(what) + " (" + std::string(call) + ": " + systemText(error) + ")"};
}

Win32Services::Win32Services(std::function<HWND()> owner, std::function<void()> end)
    : owner_(std::move(owner)), end_(std::move(end)) {}

Status Win32Services::startProgram(std::string_view commandLine, int windowStyle) {
    // The command line goes to Windows exactly as the table gives it; Windows itself finds the
    // program, in this program's own folder first.
    std::wstring line = widen(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return systemFailure("Could not start " + std::string(commandLine), "CreateProcessW",
                             GetLastError());
    // The started program may bring its window to the front, as the user asked for it.
    AllowSetForegroundWindow(process.dwProcessId);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return success();
}

void Win32Services::messageBox(std::string_view prompt, int buttons, std::string_view title) {
    const std::wstring text = widen(prompt);
    UINT style = static_cast<UINT>(buttons);
    if (readsRightToLeft(text))
        style |= MB_RTLREADING | MB_RIGHT;
    MessageBoxW(owner_ ? owner_() : nullptr, text.c_str(), widen(title).c_str(), style);
}

void Win32Services::endProgram() {
    if (end_)
        end_();
}

Result<std::string> Win32Services::computerName() {
    return readName(&GetComputerNameW, MAX_COMPUTERNAME_LENGTH + 1,
                    "Could not read the computer name", "GetComputerNameW");
}

Result<std::string> Win32Services::userName() {
    constexpr DWORD longestUserName = 256;
    return readName(&GetUserNameW, longestUserName + 1, "Could not read the user name",
                    "GetUserNameW");
}

std::uint64_t Win32Services::millisecondsSinceStart() {
    return GetTickCount64();
}

Result<std::int32_t> Win32Services::volumeSerial(std::string_view drive) {
    const std::wstring root = widen(drive);
    DWORD serial = 0;
    // An empty drive must fail here, not ask the user to insert a disk.
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);
    const BOOL read =
        GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
    const DWORD error = GetLastError();
    SetThreadErrorMode(oldMode, nullptr);
    if (!read)
        return systemFailure("Could not read the serial number of " + std::string(drive),
                             "GetVolumeInformationW", error);
    return static_cast<std::int32_t>(serial);
}

ScreenPixels Win32Services::screenPixels() {
    // The display mode is in physical pixels whatever the DPI awareness; it is asked of the
    // screen that shows the window.
    MONITORINFOEXW monitor{};
    monitor.cbSize = sizeof(monitor);
    const HMONITOR screen =
        MonitorFromWindow(owner_ ? owner_() : nullptr, MONITOR_DEFAULTTOPRIMARY);
    if (GetMonitorInfoW(screen, &monitor)) {
        DEVMODEW mode{};
        mode.dmSize = sizeof(mode);
        if (EnumDisplaySettingsW(monitor.szDevice, ENUM_CURRENT_SETTINGS, &mode))
            return {static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight)};
        return {monitor.rcMonitor.right - monitor.rcMonitor.left,
                monitor.rcMonitor.bottom - monitor.rcMonitor.top};
    }
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

LocalTime Win32Services::localTime() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return {{st.wYear, st.wMonth, st.wDay}, {st.wHour, st.wMinute, st.wSecond}};
}

std::string Win32Services::dateText(const CalendarDate& date) {
    const SYSTEMTIME st = systemTime(date);
    wchar_t text[128];
    return written(text, GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr,
                                         text, 128, nullptr));
}

std::string Win32Services::timeText(const TimeOfDay& time) {
    const SYSTEMTIME st = systemTime({2000, 1, 1}, time);
    wchar_t text[128];
    return written(text, GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, text, 128));
}

int Win32Services::weekday(const CalendarDate& date) {
    // Windows fills in the weekday of a date on the way through its file time.
    const SYSTEMTIME st = systemTime(date);
    FILETIME file{};
    SYSTEMTIME filled{};
    if (!SystemTimeToFileTime(&st, &file) || !FileTimeToSystemTime(&file, &filled))
        return 0;
    return filled.wDayOfWeek + 1;
}

std::string Win32Services::monthName(int month) {
    if (month < 1 || month > 12)
        return {};
    wchar_t text[128];
    return written(text,
                   GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT,
                                   LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(month - 1), text, 128));
}

std::string Win32Services::numberText(double value) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.0f", std::round(value));
    return text;
}

} // namespace zanthera::win32
