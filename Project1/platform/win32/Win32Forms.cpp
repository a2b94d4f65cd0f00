#include "Win32Forms.h"

#include "Dpi.h"
#include "Form1/ControlTable.h"
#include "Form1/WindowPlacement.h"
#include "Utf16.h"
#include "WallClockTimer.h"

#include <algorithm>

namespace zanthera::win32 {

namespace {

constexpr wchar_t windowClass[] = L"ZantheraForm";
// Control ids start well above IDOK and IDCANCEL, which the dialog manager sends for Enter and
// Escape; those must not be mistaken for a click on a control.
constexpr UINT firstControlId = 1000;

// The window's icons are its class's: Windows shows them from the window's creation on, where
// icons set on the finished window would have it fetch and convert icons twice more.
void registerWindowClass(HINSTANCE instance, WNDPROC procedure, HICON big, HICON small) {
    WNDCLASSEXW cls{};
    if (GetClassInfoExW(instance, windowClass, &cls))
        return;
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = procedure;
    cls.hInstance = instance;
    cls.hIcon = big;
    cls.hIconSm = small;
    cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    cls.lpszClassName = windowClass;
    RegisterClassExW(&cls);
}

DWORD windowStyle(const FormModel& form) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (form.borderStyle != design::fixedSingleBorder)
        style |= WS_THICKFRAME;
    if (form.minimizeButton)
        style |= WS_MINIMIZEBOX;
    if (form.maximizeButton)
        style |= WS_MAXIMIZEBOX;
    return style;
}

} // namespace

Win32Forms::Win32Forms(HINSTANCE instance) : instance_(instance), arabicFont_(instance) {}

Win32Forms::~Win32Forms() {
    names_.clear();
    if (window_)
        DestroyWindow(window_);
    // The class holds this window's icons, which go with it: a window made later registers the
    // class again with its own.
    UnregisterClassW(windowClass, instance_);
    for (HICON icon : {bigIcon_, smallIcon_})
        if (icon)
            DestroyIcon(icon);
}

int Win32Forms::pixels(int twips) const {
    return design::twipsToPixels(twips, dpi_);
}

Status Win32Forms::create(const WindowModel& model) {
    if (window_)
        return Error{"The window has already been created."};
    form_ = model.form;
    if (!form_.background.empty()) {
        const auto background = readDirectColourBitmap(form_.background.bytes());
        if (!background)
            return Error{"The window's background picture is unusable: " +
                         background.error().message};
        backgroundSize_ = {background->width, background->height};
    }
    bigIcon_ = makeIcon(form_.icon, GetSystemMetrics(SM_CXICON));
    smallIcon_ = makeIcon(form_.icon, GetSystemMetrics(SM_CXSMICON));
    registerWindowClass(instance_, &Win32Forms::windowProcedure, bigIcon_, smallIcon_);
    // Everything is made at its final size and place at the system's DPI, so that Windows has
    // nothing to move or redraw before the window first shows; a monitor at another scale lays
    // it out again below.
    dpi_ = dpiOf(nullptr);
    const DWORD style = windowStyle(form_);
    const RECT frame = placedFrame(style);
    outerSize_ = {frame.right - frame.left, frame.bottom - frame.top};
    // The window procedure keeps the handle from the window's first message on; should Windows
    // give up on the window after it (no display driver under Wine, no resources left), that
    // handle is already stale and only the returned null tells.
    window_ =
        CreateWindowExW(0, windowClass, widen(form_.caption).c_str(), style, frame.left, frame.top,
                        outerSize_.cx, outerSize_.cy, nullptr, nullptr, instance_, this);
    if (!window_)
        return Error{"Windows could not create the window (error " +
                     std::to_string(GetLastError()) + ")."};
    controls_.reserve(model.controls.size());
    for (const ControlModel* control : readingOrder(model))
        if (auto created = createControl(*control); !created)
            return created;
    prepareDrawing();
    if (const int dpi = dpiOf(window_); dpi != dpi_) {
        layOut(dpi);
        placeOnScreen();
    } else if (correctClientArea(pixels(int(form_.client.width)),
                                 pixels(int(form_.client.height)))) {
        placeOnScreen();
    }
    return success();
}

