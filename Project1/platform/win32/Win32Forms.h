// The forms engine on plain Win32: one fixed window built from a WindowModel, with owner-drawn
// picture buttons, labels, a multi-line text box and a timer, laid out from twips at the window's
// DPI with every picture scaled by the program itself, and kept so when the DPI changes. Its work
// stands in one file a job: making the window (Win32Forms.cpp), laying it out and holding its GDI
// objects at a scale (Win32FormsLayout.cpp), placing it on the screen (Win32FormsPlacement.cpp),
// showing what the handlers write (Win32FormsWrites.cpp), and answering its messages
// (Win32FormsMessages.cpp).
#pragma once

#include "Accessibility.h"
#include "ArabicFont.h"
#include "ControlPainting.h"
#include "Form1/Units.h"
#include "GdiObjects.h"
#include "Pictures.h"
#include "platform/FormsEngine.h"

#include <windows.h>

#include <string>
#include <vector>

namespace zanthera::win32 {

class Win32Forms final : public FormsEngine {
  public:
    explicit Win32Forms(HINSTANCE instance);
    ~Win32Forms() override;
    Win32Forms(const Win32Forms&) = delete;
    Win32Forms& operator=(const Win32Forms&) = delete;

    Status create(const WindowModel& model) override;
    void setEventSink(EventSink sink) override;
    int run() override;

    void showText(std::string_view control, std::string_view text) override;
    Status runTimer(std::string_view timer, int milliseconds) override;

    // Ends the program at once: the timer stops, no further event is delivered and run()
    // returns 0.
    void end();

    HWND window() const { return window_; }
    // The live window of a control, or null for a timer or a name the window does not have.
    HWND control(std::string_view name) const;

  private:
    struct Control {
        ControlModel model;
        HWND handle = nullptr;
        SIZE pictureSize{}; // the stored picture's, at 96 DPI
        OwnedBitmap scaled;
        SIZE scaledSize{};
        std::wstring text;    // what a label shows
        HFONT font = nullptr; // a label's text at the size it fits, chosen when first drawn after
                              // the text or the scale changed; owned by the window's fonts
        int interval = 0;     // a timer's, in milliseconds; 0 while it is off
        WNDPROC systemProcedure = nullptr; // where the engine's own procedure comes first
    };

    static LRESULT CALLBACK windowProcedure(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK controlProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    Status createControl(const ControlModel& model);
    // The one-shot timer that names the controls for screen readers; the controls' own timers
    // have ids from 1000 on.
    static constexpr UINT_PTR namingTimer = 1;
    void nameForScreenReaders();
    UINT idOf(const Control& control) const;
    bool armTimer(const Control& timer);
    void layOut(int dpi);
    void prepareDrawing();
    void sizeClientArea(int width, int height);
    bool correctClientArea(int width, int height);
    RECT placedFrame(DWORD style) const;
    void placeOnScreen();
    void paintWindow();
    void drawItem(const DRAWITEMSTRUCT& item);
    void command(WPARAM wParam);
    void deliver(const std::string& name, FormEvent event);
    Control* find(std::string_view name);
    Control* byId(UINT id);
    int pixels(int twips) const;

    HINSTANCE instance_;
    FormModel form_;
    SIZE backgroundSize_{}; // the stored background's, at 96 DPI
    BitmapDc background_;   // holding the background at the window's scale
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    PrivateArabicFont arabicFont_;
    OwnedFont textBoxFont_;
    OwnedBrush textBoxBrush_;
    FittingFonts labelFonts_;  // the interface font, for a text the Arabic face lacks letters of
    FittingFonts arabicFonts_; // the program's own Arabic face at the interface font's size
    AccessibleNames names_;
    Canvas canvas_;
    std::vector<Control> controls_;
    HWND window_ = nullptr;
    HWND lastFocus_ = nullptr;
    SIZE outerSize_{};
    int dpi_ = designDpi;
    bool ended_ = false;
    EventSink sink_;
};

} // namespace zanthera::win32
