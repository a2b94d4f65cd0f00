// How the engine draws the controls it owns the look of: the picture buttons and the labels. Each
// is drawn off screen and copied in one piece, so the labels the clock rewrites do not flicker.
#pragma once

#include "Form1/WindowModel.h"
#include "GdiObjects.h"

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

namespace zanthera::win32 {

// A stored colour on this screen: an RGB value as it is, a system colour as the system has it now,
// and the system colour `fallbackIndex` where the control stores none.
COLORREF colourOf(std::optional<StoredColour> colour, int fallbackIndex);

// The memory DCs the controls are drawn with, made once and kept for the window's life: one holds
// a bitmap as large as the largest control drawn so far, the other the picture being copied.
// Making them for every control would cost GDI (and under Wine, its server) a round of calls
// each time a label or a button is drawn.
class Canvas {
  public:
    // The drawing DC, holding a bitmap of at least width x height compatible with `screen`.
    HDC prepare(HDC screen, int width, int height);
    // The DC to select a picture into; valid once prepare() has run.
    HDC pictures() { return pictures_.dc(); }

  private:
    BitmapDc drawing_;
    BitmapDc pictures_;
    SIZE size_{};
};

struct ButtonFace {
    HBITMAP picture = nullptr; // already at the window's scale
    SIZE pictureSize{};
    COLORREF face = 0;
};

// The picture centred and clipped, on the face colour where it leaves room, inside a raised edge
// that sinks (picture and all) while the button is held down; the focus as a dotted frame.
void paintButton(const DRAWITEMSTRUCT& item, const ButtonFace& face, int dpi, Canvas& on);

// One typeface in falling sizes, made as they are needed, so that a text that is too wide for
// its label is shown whole in a smaller size instead of cut.
class FittingFonts {
  public:
    void reset(const LOGFONTW& base);
    HFONT base();
    // The largest size at which `text` is at most `width` pixels wide, or the smallest size.
    HFONT fitting(HDC dc, std::wstring_view text, int width);

  private:
    HFONT size(std::size_t step);

    LOGFONTW base_{};
    std::vector<OwnedFont> fonts_;
};

// Where a text stands across its control, as DrawText's flag; an edit control's style takes the
// same value.
UINT horizontalAlignment(Alignment alignment);

struct LabelFace {
    bool opaque = true;
    COLORREF back = 0;
    HDC background = nullptr; // the window's picture, shown through a transparent label
    POINT origin{};           // the label's place on the window, in the picture's pixels
    UINT alignment = DT_LEFT;
};

// The size of `fonts` at which `text` fits the label whose place is `label`. Measuring is the
// dearest part of drawing a label (under Wine, Uniscribe lays the text out each time), so the
// engine measures once for each text and scale, not at every paint.
HFONT labelFont(HDC dc, const RECT& label, std::wstring_view text, FittingFonts& fonts);

// The label's background and its text in `font`, as labelFont chose it.
void paintLabel(const DRAWITEMSTRUCT& item, std::wstring_view text, const LabelFace& face,
                HFONT font, Canvas& on);

} // namespace zanthera::win32