Status Win32Forms::createControl(const ControlModel& model) {
    Control control;
    control.model = model;
    const auto id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(firstControlId + model.index));
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const Extents& e = model.extents;
    const int x = pixels(e.left), y = pixels(e.top), cx = pixels(e.width), cy = pixels(e.height);
    switch (model.kind) {
    case ControlKind::Button: {
        const auto picture = readDirectColourBitmap(model.picture.bytes());
        if (!model.picture.empty() && !picture)
            return Error{"The picture of " + model.name +
                         " is unusable: " + picture.error().message};
        if (picture)
            control.pictureSize = {picture->width, picture->height};
        // The button's text is never drawn; it names the button to screen readers.
        control.handle = CreateWindowExW(0, L"BUTTON", widen(model.accessibleName).c_str(),
                                         child | WS_TABSTOP | BS_OWNERDRAW, x, y, cx, cy, window_,
                                         id, instance_, nullptr);
        break;
    }
    case ControlKind::Label:
        control.text = widen(model.caption);
        control.handle =
            CreateWindowExW(model.borderStyle == design::fixedSingleBorder ? WS_EX_STATICEDGE : 0,
                            L"STATIC", control.text.c_str(), child | SS_OWNERDRAW, x, y, cx, cy,
                            window_, id, instance_, nullptr);
        break;
    case ControlKind::TextBox: {
        const DWORD align = model.alignment == design::centred ? ES_CENTER
                            : model.alignment == 1             ? ES_RIGHT
                                                               : ES_LEFT;
        const DWORD lines = model.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
        control.handle = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", widen(model.caption).c_str(),
                                         child | WS_TABSTOP | align | lines, x, y, cx, cy, window_,
                                         id, instance_, nullptr);
        break;
    }
    case ControlKind::Timer:
    case ControlKind::Window:
        break;
    }
    const bool windowed = model.kind == ControlKind::Button || model.kind == ControlKind::Label ||
                          model.kind == ControlKind::TextBox;
    if (windowed && !control.handle)
        return Error{"Windows could not create the control " + model.name + " (error " +
                     std::to_string(GetLastError()) + ")."};
    // Every control answers some messages itself first.
    if (control.handle)
        control.systemProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            control.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&controlProcedure)));
    controls_.push_back(std::move(control));
    return success();
}

