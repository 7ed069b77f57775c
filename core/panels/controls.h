// Small building blocks shared by the panel builders: lamps, read-only numeric displays, buttons
// and the fonts the operator reads values in.
#pragma once

#include "widgets/colourbar.h"

#include <QColor>
#include <QFont>
#include <QSpinBox>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tintra {

// A round indicator lamp: lit in its own colour, out in dark grey.
class Lamp : public QWidget {
    Q_OBJECT
public:
    explicit Lamp(const QColor &onColour, QWidget *parent = nullptr);
    void setOn(bool on);
    bool isOn() const { return lit; }
    void setOnColour(const QColor &c);
    QColor onColour() const { return colour; }
    QSize sizeHint() const override { return {22, 22}; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor colour;
    bool lit = false;
};

// A numeric field that reports each step by arrow key, arrow button or wheel: a step is a
// commit, as Enter is.
class StepSpinBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override;

signals:
    void stepped();
};

// Font for numeric displays: fixed pitch, larger than the text around it.
// Top and bottom margin inside the group boxes of the pages that must fit a small screen.
constexpr int compactBoxMargin = 5;

QFont NumericFont(int pointSize = 13);

// A read-only one-line display named `name` (text is always plain, never markup).
QLineEdit *MakeDisplay(QWidget *parent, const char *name, int minChars = 6, bool numeric = true);

// A push button named `name`.
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption);

// A caption label named `name` placed before a control.
QLabel *MakeCaption(QWidget *parent, const char *name, const QString &text, QWidget *buddy);
// A bar of 0 ... 4095 filled in `colour` (such as "#e02020"); a right click shows `info`.
ColourBar *MakeColourBar(QWidget *parent, const char *name, const char *colour, const char *info,
                         int minWidth);

// Paints the button face in 0xRRGGBB (kept in the palette, so tests can read it back).
void SetButtonColour(QWidget *button, unsigned rgb);
unsigned ButtonColour(const QWidget *button);

} // namespace tintra
