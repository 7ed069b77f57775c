#include "combobox.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace tintra {

namespace {
bool completionOn = true;
} // namespace

bool ComboCompletionEnabled() { return completionOn; }

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setCompleter(nullptr);              // our own completion rule below
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);         // Enter must not pick a matching entry by itself
    setMaxVisibleItems(10);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &t) {
        edited = true;
        complete(t);
    });
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!created || index < 0)
            return;
        QString t = itemText(index);
        if (maxLength >= 0)
            t.truncate(maxLength);
        lineEdit()->setText(t);
        commit();
    });
}

QString ComboBox::text() const { return lineEdit()->text(); }

void ComboBox::setText(const QString &t)
{
    lineEdit()->setText(t);
    lineEdit()->setCursorPosition(0);
    edited = false;
}

void ComboBox::commit()
{
    edited = false;
    emit committed(lineEdit()->text());
}

void ComboBox::complete(const QString &typed)
{
    if (!created || !completionOn || typed.isEmpty())
        return;
    const QString key = typed.toUpper();
    for (int i = 0; i < count(); ++i) {
        const QString item = itemText(i);
        if (!item.toUpper().startsWith(key))
            continue;
        if (item.size() <= 1)
            return;
        QString result = typed + item.mid(typed.size());
        if (maxLength >= 0)
            result.truncate(maxLength);
        lineEdit()->setText(result);
        if (result.size() > typed.size())
            lineEdit()->setSelection(int(typed.size()), int(result.size() - typed.size()));
        return;
    }
}

void ComboBox::keyPressEvent(QKeyEvent *k)
{
    switch (k->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (created) {
            keyboardOpened = true;
            showPopup();
            k->accept();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The typed text stands as typed: Qt's own handling would look for an entry to pick.
        completionOn = true;
        commit();
        k->accept();
        return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        completionOn = false;
        break;
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        break; // modifiers alone change nothing
    default:
        completionOn = true;
        break;
    }
    QComboBox::keyPressEvent(k);
}

void ComboBox::focusOutEvent(QFocusEvent *e)
{
    // The field's focus belongs to the combo box as a whole; opening the list is no leaving.
    if (edited && e->reason() != Qt::PopupFocusReason)
        commit();
    QComboBox::focusOutEvent(e);
}

int Combo_NewComboBox(ComboBox *c)
{
    if (!c || c->created)
        return ComboErrNotComboBox;
    c->created = true;
    const int ml = c->lineEdit()->maxLength();
    c->maxLength = ml < 32767 ? ml : -1;
    return 0;
}

int Combo_SetComboAttribute(ComboBox *c, int attribute, int value)
{
    if (!c || !c->created)
        return ComboErrNotComboBox;
    switch (attribute) {
    case ComboAttrColour: {
        QPalette pal = c->palette();
        const QColor col = QColor::fromRgb(QRgb(unsigned(value) & 0xFFFFFFu));
        pal.setColor(QPalette::Base, col);
        pal.setColor(QPalette::Button, col);
        c->setPalette(pal);
        c->lineEdit()->setPalette(pal);
        c->view()->setPalette(pal);
        return 0;
    }
    case ComboAttrVisible:
        c->setVisible(value != 0);
        return 0;
    case ComboAttrDimmed:
        c->setEnabled(value == 0);
        return 0;
    case ComboAttrMaxLength:
        c->maxLength = value < 0 ? -1 : value;
        c->lineEdit()->setMaxLength(value < 0 ? 32767 : value);
        return 0;
    default:
        return ComboErrAttribute;
    }
}

namespace {

// Changing the list may make Qt put another entry into the field; the field keeps what it shows.
template <class F>
void KeepingText(ComboBox *c, F change)
{
    QLineEdit *e = c->lineEdit();
    const QString t = e->text();
    const int cursor = e->cursorPosition();
    const QSignalBlocker block(c);
    change();
    c->setCurrentIndex(-1);
    if (e->text() != t) {
        e->setText(t);
        e->setCursorPosition(cursor);
    }
}

} // namespace

int Combo_InsertComboItem(ComboBox *c, int index, const QString &text)
{
    if (!c || !c->isComboBox())
        return ComboErrNotComboBox;
    if (index < 0 || index > c->count())
        index = c->count();
    KeepingText(c, [&] { c->insertItem(index, text); });
    return index;
}

int Combo_DeleteComboItem(ComboBox *c, int index, int count)
{
    if (!c || !c->isComboBox())
        return ComboErrNotComboBox;
    if (index < 0 || index >= c->count())
        return 0;
    const int end = (count < 0) ? c->count() : std::min(c->count(), index + count);
    KeepingText(c, [&] {
        for (int i = end - 1; i >= index; --i)
            c->removeItem(i);
    });
    return 0;
}

int Combo_GetIndexFromValue(ComboBox *c, int *index, const QString &text)
{
    if (!c || !c->isComboBox())
        return ComboErrNotComboBox;
    int found = -1;
    for (int i = 0; i < c->count(); ++i)
        if (c->itemText(i) == text) {
            found = i;
            break;
        }
    if (index)
        *index = found;
    return 0;
}

} // namespace tintra
