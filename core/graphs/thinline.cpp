#include "thinline.h"

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <QVarLengthArray>
#include <utility>

namespace tintra {

namespace {

bool ThirtyTwoBit(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

// c * a / 255 for the four channels of a premultiplied pixel, rounded as the raster engine does.
QRgb Scale(QRgb c, uint a)
{
    quint32 rb = (c & 0xff00ff) * a;
    rb = ((rb + ((rb >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    quint32 ag = ((c >> 8) & 0xff00ff) * a;
    ag = (ag + ((ag >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return rb | ag;
}

} // namespace

ThinLines::ThinLines(QImage &target, QPoint offset, const QRect &clip, const QImage *over)
    : offset(offset)
{
    if (!ThirtyTwoBit(target.format()) || target.isNull() ||
        (over && over->format() != QImage::Format_ARGB32_Premultiplied))
        return;
    QRect within = clip & target.rect().translated(-offset);
    if (over) {
        overBits = over->constBits();
        overStride = over->bytesPerLine();
        within &= over->rect();
    }
    if (within.isEmpty())
        within = QRect(0, 0, 0, 0);
    left = within.left();
    top = within.top();
    width = unsigned(within.width());
    height = unsigned(within.height());
    stride = target.bytesPerLine();
    bits = target.bits(); // the caller's image, not shared: no copy is made
}

template <bool Over> inline void ThinLines::put(int x, int y, QRgb colour)
{
    if (unsigned(x - left) >= width || unsigned(y - top) >= height)
        return;
    auto *pixel = reinterpret_cast<QRgb *>(bits + (y + offset.y()) * stride) + x + offset.x();
    if (Over) {
        const QRgb top = reinterpret_cast<const QRgb *>(overBits + y * overStride)[x];
        const uint alpha = top >> 24;
        if (alpha == 255)
            return;
        if (alpha != 0)
            colour = top + Scale(colour, 255 - alpha);
    }
    *pixel = colour;
}

void ThinLines::draw(const QLine &line, QRgb colour)
{
    if (!bits)
        return;
    colour |= 0xff000000;
    int x1 = line.x1(), y1 = line.y1(), x2 = line.x2(), y2 = line.y2();
    if (x1 == x2 && y1 == y2) {
        if (overBits)
            put<true>(x1, y1, colour);
        else
            put<false>(x1, y1, colour);
        return;
    }
    // Walk along the longer axis, one pixel per step, both ends included. The other coordinate
    // runs in 16.16 fixed point; a rising run starts half a step on, a falling one does not.
    const bool alongX = std::abs(x2 - x1) >= std::abs(y2 - y1);
    if (alongX ? x1 > x2 : y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int from = alongX ? x1 : y1, to = alongX ? x2 : y2;
    const int64_t across = alongX ? y2 - y1 : x2 - x1;
    const int64_t step = (across << 16) / (to - from);
    int64_t v = (int64_t(alongX ? y1 : x1) << 16) + (step > 0 ? step - (step >> 1) : 0);
    // Only the steps inside the clip along the walk (a long line through a thin band).
    const int low = alongX ? left : top;
    const int high = low + int(alongX ? width : height) - 1;
    const int first = std::max(from, low), last = std::min(to, high);
    v += step * (first - from);
    // Wholly where nothing lies over the lines: no need to look there pixel by pixel.
    if (!overBits || clearArea.contains(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                                              QPoint(std::max(x1, x2), std::max(y1, y2)))))
        walk<false>(alongX, first, last, v, step, colour);
    else
        walk<true>(alongX, first, last, v, step, colour);
}

template <bool Over>
void ThinLines::walk(bool alongX, int first, int last, int64_t v, int64_t step, QRgb colour)
{
    if (alongX)
        for (int u = first; u <= last; ++u, v += step)
            put<Over>(u, int(v >> 16), colour);
    else
        for (int u = first; u <= last; ++u, v += step)
            put<Over>(int(v >> 16), u, colour);
}

bool CopyOpaque(QImage &target, QPoint offset, const QImage &source, const QRect &r)
{
    if (!ThirtyTwoBit(target.format()) || !ThirtyTwoBit(source.format()))
        return false;
    const QRect from = r & source.rect() & target.rect().translated(-offset);
    if (from.isEmpty())
        return true;
    const qsizetype dstStride = target.bytesPerLine(), srcStride = source.bytesPerLine();
    uchar *dst = target.bits() + qsizetype(from.top() + offset.y()) * dstStride +
                 qsizetype(from.left() + offset.x()) * 4;
    const uchar *src = source.constBits() + qsizetype(from.top()) * srcStride +
                       qsizetype(from.left()) * 4;
    const size_t bytes = size_t(from.width()) * 4;
    for (int y = from.top(); y <= from.bottom(); ++y, dst += dstStride, src += srcStride)
        std::memcpy(dst, src, bytes);
    return true;
}

// The region made of `boxes`: side by side from left to right, none overlapping another's
// columns unless they share the very same columns, stacked apart. Laid out directly in
// horizontal bands (the region's own form), instead of uniting the boxes one by one.
QRegion RegionOfColumns(std::span<const QRect> boxes)
{
    QVarLengthArray<int, 32> edges;
    for (const QRect &b : boxes)
        if (!b.isEmpty()) {
            edges.append(b.top());
            edges.append(b.bottom() + 1);
        }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    // Between two neighbouring edges the same boxes cover every row: one band. Neighbouring
    // bands never cover the same columns (an edge is a box's own, and no other box covers its
    // columns on the edge's other side), so no band grows into the next.
    QVarLengthArray<QRect, 64> rects;
    for (qsizetype e = 0; e + 1 < edges.size(); ++e) {
        const int top = edges[e], bottom = edges[e + 1] - 1;
        const qsizetype start = rects.size();
        for (const QRect &b : boxes) {
            if (b.isEmpty() || b.top() > top || b.bottom() < bottom)
                continue;
            if (rects.size() > start && rects.back().right() + 1 >= b.left())
                rects.back().setRight(b.right()); // touching: one rectangle
            else
                rects.append(QRect(b.left(), top, b.width(), bottom - top + 1));
        }
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}

} // namespace tintra
