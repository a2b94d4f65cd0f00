// The engines' shared contract run against the Win32 engine, under Wine on a virtual display.
#include "Form1/ControlTable.h"
#include "Form1/Units.h"
#include "forms/EngineContract.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Forms.h"

namespace zanthera::contract {
namespace {

class Win32Probe final : public EngineProbe {
  public:
    explicit Win32Probe(int dpi) : dpi_(dpi) {}
    FormsEngine& engine() override { return forms_; }
    // The window is made at the system's DPI; a monitor at another scale tells it of its own.
    void settle() override {
        if (dpi_ == designDpi)
            return;
        RECT suggested{};
        GetWindowRect(forms_.window(), &suggested);
        SendMessageW(forms_.window(), WM_DPICHANGED, MAKEWPARAM(dpi_, dpi_),
                     reinterpret_cast<LPARAM>(&suggested));
    }

    PixelRect place(std::string_view control) override {
        RECT r{};
        GetWindowRect(forms_.control(control), &r);
        MapWindowPoints(nullptr, forms_.window(), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    FrameSeen frame() override {
        const auto style = GetWindowLongPtrW(forms_.window(), GWL_STYLE);
        const bool noClose = GetClassLongPtrW(forms_.window(), GCL_STYLE) & CS_NOCLOSE;
        return {(style & WS_SYSMENU) && !noClose, (style & WS_MINIMIZEBOX) != 0,
                (style & WS_MAXIMIZEBOX) != 0, (style & WS_THICKFRAME) != 0};
    }
    std::string shownText(std::string_view control) override {
        wchar_t text[256] = L"";
        GetWindowTextW(forms_.control(control), text, 256);
        return win32::narrow(text);
    }
    // A button's name is its text; the result box's is an annotation, which Wine does not keep.
    std::optional<std::string> accessibleName(std::string_view control) override {
        if (forms_.control(control) == forms_.control("Text1"))
            return std::nullopt;
        return shownText(control);
    }
    // Windows reads the controls in their z-order.
    std::string readWith(std::string_view valueLabel) override {
        return nameOf(GetWindow(forms_.control(valueLabel), GW_HWNDPREV));
    }
    // The dialog manager moves the focus on Tab, as the engine's own loop hands it the key.
    std::vector<std::string> focusWalk(std::size_t presses) override {
        PostQuitMessage(0);
        forms_.run();
        std::vector<std::string> walked;
        for (std::size_t i = 0; i <= presses; ++i) {
            walked.push_back(nameOf(GetFocus()));
            MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
            IsDialogMessageW(forms_.window(), &tab);
        }
        return walked;
    }
    void click(std::string_view control) override {
        const HWND handle = forms_.control(control);
        SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(handle, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override {
        const auto until = std::chrono::steady_clock::now() + limit;
        MSG message;
        while (!done() && std::chrono::steady_clock::now() < until) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
        }
        return done();
    }

  private:
    std::string nameOf(HWND handle) {
        for (const auto& row : design::controls)
            if (handle && forms_.control(row.name) == handle)
                return std::string(row.name);
        return "(none)";
    }

    int dpi_;
    win32::Win32Forms forms_{GetModuleHandleW(nullptr)};
};

} // namespace

std::unique_ptr<EngineProbe> makeProbe(int dpi) {
    return std::make_unique<Win32Probe>(dpi);
}

} // namespace zanthera::contract
