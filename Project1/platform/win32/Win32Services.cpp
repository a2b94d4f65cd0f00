#include "Win32Services.h"

#include "SystemCalls.h"
#include "Utf16.h"

#include <algorithm>
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

// The system folder's copy of the program a command line starts: its first word, which must be a
// bare file name. Empty when it is not one or the folder cannot be read.
std::wstring systemProgram(std::wstring_view commandLine) {
    const std::wstring_view name = commandLine.substr(0, commandLine.find(L' '));
    if (name.empty() || name.find_first_of(L"\\/:\"") != std::wstring_view::npos)
        return {};
    return inSystemFolder(name);
}

// A message whose headline reads right to left is laid out as an Arabic paragraph throughout;
// a technical line after it (a call's name, a path, a bracketed system message) is held between
// left-to-right marks, so that its brackets and colons stay where its own words put them.
std::wstring markedForReading(std::wstring text) {
    constexpr wchar_t leftToRight = 0x200E;
    if (!readsRightToLeft(text))
        return text;
    std::wstring marked;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        const std::wstring_view line(text.data() + start, end - start);
        const bool technical = start > 0 && !line.empty() && !readsRightToLeft(line);
        if (start > 0)
            marked += L'\n';
        marked += technical ? leftToRight + std::wstring(line) + leftToRight : std::wstring(line);
        start = end + 1;
    }
    return marked;
}

// Version 6 of the common controls for as long as it lives, from the program's second manifest,
// for a message box's themed buttons. Where it cannot be had, the box shows classic buttons.
class ThemedControls {
  public:
    ThemedControls() {
        ACTCTXW context{};
        context.cbSize = sizeof(context);
        context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.hModule = GetModuleHandleW(nullptr);
        context.lpResourceName = MAKEINTRESOURCEW(2);
        context_ = CreateActCtxW(&context);
        if (context_ != INVALID_HANDLE_VALUE && !ActivateActCtx(context_, &cookie_))
            cookie_ = 0;
    }
    ~ThemedControls() {
        if (cookie_)
            DeactivateActCtx(0, cookie_);
        if (context_ != INVALID_HANDLE_VALUE)
            ReleaseActCtx(context_);
    }
    ThemedControls(const ThemedControls&) = delete;
    ThemedControls& operator=(const ThemedControls&) = delete;

  private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
};

// Asks once more with the size the call says it needs, so that a long name comes through whole.
template <typename NameCall>
Result<std::string> readName(NameCall call, DWORD size, std::string_view what,
                             std::string_view callName) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::wstring buffer(size + 1, L'\0');
        DWORD length = size + 1;
        if (call(buffer.data(), &length))
            return narrow({buffer.data(), wcsnlen(buffer.data(), buffer.size())});
        const DWORD error = GetLastError();
        if ((error != ERROR_BUFFER_OVERFLOW && error != ERROR_INSUFFICIENT_BUFFER &&
             error != ERROR_MORE_DATA) ||
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
    // The command line goes to Windows exactly as the table gives it, so the started program
    // sees it character for character; the program itself is named by its full path in the
    // system folder. Left to find it, Windows would look in this program's own folder and the
    // current one first, where a download folder may hold a program of the same name.
    std::wstring line = widen(commandLine);
    const std::wstring program = systemProgram(line);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION process{};
    if (program.empty() || !CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                                           nullptr, nullptr, &startup, &process))
        return systemFailure("Could not start " + std::string(commandLine), "CreateProcessW",
                             program.empty() ? ERROR_BAD_PATHNAME : GetLastError());
    // The started program may bring its window to the front, as the user asked for it.
    AllowSetForegroundWindow(process.dwProcessId);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return success();
}

void Win32Services::messageBox(std::string_view prompt, MessageKind kind, std::string_view title) {
    const std::wstring text = markedForReading(widen(prompt));
    UINT style = MB_OK | (kind == MessageKind::Failure ? MB_ICONERROR : 0);
    if (readsRightToLeft(text))
        style |= MB_RTLREADING | MB_RIGHT;
    const ThemedControls themed;
    MessageBoxW(owner_ ? owner_() : nullptr, text.c_str(), widen(title).c_str(), style);
}

void Win32Services::endProgram() {
    if (end_)
        end_();
}

// The name the user gave the computer, as Settings shows it and whole, in its own letter case:
// the DNS host name. The older NetBIOS name is cut to 15 characters and upper-cased.
Result<std::string> Win32Services::computerName() {
    constexpr DWORD longestHostLabel = 63;
    return readName(
        [](LPWSTR buffer, LPDWORD size) {
            return GetComputerNameExW(ComputerNamePhysicalDnsHostname, buffer, size);
        },
        longestHostLabel + 1, "Could not read the computer name", "GetComputerNameExW");
}

Result<std::string> Win32Services::userName() {
    constexpr DWORD longestUserName = 256;
    return readName([](LPWSTR buffer, LPDWORD size) { return GetUserNameW(buffer, size); },
                    longestUserName + 1, "Could not read the user name", "GetUserNameW");
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

// The user's short date may be in another calendar than the Gregorian (Umm al-Qura is Saudi
// Arabia's usual one): the month is named from the same date in the same calendar, as the date
// label shows it. A Gregorian user keeps the locale's month names.
std::string Win32Services::monthNameOf(const CalendarDate& date) {
    wchar_t calendar[8] = L"";
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_ICALENDARTYPE, calendar, 8);
    if (std::wcstol(calendar, nullptr, 10) == CAL_GREGORIAN)
        return monthName(date.month);
    const SYSTEMTIME st = systemTime(date);
    wchar_t text[128];
    return written(text,
                   GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, L"MMMM", text, 128, nullptr));
}

std::string Win32Services::numberText(double value) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.0f", std::round(value));
    return text;
}

} // namespace zanthera::win32
