// What only the Win32 engine does (its contract with the Qt engine is tests/forms, run here too):
// fonts, GDI objects, the dialog manager's keys, a window Windows destroys or gives up on; then
// the platform services' texts, message boxes and failures, and the pictures.
#include "Form1/ControlTable.h"
#include "Form1/ScreenReader.h"
#include "Form1/StoredDefinition.h"
#include "app/WindowSource.h"
#include "platform/win32/ArabicFont.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/GdiObjects.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Services.h"

#include <gtest/gtest.h>

namespace zanthera::win32 {
namespace {

class Engine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(forms.create(loadWindow(storedDefinition()).value()));
        forms.setEventSink(
            [this](std::string_view control, FormEvent) { events.emplace_back(control); });
    }

    void changeDpi(int dpi) {
        RECT suggested{};
        GetWindowRect(forms.window(), &suggested);
        SendMessageW(forms.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }

    Win32Forms forms{GetModuleHandleW(nullptr)};
    std::vector<std::string> events;
};

// Nothing is left behind however often the window is laid out again: GDI objects are counted
// where the platform counts them (Windows; Wine reports none).
TEST_F(Engine, RepeatedLayoutsAndColourChangesLeaveNoGdiObjectBehind) {
    PostQuitMessage(0); // run() shows the window and handles what is queued, then returns
    EXPECT_EQ(forms.run(), 0);
    const auto count = [] { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); };
    for (int dpi : {120, 96})
        changeDpi(dpi);
    const DWORD before = count();
    for (int i = 0; i < 40; ++i) {
        changeDpi(i % 2 ? 96 : 144);
        SendMessageW(forms.window(), WM_SYSCOLORCHANGE, 0, 0);
        UpdateWindow(forms.window());
    }
    if (before == 0)
        GTEST_SKIP() << "this platform does not count a process's GDI objects";
    EXPECT_LE(count(), before + 2);
}

// The captions in the program's own Arabic face, which has every letter of them, each whole in its
// label at the interface font's size; a time written with Latin letters is left to that font.
TEST_F(Engine, CaptionsAreDrawnInTheProgramsOwnArabicFaceAtFullSize) {
    ASSERT_TRUE(PrivateArabicFont(GetModuleHandleW(nullptr)).installed());
    FittingFonts fonts;
    fonts.reset(arabicFace(interfaceFont(96)));
    const HDC dc = GetDC(forms.window());
    {
        const Selection selected(dc, fonts.base());
        wchar_t face[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, face);
        EXPECT_STREQ(face, arabicFamily);
    }
    for (const auto& row : design::controls) {
        if (row.role != design::Role::CaptionLabel)
            continue;
        const std::wstring text = widen(row.text);
        EXPECT_TRUE(covers(dc, fonts.base(), text)) << row.name;
        const int room = row.extents.width / 15 - 2; // at 96 DPI, inside the label's edge
        EXPECT_EQ(fonts.fitting(dc, text, room), fonts.base()) << row.name;
    }
    EXPECT_FALSE(covers(dc, fonts.base(), L"4:40:05 PM"));
    ReleaseDC(forms.window(), dc);
}

