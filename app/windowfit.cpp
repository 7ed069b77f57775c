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

void PlaceMainWindow(QWidget *window, QSize wanted)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(wanted);
        return;
    }
    // The frame is not known before the window is shown: allow for a title bar and a thin border.
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    const QMargins frame(4, std::max(title, 24) + 4, 4, 4);
    const QRect r = FitWindow(wanted, window->minimumSizeHint(), screen->availableGeometry(), frame);
    window->resize(r.size());
    window->move(r.topLeft() - QPoint(frame.left(), frame.top()));
}

} // namespace tintra
