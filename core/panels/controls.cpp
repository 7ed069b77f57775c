#include "controls.h"
#include "core/info.h"
#include "widgets/colourbar.h"
#include "widgets/numberdisplay.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace tintra {

Lamp::Lamp(const QColor &onColour, QWidget *parent) : QWidget(parent), colour(onColour)
{
    setFixedSize(sizeHint());
}

void Lamp::setOn(bool on)
{
    if (on == lit)
        return;
    lit = on;
    update();
}

void Lamp::setOnColour(const QColor &c)
{
    colour = c;
    update();
}

void Lamp::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.setBrush(lit ? colour : QColor(0x50, 0x50, 0x50));
    const int d = std::min(width(), height()) - 4;
    p.drawEllipse(QRect((width() - d) / 2, (height() - d) / 2, d, d));
}

void StepSpinBox::stepBy(int steps)
{
    QSpinBox::stepBy(steps);
    emit stepped();
}

QFont NumericFont(int pointSize)
{
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSize(pointSize);
    f.setBold(true);
    // Numbers need no shaping (no ligatures, no kerning in a fixed-width font): laying out a
    // display's new text every frame then skips the shaper.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

QLineEdit *MakeDisplay(QWidget *parent, const char *name, int minChars, bool numeric)
{
    // A numeric display changes every frame: it keeps its drawn panel (see NumberDisplay).
    QLineEdit *e = numeric ? new NumberDisplay(parent) : new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    if (numeric) {
        e->setFont(NumericFont());
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A display that changes every frame paints its whole rectangle itself (the corners
        // outside its frame in the panel's colour), so its group box is not repainted with it.
        e->setBackgroundRole(QPalette::Window);
        e->setAutoFillBackground(true);
        e->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    const int w = e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * minChars + 16;
    if (numeric)
        e->setFixedWidth(w); // numbers line up; the space goes to bars and graphs
    else
        e->setMinimumWidth(w);
    return e;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setMinimumHeight(30);
    return b;
}

QLabel *MakeCaption(QWidget *parent, const char *name, const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

void SetButtonColour(QWidget *button, unsigned rgb)
{
    QPalette pal = button->palette();
    pal.setColor(QPalette::Button, QColor::fromRgb(rgb));
    button->setPalette(pal);
}

unsigned ButtonColour(const QWidget *button)
{
    return button->palette().color(QPalette::Button).rgb() & 0xFFFFFFu;
}

ColourBar *MakeColourBar(QWidget *parent, const char *name, const char *colour, const char *info,
                         int minWidth)
{
    auto *b = new ColourBar(QColor(QLatin1String(colour)), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setRange(0, 4095);
    b->setValue(0);
    b->setMinimumWidth(minWidth);
    SetInfo(b, info);
    return b;
}

} // namespace tintra
