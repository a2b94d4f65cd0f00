#include "ControlPainting.h"

#include "Dpi.h"
#include "Form1/WindowChoices.h"
#include "SystemCalls.h"
#include "Utf16.h"

#include <usp10.h>

#include <algorithm>
#include <cmath>

namespace zanthera::win32 {

namespace {

// One control drawn on the canvas and then copied to the screen in one piece.
class OffScreen {
  public:
    OffScreen(Canvas& canvas, HDC screen, const RECT& place)
        : screen_(screen), place_(place), dc_(canvas.prepare(screen, width(), height())),
          saved_(SaveDC(dc_)) {}
    ~OffScreen() {
        BitBlt(screen_, place_.left, place_.top, width(), height(), dc_, 0, 0, SRCCOPY);
        RestoreDC(dc_, saved_);
    }
    OffScreen(const OffScreen&) = delete;
    OffScreen& operator=(const OffScreen&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return place_.right - place_.left; }
    int height() const { return place_.bottom - place_.top; }
    RECT whole() const { return {0, 0, width(), height()}; }

  private:
    HDC screen_;
    RECT place_;
    HDC dc_;
    int saved_;
};

// The room a label leaves its text on either side.
constexpr int labelMargin = 1;

void fill(HDC dc, const RECT& area, COLORREF colour) {
    const OwnedBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.get());
}

// Where a picture of `picture` pixels starts so that it is centred on `room` pixels; an odd
// remainder goes to the right or the bottom.
int centred(int room, int picture) {
    return static_cast<int>(std::floor((room - picture) / 2.0));
}

// Uniscribe's calls, from usp10.dll in the system folder, loaded when the first label is drawn.
struct Uniscribe {
    HMODULE usp = loadSystemLibrary(L"usp10.dll");
    decltype(&ScriptStringAnalyse) analyse =
        systemCall<decltype(analyse)>(usp, "ScriptStringAnalyse");
    decltype(&ScriptString_pSize) size = systemCall<decltype(size)>(usp, "ScriptString_pSize");
    decltype(&ScriptStringFree) free = systemCall<decltype(free)>(usp, "ScriptStringFree");
};

const Uniscribe& uniscribe() {
    static const Uniscribe calls;
    return calls;
}

// The width of `text` in the DC's font as Uniscribe lays it out for drawing: Arabic letters in
// their joined forms, from a fallback font where the font lacks one. (Wine's own measuring of
// text, unlike its drawing, takes every Arabic letter in its wider standalone form.)
int drawnWidth(HDC dc, std::wstring_view text) {
    const Uniscribe& u = uniscribe();
    SCRIPT_STRING_ANALYSIS analysis = nullptr;
    const int length = static_cast<int>(text.size());
    const DWORD flags = SSA_GLYPHS | SSA_FALLBACK | (readsRightToLeft(text) ? SSA_RTL : 0);
    if (u.analyse && u.size && u.free &&
        SUCCEEDED(u.analyse(dc, text.data(), length, length * 3 / 2 + 16, -1, flags, 0, nullptr,
                            nullptr, nullptr, nullptr, nullptr, &analysis))) {
        const SIZE* size = u.size(analysis);
        const int width = size ? static_cast<int>(size->cx) : 0;
        u.free(&analysis);
        if (size)
            return width;
    }
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc, text.data(), length, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return extent.right - extent.left;
}

} // namespace

COLORREF colourOf(std::optional<StoredColour> colour, int fallbackIndex) {
    if (!colour)
        return GetSysColor(fallbackIndex);
    if (colour->isSystem())
        return GetSysColor(colour->value & 0xFF);
    return RGB(colour->red(), colour->green(), colour->blue());
}

HDC Canvas::prepare(HDC screen, int width, int height) {
    pictures_.dc(screen);
    if (width > size_.cx || height > size_.cy) {
        size_ = {std::max(width, int(size_.cx)), std::max(height, int(size_.cy))};
        drawing_.hold(OwnedBitmap(CreateCompatibleBitmap(screen, size_.cx, size_.cy)));
    }
    return drawing_.dc(screen);
}