// The window's last message lets go of it, so nothing later writes to a handle Windows reuses.
TEST_F(Engine, AWindowClosedByWindowsIsLetGoOf) {
    DestroyWindow(forms.window());
    EXPECT_EQ(forms.window(), nullptr);
    EXPECT_EQ(forms.control("Label1"), nullptr);
    forms.showText("Label1", "12:00:00");
    EXPECT_EQ(forms.run(), 1);
    MSG quit{}; // WM_DESTROY asked the thread to end
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// Plain clicks and ticks are the contract's; these are what the dialog manager adds.
TEST_F(Engine, DoubleClicksAndEnterPressButtonsEscapeDoesNotAndEndStopsAll) {
    const auto id = GetDlgCtrlID(forms.control("Cmm8"));
    SendMessageW(forms.window(), WM_COMMAND, MAKEWPARAM(id, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(forms.control("Cmm8")));
    SetFocus(forms.control("Command9"));
    SendMessageW(forms.window(), WM_COMMAND, IDOK, 0);
    SendMessageW(forms.window(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"Cmm8", "Command9"}));
    forms.end();
    SendMessageW(forms.control("Cmm1"), BM_CLICK, 0, 0);
    EXPECT_EQ(events.size(), 2u);
}

// Windows may give up on the window after its first message (under Wine when no display driver
// loads, on Windows when resources run out): here WM_CREATE refuses it.
WNDPROC formProcedure = nullptr;
LRESULT CALLBACK refuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcW(formProcedure, window, message, wParam, lParam);
    return message == WM_CREATE ? -1 : result;
}
LRESULT CALLBACK interceptForm(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t name[16] = L"";
    if (code == HCBT_CREATEWND && GetClassNameW(HWND(wParam), name, 16) &&
        std::wstring_view(name) == L"ZantheraForm")
        formProcedure =
            WNDPROC(SetWindowLongPtrW(HWND(wParam), GWLP_WNDPROC, LONG_PTR(&refuseCreation)));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
TEST(EngineCreation, AWindowThatWindowsGivesUpOnIsReportedAsTheWindowNotAControl) {
    const HHOOK hook = SetWindowsHookExW(WH_CBT, &interceptForm, nullptr, GetCurrentThreadId());
    Win32Forms forms(GetModuleHandleW(nullptr));
    const Status created = forms.create(loadWindow(storedDefinition()).value());
    UnhookWindowsHookEx(hook);
    MSG quit{}; // the abandoned window's WM_DESTROY asked the thread to end
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    ASSERT_FALSE(created);
    EXPECT_TRUE(created.error().message.starts_with("Windows could not create the window ("))
        << created.error().message;
    ASSERT_EQ(forms.window(), nullptr); // else run() would wait for a window that is not there
    EXPECT_EQ(forms.run(), 1);
}

Win32Services services() {
    return Win32Services([] { return HWND(nullptr); }, [] {});
}

TEST(Win32Services, CalendarAndNumbers) {
    auto s = services();
    const std::pair<CalendarDate, int> days[] = {{{2026, 12, 6}, 1},
                                                 {{2000, 1, 1}, 7},
                                                 {{2024, 2, 29}, 5},
                                                 {{2026, 12, 7}, 2},
                                                 {{2026, 2, 30}, 0}};
    for (const auto& [date, weekday] : days)
        EXPECT_EQ(s.weekday(date), weekday) << date.year << "-" << date.month << "-" << date.day;
    const std::pair<double, const char*> numbers[] = {
        {0.0, "0"}, {0.4999, "0"}, {0.5, "1"}, {2.5, "3"}, {74.6, "75"}, {3579139.4, "3579139"}};
    for (const auto& [value, text] : numbers)
        EXPECT_EQ(s.numberText(value), text) << value;
    EXPECT_NE(s.monthName(1), s.monthName(12));
    EXPECT_EQ(s.monthName(0), "");
    EXPECT_EQ(s.monthName(13), "");
    EXPECT_NE(s.dateText({2026, 12, 6}).find("2026"), std::string::npos);
    EXPECT_NE(s.timeText({16, 40, 5}).find("40"), std::string::npos);
    EXPECT_NE(s.timeText({16, 40, 5}).find("05"), std::string::npos);
}

// The box as it opens, seen from inside: its text, and whether its button is a themed one.
struct OpenedBox {
    std::wstring text;
    bool themedButton = false;
};
OpenedBox opened;
LRESULT CALLBACK watchBox(int code, WPARAM wParam, LPARAM lParam) {
    const HWND box = HWND(wParam), ok = code == HCBT_ACTIVATE ? GetDlgItem(box, IDOK) : nullptr;
    if (ok) {
        wchar_t text[512] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        opened.text = text;
        HMODULE module = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(GetClassLongPtrW(ok, GCLP_WNDPROC)), &module);
        opened.themedButton = module && module == GetModuleHandleW(L"comctl32.dll");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Win32Services, AMessageBoxHasThemedButtonsAndItsTechnicalLineReadsLeftToRight) {
    const HHOOK hook = SetWindowsHookExW(WH_CBT, &watchBox, nullptr, GetCurrentThreadId());
    services().messageBox("تعذر تشغيل البرنامج.\nCould not start x (CreateProcessW: not found)",
                          MessageKind::Failure, "Zanthera");
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(opened.text, L"تعذر تشغيل البرنامج.\n\x200E"
                           L"Could not start x (CreateProcessW: not found)\x200E");
    EXPECT_TRUE(opened.themedButton);
}

// The month is named from the date in the user's calendar: the Gregorian one's names, and where
// the platform formats a Hijri date, the Hijri month the short date shows.
TEST(Win32Services, TheMonthIsNamedInTheUsersCalendar) {
    auto s = services();
    const CalendarDate date{2026, 12, 9};
    EXPECT_EQ(s.monthNameOf(date), s.monthName(12));
    wchar_t saved[8] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICALENDARTYPE, saved, 8);
    if (!SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICALENDARTYPE, L"6")) // Hijri
        GTEST_SKIP() << "this platform lets no user choose the Hijri calendar";
    const std::string shortDate = s.dateText(date), month = s.monthNameOf(date);
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ICALENDARTYPE, saved);
    if (shortDate.find("2026") != std::string::npos)
        GTEST_SKIP() << "this platform formats no Hijri date: " << shortDate;
    EXPECT_NE(month, s.monthName(12));
}

