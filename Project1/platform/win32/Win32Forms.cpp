#include "Win32Forms.h"

#include "Dpi.h"
#include "Form1/WindowChoices.h"
#include "Utf16.h"

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
    const WindowFrame frame = frameOf(form);
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (frame.resizable)
        style |= WS_THICKFRAME;
    if (frame.minimizeButton)
        style |= WS_MINIMIZEBOX;
    if (frame.maximizeButton)
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
    return twipsToPixels(twips, dpi_);
}

Status Win32Forms::create(const WindowModel& model) {
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
            CreateWindowExW(model.borderStyle == Border::FixedSingle ? WS_EX_STATICEDGE : 0,
                            L"STATIC", control.text.c_str(), child | SS_OWNERDRAW, x, y, cx, cy,
                            window_, id, instance_, nullptr);
        break;
    case ControlKind::TextBox: {
        const DWORD align = horizontalAlignment(model.alignment);
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
    // A timer's message comes only once no paint is pending, so every control has drawn itself
    // (and, under Wine, reached the screen while the loop waited) before the accessibility
    // runtime is loaded for the names.
    SetTimer(window_, namingTimer, USER_TIMER_MINIMUM, nullptr);
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

// The controls whose name is not their text, the result box: named once the window has drawn
// itself, so that its first paint does not wait for the accessibility runtime to load. A name that
// cannot be given leaves the box as the system's proxy describes it, which is no reason to stop.
void Win32Forms::nameForScreenReaders() {
    for (const auto& c : controls_)
        if (c.model.kind == ControlKind::TextBox && !c.model.accessibleName.empty())
            names_.name(c.handle, widen(c.model.accessibleName));
}

UINT Win32Forms::idOf(const Control& control) const {
    return firstControlId + control.model.index;
}

HWND Win32Forms::control(std::string_view name) const {
    for (const auto& c : controls_)
        if (c.model.name == name)
            return c.handle;
    return nullptr;
}

Win32Forms::Control* Win32Forms::find(std::string_view name) {
    for (auto& c : controls_)
        if (c.model.name == name)
            return &c;
    return nullptr;
}

Win32Forms::Control* Win32Forms::byId(UINT id) {
    for (auto& c : controls_)
        if (idOf(c) == id)
            return &c;
    return nullptr;
}

} // namespace zanthera::win32
