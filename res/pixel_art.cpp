#include "res/pixel_art.h"

namespace zk::res {

std::optional<QRgb> LegendColour(char c) {
    switch (c) {
        case '.':
            return qRgba(0, 0, 0, 0);
        case 'K':
            return qRgb(0x00, 0x00, 0x00);
        case 'W':
            return qRgb(0xFF, 0xFF, 0xFF);
        case 'D':
            return qRgb(0x80, 0x80, 0x80);
        case 'L':
            return qRgb(0xC0, 0xC0, 0xC0);
        case 'r':
            return qRgb(0x80, 0x00, 0x00);
        case 'R':
            return qRgb(0xFF, 0x00, 0x00);
        case 'g':
            return qRgb(0x00, 0x80, 0x00);
        case 'G':
            return qRgb(0x00, 0xFF, 0x00);
        case 'y':
            return qRgb(0x80, 0x80, 0x00);
        case 'Y':
            return qRgb(0xFF, 0xFF, 0x00);
        case 'b':
            return qRgb(0x00, 0x00, 0x80);
        case 'B':
            return qRgb(0x00, 0x00, 0xFF);
        case 'm':
            return qRgb(0x80, 0x00, 0x80);
        case 'M':
            return qRgb(0xFF, 0x00, 0xFF);
        case 'c':
            return qRgb(0x00, 0x80, 0x80);
        case 'C':
            return qRgb(0x00, 0xFF, 0xFF);
        default:
            return std::nullopt;
    }
}

QImage RenderArt(std::span<const std::string_view> rows) {
    if (rows.empty() || rows.front().empty())
        return {};
    const auto width = rows.front().size();
    QImage image(static_cast<int>(width), static_cast<int>(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        const std::string_view row = rows[y];
        if (row.size() != width)
            return {};
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const auto colour = LegendColour(row[x]);
            if (!colour)
                return {};
            line[x] = *colour;
        }
    }
    return image;
}

QImage ScalePixels(const QImage& image, int factor) {
    if (image.isNull() || factor < 1)
        return {};
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage scaled(source.width() * factor, source.height() * factor, QImage::Format_ARGB32);
    for (int y = 0; y < scaled.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y / factor));
        auto* to = reinterpret_cast<QRgb*>(scaled.scanLine(y));
        for (int x = 0; x < scaled.width(); ++x)
            to[x] = from[x / factor];
    }
    return scaled;
}

}  // namespace zk::res
