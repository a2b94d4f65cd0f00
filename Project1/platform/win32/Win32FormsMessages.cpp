// The window's messages: painting, the owner-drawn controls, clicks, ticks, focus and a change of
// DPI. Kept apart from the building of the window in Win32Forms.cpp.
#include "Win32Forms.h"

#include "Dpi.h"

#include <algorithm>

namespace zanthera::win32 {

LRESULT CALLBACK Win32Forms::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Forms*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Forms*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message != WM_NCDESTROY)
        return self->handle(message, wParam, lParam);
    // The window's last message: the engine lets go of it and of its controls, which went before
    // it, so that nothing later reaches a handle Windows may give to another window.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->lastFocus_ = nullptr;
    for (auto& c : self->controls_)
        c.handle = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
}

// Ahead of the system's procedure for every control.
// - A multi-line edit control asks for the Tab key, which would trap the focus in the result box:
//   the box gives it up, so Tab walks on to the next control as it does everywhere else.
// - The classic edit control knows no Ctrl+A, which users expect of a box whose answer they copy:
//   the box selects all its text on it.
// - A control without a border has no frame to paint, yet Windows would fetch a device context to
//   paint it each time the window is shown.
// - A picture button paints every pixel of itself, so the background its system procedure would
//   fill first (asking the window for a brush) is never seen.
// - A label keeps its new text for screen readers without the static control's own repaint: the
//   engine asks for one repaint of its own, and the clock would otherwise draw twice a second.
LRESULT CALLBACK Win32Forms::controlProcedure(HWND handle, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Forms*>(GetWindowLongPtrW(GetParent(handle), GWLP_USERDATA));
    const Control* c = self ? self->byId(UINT(GetDlgCtrlID(handle))) : nullptr;
    if (!c || !c->systemProcedure)
        return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCPAINT && c->model.kind != ControlKind::TextBox &&
        c->model.borderStyle != Border::FixedSingle)
        return 0;
    if (message == WM_SETTEXT && c->model.kind == ControlKind::Label)
        return DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_ERASEBKGND && c->model.kind == ControlKind::Button)
        return 1;
    constexpr WPARAM ctrlA = 1; // the character Ctrl+A types
    if (message == WM_CHAR && wParam == ctrlA && c->model.kind == ControlKind::TextBox) {
        SendMessageW(handle, EM_SETSEL, 0, -1);
        return 0;
    }
    LRESULT result = CallWindowProcW(c->systemProcedure, handle, message, wParam, lParam);
    if (message == WM_GETDLGCODE)
        result &= ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
    return result;
}

