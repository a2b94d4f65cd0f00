// The Win32 forms engine building the real window from the program's own stored definition: its
// frame, every control's place at 96, 120, 144 and 192 DPI, the Tab walk, the focus at start,
// clicks, ticks, the writes the window allows, and a window that Windows gives up on. The
// window's pixels at each scale are the end-to-end tests' matter (tests/wine).
#include "Form1/ControlTable.h"
#include "Form1/StoredDefinition.h"
#include "app/WindowSource.h"
#include "platform/win32/Win32Forms.h"

#include <gtest/gtest.h>

#include <chrono>

namespace zanthera::win32 {
namespace {

struct Delivered {
    std::string control;
    FormEvent event;
};

class Engine : public ::testing::Test {
  protected:
    void SetUp() override {
        auto model = loadWindow(storedDefinition());
        ASSERT_TRUE(model) << model.error().message;
        model_ = *model;
        ASSERT_TRUE(forms.create(model_));
        forms.setEventSink([this](std::string_view control, FormEvent event) {
            events.push_back({std::string(control), event});
        });
    }

    RECT placeOf(std::string_view name) {
        RECT r{};
        GetWindowRect(forms.control(name), &r);
        MapWindowPoints(nullptr, forms.window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    void changeDpi(int dpi) {
        RECT suggested{};
        GetWindowRect(forms.window(), &suggested);
        SendMessageW(forms.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }

    // Shows the window and lets run() handle what is queued, as the program's start does.
    void showAndSettle() {
        PostQuitMessage(0);
        EXPECT_EQ(forms.run(), 0);
    }

    WindowModel model_;
    Win32Forms forms{GetModuleHandleW(nullptr)};
    std::vector<Delivered> events;
};

// The caption is read by the end-to-end tests, which find the window by it.
TEST_F(Engine, TheFrameIsFixedWithOnlyACloseBoxAndButtonsHaveTheirNames) {
    const auto style = GetWindowLongPtrW(forms.window(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    wchar_t name[64];
    GetWindowTextW(forms.control("Cmm1"), name, 64);
    EXPECT_STREQ(name, L"الأصوات والوسائط");
}

TEST_F(Engine, EveryControlStandsAtItsDesignedPlaceAtEveryScale) {
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        changeDpi(dpi);
        RECT client{};
        GetClientRect(forms.window(), &client);
        EXPECT_EQ(client.right, design::twipsToPixels(6375, dpi));
        EXPECT_EQ(client.bottom, design::twipsToPixels(7620, dpi));
        for (const auto& row : design::controls) {
            if (row.role == design::Role::Timer)
                continue;
            const RECT r = placeOf(row.name);
            const auto px = [dpi](int twips) { return design::twipsToPixels(twips, dpi); };
            EXPECT_EQ(r.left, px(row.extents.left)) << row.name;
            EXPECT_EQ(r.top, px(row.extents.top)) << row.name;
            EXPECT_EQ(r.right - r.left, px(row.extents.width)) << row.name;
            EXPECT_EQ(r.bottom - r.top, px(row.extents.height)) << row.name;
        }
    }
}

TEST_F(Engine, FocusStartsOnCmm1AndTabWalksTheDesignedOrder) {
    showAndSettle();
    EXPECT_EQ(GetFocus(), forms.control("Cmm1"));
    const char* order[] = {
        "Cmm1",     "Command3", "Command5",  "Command6", "Command7",  "Cmm8",      "Cmm9",
        "Cmm11",    "Cmm12",    "Command13", "Text1",    "Command15", "Command16", "Command17",
        "Command4", "Command1", "Command2",  "Command8", "Command9",  "Command10", "Cmm1"};
    HWND at = forms.control("Cmm1");
    for (std::size_t i = 1; i < std::size(order); ++i) {
        at = GetNextDlgTabItem(forms.window(), at, FALSE);
        EXPECT_EQ(at, forms.control(order[i])) << "after " << order[i - 1];
    }
}

TEST_F(Engine, ClicksAndTicksReachTheSinkAndEnterPressesTheFocusedButton) {
    SendMessageW(forms.control("Command13"), BM_CLICK, 0, 0);
    const auto id = GetDlgCtrlID(forms.control("Cmm8"));
    SendMessageW(forms.window(), WM_COMMAND, MAKEWPARAM(id, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(forms.control("Cmm8")));
    SetFocus(forms.control("Command9"));
    SendMessageW(forms.window(), WM_COMMAND, IDOK, 0);
    SendMessageW(forms.window(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(forms.setInterval("Timer1", 20));
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    MSG message;
    while (events.size() < 4 && std::chrono::steady_clock::now() < until)
        if (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].control, "Command13");
    EXPECT_EQ(events[1].control, "Cmm8");
    EXPECT_EQ(events[2].control, "Command9");
    EXPECT_EQ(events[3].control, "Timer1");
    EXPECT_EQ(events[3].event, FormEvent::Timer);
    forms.end();
    SendMessageW(forms.control("Cmm1"), BM_CLICK, 0, 0);
    EXPECT_EQ(events.size(), 4u);
}

TEST_F(Engine, WritesReachOnlyTheControlsOfTheirKind) {
    wchar_t text[64];
    ASSERT_TRUE(forms.setText("Text1", std::string("اسم\0   ", 10)));
    GetWindowTextW(forms.control("Text1"), text, 64);
    EXPECT_STREQ(text, L"اسم");
    ASSERT_TRUE(forms.setCaption("Label6", "الأحد"));
    GetWindowTextW(forms.control("Label6"), text, 64);
    EXPECT_STREQ(text, L"الأحد");
    EXPECT_FALSE(forms.setCaption("Text1", "x"));
    EXPECT_FALSE(forms.setText("Label6", "x"));
    EXPECT_FALSE(forms.setInterval("Label6", 1000));
    EXPECT_FALSE(forms.setInterval("Timer1", -1));
    EXPECT_FALSE(forms.setCaption("Label99", "x"));
    EXPECT_FALSE(forms.create(model_));
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

} // namespace
} // namespace zanthera::win32
