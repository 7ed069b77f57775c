#include "numberdisplay.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QVarLengthArray>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <QFontMetrics>
#include <QPaintEngine>
#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace tintra {

namespace {

// The application's style, except that a number display's panel may come from what it kept.
class KeptPanelStyle : public QProxyStyle {
public:
    explicit KeptPanelStyle(QStyle *base) : QProxyStyle(base) {}

    void drawPrimitive(PrimitiveElement pe, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (pe == PE_PanelLineEdit)
            if (auto *d = const_cast<NumberDisplay *>(dynamic_cast<const NumberDisplay *>(widget)))
                if (d->drawKeptPanel(option, painter, baseStyle()))
                    return;
        QProxyStyle::drawPrimitive(pe, option, painter, widget);
    }
};

// Copies `source` (opaque, 32 bits a pixel), placed at `at` in the widget, into `target` (the
// window's picture, 32 bits a pixel) at `offset` from the widget, only within `clip` (widget).
void Blit(QImage &target, QPoint offset, const QImage &source, QPoint at, const QRect &clip)
{
    const QRect to = QRect(at, source.size()) & clip & target.rect().translated(-offset);
    if (to.isEmpty())
        return;
    const qsizetype dstStride = target.bytesPerLine(), srcStride = source.bytesPerLine();
    uchar *dst = target.bits() + qsizetype(to.top() + offset.y()) * dstStride +
                 qsizetype(to.left() + offset.x()) * 4;
    const uchar *src = source.constBits() + qsizetype(to.top() - at.y()) * srcStride +
                       qsizetype(to.left() - at.x()) * 4;
    const size_t bytes = size_t(to.width()) * 4;
    for (int y = 0; y < to.height(); ++y, dst += dstStride, src += srcStride)
        std::memcpy(dst, src, bytes);
}

bool ThirtyTwoBit(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

// One for all displays, made from the application's style when the first display is built.
QStyle *SharedStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        QStyle *base = QStyleFactory::create(QApplication::style()->name());
        if (!base)
            return nullptr;
        style = new KeptPanelStyle(base);
        style->setParent(qApp);
    }
    return style;
}

// The digits 0 ... 9 of one font as its text layout places them: glyph, advance (in 1/64 pixel,
// the layout's unit) and the line's ascent. Usable only when the layout puts every digit after
// any other one at exactly the sum of their advances (no kerning, one font for all), and no
// digit reaches beyond the font's line height.
struct Digits {
    QFont font;
    bool usable = false;
    QRawFont raw;
    quint32 glyph[10] = {};
    int advance[10] = {};
    qreal ascent = 0;
};

std::vector<std::unique_ptr<Digits>> known; // emptied with the application: they hold fonts

const Digits *DigitsOf(const QFont &font)
{
    if (known.empty())
        qAddPostRoutine([] { known.clear(); });
    for (const auto &d : known)
        if (d->font == font && d->font.resolveMask() == font.resolveMask())
            return d->usable ? d.get() : nullptr;
    auto d = std::make_unique<Digits>();
    d->font = font;
    // Every pair of digits once ("00", "01", ... "99"), and each digit after each in between.
    QString pairs;
    for (int i = 0; i < 100; ++i)
        pairs += QString::number(i / 10) + QString::number(i % 10);
    QTextLayout layout(pairs, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    const QFontMetrics fm(font);
    if (line.isValid() && runs.size() == 1 && runs.first().glyphIndexes().size() == pairs.size()) {
        const QGlyphRun &r = runs.first();
        const QList<quint32> glyphs = r.glyphIndexes();
        const QList<QPointF> at = r.positions();
        bool seen[10] = {};
        bool fits = true;
        for (int i = 0; i + 1 < pairs.size() && fits; ++i) {
            const int c = pairs.at(i).unicode() - '0';
            const int adv = qRound((at.at(i + 1).x() - at.at(i).x()) * 64);
            fits = at.at(i + 1).y() == at.at(0).y() && (!seen[c] || (d->advance[c] == adv &&
                                                                    d->glyph[c] == glyphs.at(i)));
            seen[c] = true;
            d->advance[c] = adv;
            d->glyph[c] = glyphs.at(i);
        }
        const int last = pairs.back().unicode() - '0';
        fits = fits && qRound((line.naturalTextWidth() - at.back().x()) * 64) == d->advance[last] &&
               glyphs.back() == d->glyph[last] && at.first().x() == 0;
        for (int c = 0; c < 10 && fits; ++c)
            fits = fm.boundingRect(QChar('0' + c)).height() <= fm.height();
        d->usable = fits;
        d->raw = r.rawFont();
        d->ascent = line.ascent();
    }
    known.push_back(std::move(d));
    return known.back()->usable ? known.back().get() : nullptr;
}

} // namespace

