// Values on the panels that the sensor or a file does not hold yet: the parameter set as the
// panels show it, the marks on changed controls and cells, the "*" in the window title, and the
// controls and cells of the 233 fields.
#pragma once

#include "link/codec.h"
#include "link/fields.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class QTableWidget;
class QWidget;

namespace tintra {

// Keeps the parameter variables and the image pp for its lifetime and puts them back at its end.
class KeptParaState {
public:
    KeptParaState();
    ~KeptParaState();
    KeptParaState(const KeptParaState &) = delete;
    KeptParaState &operator=(const KeptParaState &) = delete;

private:
    uint16_t scalars[16];
    uint16_t teach[anzVec * 5], groups[anzVec], holds[anzVec];
    uint16_t image[ppSize];
};

// The panels' parameter set in image order, as SEND would send it. The parameter variables and
// the image pp are left as they are.
ParaImage PanelImage();

// Where an image word lives on the panels: a control, or a cell (column, row from 1) of a table.
struct ParaField {
    QWidget *control = nullptr;
    QTableWidget *table = nullptr;
    int col = 0;
    int row = 0;
};
ParaField FieldOf(int word);

// The panels now hold what the sensor or a file holds (a good SEND or GET, a file written or
// loaded): every mark clears.
void MarkPanelsSynced();
// Compares the panels with the last synced set and marks the differing controls and cells; the
// main window's title gets " *" while any mark stands (also a mark of another kind below).
void UpdateUnsentMarks();
// Any mark: the parameter set or another kind.
bool HasUnsentChanges();
// The parameter set only: what reading the sensor's parameters would replace.
bool HasUnsentParameterChanges();
// Whether `word`'s control or cell is marked now.
bool IsMarked(int word);
// Watches every parameter control and the three tables: each change updates the marks once
// the event that caused it has been handled (mode rules included). Call once after the panels
// exist.
void WatchUnsentChanges();

// Values outside the parameter set that leave the panels by an action of their own (the table
// attributes by SAVE or SET AS STARTUP, the colour factors by SEND CF). Each kind keeps its own
// reference; `update` sets its marks and says whether any stands. Kinds are registered after
// WatchUnsentChanges, which forgets those of earlier panels.
void AddUnsentKind(std::function<bool()> update);
// A change of such a value: the marks are updated once the event that caused it has been handled.
void ScheduleUnsentMarks();
// Draws or removes the frame around a control.
void SetControlMarked(QWidget *control, bool on);
bool ControlMarked(QWidget *control);

// The frame around a marked control or cell.
inline constexpr unsigned unsentMarkRgb = 0xE06C00;

} // namespace tintra