void paintButton(const DRAWITEMSTRUCT& item, const ButtonFace& face, int dpi, Canvas& on) {
    OffScreen canvas(on, item.hDC, item.rcItem);
    RECT whole = canvas.whole();
    fill(canvas.dc(), whole, face.face);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    if (face.picture) {
        const int sink = pressed ? 1 : 0;
        const Selection selected(on.pictures(), face.picture);
        BitBlt(canvas.dc(), centred(canvas.width(), face.pictureSize.cx) + sink,
               centred(canvas.height(), face.pictureSize.cy) + sink, face.pictureSize.cx,
               face.pictureSize.cy, on.pictures(), 0, 0, SRCCOPY);
    }
    // A one-pixel edge, so that it hides no more of the plate than the design's frame does.
    DrawEdge(canvas.dc(), &whole, pressed ? BDR_SUNKENOUTER : BDR_RAISEDOUTER, BF_RECT);
    if (item.itemState & ODS_FOCUS) {
        const int inset = scaled(4, dpi);
        RECT focus{inset, inset, canvas.width() - inset, canvas.height() - inset};
        SetTextColor(canvas.dc(), RGB(0, 0, 0));
        SetBkColor(canvas.dc(), RGB(255, 255, 255));
        DrawFocusRect(canvas.dc(), &focus);
    }
}

void FittingFonts::reset(const LOGFONTW& base) {
    fonts_.clear();
    base_ = base;
}

HFONT FittingFonts::base() {
    return size(0);
}

HFONT FittingFonts::size(std::size_t step) {
    if (fonts_.size() <= step)
        fonts_.resize(step + 1);
    if (!fonts_[step]) {
        LOGFONTW font = base_;
        const LONG height = std::abs(base_.lfHeight) - static_cast<LONG>(step);
        font.lfHeight = base_.lfHeight < 0 ? -height : height;
        font.lfWidth = 0;
        fonts_[step].reset(CreateFontIndirectW(&font));
    }
    return fonts_[step].get();
}

HFONT FittingFonts::fitting(HDC dc, std::wstring_view text, int width) {
    // Half the interface size is the smallest that still reads.
    const auto steps = static_cast<std::size_t>(std::max(1L, std::abs(base_.lfHeight) / 2));
    for (std::size_t step = 0; step < steps; ++step) {
        const Selection selected(dc, size(step));
        if (drawnWidth(dc, text) <= width)
            return size(step);
    }
    return size(steps - 1);
}

static_assert(DT_CENTER == ES_CENTER && DT_RIGHT == ES_RIGHT && DT_LEFT == ES_LEFT);

UINT horizontalAlignment(Alignment alignment) {
    return byAlignment<UINT>(alignment, DT_LEFT, DT_CENTER, DT_RIGHT);
}

HFONT labelFont(HDC dc, const RECT& label, std::wstring_view text, FittingFonts& fonts) {
    return fonts.fitting(dc, text, label.right - label.left - 2 * labelMargin);
}

void paintLabel(const DRAWITEMSTRUCT& item, std::wstring_view text, const LabelFace& face,
                HFONT font, Canvas& on) {
    OffScreen canvas(on, item.hDC, item.rcItem);
    RECT whole = canvas.whole();
    if (face.opaque || !face.background)
        fill(canvas.dc(), whole, face.back);
    else
        BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), face.background, face.origin.x,
               face.origin.y, SRCCOPY);
    if (text.empty())
        return;
    const Selection selected(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), GetSysColor(COLOR_WINDOWTEXT));
    UINT format = face.alignment | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (readsRightToLeft(text))
        format |= DT_RTLREADING;
    DrawTextW(canvas.dc(), text.data(), static_cast<int>(text.size()), &whole, format);
}

} // namespace zanthera::win32
