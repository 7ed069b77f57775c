// A read-only display for a number that changes every frame (a line edit in look and use).
//
// Its panel (background, rounded frame, inner shadow) looks the same from frame to frame; the
// style strokes it anew on every repaint, which costs several times what the digits do. The
// display keeps the panel once drawn and, when a repaint stays inside the panel's opaque middle
// (a new number repaints the text area only), copies it from there. A repaint that reaches the
// frame's edge draws through the style as before: the edge blends into what lies beneath it.
#pragma once

#include <QLineEdit>
#include <QImage>
#include <QRegion>
#include <QStyle>

namespace tintra {

class NumberDisplay : public QLineEdit {
public:
    explicit NumberDisplay(QWidget *parent = nullptr);

    // Called by the display's style for its panel: draws the kept panel when the repaint in
    // progress lies inside the panel's middle. False when the style must draw it.
    bool drawKeptPanel(const QStyleOption *option, QPainter *painter, const QStyle *base);
    int panelsKept() const { return nKept; } // repaints served from the kept panel

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    struct Key {
        QSize size;
        QStyle::State state;
        qint64 palette = -1;
        int lineWidth = -1;
        bool operator==(const Key &) const = default;
    };
    QRegion painting;
    Key kept;
    QRect middle;   // the pixels the panel draws alike on any background
    QImage beneath; // what the kept panel was drawn on
    QImage panel;   // ... and the result
    int nKept = 0;
};

} // namespace tintra
