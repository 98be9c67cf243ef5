// Pictures drawn as text, and the tables of the program's own pictures. Each picture is one string
// per pixel row and one character per pixel; the characters are a small legend of colours.
#pragma once

#include <QImage>
#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace zk::res {

// Tool-bar button images are 16 x 15 pixels, as the bars have always had them.
inline constexpr int kButtonWidth = 16;
inline constexpr int kButtonHeight = 15;

// The legend: '.' is transparent; K black, W white, D dark grey, L light grey, and the dark and
// bright halves of the 16-colour palette: r/R red, g/G green, y/Y yellow, b/B blue, m/M magenta,
// c/C cyan. Returns nothing for a character outside the legend.
std::optional<QRgb> LegendColour(char c);

// The picture as an ARGB32 image. A null image when the rows differ in length or use a character
// outside the legend, so that a slip of the pen shows as a missing picture, not a wrong one.
QImage RenderArt(std::span<const std::string_view> rows);

// The image `factor` times as large, every pixel repeated into a factor x factor block (no
// smoothing, so enlarged pixel art stays sharp). A null image for a factor below 1.
QImage ScalePixels(const QImage& image, int factor);

struct ButtonPicture {
    std::string_view name;  // what it shows, for messages
    int set;  // the bar's image strip: IDR_MAINFRAME, IDR_TOOLS, IDR_SIZE_..., IDR_PATTERNBAR
    int key;  // the command identifier; in the size sets the button's index 0..3
    std::array<std::string_view, kButtonHeight> rows;
};
// Every button picture of every bar.
std::span<const ButtonPicture> ButtonPictures();

struct AppIconPicture {
    int size;  // width and height
    std::span<const std::string_view> rows;
};
// The program icon as drawn, smallest first.
std::span<const AppIconPicture> AppIconPictures();

// The pattern set shipped with the program: brushes are 8 x 8, symbols 16 x 16 in black and white.
struct PatternPicture {
    std::string_view name;  // what it shows, for messages
    bool symbol;            // a symbol, else a brush
    int index;              // its slot, 0..15
    std::span<const std::string_view> rows;
};
// All 32, the brushes 0..15 first, then the symbols 0..15.
std::span<const PatternPicture> PatternPictures();

}  // namespace zk::res