LRESULT Win32Forms::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the background picture covers the whole client area
    case WM_PAINT:
        paintWindow();
        return 0;
    case WM_DRAWITEM:
        drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        command(wParam);
        return 0;
    case WM_TIMER:
        if (wParam == namingTimer) {
            KillTimer(window_, namingTimer);
            nameForScreenReaders();
            return 0;
        }
        // The id asked for, which is what Windows reports for a timer of a window.
        for (const auto& c : controls_)
            if (c.interval > 0 && idOf(c) == wParam) {
                armTimer(c);
                deliver(c.model.name, FormEvent::Timer);
            }
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (textBoxBrush_ && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != 0)
            for (const auto& c : controls_)
                if (c.handle == reinterpret_cast<HWND>(lParam) &&
                    c.model.kind == ControlKind::TextBox) {
                    SetBkColor(reinterpret_cast<HDC>(wParam),
                               colourOf(c.model.backColour, COLOR_WINDOW));
                    return reinterpret_cast<LRESULT>(textBoxBrush_.get());
                }
        break;
    case WM_ACTIVATE:
        // The focus comes back to the control that had it when the window was left.
        if (LOWORD(wParam) == WA_INACTIVE) {
            lastFocus_ = GetFocus();
        } else if (lastFocus_ && IsChild(window_, lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        // The window takes the rectangle Windows suggests, place and size in one move, so that
        // it does not jump while it is dragged from one monitor to another of a different scale;
        // the layout at the new DPI then corrects the size should the frame differ.
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layOut(HIWORD(wParam));
        return 0;
    }
    case WM_SETTINGCHANGE:
        if (wParam != SPI_SETNONCLIENTMETRICS)
            break;
        [[fallthrough]];
    case WM_SYSCOLORCHANGE:
        // A new interface font or new system colours: everything is drawn again with them.
        layOut(dpi_);
        break;
    case WM_GETMINMAXINFO:
        // The window keeps its designed size even where that is larger than the screen (a small
        // screen at a large scale); its placement keeps the title bar reachable.
        if (outerSize_.cx > 0) {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMaxTrackSize.x = std::max(limits->ptMaxTrackSize.x, outerSize_.cx);
            limits->ptMaxTrackSize.y = std::max(limits->ptMaxTrackSize.y, outerSize_.cy);
            return 0;
        }
        break;
    case WM_DESTROY:
        names_.clear(); // while the controls are still there
        ended_ = true;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32Forms::paintWindow() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window_, &paint);
    const SIZE picture{scaled(backgroundSize_.cx, dpi_), scaled(backgroundSize_.cy, dpi_)};
    BitBlt(dc, 0, 0, picture.cx, picture.cy, background_.dc(), 0, 0, SRCCOPY);
    // The window's own colour shows only where no picture lies: a strip to the right of it and
    // one below it, when the picture is smaller than the client area. They are filled as
    // rectangles of their own, since clipping the picture out of a window with this many
    // controls costs Wine more than the whole picture does.
    RECT client{};
    GetClientRect(window_, &client);
    const RECT uncovered[] = {{picture.cx, 0, client.right, client.bottom},
                              {0, picture.cy, std::min(picture.cx, client.right), client.bottom}};
    for (const RECT& strip : uncovered)
        if (strip.right > strip.left && strip.bottom > strip.top) {
            const OwnedBrush own(CreateSolidBrush(colourOf(form_.colour, COLOR_BTNFACE)));
            FillRect(dc, &strip, own.get());
        }
    EndPaint(window_, &paint);
}

void Win32Forms::drawItem(const DRAWITEMSTRUCT& item) {
    Control* c = byId(item.CtlID);
    if (!c)
        return;
    if (c->model.kind == ControlKind::Button) {
        paintButton(item,
                    {c->scaled.get(), c->scaledSize, colourOf(c->model.backColour, COLOR_BTNFACE)},
                    dpi_, canvas_);
    } else if (c->model.kind == ControlKind::Label) {
        LabelFace face;
        face.opaque = c->model.backStyle != BackStyle::Transparent;
        face.back = colourOf(c->model.backColour, COLOR_BTNFACE);
        face.background = background_.dc();
        face.origin = {pixels(c->model.extents.left), pixels(c->model.extents.top)};
        face.alignment = horizontalAlignment(c->model.alignment);
        if (!c->font) {
            // The program's own Arabic face wherever it has every letter of the text.
            const bool arabic =
                arabicFont_.installed() && covers(item.hDC, arabicFonts_.base(), c->text);
            c->font =
                labelFont(item.hDC, item.rcItem, c->text, arabic ? arabicFonts_ : labelFonts_);
        }
        paintLabel(item, c->text, face, c->font, canvas_);
    }
}

void Win32Forms::command(WPARAM wParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    // Enter reaches the window as the dialog manager's IDOK: it presses the focused button.
    if (id == IDOK) {
        for (const auto& c : controls_)
            if (c.handle == GetFocus() && c.model.kind == ControlKind::Button)
                deliver(c.model.name, FormEvent::Click);
        return;
    }
    // An owner-drawn button reports a quick second click as a double click; it is a click all
    // the same.
    if (code != BN_CLICKED && code != BN_DOUBLECLICKED)
        return;
    if (const Control* c = byId(id); c && c->model.kind == ControlKind::Button)
        deliver(c->model.name, FormEvent::Click);
}

} // namespace zanthera::win32
