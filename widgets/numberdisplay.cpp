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
#include <memory>
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
}

void NumberDisplay::paintEvent(QPaintEvent *e)
{
    if (!paintDigits())
        QLineEdit::paintEvent(e);
}

bool NumberDisplay::paintDigits()
{
    const QString t = text();
    if (t.isEmpty() || t.size() > 32 || hasFocus() || hasSelectedText() || echoMode() != Normal ||
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
    QPainter p(this);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &p, this);
    p.setClipRect(r);
    p.setPen(palette().text().color());
    run.setRawFont(d->raw);
    run.setGlyphIndexes(QList<quint32>(glyphs.begin(), glyphs.end()));
    run.setPositions(QList<QPointF>(at.begin(), at.end()));
    // The line edit places its layout's top a rounded ascent above the baseline of its font.
    const int top = line.top() - (qRound(d->ascent) - fontMetrics().ascent());
    p.drawGlyphRun(QPointF(line.right() + 1 - used, top + d->ascent), run);
    ++nDigits;
    return true;
}

bool NumberDisplay::drawKeptPanel(const QStyleOption *option, QPainter *painter,
                                  const QStyle *base)
{
    if (option->rect != rect() || !painter->device())
        return false;
    const qreal ratio = painter->device()->devicePixelRatio();
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    const Key key{option->rect.size(), ratio, option->state, option->palette.cacheKey(),
                  frame ? frame->lineWidth : -1};
    if (key == kept) {
        ++nKept;
    } else {
        // The whole rectangle in the background colour, then the panel on it: the corners
        // outside the rounded frame show the colour of what surrounds the display.
        panel = QImage((QSizeF(option->rect.size()) * ratio).toSize(), QImage::Format_RGB32);
        panel.setDevicePixelRatio(ratio);
        panel.fill(option->palette.color(backgroundRole()));
        QPainter p(&panel);
        p.translate(-option->rect.topLeft());
        base->drawPrimitive(QStyle::PE_PanelLineEdit, option, &p, this);
        kept = key;
    }
    painter->drawImage(option->rect.topLeft(), panel);
    return true;
}

} // namespace tintra
