// Helpers for tests that run the program's windows in-process (offscreen).
#pragma once

#include "app/startup.h"
#include "core/shell.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QWidget>

namespace tintra::test {

// Writes `bytes` to `path`, replacing the file.
inline void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Types `value` into a numeric field as the operator does: focus, select all, digits, Return.
inline void TypeInto(QSpinBox *s, int value)
{
    s->setFocus();
    QTest::keyClick(s, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(s, QString::number(value));
    QTest::keyClick(s, Qt::Key_Return);
}

// Chooses item `index` of a ring with the arrow keys, as the operator does.
inline void ChooseItem(QComboBox *c, int index)
{
    c->setFocus();
    while (c->currentIndex() > index)
        QTest::keyClick(c, Qt::Key_Up);
    while (c->currentIndex() < index)
        QTest::keyClick(c, Qt::Key_Down);
}

// The whole user interface as WinMain builds it, with the program's directory in a temporary
// folder (so settings files never touch the build tree). InitAll is left to the test.
class ProgramUnderTest {
public:
    ProgramUnderTest()
    {
        SetProgramDir(dir.path());
        ok = StartUserInterface() == 0;
    }
    ~ProgramUnderTest()
    {
        EndUserInterface();
        SetProgramDir(QString());
        ClearQuitRequest();
    }
    ProgramUnderTest(const ProgramUnderTest &) = delete;
    ProgramUnderTest &operator=(const ProgramUnderTest &) = delete;

    QString path(const char *file) const { return dir.filePath(QString::fromLatin1(file)); }

    QTemporaryDir dir;
    bool ok = false;
};

// The control named `name` as type T (nullptr when missing or of another type).
template <class T>
T *Control(const char *name)
{
    return qobject_cast<T *>(FindControl(name));
}


// Shows the window of `w`, gives `w` the focus and returns the widget the keyboard now types
// into (nullptr when the focus did not arrive).
inline QWidget *FocusOn(QWidget *w)
{
    w->window()->show();
    if (!QTest::qWaitForWindowExposed(w->window()))
        return nullptr;
    QApplication::setActiveWindow(w->window());
    w->setFocus();
    if (!QTest::qWaitFor([w] { return QApplication::focusWidget() == w; }))
        return nullptr;
    return QApplication::focusWidget();
}

// Replaces the text of a field as the operator does: focus, select all, the keys (Delete for an
// empty text); `confirm` ends with Return. Fails the test when the focus does not arrive.
inline void TypeText(QWidget *field, const QString &text, bool confirm = false)
{
    QWidget *keys = FocusOn(field);
    QVERIFY(keys);
    QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(keys, Qt::Key_Delete);
    else
        QTest::keyClicks(keys, text);
    if (confirm)
        QTest::keyClick(keys, Qt::Key_Return);
}

// Types `text` into cell (row, col), both from 0, as the operator does: a click on the visible
// cell, the keys (the first one opens the cell's editor, which then has the focus), Enter.
inline bool TypeIntoCell(QTableWidget *t, int row, int col, const QString &text)
{
    if (!FocusOn(t))
        return false;
    const QModelIndex index = t->model()->index(row, col);
    t->scrollTo(index);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualRect(index).center());
    for (const QChar c : text)
        QTest::keyClicks(QApplication::focusWidget(), QString(c));
    QPointer<QWidget> editor = QApplication::focusWidget();
    if (editor == t)
        return false; // no editor opened
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits and closes its editor once the key has been handled.
    return QTest::qWaitFor([&editor] { return !editor || !editor->isVisible(); });
}

// Where the operator's right click lands on a control: the text field of a spin box or an
// editable combo box, the viewport of a table or plot, else the control itself.
inline QWidget *RightClickTarget(QWidget *w)
{
    if (auto *e = w->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly))
        return e;
    if (auto *area = qobject_cast<QAbstractScrollArea *>(w))
        return area->viewport();
    return w;
}

// A right mouse click on a control as the window system delivers it (context-menu request), to
// the widget under the mouse: the inner text field or viewport where the control has one.
inline void RightClick(QWidget *control)
{
    QWidget *w = RightClickTarget(control);
    QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(3, 3), w->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(w, &ev);
}

// The other ways an operator asks for a control's help: a right mouse click in the middle of the
// control, on the widget the pointer hits there (a table's cells: its viewport), with the events
// the window system sends for it (press, context-menu request, release); and the keyboard's menu
// key, which asks the widget under the keyboard focus without any mouse button.
inline void MouseRightClick(QWidget *control)
{
    QWidget *hit = control;
    if (auto *area = qobject_cast<QAbstractScrollArea *>(control))
        hit = area->viewport();
    else if (QWidget *child = control->childAt(control->rect().center()))
        hit = child;
    const QPoint pos = hit == control ? control->rect().center()
                                      : hit->mapFrom(control, control->rect().center());
    QTest::mousePress(hit, Qt::RightButton, {}, pos);
    QContextMenuEvent ev(QContextMenuEvent::Mouse, pos, hit->mapToGlobal(pos));
    QApplication::sendEvent(hit, &ev);
    QTest::mouseRelease(hit, Qt::RightButton, {}, pos);
}

inline void MenuKey(QWidget *control)
{
    QWidget *w = RightClickTarget(control);
    QContextMenuEvent ev(QContextMenuEvent::Keyboard, QPoint(3, 3), w->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(w, &ev);
}

} // namespace tintra::test
