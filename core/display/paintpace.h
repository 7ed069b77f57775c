// Paints each window at most once per screen refresh.
//
// The live displays take every frame's values at once (texts, bars, plot data), but a stream of
// about 100 frames a second on a 60 Hz screen would paint many of them for nothing. The pacer
// holds back a window's repaint that comes sooner than one refresh period after its last one and
// carries it out when the period is over, in one go with everything else that changed meanwhile.
// Nothing is lost: a held repaint always follows, at the latest one period after the previous.
#pragma once

class QObject;
class QWidget;

namespace tintra {

// Starts pacing the repaints of every top-level window of the application (idempotent).
void StartPaintPacing();
// Stops it; held repaints are carried out at once.
void StopPaintPacing();

// Holds back every repaint for the next `ms` milliseconds (at most: EndPaintHold ends it sooner).
// A loop that alternates a short exchange with the sensor and a pause holds the repaints across
// the exchange, so they are carried out in the pause instead of delaying the answer's reading.
void HoldPaintsFor(double ms);
// Ends the hold; the held repaints whose refresh period is over are carried out at once.
void EndPaintHold();

// Milliseconds until a repaint of `window` (a top-level widget) would be carried out if asked
// for now: 0 when at once (no pacing, or its refresh period is over), else when the period ends.
// Work done only for the screen (drawing a plot) can wait that long and be done once for all
// the changes meanwhile.
double MsUntilRepaint(const QWidget *window);

// True while a held repaint is still to be carried out.
bool PaintsWaiting();

// Repaints the pacer held back so far (counter for the benchmark and the tests).
long PaintsHeld();

} // namespace tintra
