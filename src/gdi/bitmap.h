// An image in memory: the display format (32 bits per pixel) or monochrome (1 bit per pixel).
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "gdi/pixel_allocator.h"
#include "gdi/types.h"

namespace gdi {

class Bitmap;

// Told before pixels of a bitmap change, with the rectangle about to change (inside the bitmap,
// never empty). The undo record of the map is one: it keeps the old pixels of what is about to be
// overwritten.
class BitmapWatcher {
  public:
    virtual void BeforeChange(const Bitmap& bitmap, const Rect& area) = 0;

  protected:
    ~BitmapWatcher() = default;
};

// Pixels are kept as 0x00RRGGBB values in both formats, rows top-down without padding. A
// monochrome bitmap holds only kBlack and kWhite: every write through SetPixel is reduced to the
// nearer of the two (squared RGB distance, ties to black). A default-constructed bitmap is empty
// (IsNull), as a bitmap object that holds no bitmap.
//
// A watcher belongs to the bitmap object, not to its pixels: copies and moves of the pixels leave
// it where it is, so a copy of the map is not watched and the map stays watched when a new
// picture is assigned to it (replacing the whole picture is the owner's business).
class Bitmap {
  public:
    Bitmap() = default;
    Bitmap(const Bitmap& o)
        : m_width(o.m_width), m_height(o.m_height), m_bpp(o.m_bpp), m_pixels(o.m_pixels) {}
    Bitmap(Bitmap&& o) noexcept
        : m_width(std::exchange(o.m_width, 0)),
          m_height(std::exchange(o.m_height, 0)),
          m_bpp(std::exchange(o.m_bpp, 32)),
          m_pixels(std::move(o.m_pixels)) {
        o.m_pixels.clear();
    }
    Bitmap& operator=(const Bitmap& o) {
        if (this != &o) {
            m_pixels = o.m_pixels;
            m_width = o.m_width;
            m_height = o.m_height;
            m_bpp = o.m_bpp;
        }
        return *this;
    }
    Bitmap& operator=(Bitmap&& o) noexcept {
        if (this != &o) {
            m_pixels = std::move(o.m_pixels);
            o.m_pixels.clear();
            m_width = std::exchange(o.m_width, 0);
            m_height = std::exchange(o.m_height, 0);
            m_bpp = std::exchange(o.m_bpp, 32);
        }
        return *this;
    }
    ~Bitmap() = default;
    // A new bitmap of w x h pixels, all set to `fill` (black unless given, as a new bitmap is).
    // bitsPerPixel is 32 or 1. Sizes of zero or below give an empty bitmap.
    Bitmap(int w, int h, int bitsPerPixel = 32, Color fill = kBlack);
    // A new display-format bitmap whose pixels are not set yet, for a writer that sets every one
    // of them before anything reads it (a decoder): a large picture is then written once, not
    // twice.
    struct Unset {};
    Bitmap(int w, int h, Unset);

    bool IsNull() const { return m_width <= 0 || m_height <= 0; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int BitsPerPixel() const { return m_bpp; }
    bool IsMonochrome() const { return m_bpp == 1; }
    Rect Bounds() const { return {0, 0, m_width, m_height}; }

    // Releases the pixels; the bitmap becomes empty.
    void Reset();

    // Reading outside the bitmap gives kBlack; writing outside it does nothing.
    Color GetPixel(int x, int y) const {
        if (!InBounds(x, y))
            return kBlack;
        return m_pixels[Index(x, y)];
    }
    void SetPixel(int x, int y, Color c) {
        if (!InBounds(x, y))
            return;
        if (m_watcher)
            m_watcher->BeforeChange(*this, Rect{x, y, x + 1, y + 1});
        m_pixels[Index(x, y)] = Reduce(c);
    }
    bool InBounds(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    // The colour this bitmap stores for c: c itself, or black/white for a monochrome bitmap.
    Color Reduce(Color c) const {
        if (m_bpp != 1)
            return c & 0xFFFFFF;
        return NearestMono(c);
    }
    static Color NearestMono(Color c);

    // The watcher told before pixels change (none by default); nullptr removes it.
    void SetWatcher(BitmapWatcher* watcher) { m_watcher = watcher; }
    BitmapWatcher* GetWatcher() const { return m_watcher; }
    // Tells the watcher that the pixels of `area` (clipped to the bitmap) are about to change.
    // Every writer that goes past SetPixel calls it first: the drawing operations once each, with
    // the device rectangle they may write.
    void AboutToChange(const Rect& area) {
        if (!m_watcher)
            return;
        const Rect r = area.Intersect(Bounds());
        if (!r.IsEmpty())
            m_watcher->BeforeChange(*this, r);
    }

    // Direct row access for the fast paths (copies, blits, file conversion). Callers keep the
    // bitmap's format: a monochrome bitmap must only receive kBlack and kWhite. Writers through
    // a row announce what they change with AboutToChange first.
    Color* Row(int y) { return m_pixels.data() + static_cast<std::size_t>(y) * m_width; }
    const Color* Row(int y) const {
        return m_pixels.data() + static_cast<std::size_t>(y) * m_width;
    }
    Color* Data() { return m_pixels.data(); }
    const Color* Data() const { return m_pixels.data(); }
    std::size_t PixelCount() const { return m_pixels.size(); }

    friend bool operator==(const Bitmap& a, const Bitmap& b) {
        return a.m_width == b.m_width && a.m_height == b.m_height && a.m_bpp == b.m_bpp &&
               a.m_pixels == b.m_pixels;
    }

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
               static_cast<std::size_t>(x);
    }

    int m_width = 0;
    int m_height = 0;
    int m_bpp = 32;
    std::vector<Color, PixelAllocator<Color>> m_pixels;
    BitmapWatcher* m_watcher = nullptr;
};

}  // namespace gdi
