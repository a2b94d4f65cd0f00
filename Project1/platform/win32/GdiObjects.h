// Owners for GDI objects, written so that a leak cannot be: each object is deleted exactly once,
// and a bitmap or font is deleted only once it is selected out of every DC. Windows refuses to
// delete an object that is still selected (DeleteObject fails and the handle stays behind until
// the process ends), where Wine quietly defers the deletion, so a wrong order shows only on
// Windows.
#pragma once

#include <windows.h>

#include <utility>

namespace zanthera::win32 {

// One bitmap, font or brush, deleted when its owner goes.
template <typename Handle> class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other)
            reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle = nullptr) {
        if (handle_)
            DeleteObject(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

using OwnedBitmap = GdiObject<HBITMAP>;
using OwnedFont = GdiObject<HFONT>;
using OwnedBrush = GdiObject<HBRUSH>;

// An object selected into a DC for one scope; what the DC held before comes back at its end.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory DC that keeps one bitmap selected for its whole life, as a picture to copy from or a
// surface to draw on. A new bitmap is selected before the old one goes, and the DC's own stock
// bitmap is selected back before the last one is deleted.
class BitmapDc {
  public:
    BitmapDc() = default;
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;
    ~BitmapDc() {
        release();
        if (dc_)
            DeleteDC(dc_);
    }

    // The DC, made compatible with `screen` (the screen itself for null) on first use.
    HDC dc(HDC screen = nullptr) {
        if (!dc_)
            dc_ = CreateCompatibleDC(screen);
        return dc_;
    }
    HBITMAP bitmap() const { return bitmap_.get(); }

    // Selects `next` (which may be null: nothing then) and hands back the bitmap it held, now
    // selected out and free to delete.
    OwnedBitmap hold(OwnedBitmap next) {
        if (!dc() || !next)
            return release();
        const HGDIOBJ previous = SelectObject(dc_, next.get());
        if (!previous || previous == HGDI_ERROR)
            return next; // not selected: it stays the caller's to delete
        if (!stock_)
            stock_ = previous;
        return std::exchange(bitmap_, std::move(next));
    }

    // Selects the DC's own stock bitmap back and hands over the one it held.
    OwnedBitmap release() {
        if (dc_ && stock_)
            SelectObject(dc_, stock_);
        stock_ = nullptr;
        return std::move(bitmap_);
    }

  private:
    HDC dc_ = nullptr;
    HGDIOBJ stock_ = nullptr;
    OwnedBitmap bitmap_;
};

} // namespace zanthera::win32
