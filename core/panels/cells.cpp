#include "cells.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace tintra {

namespace {

constexpr char outOfUseProperty[] = "tintraOutOfUse";
constexpr int markedRole = Qt::UserRole + 2;

// Draws the frame of a marked cell over the cell's own painting.
class MarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (!index.data(markedRole).toBool())
            return;
        painter->save();
        painter->setPen(QPen(QColor(0xE0, 0x6C, 0x00), 2));
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

// Cells are edited with a spin box limited to the word range, so a cell never holds anything
// but a number 0 ... 65535.
class U16Delegate : public MarkDelegate {
public:
    using MarkDelegate::MarkDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *s = new QSpinBox(parent);
        s->setRange(0, 65535);
        s->setFrame(false);
        return s;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<QSpinBox *>(editor)->setValue(index.data(Qt::EditRole).toInt());
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        auto *s = static_cast<QSpinBox *>(editor);
        s->interpretText();
        model->setData(index, s->value(), Qt::EditRole);
    }
};

QTableWidgetItem *itemAt(QTableWidget *t, int col, int row)
{
    QTableWidgetItem *it = t->item(row - 1, col - 1);
    if (!it) {
        it = new QTableWidgetItem;
        t->setItem(row - 1, col - 1, it);
    }
    return it;
}

QTableWidgetItem *rowHeader(QTableWidget *t, int row)
{
    QTableWidgetItem *h = t->verticalHeaderItem(row - 1);
    if (!h) {
        h = new QTableWidgetItem(QString::number(row - 1));
        t->setVerticalHeaderItem(row - 1, h);
    }
    return h;
}

} // namespace