// Everything at `dpi`: the 96-DPI design scaled uniformly, the pictures included, so that the
// background still covers the client area and every plate shows as it does at 96 DPI.
void Win32Forms::layOut(int dpi) {
    dpi_ = dpi;
    prepareDrawing();
    for (auto& c : controls_) {
        const Extents& e = c.model.extents;
        if (c.handle)
            MoveWindow(c.handle, pixels(e.left), pixels(e.top), pixels(e.width), pixels(e.height),
                       FALSE);
    }
    sizeClientArea(pixels(int(form_.client.width)), pixels(int(form_.client.height)));
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The pictures, fonts and colours at `dpi_`. Each new object is in place before the one it
// replaces goes, so that none is deleted while a DC or a control still uses it.
void Win32Forms::prepareDrawing() {
    background_.hold(
        OwnedBitmap(makeBitmap(form_.background.bytes(), scaled(backgroundSize_.cx, dpi_),
                               scaled(backgroundSize_.cy, dpi_))));
    LOGFONTW font = interfaceFont(dpi_);
    labelFonts_.reset(font);
    // The result box shows names and numbers in any script: it keeps the system's font.
    OwnedFont textBoxFont(CreateFontIndirectW(&font));
    arabicFonts_.reset(arabicFace(font));
    for (auto& c : controls_) {
        if (c.model.kind == ControlKind::TextBox) {
            // The box's colour may be a system colour, which the user can change at any time.
            textBoxBrush_ =
                OwnedBrush(CreateSolidBrush(colourOf(c.model.backColour, COLOR_WINDOW)));
            SendMessageW(c.handle, WM_SETFONT, reinterpret_cast<WPARAM>(textBoxFont.get()), FALSE);
        }
        c.scaledSize = {scaled(c.pictureSize.cx, dpi_), scaled(c.pictureSize.cy, dpi_)};
        c.scaled =
            OwnedBitmap(makeBitmap(c.model.picture.bytes(), c.scaledSize.cx, c.scaledSize.cy));
    }
    textBoxFont_ = std::move(textBoxFont);
}

// The frame's size at `dpi_` is what Windows says it is; should the frame turn out otherwise (a
// title bar still drawn at the old DPI), the window is corrected by the difference.
void Win32Forms::sizeClientArea(int width, int height) {
    const DWORD style = DWORD(GetWindowLongPtrW(window_, GWL_STYLE));
    const RECT outer = outerRect({0, 0, width, height}, style, 0, dpi_);
    outerSize_ = {outer.right - outer.left, outer.bottom - outer.top};
    SetWindowPos(window_, nullptr, 0, 0, outerSize_.cx, outerSize_.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    correctClientArea(width, height);
}

bool Win32Forms::correctClientArea(int width, int height) {
    RECT client{};
    GetClientRect(window_, &client);
    if (client.right == width && client.bottom == height)
        return false;
    outerSize_.cx += width - client.right;
    outerSize_.cy += height - client.bottom;
    SetWindowPos(window_, nullptr, 0, 0, outerSize_.cx, outerSize_.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

// The frame around the client area at `dpi_`, at the place the design gives the client area,
// moved onto the screen's free area where it would not fit there.
RECT Win32Forms::placedFrame(DWORD style) const {
    const int left = pixels(int(form_.client.left));
    const int top = pixels(int(form_.client.top));
    const RECT client{left, top, left + pixels(int(form_.client.width)),
                      top + pixels(int(form_.client.height))};
    const RECT outer = outerRect(client, style, 0, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint({left, top}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const ScreenRect placed = zanthera::placeOnScreen(
        {outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top},
        {work.left, work.top, work.right - work.left, work.bottom - work.top});
    return {placed.left, placed.top, placed.left + placed.width, placed.top + placed.height};
}

void Win32Forms::placeOnScreen() {
    const RECT frame = placedFrame(DWORD(GetWindowLongPtrW(window_, GWL_STYLE)));
    SetWindowPos(window_, nullptr, frame.left, frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Forms::setEventSink(EventSink sink) {
    sink_ = std::move(sink);
}

void Win32Forms::deliver(const std::string& name, FormEvent event) {
    if (!ended_ && sink_)
        sink_(name, event);
}

int Win32Forms::run() {
    if (!window_)
        return 1;
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE))
        SetFocus(first);
    nameForScreenReaders();
    MSG message{};
    while (!ended_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void Win32Forms::end() {
    ended_ = true;
    for (auto& c : controls_)
        if (c.interval > 0 && window_)
            KillTimer(window_, idOf(c));
    PostQuitMessage(0);
}

// The controls whose name is not their text, the result box: named once the window shows, so that
// its first paint does not wait for the accessibility runtime to load. A name that cannot be
// given leaves the box as the system's proxy describes it, which is no reason to stop.
void Win32Forms::nameForScreenReaders() {
    for (const auto& c : controls_)
        if (c.model.kind == ControlKind::TextBox && !c.model.accessibleName.empty())
            names_.name(c.handle, widen(c.model.accessibleName));
}

UINT Win32Forms::idOf(const Control& control) const {
    return firstControlId + control.model.index;
}

// Every tick is armed on its own, just after the wall clock's next second for the clock's
// interval of 1000 ms; the interval the window's model holds stays as it is.
bool Win32Forms::armTimer(const Control& timer) {
    return window_ && armForNextTick(window_, idOf(timer), timer.interval);
}

HWND Win32Forms::control(std::string_view name) const {
    for (const auto& c : controls_)
        if (c.model.name == name)
            return c.handle;
    return nullptr;
}

Win32Forms::Control* Win32Forms::find(std::string_view name, ControlKind kind) {
    for (auto& c : controls_)
        if (c.model.name == name && c.model.kind == kind)
            return &c;
    return nullptr;
}

Win32Forms::Control* Win32Forms::byId(UINT id) {
    for (auto& c : controls_)
        if (idOf(c) == id)
            return &c;
    return nullptr;
}

Status Win32Forms::setCaption(std::string_view label, std::string_view text) {
    Control* c = find(label, ControlKind::Label);
    if (!c)
        return Error{"The window has no label named " + std::string(label) + "."};
    std::wstring wide = widen(text);
    // Only a caption that changed is redrawn, so an idle clock costs next to nothing.
    if (wide == c->text)
        return success();
    c->text = std::move(wide);
    if (!c->handle)
        return success(); // the window is gone: there is nothing left to draw
    SetWindowTextW(c->handle, c->text.c_str());
    InvalidateRect(c->handle, nullptr, FALSE);
    return success();
}

Status Win32Forms::setText(std::string_view textBox, std::string_view text) {
    Control* c = find(textBox, ControlKind::TextBox);
    if (!c)
        return Error{"The window has no text box named " + std::string(textBox) + "."};
    SetWindowTextW(c->handle, widen(text.substr(0, text.find('\0'))).c_str());
    return success();
}

Status Win32Forms::setInterval(std::string_view timer, int milliseconds) {
    Control* c = find(timer, ControlKind::Timer);
    if (!c)
        return Error{"The window has no timer named " + std::string(timer) + "."};
    if (milliseconds < 0)
        return Error{"A timer's interval cannot be negative."};
    // An interval of 0 switches the timer off; any other value keeps it running at that pace.
    if (c->interval > 0 && window_)
        KillTimer(window_, idOf(*c));
    c->interval = milliseconds;
    if (milliseconds > 0 && !armTimer(*c)) {
        c->interval = 0;
        return Error{"Windows could not start the timer " + c->model.name + "."};
    }
    return success();
}

} // namespace zanthera::win32