NumberDisplay::NumberDisplay(QWidget *parent) : QLineEdit(parent)
{
    if (QStyle *s = SharedStyle())
        setStyle(s);
    reader.display = this;
    reader.active = QAccessible::isActive();
    QAccessible::installActivationObserver(&reader);
    connect(this, &QLineEdit::textChanged, this, [this] { textSet(); });
}

namespace {

bool numbersWait = false;
QList<NumberDisplay *> &Waiting() // displays that were behind since numbers last stopped waiting
{
    static QList<NumberDisplay *> list;
    return list;
}

bool IsDigits(const QString &t)
{
    return !t.isEmpty() && t.size() <= 32 &&
           std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

NumberDisplay::~NumberDisplay()
{
    QAccessible::removeActivationObserver(&reader);
    Waiting().removeAll(this);
}

void NumberDisplay::letNumbersWait(bool on)
{
    numbersWait = on;
    if (on)
        return;
    // Taken first: a catch-up runs the line edit's handlers, which might show another number.
    const QList<NumberDisplay *> list = std::exchange(Waiting(), {});
    for (NumberDisplay *d : list)
        d->catchUp();
}

void NumberDisplay::showNumber(const QString &digits)
{
    // A hidden display has no use for its text either (an accessibility client aside).
    if (!numbersWait || !(quiet || (!isVisible() && !reader.active)) || !IsDigits(digits)) {
        if (std::exchange(behind, false))
            update(); // the waiting number is on screen, and the text may be the line edit's own
        setText(digits);
        return;
    }
    if (behind ? digits == waiting : digits == text())
        return;
    const QRect cells = changedCells(behind ? waiting : text(), digits);
    if (!behind) {
        behind = true;
        if (!Waiting().contains(this))
            Waiting().append(this);
    }
    waiting = digits;
    // The line edit would repaint for a new text; it is not told of this one.
    if (cells.isNull())
        update();
    else
        update(cells);
}

void NumberDisplay::catchUp()
{
    if (!behind)
        return;
    behind = false;
    setText(waiting);
}

void NumberDisplay::Reader::accessibilityActiveChanged(bool on)
{
    active = on;
    if (on)
        display->setQuiet(false);
}

void NumberDisplay::setQuiet(bool on)
{
    // The line edit is about to show or use its text: it gets the waiting number first, while
    // the echo is still off (so that no layout is made for nothing).
    if (!on)
        catchUp();
    if (on == quiet)
        return;
    quiet = on;
    setEchoMode(on ? NoEcho : Normal);
}

void NumberDisplay::textSet()
{
    // A text given to the line edit replaces a waiting number.
    behind = false;
    const QString t = text();
    if (!IsDigits(t))
        setQuiet(false);
    else if (digitsShown && !hasFocus() && !hasSelectedText() && !reader.active)
        setQuiet(true);
    // The line edit repaints when its shown text changes; with the echo off that is never.
    if (quiet)
        update();
}

void NumberDisplay::paintEvent(QPaintEvent *e)
{
    tilesLength = -1;
    if (!unseenPaint) {
        digitsShown = paintDigits();
        if (digitsShown)
            return;
        setQuiet(false); // the line edit paints from its layout
    }
    QLineEdit::paintEvent(e);
}

void NumberDisplay::readyForMouse()
{
    // Selecting maps the mouse to the laid-out text, shifted by the scroll the line edit works
    // out when it paints itself, which it does not while the display draws the digits: it lays
    // the text out and paints once, into a scratch picture.
    setQuiet(false);
    QImage scratch(size(), QImage::Format_ARGB32_Premultiplied);
    unseenPaint = true;
    render(&scratch, QPoint(), QRegion(), {});
    unseenPaint = false;
}

void NumberDisplay::mousePressEvent(QMouseEvent *e)
{
    readyForMouse();
    QLineEdit::mousePressEvent(e);
}

void NumberDisplay::mouseDoubleClickEvent(QMouseEvent *e)
{
    readyForMouse();
    QLineEdit::mouseDoubleClickEvent(e);
}

void NumberDisplay::focusInEvent(QFocusEvent *e)
{
    setQuiet(false);
    QLineEdit::focusInEvent(e);
}

bool NumberDisplay::paintDigits()
{
    const QString t = shownText();
    if (t.isEmpty() || t.size() > 32 || hasFocus() || hasSelectedText() ||
        echoMode() != (quiet ? NoEcho : Normal) ||
        layoutDirection() != Qt::LeftToRight || !textMargins().isNull() || !hasFrame() ||
        alignment() != (Qt::AlignRight | Qt::AlignVCenter) || !inputMask().isEmpty())
        return false;
    const Digits *d = DigitsOf(font());
    if (!d)
        return false;
    QVarLengthArray<quint32, 32> glyphs;
    QVarLengthArray<QPointF, 32> at;
    int width = 0; // 1/64 pixel
    for (const QChar ch : t) {
        const int c = ch.unicode() - '0';
        if (c < 0 || c > 9)
            return false;
        glyphs.append(d->glyph[c]);
        at.append(QPointF(width / 64.0, 0));
        width += d->advance[c];
    }
    // The line edit's own geometry: its contents less a margin of 2 on the sides, a text line of
    // the font's height centred in it, the text ending a cursor's width and a pixel before the
    // right end.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect r = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const int lineHeight = fontMetrics().height();
    const QRect line(r.x() + 2, r.y() + (r.height() - lineHeight + 1) / 2, r.width() - 4,
                     lineHeight);
    const int used = qRound(width / 64.0) + 1 +
                     style()->pixelMetric(QStyle::PM_TextCursorWidth, &option, this);
    if (used > line.width())
        return false; // scrolled text: the line edit knows how
    // The line edit places its layout's top a rounded ascent above the baseline of its font.
    const int top = line.top() - (qRound(d->ascent) - fontMetrics().ascent());
    const QPointF origin(line.right() + 1 - used, top + d->ascent);
    const auto *kps = option.rect == rect() ? dynamic_cast<const KeptPanelStyle *>(style()) : nullptr;
    const auto tiles = [&](QPaintDevice *device, QPoint offset) {
        QPaintEngine *engine = device ? device->paintEngine() : nullptr;
        if (!kps || !engine || device->devType() != QInternal::Image)
            return false;
        keepPanel(&option, kps->baseStyle());
        if (!paintTiles(static_cast<QImage *>(device), offset, engine->systemClip(), t, r,
                        line.right() + 1, origin, at.data(), d))
            return false;
        ++nDigits;
        ++nTiles;
        tilesLength = int(t.size());
        return true;
    };
    // While the window paints its widgets, its picture and this display's place in it are known
    // without starting a painter (which costs more than copying a few digits).
    QPoint back;
    QPaintDevice *window = sharedPainter() ? nullptr : redirected(&back);
    if (window && tiles(window, -back))
        return true;
    QPainter p(this);
    const QTransform shift = p.deviceTransform();
    if (p.isActive() && shift.type() <= QTransform::TxTranslate &&
        tiles(p.paintEngine() ? p.paintEngine()->paintDevice() : nullptr,
              QPoint(qRound(shift.dx()), qRound(shift.dy()))))
        return true;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &p, this);
    p.setClipRect(r);
    p.setPen(palette().text().color());
    run.setRawFont(d->raw);
    run.setGlyphIndexes(QList<quint32>(glyphs.begin(), glyphs.end()));
    run.setPositions(QList<QPointF>(at.begin(), at.end()));
    p.drawGlyphRun(QPointF(line.right() + 1 - used, top + d->ascent), run);
    ++nDigits;
    return true;
}

void NumberDisplay::keepPanel(const QStyleOption *option, const QStyle *base)
{
    const qreal ratio = devicePixelRatio();
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    const Key key{option->rect.size(), ratio, option->state, option->palette.cacheKey(),
                  frame ? frame->lineWidth : -1};
    if (key == kept) {
        ++nKept;
        return;
    }
    // The whole rectangle in the background colour, then the panel on it: the corners outside
    // the rounded frame show the colour of what surrounds the display.
    panel = QImage((QSizeF(option->rect.size()) * ratio).toSize(), QImage::Format_RGB32);
    panel.setDevicePixelRatio(ratio);
    panel.fill(option->palette.color(backgroundRole()));
    QPainter p(&panel);
    p.translate(-option->rect.topLeft());
    base->drawPrimitive(QStyle::PE_PanelLineEdit, option, &p, this);
    kept = key;
}

bool NumberDisplay::drawKeptPanel(const QStyleOption *option, QPainter *painter,
                                  const QStyle *base)
{
    if (option->rect != rect() || !painter->device() ||
        !qFuzzyCompare(painter->device()->devicePixelRatio(), devicePixelRatio()))
        return false;
    keepPanel(option, base);
    painter->drawImage(option->rect.topLeft(), panel);
    return true;
}

// The pixels of a text of n digits, glyph i at origin + at[i]: each glyph's columns (over all ten
// digits) found once by drawing it alone; the columns only glyph i can reach (its own part) and
// those two neighbours can both reach (a seam) are kept per digit, or per pair of digits.
struct NumberDisplay::Layout {
    bool usable = false;
    QList<int> reach0, reach1; // the columns glyph i can reach, over all ten digits
    QList<int> own0, own1;   // glyph i's own columns [own0[i], own1[i])
    QList<int> seam1;        // seam after glyph i: [own1[i], seam1[i]) (empty when equal)
    QList<QImage> own;       // [i * 10 + c]
    QList<QImage> seams;     // [i * 100 + c * 10 + next]
};

bool NumberDisplay::paintTiles(QImage *target, QPoint offset, const QRegion &system,
                               const QString &text, const QRect &clip, int right, QPointF origin,
                               const QPointF *at, const void *digits)
{
    const auto *d = static_cast<const Digits *>(digits);
    if (!target->isDetached() || !ThirtyTwoBit(target->format()) ||
        !qFuzzyCompare(target->devicePixelRatio(), 1.0) || panel.isNull() ||
        !qFuzzyCompare(panel.devicePixelRatio(), 1.0))
        return false;
    const int n = int(text.size());
    const QColor colour = palette().text().color();
    // The origin follows from the text's length and the line's right end.
    const TileKey key{kept, colour.rgba(), d, clip, right, origin.y(), target->format()};
    if (!(key == tileKey)) {
        layouts.clear();
        tileKey = key;
    }
    while (layouts.size() <= n)
        layouts.append(nullptr);
    if (!layouts[n])
        layouts[n] = std::make_shared<Layout>(lay(n, clip, origin, at, d));
    Layout &l = *layouts[n];
    if (!l.usable)
        return false;

    const QRegion where = system.isEmpty() ? QRegion(rect()) : system.translated(-offset) & rect();
    const auto draw = [&](QImage &tile, int from, int to, int i, int count) {
        if (from >= to)
            return;
        const QRect zone(from, clip.top(), to - from, clip.height());
        if (tile.isNull()) {
            // The panel's pixels there with the glyphs drawn on them, as the painter draws them.
            tile = panel.copy(zone).convertToFormat(target->format());
            QPainter tp(&tile);
            tp.setPen(colour);
            QGlyphRun g;
            g.setRawFont(d->raw);
            QList<quint32> glyphs;
            QList<QPointF> places;
            for (int j = i; j < i + count; ++j) {
                glyphs.append(d->glyph[text.at(j).unicode() - '0']);
                places.append(at[j]);
            }
            g.setGlyphIndexes(glyphs);
            g.setPositions(places);
            tp.drawGlyphRun(origin - QPointF(zone.topLeft()), g);
        }
        for (const QRect &r : where)
            Blit(*target, offset, tile, zone.topLeft(), r);
    };
    for (const QRect &r : where)
        Blit(*target, offset, panel, QPoint(), r);
    for (int i = 0; i < n; ++i) {
        const int c = text.at(i).unicode() - '0';
        draw(l.own[i * 10 + c], l.own0[i], l.own1[i], i, 1);
        if (i + 1 < n)
            draw(l.seams[i * 100 + c * 10 + (text.at(i + 1).unicode() - '0')], l.own1[i],
                 l.seam1[i], i, 2);
    }
    return true;
}

QRect NumberDisplay::changedCells(const QString &from, const QString &to) const
{
    const int n = int(to.size());
    if (n != tilesLength || from.size() != n || n >= layouts.size() || !layouts[n] ||
        !layouts[n]->usable)
        return {};
    // Two neighbours share columns (a seam) only within both their reaches.
    const Layout &l = *layouts[n];
    int left = INT_MAX, right = INT_MIN;
    for (int i = 0; i < n; ++i)
        if (from.at(i) != to.at(i)) {
            left = std::min(left, l.reach0[i]);
            right = std::max(right, l.reach1[i]);
        }
    if (left >= right)
        return {};
    return QRect(left, tileKey.clip.top(), right - left, tileKey.clip.height()) & rect();
}

NumberDisplay::Layout NumberDisplay::lay(int n, const QRect &clip, QPointF origin,
                                         const QPointF *at, const void *digits) const
{
    const auto *d = static_cast<const Digits *>(digits);
    Layout l;
    // The columns each glyph place can reach, over all ten digits: drawn on a clear picture, at
    // the same fraction of a pixel, each place in a band of its own (one picture, one painter).
    QList<int> first(n), last(n);
    // A band holds the clip's rows and half as many above and below; a place's columns reach a
    // line's height to either side of its glyph's origin.
    const int height = clip.height(), margin = fontMetrics().height();
    const int band = 2 * height, above = height / 2;
    const int left = int(std::floor(origin.x() + at[0].x())) - margin;
    const int right = int(std::ceil(origin.x() + at[n - 1].x())) + 2 * margin;
    QImage probe(right - left, n * band, QImage::Format_ARGB32_Premultiplied);
    probe.fill(0);
    {
        QPainter pp(&probe);
        pp.setPen(Qt::black);
        QGlyphRun g; // all ten at the same place, in one run
        g.setRawFont(d->raw);
        g.setGlyphIndexes(QList<quint32>(std::begin(d->glyph), std::end(d->glyph)));
        g.setPositions(QList<QPointF>(10, QPointF(0, 0)));
        for (int i = 0; i < n; ++i)
            pp.drawGlyphRun(origin + at[i] - QPointF(left, clip.top() - above - i * band), g);
    }
    for (int i = 0; i < n; ++i) {
        // Ink is looked for from both ends of each row of the place's band.
        const int w = probe.width();
        int lo = INT_MAX, hi = INT_MIN;
        bool atEdge = false;
        for (int y = i * band; y < (i + 1) * band; ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(probe.constScanLine(y));
            int x = 0;
            while (x < w && row[x] == 0)
                ++x;
            if (x == w)
                continue; // no ink in this row
            atEdge = atEdge || y == i * band || y == (i + 1) * band - 1;
            lo = std::min(lo, x);
            x = w - 1;
            while (row[x] == 0)
                --x;
            hi = std::max(hi, x);
        }
        if (lo == INT_MAX || lo == 0 || hi == w - 1 || atEdge)
            return l; // no ink, or ink reaching the edge of its band: not laid out this way
        first[i] = std::max(left + lo, clip.left());
        last[i] = std::min(left + hi + 1, clip.right() + 1); // exclusive
    }
    l.own0.resize(n);
    l.own1.resize(n);
    l.seam1.resize(n);
    for (int i = 0; i < n; ++i) {
        // Glyphs two places apart must never meet, nor reach past each other.
        if ((i + 2 < n && last[i] > first[i + 2]) || (i + 1 < n && first[i + 1] < first[i]) ||
            (i + 1 < n && last[i + 1] < last[i]))
            return l;
        l.own0[i] = i > 0 ? std::max(first[i], last[i - 1]) : first[i];
        l.own1[i] = i + 1 < n ? std::min(last[i], first[i + 1]) : last[i];
        l.seam1[i] = i + 1 < n ? std::max(l.own1[i], last[i]) : l.own1[i];
        if (l.own1[i] < l.own0[i])
            return l;
    }
    l.reach0 = first;
    l.reach1 = last;
    l.own = QList<QImage>(n * 10);
    l.seams = QList<QImage>(n * 100);
    l.usable = true;
    return l;
}

} // namespace tintra
