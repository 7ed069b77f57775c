#include "paintpace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace tintra {

namespace {

// The refresh period of the primary screen, 60 Hz when the platform reports nothing sensible.
qint64 RefreshPeriodNs()
{
    double hz = 60.0;
    if (const QScreen *s = QGuiApplication::primaryScreen())
        if (s->refreshRate() >= 20.0 && s->refreshRate() <= 250.0)
            hz = s->refreshRate();
    return qint64(1e9 / hz);
}

class Pacer : public QObject {
public:
    Pacer() : period(RefreshPeriodNs())
    {
        clock.start();
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, this, &Pacer::releaseDue);
        qApp->installEventFilter(this);
    }
    ~Pacer() override
    {
        qApp->removeEventFilter(this);
        releaseAll();
    }

    long held = 0;

    void holdFor(qint64 ns)
    {
        holdUntilNs = clock.nsecsElapsed() + ns;
        arm();
    }
    void endHold()
    {
        holdUntilNs = 0;
        releaseDue();
    }

    double msUntilRepaint(const QWidget *widget) const
    {
        // As releaseDue sees it: due half a millisecond before the period is over.
        for (const Window &w : windows)
            if (w.widget == widget) {
                const qint64 left = w.lastNs + period - 500000 - clock.nsecsElapsed();
                return left > 0 ? left / 1e6 : 0.0;
            }
        return 0;
    }

    bool waiting() const
    {
        return std::any_of(windows.begin(), windows.end(),
                           [](const Window &w) { return w.held && w.widget; });
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        // A widget window's repaint arrives as an update request to the top-level widget.
        if (e->type() != QEvent::UpdateRequest || releasing || !o->isWidgetType() ||
            !static_cast<QWidget *>(o)->isWindow())
            return false;
        Window &w = slot(static_cast<QWidget *>(o));
        const qint64 now = clock.nsecsElapsed();
        if (!w.held && now - w.lastNs >= period && now >= holdUntilNs) {
            w.lastNs = now;
            return false;
        }
        // Too soon after the last repaint, or during a hold: the widgets keep their dirty areas,
        // and the window is repainted once when the period (and the hold) is over.
        if (!w.held) {
            w.held = true;
            ++held;
            arm();
        }
        return true;
    }

private:
    struct Window {
        QPointer<QWidget> widget;
        qint64 lastNs = -(qint64(1) << 60);
        bool held = false;
    };

    Window &slot(QWidget *widget)
    {
        for (Window &w : windows)
            if (w.widget == widget)
                return w;
        std::erase_if(windows, [](const Window &w) { return w.widget.isNull(); });
        windows.push_back({widget});
        return windows.back();
    }

    // The timer runs until the earliest held window is due.
    void arm()
    {
        qint64 due = -1;
        for (const Window &w : windows)
            if (w.held && w.widget && (due < 0 || w.lastNs + period < due))
                due = w.lastNs + period;
        if (due < 0) {
            timer.stop(); // a timer left running would wake the event loop for nothing
            return;
        }
        due = std::max(due, holdUntilNs);
        const qint64 leftNs = due - clock.nsecsElapsed();
        timer.start(int(leftNs > 0 ? (leftNs + 999999) / 1000000 : 0));
    }

    void release(Window &w)
    {
        w.held = false;
        w.lastNs = clock.nsecsElapsed();
        if (!w.widget)
            return;
        releasing = true;
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(w.widget, &request);
        releasing = false;
    }

    void releaseDue()
    {
        // A released repaint may process events and hold other windows meanwhile; walk by index.
        const qint64 now = clock.nsecsElapsed();
        for (size_t i = 0; i < windows.size() && now >= holdUntilNs; ++i)
            if (windows[i].held && now - windows[i].lastNs >= period - 500000)
                release(windows[i]);
        arm();
    }

    void releaseAll()
    {
        for (size_t i = 0; i < windows.size(); ++i)
            if (windows[i].held)
                release(windows[i]);
    }

    const qint64 period;
    QElapsedTimer clock;
    QTimer timer;
    std::vector<Window> windows;
    qint64 holdUntilNs = 0;
    bool releasing = false;
};

Pacer *pacer = nullptr;
long heldBefore = 0; // by pacers that were stopped

} // namespace

void StartPaintPacing()
{
    if (!pacer && qApp)
        pacer = new Pacer();
}

void StopPaintPacing()
{
    if (pacer)
        heldBefore += pacer->held;
    delete pacer;
    pacer = nullptr;
}

void HoldPaintsFor(double ms)
{
    if (pacer)
        pacer->holdFor(qint64(ms * 1e6));
}

void EndPaintHold()
{
    if (pacer)
        pacer->endHold();
}

double MsUntilRepaint(const QWidget *window)
{
    return pacer ? pacer->msUntilRepaint(window) : 0.0;
}

bool PaintsWaiting() { return pacer && pacer->waiting(); }

long PaintsHeld() { return heldBefore + (pacer ? pacer->held : 0); }

} // namespace tintra
