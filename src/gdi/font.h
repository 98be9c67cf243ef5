// Fonts: a logical description (LogFont) and the font made from it, whose glyphs are rendered in
// monochrome. A map is black and white, so text never gets grey edges.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace gdi {

constexpr int kWeightNormal = 400;
constexpr int kWeightBold = 700;

// What the user chooses in the font dialog. Heights and widths are in pixels of the bitmap the
// text is drawn into.
struct LogFont {
    // Above 0 the cell height (ascent + descent), below 0 the character height (the em, that is
    // the cell less its internal leading), 0 the stock system font's cell.
    int height = 0;
    // The average character width; 0 keeps the face's own aspect.
    int width = 0;
    // 100 .. 900; 400 normal, 700 bold.
    int weight = kWeightNormal;
    bool italic = false;
    // A family name; an empty name means the desktop's sans-serif face.
    std::string faceName;

    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// The stock system font: a bold sans-serif face with a 16-pixel cell. Its face name is the family
// that face resolves to on this machine, so a font dialog opened from it shows that family.
LogFont SystemFont();

// The code points of UTF-8 text; a malformed sequence gives one U+FFFD for each bad byte.
std::u32string DecodeUtf8(std::string_view utf8);

// One glyph of a line of text, ready to draw: its ink relative to the pen position on the baseline
// and the distance to the next pen position.
struct Glyph {
    int left = 0;  // ink's left column, from the pen position
    int top = 0;   // ink's top row, above the baseline (positive upward)
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<std::uint8_t> ink;  // width x height, row by row: 1 ink, 0 none
};

namespace detail {
struct FontImpl;
}

// A font made from a LogFont: the faces fontconfig matched to it, sized. Made lazily at the first
// use and shared by copies, so a Font is cheap to hold by value and to select into a DC. A default
// Font is the stock system font.
class Font {
  public:
    Font();
    explicit Font(const LogFont& logFont);

    const LogFont& GetLogFont() const { return m_logFont; }

    // Cell metrics in pixels: cell height = ascent + descent; internal leading = cell height less
    // the em.
    int Ascent() const;
    int Descent() const;
    int CellHeight() const;
    int InternalLeading() const;
    // Whether the face is bold, by its own design or made bold for a heavy weight.
    bool IsBold() const;

    // The family of the face that draws `c`: the matched face when it has the character, otherwise
    // the first face fontconfig ranks after it that does (the matched face's own "missing" glyph
    // when none has it).
    std::string FamilyFor(char32_t c) const;

    // Renders the glyphs of one line one by one, in order, handing each to `draw`; no kerning, as
    // the platform's text output has none. A character no face can draw gives an empty glyph.
    void Render(std::u32string_view text, const std::function<void(const Glyph&)>& draw) const;
    // Sum of the advances: the width of the line's cell.
    int TextWidth(std::u32string_view text) const;

  private:
    const detail::FontImpl& Impl() const;

    LogFont m_logFont;
    mutable std::shared_ptr<const detail::FontImpl> m_impl;
};

}  // namespace gdi
