// A read-only display for a number that changes every frame (a line edit in look and use).
//
// Its panel (background, rounded frame, inner shadow) looks the same from frame to frame; the
// style strokes it anew on every repaint, which costs several times what the digits do. The
// display draws the panel once, on its own background colour, keeps it and copies it on every
// repaint until its size, state or colours change. Drawn on its own background, the frame's
// anti-aliased corners look the same whatever the window's buffer held there before (an opaque
// widget gets no background fill from the window, so a panel stroked straight into the buffer
// blends its corners into stale pixels, and again on every repaint).
//
// The digits are drawn from glyphs laid out once per font: a line edit would measure its text
// again on every repaint and lay it out anew to draw it. They land where the line edit puts
// them (right-aligned, vertically centred), in its colours; any other text, alignment, a focus
// or a selection is painted by the line edit itself.
//
// Where every digit of the font has the same whole-pixel advance and stays inside it, a digit's
// place depends only on how far from the right end it stands. The display then keeps, for each
// place and digit met so far, the finished pixels (the panel with the digit drawn on it, by the
// painter, once) and a repaint is a few plain copies into the window's picture.
//
// While it draws its digits itself, the line edit's own text layout goes unused, yet a line edit
// lays out every new text (about half of what setting it costs). The display then turns the
// line edit's echo off: the text is kept and read as before, only its layout is skipped. The echo
// comes back before the line edit has anything to show or do with it: a text other than digits,
// a paint the display leaves to the line edit, a mouse press (selecting and copying), the focus,
// or an accessibility client (which reads the shown text).
//
// The line edit is not even given the numbers of a live stream while it has no use for them (see
// showNumber): the display draws the number it was given, and the line edit catches up before
// its echo comes back or when the stream stops.
//
// A new number as long as the one drawn from kept digits repaints only the columns its changed
// digits can reach: on a live display usually the last one or two places, not the whole panel.
// Less is painted, and far less travels to the screen (on X11 the pixels go over the
// connection).
#pragma once

#include <QAccessible>
#include <QGlyphRun>
#include <QImage>
#include <QLineEdit>
#include <QStyle>
#include <memory>

namespace tintra {

class NumberDisplay : public QLineEdit {
public:
    explicit NumberDisplay(QWidget *parent = nullptr);
    ~NumberDisplay() override;

    // Called by the display's style for its panel: draws the kept panel (drawn first if need
    // be). False when the style must draw it itself.
    bool drawKeptPanel(const QStyleOption *option, QPainter *painter, const QStyle *base);
    int panelsKept() const { return nKept; } // repaints served from the kept panel
    int digitsPainted() const { return nDigits; } // repaints that drew the digits themselves
    int tilesPainted() const { return nTiles; }   // of them, repaints made of kept digits

    bool echoSkipped() const { return quiet; } // the line edit lays out no text

    // Shows the decimal digits of a number. While numbers may wait (see letNumbersWait) and the
    // display draws its digits itself or is hidden, the number is only drawn (or kept to be
    // drawn when the display is shown): the line edit is given it when it has a use for it (the
    // echo coming back, see above) or when numbers stop waiting. Giving a line edit its text
    // costs several times what drawing the digits does, and a live display gets a new number
    // every frame. A live display's numbers are given through here: a setText of a different
    // text replaces a waiting number, but one of the line edit's own (older) text changes
    // nothing in a line edit, so the waiting number would stay on screen.
    void showNumber(const QString &digits);
    // The text on screen: a waiting number, else the line edit's text. Code that takes a value
    // from a display reads this (see ShownText below), not text().
    QString shownText() const { return behind ? waiting : text(); }
    bool numberWaiting() const { return behind; }
    // While on, numbers given to showNumber may wait; turning it off gives every display its
    // waiting number. The acquisition loop turns it on while it runs, so that the line edits hold
    // the numbers shown whenever the loop is not running.
    static void letNumbersWait(bool on);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;

private:
    // Turns the line edit's echo off (`on`) or back on.
    void setQuiet(bool on);
    // Echo on, and the line edit's scroll worked out, before the mouse selects.
    void readyForMouse();
    // After each new text: quiet while it is digits the display drew last time, else not.
    void textSet();
    bool quiet = false;
    // The line edit is given the waiting number (and textSet runs as for any new text).
    void catchUp();
    QString waiting;     // the number shown, not yet given to the line edit
    bool behind = false; // a number waits
    bool digitsShown = false; // the last paint drew the digits
    int tilesLength = -1;     // the last paint was made of kept digits, for a text this long
    // The columns of the display a change from `from` to `to` repaints: those the changed places'
    // digits can reach, over the text line. Null when that is not known (other lengths, a paint
    // not made of kept digits): the whole display is repainted then.
    QRect changedCells(const QString &from, const QString &to) const;
    bool unseenPaint = false; // the line edit paints into a scratch picture
    struct Reader : QAccessible::ActivationObserver {
        NumberDisplay *display = nullptr;
        bool active = false; // an accessibility client reads the window
        void accessibilityActiveChanged(bool active) override;
    } reader;
    // Draws the panel and the digits; false (nothing drawn) when the line edit must paint.
    bool paintDigits();
    // The panel for `option` kept up to date (drawn anew when its key changed).
    void keepPanel(const QStyleOption *option, const QStyle *base);
    // Copies the kept panel and the kept digits of `text` (glyph i at `origin` + at[i], clipped
    // to `clip`, the line ending before `right`) into `target`, where the display lies at
    // `offset`, within `system` (the picture's clip for this paint, if any); false (nothing
    // drawn) when the picture or the font does not allow it.
    bool paintTiles(QImage *target, QPoint offset, const QRegion &system, const QString &text,
                    const QRect &clip, int right, QPointF origin, const QPointF *at,
                    const void *digits);
    struct Layout;
    Layout lay(int n, const QRect &clip, QPointF origin, const QPointF *at,
               const void *digits) const;

    struct Key {
        QSize size;
        qreal ratio = 0;
        QStyle::State state;
        qint64 palette = -1;
        int lineWidth = -1;
        bool operator==(const Key &) const = default;
    };
    Key kept;
    QImage panel;
    int nKept = 0;
    int nDigits = 0;
    int nTiles = 0;
    // Kept digits, per length of text (see Layout), valid for the panel, colour, font, place and
    // picture format they were made for.
    struct TileKey {
        Key panel;
        QRgb colour = 0;
        const void *digits = nullptr;
        QRect clip;
        int right = 0;
        qreal baseline = 0;
        QImage::Format format = QImage::Format_Invalid;
        bool operator==(const TileKey &) const = default;
    };
    TileKey tileKey;
    QList<std::shared_ptr<Layout>> layouts;
    QGlyphRun run; // kept: its glyph and position lists are reused
};

// The text a line edit shows: a number display's waiting number, else the line edit's text.
inline QString ShownText(const QLineEdit *e)
{
    const auto *d = dynamic_cast<const NumberDisplay *>(e);
    return d ? d->shownText() : e->text();
}

} // namespace tintra
