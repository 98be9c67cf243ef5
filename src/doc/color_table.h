// The 256-entry colour table an 8-bit file is written with, and the index each pixel takes in it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "gdi/bitmap.h"
#include "gdi/types.h"

namespace zk {

template <std::uint32_t Limit>
struct SmallColorSet;

class ColorTable {
  public:
    static constexpr int kSize = 256;

    // The platform's default 8-bit table: the 20 system colours at both ends, a colour cube
    // between them.
    static const std::array<gdi::Color, kSize>& Default();

    // The table for the colours of `bitmap` (a display-format one):
    // - every colour is in the default table, or there are more than 256 of them: the default
    //   table, every colour mapped to its nearest entry (exact for the table's own colours), so
    //   files of such maps stay what they have always been;
    // - otherwise the default table with the entries the bitmap does not use given to its other
    //   colours, so that every colour is kept exactly and the rest of the table stays standard.
    explicit ColorTable(const gdi::Bitmap& bitmap);
    ColorTable(ColorTable&&) noexcept;
    ColorTable& operator=(ColorTable&&) noexcept;
    ~ColorTable();

    const std::array<gdi::Color, kSize>& Entries() const { return m_entries; }
    // Whether the table is the default one, and whether every colour of the bitmap is in it.
    bool IsDefault() const { return m_default; }
    bool IsExact() const { return m_exact; }

    // Table indices of `w` pixels.
    void IndexRow(const gdi::Color* src, std::uint8_t* dst, int w) const;
    // The default table's indices of `w` pixels, and whether every one of them is exactly a
    // colour of the default table. When all pixels of a bitmap are, its table is the default one
    // and these are its indices: a writer can find that out as it goes instead of looking at the
    // whole bitmap first.
    static bool IndexRowIfDefault(const gdi::Color* src, std::uint8_t* dst, int w);

  private:
    std::array<gdi::Color, kSize> m_entries{};
    bool m_default = true;
    bool m_exact = true;
    // For a table that is neither default nor reduced: the bitmap's colours, each with its table
    // index.
    std::unique_ptr<SmallColorSet<256>> m_set;
};

// The colours of a bitmap of at most 256, in the order they first appear, each with its index:
// the palette of a file that keeps every colour exactly.
class ExactPalette {
  public:
    // nullopt when `bitmap` has more than 256 colours. With `indices` (a byte for each pixel),
    // the pixels' indices are written there on the way, which spares a second pass over them.
    static std::optional<ExactPalette> Of(const gdi::Bitmap& bitmap,
                                          std::uint8_t* indices = nullptr);
    ExactPalette(ExactPalette&&) noexcept;
    ExactPalette& operator=(ExactPalette&&) noexcept;
    ~ExactPalette();

    std::span<const gdi::Color> Colors() const;
    // Palette indices of `w` pixels, every one of them a colour of the bitmap it was made for.
    void IndexRow(const gdi::Color* src, std::uint8_t* dst, int w) const;

  private:
    ExactPalette();
    std::unique_ptr<SmallColorSet<256>> m_set;
};

// The number of distinct colours in `bitmap`, counted no further than `stopAbove` + 1 (so
// "more than 256" costs no more than it must); every colour counts for a display-format bitmap.
std::uint32_t CountColors(const gdi::Bitmap& bitmap, std::uint32_t stopAbove = 0xFFFFFFFFu);

}  // namespace zk
