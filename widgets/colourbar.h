// A level bar for a value that changes every frame: a grey frame, a light groove and a solid
// chunk in the bar's colour filling it from the left in proportion to the value, rounded down
// (full only at the top of the range). It looks, and takes its place in a layout, exactly like
// a progress bar dressed by the style sheet
//   QProgressBar { border: 1px solid #808080; background: #f4f4f4; min-height: 16px; }
//   QProgressBar::chunk { background: <colour>; }
//
// A progress bar asks its style on every new value whether a repaint is due (formatting its
// percentage text for that, about 10 000 instructions a value) and, in the plain styles, skips
// repaints for changes smaller than a chunk of several pixels, so the bar lags behind small
// changes. This bar keeps just a number: a new value costs a comparison, and the bar is
// repainted whenever its filled width changes.
#pragma once

#include <QColor>
#include <QWidget>

namespace tintra {

class ColourBar : public QWidget {
    Q_OBJECT
public:
    explicit ColourBar(const QColor &chunk, QWidget *parent = nullptr);

    int value() const { return level; }
    // Values beyond the range are shown at its end.
    void setValue(int v);
    int minimum() const { return lo; }
    int maximum() const { return hi; }
    void setRange(int minimum, int maximum);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr QRgb frameColour = 0xff808080, grooveColour = 0xfff4f4f4;
    static constexpr int minimumGroove = 16; // least height inside the frame

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    int filledWidth() const; // pixels of the groove the chunk covers
    void showLevel();        // repaints when the filled width changed
    QColor chunk;
    int lo = 0, hi = 100, level = 0;
    int shownFill = -1; // as last painted
};

} // namespace tintra
