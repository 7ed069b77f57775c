#include "graphinputs.h"

#include "core/panels.h"

#include <QComboBox>
#include <QPointer>
#include <QSpinBox>
#include <QTableWidget>

namespace tintra {

namespace {

template <typename T> T *Find(QWidget *panel, const char *name)
{
    return panel ? panel->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

// The controls are looked up once and remembered; a panel that is rebuilt (tests do that) is
// found again because the guarded pointer falls back to null.
template <typename T> T *Cached(QPointer<T> &slot, QWidget *panel, const char *name)
{
    if (!slot)
        slot = Find<T>(panel, name);
    return slot.data();
}

QPointer<QComboBox> calcRing;
QPointer<QSpinBox> noField;
QPointer<QTableWidget> teachGrid;

} // namespace

uint16_t CalcmodeControl()
{
    QComboBox *ring = Cached(calcRing, parapanel1, "Calcmode");
    if (!ring || ring->currentIndex() < 0)
        return 0;
    return uint16_t(ring->currentData().toInt());
}

int SelectedTeachRow()
{
    QSpinBox *no = Cached(noField, ttpanel, "EditNo");
    return no ? no->value() : 0;
}

uint16_t TeachCell(int col, int row)
{
    QTableWidget *t = Cached(teachGrid, ttpanel, "GridCtt");
    if (!t)
        return 0;
    const QTableWidgetItem *it = t->item(row - 1, col - 1);
    if (!it)
        return 0;
    bool ok = false;
    const int v = it->data(Qt::EditRole).toInt(&ok);
    return ok && v >= 0 && v <= 65535 ? uint16_t(v) : 0;
}

QColor RowColour(int) { return QColor(Qt::black); }

} // namespace tintra
