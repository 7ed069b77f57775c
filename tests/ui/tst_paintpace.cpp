// What reaches the screen during a live stream: a window is repainted at most once per screen
// refresh however often its widgets change, the last change is always shown, an idle window
// repaints at once, and a moving cursor repaints only its own pixels while the window's picture
// ends up exactly as a full redraw would paint it.
#include "core/display/paintpace.h"
#include "core/graphs/liveplot.h"
#include "core/panels/controls.h"
#include "widgets/numberdisplay.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPaintEvent>
#include <QProgressBar>
#include <QScreen>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QtTest>
#include <functional>

using namespace tintra;

namespace {

// Remembers when, and where, a widget was painted.
class PaintLog : public QObject {
public:
    explicit PaintLog(QWidget *w) : clock() { clock.start(); w->installEventFilter(this); }
    QList<qint64> at;      // ms since the log started
    QList<QRegion> where;
    QElapsedTimer clock;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) {
            at.append(clock.elapsed());
            where.append(static_cast<QPaintEvent *>(e)->region());
        }
        return false;
    }
};

QImage OnScreen(QWidget *w)
{
    return w->screen()->grabWindow(w->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// Shows a small window and lets its first repaints pass.
bool ShownAndSettled(QWidget &w)
{
    w.resize(200, 100);
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return false;
    QTest::qWait(50);
    return true;
}

// A numeric display beside a plain read-only line edit dressed the same, both first covered by a
// red widget: the display's first paint lands on stale pixels.
struct DisplayPair {
    QWidget w;
    QLineEdit *shown = nullptr;
    QLineEdit *plain = nullptr;

    explicit DisplayPair(qreal spacing = 0)
    {
        w.resize(300, 60);
        shown = MakeDisplay(&w, "DispShown", 5);
        QFont font = shown->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        shown->setFont(font);
        plain = new QLineEdit(&w);
        plain->setReadOnly(true);
        plain->setFocusPolicy(Qt::NoFocus);
        plain->setFont(shown->font());
        plain->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        plain->setBackgroundRole(QPalette::Window);
        plain->setAutoFillBackground(true);
        plain->setGeometry(20 + shown->width(), 10, shown->width(), shown->sizeHint().height());
        shown->setGeometry(10, 10, shown->width(), shown->sizeHint().height());
    }
    bool shownAndUncovered()
    {
        auto *cover = new QWidget(&w);
        QPalette red;
        red.setColor(QPalette::Window, QColor(0xFF0000u));
        cover->setPalette(red);
        cover->setAutoFillBackground(true);
        cover->setGeometry(0, 0, 300, 60);
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            return false;
        cover->hide();
        return true;
    }
    void setText(const QString &t)
    {
        plain->setText(t);
        shown->setText(t);
    }
    // The repaints asked for so far are through.
    static bool settled()
    {
        QCoreApplication::processEvents(); // the repaint requests reach the pacer
        if (!QTest::qWaitFor([] { return !PaintsWaiting(); }))
            return false;
        QCoreApplication::processEvents();
        return true;
    }
    // Once the repaints are through, both show the same pixels.
    bool lookAlike()
    {
        if (!settled())
            return false;
        const QImage screen = OnScreen(&w);
        return screen.copy(shown->geometry()) == screen.copy(plain->geometry());
    }
};

} // namespace

class TestPaintPace : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { StartPaintPacing(); }
    void cleanupTestCase() { StopPaintPacing(); }

    void fastChangesArePaintedOncePerRefresh()
    {
        QWidget w;
        QVERIFY(ShownAndSettled(w));
        PaintLog log(&w);
        const long heldBefore = PaintsHeld();

        // Idle window: a change is painted in the same event-loop pass.
        w.update();
        QCoreApplication::processEvents();
        QCOMPARE(log.at.size(), 1);

        // 40 changes about 2 ms apart (a 500 Hz stream) in about 80 ms and more.
        qint64 lastChange = 0;
        for (int i = 0; i < 40; ++i) {
            w.update();
            lastChange = log.clock.elapsed();
            QTest::qWait(2);
        }
        // The last change reaches the screen one refresh period (60 Hz) later at most; the band
        // leaves room for a loaded machine.
        QTRY_VERIFY(!log.at.isEmpty() && log.at.last() >= lastChange);
        QVERIFY2(log.at.last() - lastChange <= 17 + 100,
                 qPrintable(QString::number(log.at.last() - lastChange)));
        // Paints are at least one refresh period apart (a millisecond of rounding allowed).
        for (int i = 1; i < log.at.size(); ++i)
            QVERIFY2(log.at[i] - log.at[i - 1] >= 15,
                     qPrintable(QStringLiteral("paint %1 after %2 ms").arg(i).arg(log.at[i] - log.at[i - 1])));
        QVERIFY2(log.at.size() <= 1 + int(lastChange / 15) + 2, qPrintable(QString::number(log.at.size())));
        QVERIFY(PaintsHeld() > heldBefore);
    }

    // A hold (the acquisition loop's exchange with the sensor) keeps repaints back until it is
    // ended, which carries them out at once, or until its time is up, so a sensor that does not
    // answer never freezes the window.
    void holdDefersRepaintsForAtMostItsTime()
    {
        QWidget w;
        QVERIFY(ShownAndSettled(w));
        PaintLog log(&w);
        for (const bool endEarly : {true, false}) {
            log.at.clear();
            HoldPaintsFor(endEarly ? 2000 : 150);
            const qint64 start = log.clock.elapsed();
            w.update();
            QTest::qWait(60);
            QVERIFY(log.at.isEmpty());
            QVERIFY(PaintsWaiting());
            if (endEarly) {
                EndPaintHold();
                QCOMPARE(log.at.size(), 1); // at once, not after the hold's 2 s
            } else {
                QTRY_COMPARE(log.at.size(), 1);
                QVERIFY2(log.at.first() - start >= 150, qPrintable(QString::number(log.at.first() - start)));
            }
            QTest::qWait(50);
        }
    }

    void movingCursorRepaintsOnlyItsPixels()
    {
        PlaneGraph g(QStringLiteral("PaceGraph"));
        g.resize(400, 300);
        g.setRanges({0, 4096}, {0, 4096});
        g.addCircle(2000, 2000, 300, Qt::red, 3);
        g.setCursorPos(1000, 1000);
        g.show();
        g.activateWindow(); // activation repaints the whole window: get it done first
        QVERIFY(QTest::qWaitForWindowActive(&g));
        g.refresh();
        QTRY_COMPARE(LivePlot::pendingDraws(), 0);
        QTRY_VERIFY(!PaintsWaiting());

        PaintLog log(&g);
        const int fullBefore = g.replotsDone();
        const double pos[][2] = {{1200, 900}, {3000, 3500}, {3001, 3500}, {100, 4000}, {2000, 2000}};
        for (const auto &p : pos) {
            g.setCursorPos(p[0], p[1]);
            g.refresh();
            QTRY_COMPARE(LivePlot::pendingDraws(), 0);
            QTRY_VERIFY(!PaintsWaiting());
        }
        QCOMPARE(g.replotsDone(), fullBefore); // axes, circles, grid not redrawn
        QVERIFY(!log.where.isEmpty());
        // Each paint covers two thin bands (the cross-hair before and after), far from the plot.
        const int whole = g.width() * g.height();
        for (const QRegion &r : log.where) {
            int area = 0;
            for (const QRect &rc : r)
                area += rc.width() * rc.height();
            QVERIFY2(area < whole / 5, qPrintable(QString::number(area)));
        }
        // What the window shows is what a full redraw paints: no cursor left behind.
        QTRY_VERIFY(OnScreen(&g) == g.grab().toImage().convertToFormat(QImage::Format_RGB32));
        QCOMPARE(g.cursorPos(), QPointF(2000, 2000));
        // ... and the cross-hair is there, black across the plotting area (on the pixel row and
        // column its position rounds to).
        const QImage screen = OnScreen(&g);
        const QRect box = g.axisRect()->rect();
        const double cx = g.xAxis->coordToPixel(2000), cy = g.yAxis->coordToPixel(2000);
        const auto black = [&](int x, int y) { return QColor(screen.pixel(x, y)) == Qt::black; };
        for (int i = 1; i < 10; ++i) {
            const int y = box.top() + box.height() * i / 10, x = box.left() + box.width() * i / 10;
            QVERIFY2(black(qFloor(cx), y) || black(qCeil(cx), y), qPrintable(QString::number(y)));
            QVERIFY2(black(x, qFloor(cy)) || black(x, qCeil(cy)), qPrintable(QString::number(x)));
        }
    }

    // A plot whose window was repainted less than a refresh period ago is not drawn for each
    // change: it waits, and is drawn once for all of them when its window is due. The loop's
    // call (no coming back) leaves it to the next call; the event loop's comes back by itself.
    // Either way the screen ends up as a full redraw paints it.
    void plotWaitsForItsWindowsRepaint()
    {
        PlaneGraph g(QStringLiteral("WaitGraph"));
        g.resize(400, 300);
        g.setRanges({0, 4096}, {0, 4096});
        g.setCursorPos(1000, 1000);
        g.show();
        g.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&g));
        for (const bool later : {false, true}) {
            bool waited = false;
            for (int attempt = 0; attempt < 20 && !waited; ++attempt) {
                QTRY_COMPARE(LivePlot::pendingDraws(), 0);
                QTRY_VERIFY(!PaintsWaiting());
                QTest::qWait(20);
                g.update();
                QCoreApplication::processEvents(); // an idle window is repainted at once
                const int drawn = g.cursorReplots();
                for (const double x : {1500.0, 2500.0, 3500.0 - attempt}) {
                    g.setCursorPos(x, 4096 - x);
                    g.refresh();
                }
                if (MsUntilRepaint(&g) < 3)
                    continue; // a busy machine let the period pass: no wait to see
                LivePlot::drawPending(later);
                QCOMPARE(g.cursorReplots(), drawn);
                QCOMPARE(LivePlot::pendingDraws(), 1);
                waited = true;
                if (!later) {
                    QTRY_COMPARE(MsUntilRepaint(&g), 0.0);
                    QCOMPARE(LivePlot::pendingDraws(), 1); // nothing came back for it
                    LivePlot::drawPending(false);
                }
                QTRY_COMPARE(LivePlot::pendingDraws(), 0);
                QCOMPARE(g.cursorReplots(), drawn + 1);
                QTRY_VERIFY(!PaintsWaiting());
                QTRY_VERIFY(OnScreen(&g) == g.grab().toImage().convertToFormat(QImage::Format_RGB32));
            }
            QVERIFY2(waited, later ? "event loop" : "acquisition loop");
        }
    }

    // A plot whose window is due is drawn about a millisecond after its change, even while
    // another window's plot waits for its own window: it does not wait behind that one.
    void duePlotDoesNotWaitBehindAnotherWindow()
    {
        PlaneGraph a(QStringLiteral("WaitingGraph")), b(QStringLiteral("DueGraph"));
        for (PlaneGraph *g : {&a, &b}) {
            g->resize(300, 200);
            g->setRanges({0, 4096}, {0, 4096});
            g->setCursorPos(1000, 1000);
            g->show();
            QVERIFY(QTest::qWaitForWindowExposed(g));
        }
        bool seen = false;
        for (int attempt = 0; attempt < 20 && !seen; ++attempt) {
            QTRY_COMPARE(LivePlot::pendingDraws(), 0);
            QTRY_VERIFY(!PaintsWaiting());
            QTest::qWait(20); // both windows due
            a.update();
            QCoreApplication::processEvents(); // a repainted now: its next repaint a period on
            a.setCursorPos(2000 + attempt, 2000);
            a.refresh();
            LivePlot::drawPending(); // a waits, the timer set for when its window is due
            if (LivePlot::pendingDraws() != 1 || MsUntilRepaint(&a) < 6)
                continue; // a busy machine let the period pass: no wait to see
            const int drawn = b.cursorReplots();
            b.setCursorPos(3000 + attempt, 1000);
            b.refresh();
            // Looked at after every event (QTRY_VERIFY looks every 50 ms, after a's window is due).
            QTimer tick; // something to wake the loop for
            tick.start(5);
            QElapsedTimer t;
            t.start();
            while (b.cursorReplots() == drawn && t.elapsed() < 1000)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            QVERIFY(b.cursorReplots() > drawn);
            // Drawn well before a's window is due, with a still waiting.
            if (MsUntilRepaint(&a) < 2)
                continue;
            QCOMPARE(LivePlot::pendingDraws(), 1);
            seen = true;
        }
        QVERIFY2(seen, "the due plot was drawn only with the waiting one");
        QTRY_COMPARE(LivePlot::pendingDraws(), 0);
    }

    // A numeric display that keeps its drawn panel shows, frame after frame, exactly what a
    // plain line edit on a filled background shows: numbers of changing width, a new colour
    // scheme (the panel drawn afresh) and a disabled state. It first appears where another
    // widget was painted: its anti-aliased corners must not blend into those stale pixels.
    // The display's own font, and the same with its digits pushed together, so that neighbours
    // draw into the same pixel columns (the display keeps those columns per pair of digits).
    void numberDisplayLooksLikeALineEdit_data()
    {
        QTest::addColumn<qreal>("spacing");
        QTest::addColumn<bool>("kept"); // every repaint from kept digit pictures
        QTest::newRow("own font") << qreal(0) << true;
        QTest::newRow("digits overlapping") << qreal(-2.5) << true;
        // Digits reaching over their neighbours into the next ones: longer texts are drawn glyph
        // by glyph.
        QTest::newRow("digits crowded") << qreal(-6) << false;
    }

    void numberDisplayLooksLikeALineEdit()
    {
        QFETCH(qreal, spacing);
        QFETCH(bool, kept);
        DisplayPair pair(spacing);
        QVERIFY(pair.shownAndUncovered());
        QLineEdit *shown = pair.shown, *plain = pair.plain;
        auto *display = dynamic_cast<NumberDisplay *>(shown);
        QVERIFY(display);
        // The widest digits, 4 and 9, next to each other too.
        const char *texts[] = {"0", "4095", "17", "1234", "999", "4", "65535", "0", "321", "12",
                               "4949", "9944", "5678", "8060", "27"};
        for (int i = 0; i < 45; ++i) {
            if (i == 15 || i == 30) {
                QPalette p = plain->palette();
                p.setColor(QPalette::Window, i == 15 ? QColor(0x00A000u) : QColor(0xEFEFEFu));
                p.setColor(QPalette::Base, i == 15 ? QColor(0xFF0000u) : QColor(0xFFFFFFu));
                p.setColor(QPalette::Text, i == 15 ? QColor(0xE0E0E0u) : QColor(0x000000u));
                plain->setPalette(p);
                shown->setPalette(p);
            }
            if (i == 36 || i == 40) {
                plain->setEnabled(i == 40);
                shown->setEnabled(i == 40);
            }
            pair.setText(QString::fromLatin1(texts[i % 15]));
            QVERIFY2(pair.lookAlike(), qPrintable(QString::number(i)));
        }
        QVERIFY2(display->panelsKept() > 10, qPrintable(QString::number(display->panelsKept())));
        QVERIFY2(display->digitsPainted() > 10,
                 qPrintable(QString::number(display->digitsPainted())));
        QVERIFY2(kept ? display->tilesPainted() == display->digitsPainted()
                      : display->tilesPainted() < display->digitsPainted(),
                 qPrintable(QStringLiteral("%1 of %2").arg(display->tilesPainted())
                                .arg(display->digitsPainted())));
    }

    // A display that draws its digits itself lets the line edit skip laying them out (echo off),
    // and still reads and looks like a line edit. The layout is back for any other text, after a
    // paint the line edit made, for selecting with the mouse and while an accessibility client
    // reads the window.
    void numberDisplaySkipsTheLayoutItDoesNotShow()
    {
        DisplayPair pair;
        QVERIFY(pair.shownAndUncovered());
        auto *display = dynamic_cast<NumberDisplay *>(pair.shown);
        QVERIFY(display);
        const auto step = [&](const char *text, bool skipped) {
            pair.setText(QString::fromLatin1(text));
            return display->echoSkipped() == skipped &&
                   display->text() == QString::fromLatin1(text) && pair.lookAlike();
        };
        // Skipped from the text after one whose digits the display drew.
        const std::pair<const char *, bool> steps[] = {
            {"12", false}, {"345", true}, {"-7", false}, {"89", false}, {"4095", true},
            {"", false},   {"1", false},  {"2", true},   {"x1", false}, {"0", false}, {"65", true}};
        for (const auto &[text, skipped] : steps)
            QVERIFY2(step(text, skipped), text);

        // Dragging over the number or a double click on it selects it, as in a line edit; the
        // line edit paints the selection, the next number shows as before.
        const QPoint end(display->width() - 4, display->height() / 2), start(4, end.y());
        const auto selects = [&](const std::function<void()> &mouse, const char *next) {
            mouse();
            return display->selectedText() == display->text() && !display->echoSkipped() &&
                   DisplayPair::settled() && step("5", false) && step(next, true);
        };
        QVERIFY(selects(
            [&] {
                QTest::mousePress(display, Qt::LeftButton, {}, end);
                QTest::mouseMove(display, start);
                QTest::mouseRelease(display, Qt::LeftButton, {}, start);
            },
            "66"));
        QVERIFY(selects([&] { QTest::mouseDClick(display, Qt::LeftButton, {}, end); }, "67"));

        QAccessible::setActive(true);
        QVERIFY(!display->echoSkipped());
        const bool readAlong = step("68", false) && step("69", false);
        QAccessible::setActive(false);
        QVERIFY(readAlong);
        QVERIFY(step("70", true));

        // A selection made by the program while the echo is off: the line edit paints it.
        pair.shown->selectAll();
        pair.plain->selectAll();
        QVERIFY(pair.lookAlike());
        QVERIFY(!display->echoSkipped());

        // A click puts the cursor where a line edit puts it (the line edit's scroll is known
        // although it did not paint the number); at the edge between two characters a pixel's
        // rounding may pick the other one.
        QVERIFY(step("3210", false));
        for (int x = 2; x < display->width() - 2; x += 3) {
            QTest::mouseClick(pair.plain, Qt::LeftButton, {}, QPoint(x, end.y()));
            QTest::mouseClick(display, Qt::LeftButton, {}, QPoint(x, end.y()));
            QVERIFY2(std::abs(display->cursorPosition() - pair.plain->cursorPosition()) <= 1,
                     qPrintable(QString::number(x)));
        }
    }

    // While numbers may wait (a live stream), a display that draws its digits itself only draws
    // a new number: the line edit gets it, as its text, before it shows or uses its text (a mouse
    // press, an accessibility client, a paint of its own) and when the stream ends. The screen
    // shows every number at once; a text the program sets replaces a waiting number.
    void numberDisplayLetsNumbersWait()
    {
        DisplayPair pair;
        QVERIFY(pair.shownAndUncovered());
        auto *display = dynamic_cast<NumberDisplay *>(pair.shown);
        QVERIFY(display);
        QSignalSpy texts(display, &QLineEdit::textChanged);
        NumberDisplay::letNumbersWait(true);
        auto stop = qScopeGuard([] { NumberDisplay::letNumbersWait(false); });
        // Shows a number; true when the screen matches the plain line edit, the line edit holds
        // `text` (null: the number) and was told of `told` texts since the last step.
        const auto step = [&](const char *number, const char *text, int told) {
            pair.plain->setText(QString::fromLatin1(number));
            display->showNumber(QString::fromLatin1(number));
            const bool ok = pair.lookAlike() && display->shownText() == pair.plain->text() &&
                            display->text() == QString::fromLatin1(text ? text : number) &&
                            texts.size() == told;
            texts.clear();
            return ok;
        };
        // The first numbers are texts: until the display drew digits, the echo is on.
        QVERIFY(step("12", nullptr, 1));
        QVERIFY(step("345", nullptr, 1));
        QVERIFY(step("4095", "345", 0));
        QVERIFY(step("7", "345", 0));
        QVERIFY(step("-7", nullptr, 1)); // not a number the display draws: the echo is back
        QVERIFY(step("8", nullptr, 1));
        QVERIFY(step("98", nullptr, 1));
        QVERIFY(step("99", "98", 0));

        // A double click selects the number on screen.
        const QPoint end(display->width() - 4, display->height() / 2);
        QTest::mouseDClick(display, Qt::LeftButton, {}, end);
        QCOMPARE(display->selectedText(), QStringLiteral("99"));
        QVERIFY(step("100", nullptr, 2)); // the caught-up number and this one
        QVERIFY(step("101", "100", 0));

        // An accessibility client reads the number on screen, and every one after it.
        QAccessible::setActive(true);
        const bool read = display->text() == QStringLiteral("101") && step("103", nullptr, 2);
        QAccessible::setActive(false);
        QVERIFY(read);
        QVERIFY(step("104", nullptr, 1));
        QVERIFY(step("105", "104", 0));

        // A text the program sets wins over a waiting number.
        QVERIFY(display->numberWaiting());
        pair.plain->setText(QStringLiteral("9"));
        display->setText(QStringLiteral("9"));
        QVERIFY(pair.lookAlike());
        QVERIFY(!display->numberWaiting());
        texts.clear();
        QVERIFY(step("106", "9", 0));

        // A hidden display keeps the numbers for the screen too, and shows the last one.
        display->hide();
        for (const char *n : {"4095", "12345", "0", "77"})
            display->showNumber(QString::fromLatin1(n));
        QVERIFY(texts.isEmpty());
        display->show();
        pair.plain->setText(QStringLiteral("77"));
        QVERIFY(pair.lookAlike());
        QVERIFY(step("106", "9", 0));

        // The stream ends: the line edit holds the last number.
        stop.dismiss();
        NumberDisplay::letNumbersWait(false);
        QCOMPARE(display->text(), QStringLiteral("106"));
        QVERIFY(step("107", nullptr, 2));
    }

    // In a live stream a new number as long as the last one repaints only the columns its
    // changed digits can reach (with digits pushed together, the columns neighbours share too),
    // and the screen still matches the plain line edit; another length repaints the display.
    void numberDisplayRepaintsOnlyChangedDigits_data()
    {
        QTest::addColumn<qreal>("spacing");
        QTest::newRow("own font") << qreal(0);
        QTest::newRow("digits overlapping") << qreal(-2.5);
    }

    void numberDisplayRepaintsOnlyChangedDigits()
    {
        QFETCH(qreal, spacing);
        DisplayPair pair(spacing);
        QVERIFY(pair.shownAndUncovered());
        auto *display = dynamic_cast<NumberDisplay *>(pair.shown);
        QVERIFY(display);
        NumberDisplay::letNumbersWait(true);
        auto stop = qScopeGuard([] { NumberDisplay::letNumbersWait(false); });
        PaintLog log(display);
        // Shows a number; what it repainted, once the screen matches the plain line edit.
        const auto repainted = [&](const char *number) {
            log.where.clear();
            pair.plain->setText(QString::fromLatin1(number));
            display->showNumber(QString::fromLatin1(number));
            if (!pair.lookAlike())
                return QRect(-1, -1, 1, 1);
            QRegion all;
            for (const QRegion &r : std::as_const(log.where))
                all += r;
            return all.boundingRect();
        };
        // The first numbers are given to the line edit; from then on the display draws them.
        for (const char *n : {"1111", "2222", "2223"})
            QVERIFY(!repainted(n).isEmpty());
        const int tiles = display->tilesPainted();
        const QRect full = display->rect();
        // The last place alone: a narrow band inside the frame.
        const auto lastOnly = [&](const QRect &r) {
            return r.width() > 0 && r.width() <= full.width() / 4 && full.contains(r) &&
                   r.right() < full.right();
        };
        const QRect last = repainted("2224");
        QVERIFY2(lastOnly(last),
                 qPrintable(QStringLiteral("%1 of %2").arg(last.width()).arg(full.width())));
        const QRect first = repainted("3224");
        QVERIFY2(first.width() > 0 && first.right() < last.left() && first.left() > full.left(),
                 qPrintable(QStringLiteral("%1-%2").arg(first.left()).arg(first.right())));
        QCOMPARE(repainted("4225"), first.united(last));
        const QRect middle = repainted("4235");
        QVERIFY(first.right() < middle.left() && middle.left() < last.left() &&
                middle.right() <= last.right());
        QCOMPARE(repainted("42250"), full); // another length
        QVERIFY(lastOnly(repainted("42251")));
        QCOMPARE(repainted("4225"), full);
        QCOMPARE(display->tilesPainted() - tiles, 7);
    }

    // The live level bars look exactly like a progress bar dressed by the style sheet they
    // replace (sizes, frame, groove, chunk at every value), and on screen a small change of
    // value shows at once.
    void colourBarLooksLikeTheStyledBar()
    {
        QWidget w;
        ColourBar *bar = MakeColourBar(&w, "BarShown", "#e02020", "InfoDispRAW", 110);
        auto *styled = new QProgressBar(&w);
        styled->setRange(0, 4095);
        styled->setTextVisible(false);
        styled->setMinimumWidth(110);
        styled->setStyleSheet(QStringLiteral(
            "QProgressBar { border: 1px solid #808080; background: #f4f4f4; min-height: 16px; } "
            "QProgressBar::chunk { background: #e02020; }"));
        styled->ensurePolished();
        QCOMPARE(bar->sizeHint(), styled->sizeHint());
        QCOMPARE(bar->minimumSizeHint(), styled->minimumSizeHint());
        QCOMPARE(bar->minimumSize(), styled->minimumSize());
        QCOMPARE(bar->sizePolicy(), styled->sizePolicy());
        const auto look = [](QWidget *b) {
            return b->grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        for (const QSize size : {QSize(140, 18), QSize(157, 24)}) {
            bar->resize(size);
            styled->resize(size);
            for (int v = 0; v <= 4095; ++v) {
                bar->setValue(v);
                styled->setValue(v);
                if (look(bar) != look(styled))
                    QFAIL(qPrintable(QStringLiteral("value %1 at %2 wide").arg(v).arg(size.width())));
            }
        }
        auto *row = new QHBoxLayout(&w);
        row->addWidget(bar);
        row->addWidget(styled);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(!PaintsWaiting());
        QCoreApplication::processEvents();
        PaintLog beneath(&w); // the bar covers its place: what lies beneath is not repainted
        for (const int v : {100, 200, 180, 4095, 4000, 0, 30, 60}) {
            bar->setValue(v);
            QCoreApplication::processEvents(); // the repaint asked for, held or done
            QTRY_VERIFY(!PaintsWaiting());
            QCoreApplication::processEvents();
            QVERIFY2(OnScreen(&w).copy(bar->geometry()) == look(bar), qPrintable(QString::number(v)));
        }
        QCOMPARE(beneath.at.size(), 0);
    }
};

QTEST_MAIN(TestPaintPace)
#include "tst_paintpace.moc"
