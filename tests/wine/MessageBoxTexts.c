// Reads a message box from the Windows side, since Wine's box does not copy itself on Ctrl+C:
//   MessageBoxTexts TITLE
// waits up to ten seconds for a top-level window with that title and prints, as UTF-8, the title
// and then one line per visible child window, "class|text", with "icon" for a picture control
// that holds an icon (Wine's box keeps an empty one when it shows none). Without a title it
// prints the text on the clipboard.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

static void printUtf8(const wchar_t* text) {
    char bytes[4096];
    int count = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
    if (count > 0)
        fwrite(bytes, 1, (size_t)count - 1, stdout);
}

static BOOL CALLBACK printChild(HWND child, LPARAM unused) {
    (void)unused;
    wchar_t kind[64], text[2048];
    GetClassNameW(child, kind, 64);
    GetWindowTextW(child, text, 2048);
    const BOOL isIcon = lstrcmpiW(kind, L"Static") == 0 &&
                        (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (!IsWindowVisible(child) || (isIcon && !SendMessageW(child, STM_GETICON, 0, 0)))
        return TRUE;
    printUtf8(kind);
    printUtf8(L"|");
    printUtf8(isIcon ? L"icon" : text);
    printUtf8(L"\n");
    return TRUE;
}

static int printClipboard(void) {
    if (!OpenClipboard(NULL))
        return 1;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* text = data ? GlobalLock(data) : NULL;
    if (text)
        printUtf8(text), GlobalUnlock(data);
    CloseClipboard();
    return text ? 0 : 1;
}

int wmain(int argc, wchar_t* argv[]) {
    _setmode(_fileno(stdout), _O_BINARY); // lines end in LF alone
    if (argc < 2)
        return printClipboard();
    HWND box = NULL;
    for (int i = 0; i < 200 && !box; ++i, Sleep(50))
        box = FindWindowW(NULL, argv[1]);
    if (!box)
        return 1;
    wchar_t title[512];
    GetWindowTextW(box, title, 512);
    printUtf8(title);
    printUtf8(L"\n");
    EnumChildWindows(box, printChild, 0);
    return 0;
}