QColor Rgb(int rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
int RgbOf(const QColor &c) { return (c.red() << 16) | (c.green() << 8) | c.blue(); }

void FillRing(QComboBox *ring, std::span<const RingItem> items)
{
    const QSignalBlocker block(ring);
    ring->clear();
    for (const RingItem &i : items)
        ring->addItem(QString::fromUtf8(i.label), i.code);
}

uint16_t RingValue(const QComboBox *ring)
{
    if (ring->currentIndex() < 0)
        return 0;
    return static_cast<uint16_t>(ring->currentData().toInt());
}

bool SetRingValue(QComboBox *ring, int code)
{
    const int i = ring->findData(code);
    if (i < 0)
        return false;
    const QSignalBlocker block(ring);
    ring->setCurrentIndex(i);
    return true;
}

namespace {
constexpr int unknownCodeRole = Qt::UserRole + 1;
} // namespace

void ShowRingValue(QComboBox *ring, uint16_t code)
{
    const QSignalBlocker block(ring);
    for (int i = ring->count() - 1; i >= 0; --i)
        if (ring->itemData(i, unknownCodeRole).toBool() && ring->itemData(i).toInt() != code)
            ring->removeItem(i);
    if (SetRingValue(ring, code))
        return;
    ring->addItem(QStringLiteral("? %1").arg(code), int(code));
    const int i = ring->count() - 1;
    ring->setItemData(i, true, unknownCodeRole);
    ring->setItemData(i, QStringLiteral("Code %1 is not one of this list's choices; it is sent "
                                        "back unchanged unless another choice is made.")
                             .arg(code),
                      Qt::ToolTipRole);
    ring->setItemData(i, QColor(Qt::red), Qt::ForegroundRole);
    ring->setCurrentIndex(i);
}

bool RingValueUnknown(const QComboBox *ring)
{
    return ring->currentIndex() >= 0 && ring->currentData(unknownCodeRole).toBool();
}

namespace {
constexpr char committedValueProperty[] = "tintraCommittedValue";
} // namespace

void SetSpinValue(QSpinBox *spin, int value)
{
    {
        const QSignalBlocker block(spin);
        spin->setValue(value);
    }
    spin->setProperty(committedValueProperty, spin->value());
}

bool TakeSpinCommit(QSpinBox *spin)
{
    const QVariant last = spin->property(committedValueProperty);
    if (last.isValid() && last.toInt() == spin->value())
        return false;
    spin->setProperty(committedValueProperty, spin->value());
    return true;
}

QTableWidget *NewU16Table(int rows, int cols, int firstLabel, QWidget *parent)
{
    auto *t = new QTableWidget(rows, cols, parent);
    t->setItemDelegate(new U16Delegate(t));
    const QSignalBlocker block(t);
    for (int r = 1; r <= rows; ++r) {
        rowHeader(t, r)->setText(QString::number(firstLabel + r - 1));
        for (int c = 1; c <= cols; ++c)
            itemAt(t, c, r)->setData(Qt::EditRole, 0);
    }
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    t->verticalHeader()->setDefaultSectionSize(20);
    return t;
}

uint16_t GetCellU16(const QTableWidget *t, int col, int row)
{
    const QTableWidgetItem *it = t->item(row - 1, col - 1);
    if (!it)
        return 0;
    bool ok = false;
    const int v = it->data(Qt::EditRole).toInt(&ok);
    return ok && v >= 0 && v <= 65535 ? static_cast<uint16_t>(v) : 0;
}

void SetCellU16(QTableWidget *t, int col, int row, uint16_t value)
{
    if (row < 1 || row > t->rowCount() || col < 1 || col > t->columnCount())
        return;
    const QSignalBlocker block(t);
    itemAt(t, col, row)->setData(Qt::EditRole, int(value));
}

void MakeColourColumn(QTableWidget *t, int col)
{
    const QSignalBlocker block(t);
    for (int r = 1; r <= t->rowCount(); ++r) {
        QTableWidgetItem *it = itemAt(t, col, r);
        it->setData(Qt::EditRole, QVariant());
        it->setFlags(Qt::ItemIsEnabled);
    }
}

void SetCellColour(QTableWidget *t, int col, int row, int rgb)
{
    if (row < 1 || row > t->rowCount() || col < 1 || col > t->columnCount())
        return;
    const QSignalBlocker block(t);
    itemAt(t, col, row)->setBackground(Rgb(rgb));
}

int CellColour(const QTableWidget *t, int col, int row)
{
    const QTableWidgetItem *it = t->item(row - 1, col - 1);
    return it ? RgbOf(it->background().color()) : -1;
}

void SetRowLabelColour(QTableWidget *t, int row, const QColor &c)
{
    if (row < 1 || row > t->rowCount())
        return;
    rowHeader(t, row)->setForeground(c);
}

QColor RowLabelColour(const QTableWidget *t, int row)
{
    const QTableWidgetItem *h = t->verticalHeaderItem(row - 1);
    return h ? h->foreground().color() : QColor();
}

void SetColumnCaption(QTableWidget *t, int col, const QString &caption)
{
    QTableWidgetItem *h = t->horizontalHeaderItem(col - 1);
    if (!h) {
        h = new QTableWidgetItem;
        t->setHorizontalHeaderItem(col - 1, h);
    }
    h->setText(caption);
}

QString ColumnCaption(const QTableWidget *t, int col)
{
    const QTableWidgetItem *h = t->horizontalHeaderItem(col - 1);
    return h ? h->text() : QString();
}

void SetColumnInUse(QTableWidget *t, int col, bool inUse)
{
    const QSignalBlocker block(t);
    const Qt::ItemFlags flags = inUse ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                      : Qt::ItemIsSelectable;
    for (int r = 1; r <= t->rowCount(); ++r)
        itemAt(t, col, r)->setFlags(flags);
    QList<QVariant> out = t->property(outOfUseProperty).toList();
    out.removeAll(col);
    if (!inUse)
        out << col;
    t->setProperty(outOfUseProperty, out);
}

bool ColumnInUse(const QTableWidget *t, int col)
{
    return !t->property(outOfUseProperty).toList().contains(col);
}

QLabel *LabelOf(const QWidget *w)
{
    if (!w || !w->parentWidget())
        return nullptr;
    for (QLabel *l : w->window()->findChildren<QLabel *>())
        if (l->buddy() == w)
            return l;
    return nullptr;
}

void SetCaption(QWidget *w, const QString &caption)
{
    if (!w)
        return;
    if (auto *g = qobject_cast<QGroupBox *>(w)) {
        g->setTitle(caption);
        return;
    }
    if (QLabel *l = LabelOf(w))
        l->setText(caption);
}

QString Caption(const QWidget *w)
{
    if (auto *g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    const QLabel *l = LabelOf(w);
    return l ? l->text() : QString();
}

QLabel *NewCaption(const QString &caption, QWidget *w, QWidget *parent)
{
    auto *l = new QLabel(caption, parent);
    l->setTextFormat(Qt::PlainText);
    l->setBuddy(w);
    return l;
}

void ShowCellMarks(QTableWidget *t) { t->setItemDelegate(new MarkDelegate(t)); }

void SetCellMarked(QTableWidget *t, int col, int row, bool marked)
{
    if (!t || row < 1 || col < 1 || row > t->rowCount() || col > t->columnCount())
        return;
    if (CellMarked(t, col, row) == marked)
        return;
    const QSignalBlocker block(t); // a mark is no edit: the operator's edit callbacks stay quiet
    itemAt(t, col, row)->setData(markedRole, marked);
}

bool CellMarked(const QTableWidget *t, int col, int row)
{
    const QTableWidgetItem *it = t ? t->item(row - 1, col - 1) : nullptr;
    return it && it->data(markedRole).toBool();
}

} // namespace tintra
