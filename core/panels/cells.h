// Small helpers for the parameter controls: rings that carry codes as item data, tables of
// unsigned 16-bit cells addressed (column, row) from 1, row-label and cell colours, captions.
//
// Values written through these helpers are the program's, not the operator's: they never run the
// controls' value-changed callbacks.
#pragma once

#include "link/itemlists.h"

#include <QColor>
#include <cstdint>

class QComboBox;
class QLabel;
class QSpinBox;
class QTableWidget;
class QWidget;

namespace tintra {

// 24-bit colour 0xRRGGBB as a QColor and back.
QColor Rgb(int rgb);
int RgbOf(const QColor &c);

// ---- rings ---------------------------------------------------------------------------------
void FillRing(QComboBox *ring, std::span<const RingItem> items);
// The code of the current item (0 when the ring is empty).
uint16_t RingValue(const QComboBox *ring);
// Selects the item with `code`; a code the ring does not hold leaves it as it is (returns false).
bool SetRingValue(QComboBox *ring, int code);
// Shows a value read from the sensor or a file. A code the ring does not hold is kept as an
// extra item marked "? <code>", so it goes back unchanged unless the operator picks another; the
// marked items of earlier values are removed.
void ShowRingValue(QComboBox *ring, uint16_t code);
// Whether the ring's current item is such a marked, unknown code.
bool RingValueUnknown(const QComboBox *ring);

// ---- numeric fields ------------------------------------------------------------------------
// The program writes a field's value (GET, file load, a rule): no callback runs, and the value
// counts as committed, so only a different value from the operator is a new commit.
void SetSpinValue(QSpinBox *spin, int value);
// The operator ended an edit or stepped: true (and the value counts as committed from now on)
// when the value differs from the last committed one. Leaving the field again without a new
// value, e.g. because a rule's warning took the focus, is no new commit.
bool TakeSpinCommit(QSpinBox *spin);

// ---- tables --------------------------------------------------------------------------------
// A table of `rows` x `cols` cells holding 0, edited with a spin box 0 ... 65535. Row labels are
// `firstLabel`, `firstLabel` + 1, ...
QTableWidget *NewU16Table(int rows, int cols, int firstLabel, QWidget *parent);
uint16_t GetCellU16(const QTableWidget *t, int col, int row);
void SetCellU16(QTableWidget *t, int col, int row, uint16_t value);
// A cell whose value the sensor or a file does not hold yet gets a coloured frame.
void SetCellMarked(QTableWidget *t, int col, int row, bool marked);
// For a table of texts (no number cells): marked cells get their frame drawn.
void ShowCellMarks(QTableWidget *t);
bool CellMarked(const QTableWidget *t, int col, int row);
// A column that shows only a colour: not editable, no value.
void MakeColourColumn(QTableWidget *t, int col);
void SetCellColour(QTableWidget *t, int col, int row, int rgb);
int CellColour(const QTableWidget *t, int col, int row);
void SetRowLabelColour(QTableWidget *t, int row, const QColor &c);
QColor RowLabelColour(const QTableWidget *t, int row);
void SetColumnCaption(QTableWidget *t, int col, const QString &caption);
QString ColumnCaption(const QTableWidget *t, int col);
// A column out of use cannot be edited and is shown greyed; its values are kept.
void SetColumnInUse(QTableWidget *t, int col, bool inUse);
bool ColumnInUse(const QTableWidget *t, int col);

// ---- captions ------------------------------------------------------------------------------
// A control's caption is the label whose buddy it is (or, for a group box, its title).
QLabel *LabelOf(const QWidget *w);
void SetCaption(QWidget *w, const QString &caption);
QString Caption(const QWidget *w);
// A label for `w` with `caption`, made its buddy.
QLabel *NewCaption(const QString &caption, QWidget *w, QWidget *parent);

} // namespace tintra
