// The main window's first size and place on the screen it opens on.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace tintra {

// The size the main window is laid out for; it opens smaller when the screen has less room.
inline constexpr QSize mainWindowSize(1270, 860);

// The window's inner rectangle: `wanted`, no larger than the available area less the window
// frame, but no smaller than `minimum`; centred in the available area, and where it cannot fit,
// its frame's top left corner at the area's top left corner, so title bar and menus stay
// reachable.
QRect FitWindow(QSize wanted, QSize minimum, const QRect &available, const QMargins &frame);

// Sizes and places `window` (not shown yet) on its screen's available area.
void PlaceMainWindow(QWidget *window, QSize wanted = mainWindowSize);

// A window's inner rectangle of size `wanted` (no larger than the available area less the frame,
// no smaller than `minimum`) centred on `anchor` (another window's frame), moved as little as
// needed to keep its frame inside the available area.
QRect CentreOver(QSize wanted, QSize minimum, const QRect &anchor, const QRect &available,
                 const QMargins &frame);

// Sizes `window` to `wanted` and places it centred on `anchor`'s window, on the anchor's screen.
void PlaceOver(QWidget *window, const QWidget *anchor, QSize wanted);

} // namespace tintra
