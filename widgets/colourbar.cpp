#include "colourbar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionProgressBar>
#include <algorithm>

namespace tintra {

ColourBar::ColourBar(const QColor &chunk, QWidget *parent) : QWidget(parent), chunk(chunk)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(minimumGroove + 2);
    // Every pixel is drawn: nothing of the parent needs painting beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourBar::setValue(int v)
{
    v = std::clamp(v, lo, hi);
    if (v == level)
        return;
    level = v;
    showLevel();
}

void ColourBar::setRange(int minimum, int maximum)
{
    lo = minimum;
    hi = std::max(minimum, maximum);
    level = std::clamp(level, lo, hi);
    showLevel();
}

QSize ColourBar::sizeHint() const
{
    // A progress bar's: seven chunks and four digits wide, a text line and some air high, as
    // the style sizes a bar of that content, and the frame's pixel on each side.
    ensurePolished();
    QStyleOptionProgressBar option;
    option.initFrom(this);
    option.state |= QStyle::State_Horizontal;
    option.minimum = lo;
    option.maximum = hi;
    option.progress = level;
    const int chunkWidth = style()->pixelMetric(QStyle::PM_ProgressBarChunkWidth, &option, this);
    const QFontMetrics fm = fontMetrics();
    const QSize content(std::max(9, chunkWidth) * 7 + fm.horizontalAdvance(u'0') * 4,
                        fm.height() + 8);
    return style()->sizeFromContents(QStyle::CT_ProgressBar, &option, content, this) +
           QSize(2, 2);
}

QSize ColourBar::minimumSizeHint() const
{
    return QSize(sizeHint().width(), fontMetrics().height() + 2);
}

int ColourBar::filledWidth() const
{
    const int groove = std::max(0, width() - 2);
    const double share = hi > lo ? double(level - lo) / double(hi - lo) : 0.0;
    return std::clamp(int(groove * share), 0, groove);
}

void ColourBar::showLevel()
{
    if (filledWidth() != shownFill)
        update();
}

void ColourBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect all = rect();
    const QRect groove = all.adjusted(1, 1, -1, -1);
    const QColor frame = QColor::fromRgb(frameColour);
    p.fillRect(QRect(all.left(), all.top(), all.width(), 1), frame);
    p.fillRect(QRect(all.left(), all.bottom(), all.width(), 1), frame);
    p.fillRect(QRect(all.left(), groove.top(), 1, groove.height()), frame);
    p.fillRect(QRect(all.right(), groove.top(), 1, groove.height()), frame);
    if (groove.isEmpty())
        return;
    const int filled = filledWidth();
    shownFill = filled;
    QRect chunkPart = groove, rest = groove;
    chunkPart.setWidth(filled);
    rest.setLeft(groove.left() + filled);
    if (layoutDirection() == Qt::RightToLeft) {
        chunkPart.moveRight(groove.right());
        rest.moveLeft(groove.left());
    }
    if (!chunkPart.isEmpty())
        p.fillRect(chunkPart, chunk);
    if (!rest.isEmpty())
        p.fillRect(rest, QColor::fromRgb(grooveColour));
}

} // namespace tintra
