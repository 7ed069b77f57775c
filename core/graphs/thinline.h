// One-pixel lines written straight into a 32-bit image, pixel for pixel as the raster engine
// draws a cosmetic solid pen's aliased lines with square caps (both end points drawn), under a
// picture that stays on top of them.
//
// A strip chart redraws about 300 short segments on every repaint; through a painter each one
// costs a clip test, a fixed-point set-up and a blend call per span. Here a segment costs its
// pixels. The lines are the raster engine's: the same pixels for every slope, checked against
// it in the tests.
#pragma once

#include <QImage>
#include <QLine>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <span>

namespace tintra {

class ThinLines {
public:
    // Draws into `target` (RGB32 or ARGB32_Premultiplied) at `offset` from the caller's
    // coordinates, only inside `clip` (caller's coordinates). `over`, when given, is an
    // ARGB32_Premultiplied picture in the caller's coordinates that lies on top of the lines:
    // where it is opaque the line is hidden, where it is partly transparent it is blended over
    // the line. False from `usable()` when the images are not of those formats.
    ThinLines(QImage &target, QPoint offset, const QRect &clip, const QImage *over = nullptr);
    // Where `over` is known to be fully transparent (caller's coordinates): a line lying wholly
    // inside is drawn without looking at it.
    void setClearArea(const QRect &clear) { clearArea = clear; }

    bool usable() const { return bits != nullptr; }
    // Where lines are drawn, in the caller's coordinates (empty when nowhere).
    QRect clip() const { return QRect(left, top, int(width), int(height)); }
    // The end points must lie within the device the raster engine would have drawn on: it cuts
    // lines reaching beyond it before rasterising, which moves their pixels.
    void draw(const QLine &line, QRgb colour);

private:
    // `colour` as it shows under the picture lying over (x, y); 0 where that hides it.
    QRgb under(QRgb colour, int x, int y) const;
    template <bool Over> void walk(bool alongX, int u0, int u1, int64_t v, int64_t step,
                                   QRgb colour);

    uchar *bits = nullptr;
    qsizetype stride = 0;
    QPoint offset;
    int left = 0, top = 0;            // the clip, in the caller's coordinates, within both images
    unsigned width = 0, height = 0;
    const uchar *overBits = nullptr;
    qsizetype overStride = 0;
    QRect clearArea;
};

// Copies the rectangle `r` of the opaque picture `source` (RGB32, or premultiplied with every
// pixel opaque) into `target` (RGB32 or ARGB32_Premultiplied) at `offset` from the source's
// coordinates, row by row: what a painter's plain image copy gives, without its set-up, and
// without the helper threads it hands large copies to (a wake-up of each per copy). The parts
// outside either image are left out. False (nothing copied) for other formats.
bool CopyOpaque(QImage &target, QPoint offset, const QImage &source, const QRect &r);

// The region made of `boxes`, laid out straight in the region's own form (horizontal bands):
// the boxes stand side by side from left to right, none reaching into another's columns, except
// boxes of the very same columns, which follow each other from top to bottom, apart by at least
// a row. Equal to uniting them one by one, at a fraction of the cost.
QRegion RegionOfColumns(std::span<const QRect> boxes);

// The region made of a few `boxes` lying anywhere (overlapping, touching or apart), laid out
// straight in the region's own form: what uniting them one by one gives, without building a
// region per step. Meant for a handful of boxes (its cost grows with their number squared).
QRegion RegionOfBoxes(std::span<const QRect> boxes);

} // namespace tintra
