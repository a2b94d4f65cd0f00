// The window at a scale: every control's place, the pictures, fonts and brushes drawn with, and the
// frame's size, at the window's DPI and again whenever it changes.
#include "Win32Forms.h"

#include "Dpi.h"

namespace zanthera::win32 {

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
        c.font = nullptr; // the fonts it was chosen from are gone
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

} // namespace zanthera::win32