TEST(Win32Services, AFailedReadOrStartNamesWhatFailedAndWhy) {
    auto s = services();
    const auto missing = s.volumeSerial("q:\\");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message.rfind(
                  "Could not read the serial number of q:\\ (GetVolumeInformationW: ", 0),
              0u)
        << missing.error().message;
    const auto failed = s.startProgram("no-such-program-zanthera.exe /x", 1);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().message.rfind(
                  "Could not start no-such-program-zanthera.exe /x (CreateProcessW: ", 0),
              0u)
        << failed.error().message;
}

// A bitmap handed back by the holder is selected out already, so deleting it works under any GDI;
// the last one goes after the DC's own is selected back.
TEST(GdiObjects, ABitmapIsDeletedOnlyOnceSelectedOut) {
    BitmapDc holder;
    const HDC dc = holder.dc();
    const HGDIOBJ stock = GetCurrentObject(dc, OBJ_BITMAP);
    const auto bitmap = [] { return OwnedBitmap(CreateBitmap(4, 4, 1, 32, nullptr)); };
    EXPECT_FALSE(holder.hold(bitmap()));
    const HBITMAP first = holder.bitmap();
    OwnedBitmap old = holder.hold(bitmap());
    ASSERT_EQ(old.get(), first);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), holder.bitmap());
    old.reset();
    EXPECT_EQ(GetObjectType(first), 0u);
    const HBITMAP last = holder.bitmap();
    OwnedBitmap released = holder.release();
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), stock);
    EXPECT_EQ(released.get(), last);
}

// A bitmap file of the given layout whose pixel (x, y) from the top is 0x00yyxx10.
std::vector<std::uint8_t> bitmapFile(int width, int height, int depth,
                                     std::uint32_t compression = 0) {
    const int rows = height < 0 ? -height : height;
    const std::size_t rowBytes = (std::size_t(width) * depth + 31) / 32 * 4;
    std::vector<std::uint8_t> file(54 + rowBytes * rows);
    auto put = [&](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            file[at + i] = std::uint8_t(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, std::uint32_t(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, std::uint32_t(width), 4);
    put(22, std::uint32_t(height), 4);
    put(26, 1, 2);
    put(28, std::uint32_t(depth), 2);
    put(30, compression, 4);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x) {
            const int stored = height > 0 ? rows - 1 - y : y;
            put(54 + rowBytes * stored + std::size_t(x) * (depth / 8),
                0x10u | std::uint32_t(x) << 8 | std::uint32_t(y) << 16, 3);
        }
    return file;
}

TEST(Pictures, ReadBitmapsOfEitherRowOrderAndRefuseAnythingElse) {
    for (int depth : {24, 32})
        for (int height : {3, -3}) {
            const auto picture = readBitmapFile(bitmapFile(5, height, depth));
            ASSERT_TRUE(picture) << depth << " " << height;
            EXPECT_EQ(picture->width, 5);
            EXPECT_EQ(picture->height, 3);
            EXPECT_EQ(picture->pixels[2 * 5 + 4], 0x00020410u);
        }
    auto cut = bitmapFile(5, 3, 24);
    cut.pop_back();
    auto wrongMagic = bitmapFile(5, 3, 24);
    wrongMagic[0] = 'X';
    auto headerOnly = bitmapFile(5, 3, 24);
    headerOnly.resize(53);
    const std::vector<std::uint8_t> bad[] = {cut,
                                             wrongMagic,
                                             bitmapFile(5, 3, 8),
                                             bitmapFile(5, 3, 32, 3),
                                             bitmapFile(0, 3, 24),
                                             bitmapFile(5, 0, 24),
                                             {},
                                             headerOnly};
    for (const auto& file : bad)
        EXPECT_FALSE(readBitmapFile(file));
}

TEST(Pictures, ScaleWholeNumbersExactlyAndBlendOnlyAtFractionalSeams) {
    const Picture two{2, 1, {0x000000, 0xFFFFFF}};
    EXPECT_EQ(scalePicture(two, 4, 2).pixels,
              (std::vector<std::uint32_t>{0, 0, 0xFFFFFF, 0xFFFFFF, 0, 0, 0xFFFFFF, 0xFFFFFF}));
    EXPECT_EQ(scalePicture(two, 2, 1).pixels, two.pixels);
    // Four pixels to five (125 %): the outer new pixels are pure, the middle one is half and half.
    const Picture four{4, 1, {0x000000, 0x000000, 0xC8C8C8, 0xC8C8C8}};
    const auto five = scalePicture(four, 5, 1).pixels;
    EXPECT_EQ(five, (std::vector<std::uint32_t>{0, 0, 0x646464, 0xC8C8C8, 0xC8C8C8}));
}

} // namespace
} // namespace zanthera::win32
