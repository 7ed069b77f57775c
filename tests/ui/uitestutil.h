// Helpers for tests that run the program's windows in-process (offscreen).
#pragma once

#include "app/startup.h"
#include "core/shell.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QSpinBox>
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

// A right mouse click as the window system delivers it (context-menu request).
inline void RightClick(QWidget *w)
{
    QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(3, 3), w->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(w, &ev);
}

} // namespace tintra::test
