#include "numberdisplay.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionFrame>

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

} // namespace

NumberDisplay::NumberDisplay(QWidget *parent) : QLineEdit(parent)
{
    if (QStyle *s = SharedStyle())
        setStyle(s);
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
