// Calls that are looked up while the program runs: those that older Windows lack, and those of
// system DLLs that the program loads only when it first needs them, so that its start does not
// wait for them.
#pragma once

#include <windows.h>

#include <string>

namespace zanthera::win32 {

// The path of `file` in the system folder, or empty where the folder cannot be read. A 32-bit
// program on 64-bit Windows is given the folder of 32-bit programs for the same path, by Windows.
inline std::wstring inSystemFolder(std::wstring_view file) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::wstring(folder, length) + L'\\' + std::wstring(file);
}

// A DLL of the system folder, loaded by its full path: no other folder is searched for it, even on
// a Windows 7 without the update that narrows the search. Null where it cannot be loaded.
inline HMODULE loadSystemLibrary(std::wstring_view file) {
    const std::wstring path = inSystemFolder(file);
    return path.empty() ? nullptr : LoadLibraryW(path.c_str());
}

// The function `name` of `module` as a `Function`, or null where this Windows has no such one.
template <typename Function> Function systemCall(HMODULE module, const char* name) {
    const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// The same from a DLL that every program has loaded (kernel32, user32).
template <typename Function> Function systemCall(const wchar_t* loadedModule, const char* name) {
    return systemCall<Function>(GetModuleHandleW(loadedModule), name);
}

} // namespace zanthera::win32
