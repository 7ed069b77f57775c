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

namespace {

// a / b rounded down, for b > 0 and any sign of a.
int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The steps k = 0, 1, ... of a walk whose other coordinate runs v + k * step (16.16 fixed
// point, taken as v >> 16) that keep it within [lo, hi]: [*k0, *k1], false when none. The
// coordinate moves one way only, so they are one run of steps.
bool StepsWithin(int64_t v, int64_t step, int lo, int hi, int64_t count, int64_t *k0, int64_t *k1)
{
    const int64_t low = int64_t(lo) * 65536, end = (int64_t(hi) + 1) * 65536; // [low, end)
    if (step == 0) {
        *k0 = 0;
        *k1 = count - 1;
        return v >= low && v < end;
    }
    if (step > 0) {
        if (v >= end)
            return false;
        *k0 = v >= low ? 0 : FloorDiv(low - v + step - 1, step);
        *k1 = std::min(count - 1, FloorDiv(end - 1 - v, step));
    } else {
        if (v < low)
            return false;
        *k0 = v < end ? 0 : FloorDiv(v - end, -step) + 1;
        *k1 = std::min(count - 1, FloorDiv(v - low, -step));
    }
    return *k0 <= *k1;
}

} // namespace

inline QRgb ThinLines::under(QRgb colour, int x, int y) const
{
    const QRgb top = reinterpret_cast<const QRgb *>(overBits + y * overStride)[x];
    const uint alpha = top >> 24;
    if (alpha == 255)
        return 0; // hidden: an opaque pixel is never 0
    return alpha ? top + Scale(colour, 255 - alpha) : colour;
}

void ThinLines::draw(const QLine &line, QRgb colour)
{
    if (!bits)
        return;
    colour |= 0xff000000;
    int x1 = line.x1(), y1 = line.y1(), x2 = line.x2(), y2 = line.y2();
    // Walk along the longer axis, one pixel per step, both ends included (a point is a walk of
    // one step). The other coordinate runs in 16.16 fixed point; a rising run starts half a step
    // on, a falling one does not.
    const bool alongX = std::abs(x2 - x1) >= std::abs(y2 - y1);
    if (alongX ? x1 > x2 : y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int from = alongX ? x1 : y1, to = alongX ? x2 : y2;
    const int across = alongX ? y2 - y1 : x2 - x1;
    // A 32-bit division where the 16.16 value fits (any line on a screen), else a 64-bit one:
    // both round towards zero.
    const int steps = to - from;
    const int64_t step = steps == 0            ? 0
                         : std::abs(across) < 32768 ? int64_t(across * 65536 / steps)
                                                    : (int64_t(across) << 16) / steps;
    int64_t v = (int64_t(alongX ? y1 : x1) << 16) + (step > 0 ? step - (step >> 1) : 0);
    const int minX = std::min(x1, x2), maxX = std::max(x1, x2);
    const int minY = std::min(y1, y2), maxY = std::max(y1, y2);
    int u0 = from, u1 = to;
    // Every pixel of a line lies within the box of its end points: a line wholly inside the
    // clip (the short segments of a chart) needs no cutting.
    if (minX < left || maxX >= left + int(width) || minY < top || maxY >= top + int(height)) {
        // Only the steps inside the clip along the walk (a long line through a thin band), and
        // of them those whose other coordinate lies inside it too.
        const int low = alongX ? left : top;
        const int high = low + int(alongX ? width : height) - 1;
        const int first = std::max(from, low), last = std::min(to, high);
        if (first > last)
            return;
        v += step * (first - from);
        const int acrossLow = alongX ? top : left;
        const int acrossHigh = acrossLow + int(alongX ? height : width) - 1;
        int64_t k0, k1;
        if (!StepsWithin(v, step, acrossLow, acrossHigh, last - first + 1, &k0, &k1))
            return;
        u0 = first + int(k0);
        u1 = first + int(k1);
        v += step * k0;
    }
    if (!overBits) {
        walk<false>(alongX, u0, u1, v, step, colour);
        return;
    }
    // Where nothing lies over the lines there is no need to look there pixel by pixel: a line
    // wholly inside that area is walked plainly, and so are the steps of another one that lie
    // inside it (one run of them, the line being straight).
    if (minX >= clearArea.left() && maxX <= clearArea.right() && minY >= clearArea.top() &&
        maxY <= clearArea.bottom()) {
        walk<false>(alongX, u0, u1, v, step, colour);
        return;
    }
    int c0 = std::max(u0, alongX ? clearArea.left() : clearArea.top());
    int c1 = std::min(u1, alongX ? clearArea.right() : clearArea.bottom());
    int64_t k0, k1;
    if (c0 <= c1 &&
        StepsWithin(v + step * (c0 - u0), step, alongX ? clearArea.top() : clearArea.left(),
                    alongX ? clearArea.bottom() : clearArea.right(), c1 - c0 + 1, &k0, &k1)) {
        c1 = c0 + int(k1);
        c0 += int(k0);
    } else {
        c0 = u1 + 1; // none
        c1 = u1;
    }
    if (u0 < c0)
        walk<true>(alongX, u0, c0 - 1, v, step, colour);
    if (c0 <= c1)
        walk<false>(alongX, c0, c1, v + step * (c0 - u0), step, colour);
    if (c1 < u1)
        walk<true>(alongX, c1 + 1, u1, v + step * (c1 + 1 - u0), step, colour);
}

// Every step from u0 to u1 lies inside the clip (see draw): no test per pixel.
template <bool Over>
void ThinLines::walk(bool alongX, int u0, int u1, int64_t v, int64_t step, QRgb colour)
{
    const int ox = offset.x(), oy = offset.y();
    if (alongX) {
        if (step == 0 && !Over) { // a row: one fill
            auto *row = reinterpret_cast<QRgb *>(bits + (int(v >> 16) + oy) * stride) + ox;
            std::fill(row + u0, row + u1 + 1, colour);
            return;
        }
        for (int u = u0; u <= u1; ++u, v += step) {
            const int y = int(v >> 16);
            const QRgb c = Over ? under(colour, u, y) : colour;
            if (!Over || c)
                reinterpret_cast<QRgb *>(bits + (y + oy) * stride)[u + ox] = c;
        }
    } else {
        uchar *row = bits + qsizetype(u0 + oy) * stride;
        for (int u = u0; u <= u1; ++u, v += step, row += stride) {
            const int x = int(v >> 16);
            const QRgb c = Over ? under(colour, x, u) : colour;
            if (!Over || c)
                reinterpret_cast<QRgb *>(row)[x + ox] = c;
        }
    }
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

namespace {

using RowEdges = QVarLengthArray<int, 32>;

// The rows where boxes start and end (one past their bottom), in order, each once: between two
// neighbours the same boxes cover every row.
RowEdges EdgesOf(std::span<const QRect> boxes)
{
    RowEdges edges;
    for (const QRect &b : boxes)
        if (!b.isEmpty()) {
            edges.append(b.top());
            edges.append(b.bottom() + 1);
        }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

} // namespace

// The region made of `boxes`: side by side from left to right, none overlapping another's
// columns unless they share the very same columns, stacked apart. Laid out directly in
// horizontal bands (the region's own form), instead of uniting the boxes one by one.
QRegion RegionOfColumns(std::span<const QRect> boxes)
{
    const RowEdges edges = EdgesOf(boxes);
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

QRegion RegionOfBoxes(std::span<const QRect> boxes)
{
    const RowEdges edges = EdgesOf(boxes);
    // Between two neighbouring edges the same boxes cover every row: one band, its boxes'
    // columns joined where they overlap or touch. A band whose columns are those of the band
    // right above it grows that band instead (the region's form never has two such bands).
    QVarLengthArray<QRect, 32> rects;
    qsizetype above = -1; // where the last band's rectangles start
    for (qsizetype e = 0; e + 1 < edges.size(); ++e) {
        const int top = edges[e], bottom = edges[e + 1] - 1;
        QVarLengthArray<std::pair<int, int>, 16> spans;
        for (const QRect &b : boxes)
            if (!b.isEmpty() && b.top() <= top && b.bottom() >= bottom)
                spans.append({b.left(), b.right()});
        if (spans.isEmpty())
            continue;
        std::sort(spans.begin(), spans.end());
        const qsizetype start = rects.size();
        for (const auto &[left, right] : spans) {
            if (rects.size() > start && rects.back().right() + 1 >= left)
                rects.back().setRight(std::max(rects.back().right(), right));
            else
                rects.append(QRect(QPoint(left, top), QPoint(right, bottom)));
        }
        bool same = above >= 0 && rects.at(above).bottom() + 1 == top && start - above == rects.size() - start;
        for (qsizetype i = 0; same && i < start - above; ++i)
            same = rects.at(above + i).left() == rects.at(start + i).left() &&
                   rects.at(above + i).right() == rects.at(start + i).right();
        if (same) {
            for (qsizetype i = above; i < start; ++i)
                rects[i].setBottom(bottom);
            rects.resize(start);
        } else {
            above = start;
        }
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}

} // namespace tintra
