#include "gdi/bitmap.h"

namespace gdi {

Bitmap::Bitmap(int w, int h, int bitsPerPixel, Color fill) {
    if (w <= 0 || h <= 0)
        return;
    m_width = w;
    m_height = h;
    m_bpp = bitsPerPixel == 1 ? 1 : 32;
    m_pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), Reduce(fill));
}

Bitmap::Bitmap(int w, int h, Unset) {
    if (w <= 0 || h <= 0)
        return;
    m_width = w;
    m_height = h;
    m_pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
}

void Bitmap::Reset() {
    m_width = 0;
    m_height = 0;
    m_bpp = 32;
    decltype(m_pixels)().swap(m_pixels);
}

Color Bitmap::NearestMono(Color c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int toBlack = r * r + g * g + b * b;
    const int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite < toBlack ? kWhite : kBlack;
}

}  // namespace gdi
