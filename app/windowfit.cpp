#include "windowfit.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace tintra {

QRect FitWindow(QSize wanted, QSize minimum, const QRect &available, const QMargins &frame)
{
    const QSize room = available.size().shrunkBy(frame);
    QSize size = wanted.boundedTo(room).expandedTo(minimum);
    const int left = available.left() + frame.left() +
                     std::max(0, (room.width() - size.width()) / 2);
    const int top = available.top() + frame.top() +
                    std::max(0, (room.height() - size.height()) / 2);
    return QRect(QPoint(left, top), size);
}

QRect CentreOver(QSize wanted, QSize minimum, const QRect &anchor, const QRect &available,
                 const QMargins &frame)
{
    const QSize size = FitWindow(wanted, minimum, available, frame).size();
    QRect outer(QPoint(0, 0), size.grownBy(frame));
    outer.moveCenter(anchor.center());
    // Right and bottom edges first, so a window larger than the area keeps its title bar visible.
    outer.moveRight(std::min(outer.right(), available.right()));
    outer.moveBottom(std::min(outer.bottom(), available.bottom()));
    outer.moveLeft(std::max(outer.left(), available.left()));
    outer.moveTop(std::max(outer.top(), available.top()));
    return QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), size);
}

namespace {

// The frame is not known before a window is shown: allow for a title bar and a thin border.
QMargins AssumedFrame(const QWidget *window)
{
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QMargins(4, std::max(title, 24) + 4, 4, 4);
}

} // namespace

void PlaceOver(QWidget *window, const QWidget *anchor, QSize wanted)
{
    QScreen *screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QMargins frame = AssumedFrame(window);
    const QRect r = CentreOver(wanted, window->minimumSizeHint(), anchor->frameGeometry(),
                               screen->availableGeometry(), frame);
    window->resize(r.size());
    window->move(r.topLeft() - QPoint(frame.left(), frame.top()));
}

void PlaceMainWindow(QWidget *window, QSize wanted)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    const QMargins frame = AssumedFrame(window);
    const QRect r = FitWindow(wanted, window->minimumSizeHint(), screen->availableGeometry(), frame);
    window->resize(r.size());
    window->move(r.topLeft() - QPoint(frame.left(), frame.top()));
}

} // namespace tintra
