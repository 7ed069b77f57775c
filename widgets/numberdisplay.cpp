#include "numberdisplay.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPaintEngine>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <algorithm>

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

// Draws the panel on an image filled with `background`.
QImage PanelOn(QColor background, const QStyleOption *option, const QStyle *base,
               const QWidget *widget)
{
    QImage img(option->rect.size(), QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    p.translate(-option->rect.topLeft());
    base->drawPrimitive(QStyle::PE_PanelLineEdit, option, &p, widget);
    return img;
}

} // namespace

NumberDisplay::NumberDisplay(QWidget *parent) : QLineEdit(parent)
{
    if (QStyle *s = SharedStyle())
        setStyle(s);
}

void NumberDisplay::paintEvent(QPaintEvent *e)
{
    painting = e->region();
    QLineEdit::paintEvent(e);
    painting = QRegion();
}

bool NumberDisplay::drawKeptPanel(const QStyleOption *option, QPainter *painter,
                                  const QStyle *base)
{
    // The panel is drawn onto what the window's buffer holds beneath the display (a display
    // paints its whole rectangle itself, so that is its own last picture); reading it needs the
    // buffer as an image, unscaled and unrotated.
    QPaintEngine *engine = painter->paintEngine();
    QPaintDevice *device = engine ? engine->paintDevice() : nullptr;
    const QTransform t = painter->deviceTransform();
    if (painting.isEmpty() || option->rect != rect() || !device ||
        device->devType() != QInternal::Image || t.type() > QTransform::TxTranslate ||
        device->devicePixelRatio() != 1)
        return false;
    const auto *buffer = static_cast<const QImage *>(device);
    const QRect target = rect().translated(qRound(t.dx()), qRound(t.dy()));
    if (buffer->depth() != 32 || !buffer->rect().contains(target))
        return false;
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    const Key key{option->rect.size(), option->state, option->palette.cacheKey(),
                  frame ? frame->lineWidth : -1};
    if (!(key == kept)) {
        // Drawn on black and on white: where the two differ, the panel lets the background
        // through. Only those pixels (an edge of `margin` pixels) depend on what lies beneath.
        const QImage dark = PanelOn(Qt::black, option, base, this);
        const QImage light = PanelOn(Qt::white, option, base, this);
        int margin = 0;
        for (int y = 0; y < dark.height(); ++y) {
            const auto *a = reinterpret_cast<const QRgb *>(dark.constScanLine(y));
            const auto *b = reinterpret_cast<const QRgb *>(light.constScanLine(y));
            for (int x = 0; x < dark.width(); ++x)
                if (a[x] != b[x])
                    margin = std::max(margin, 1 + std::min({x, y, dark.width() - 1 - x,
                                                            dark.height() - 1 - y}));
        }
        kept = key;
        middle = rect().adjusted(margin, margin, -margin, -margin);
        beneath = QImage();
    }
    // The kept panel serves while the edge beneath is what it was drawn on (the middle is
    // covered whatever lies there).
    bool same = !beneath.isNull() && beneath.format() == buffer->format();
    for (int y = 0; same && y < target.height(); ++y) {
        const auto *now = reinterpret_cast<const quint32 *>(buffer->constScanLine(target.y() + y)) +
                          target.x();
        const auto *then = reinterpret_cast<const quint32 *>(beneath.constScanLine(y));
        const bool edgeRow = y < middle.top() || y > middle.bottom();
        const int w = target.width();
        const int skipFrom = edgeRow ? w : middle.left(), skipTo = edgeRow ? w : middle.right() + 1;
        same = std::equal(now, now + skipFrom, then) && std::equal(now + skipTo, now + w, then + skipTo);
    }
    if (!same) {
        beneath = buffer->copy(target);
        panel = beneath.copy();
        QPainter p(&panel);
        p.translate(-option->rect.topLeft());
        base->drawPrimitive(QStyle::PE_PanelLineEdit, option, &p, this);
    } else {
        ++nKept;
    }
    painter->drawImage(QPoint(0, 0), panel);
    return true;
}

} // namespace tintra
