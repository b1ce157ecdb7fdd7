// The program's pictures: vector drawings of filled and outlined shapes, made from the SVG files in
// resources/ when the program is built (scripts/svg2drawing.py), and painted here with QPainter.
// Reading them costs nothing at start-up, and they stay sharp at any size and pixel density.
#pragma once

#include <QImage>
#include <QSizeF>

#include <cstdint>
#include <span>
#include <string_view>

class QPainter;
class QRectF;

struct Drawing
{
    /** A path element: move to a point, line to a point, cubic curve through two control points
     * to a point, or close the subpath. */
    enum Op : std::uint8_t
    {
        M,
        L,
        C,
        Z
    };

    /** No fill, or no outline. */
    static constexpr std::uint32_t noPaint = 0xffffffffu;

    struct Shape
    {
        std::uint32_t fill;   // 0xRRGGBB, or noPaint
        std::uint32_t stroke; // 0xRRGGBB, or noPaint
        float strokeWidth;    // in view box units
        bool evenOdd;         // the fill rule: even-odd, or else non-zero
        std::uint32_t firstOp, opCount, firstCoord;
    };

    std::string_view name;
    QSizeF size;    // the drawing's own size in pixels at 96 dots per inch
    QSizeF viewBox; // the size of the coordinate space its shapes are given in
    std::span<const Shape> shapes;
    std::span<const Op> ops;
    std::span<const float> coords;

    /** The drawing called `name` ("quiz", "icon-16", …), or null if there is none. */
    static const Drawing *find(std::string_view name);

    /** Paints the drawing into `target`, antialiased: its view box scaled alike both ways to the
     * largest size that fits, centred. */
    void paint(QPainter &painter, const QRectF &target) const;

    /** The drawing at `pixels` device pixels, from the top left corner of a transparent image
     * that is that size rounded up to whole pixels. */
    QImage image(QSizeF pixels) const;
};
