// The SERVER combo box: completion rule, erase keys, commits, list operations and their codes.
#include "widgets/combobox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace tintra;

class TestComboBox : public QObject {
    Q_OBJECT

    ComboBox *box = nullptr;
    QWidget *window = nullptr;
    QLineEdit *other = nullptr;

    // Keys go where a keyboard sends them: to the widget that has the focus (init checks that
    // it is the combo box, not its inner field).
    static QWidget *focused() { return QApplication::focusWidget(); }

    void fill(const QStringList &items)
    {
        for (const QString &s : items)
            QCOMPARE(Combo_InsertComboItem(box, -1, s) >= 0, true);
    }

private slots:
    void init()
    {
        window = new QWidget();
        box = new ComboBox(window);
        box->lineEdit()->setMaxLength(255);
        other = new QLineEdit(window);
        other->move(0, 60);
        window->resize(300, 120);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(Combo_NewComboBox(box), 0);
        box->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), box);
    }
    void cleanup()
    {
        delete window;
        window = nullptr;
    }

    void completionTakesFirstMatchInListOrder()
    {
        fill({"alpha", "Beta", "bravo"});
        QTest::keyClicks(focused(), "b");
        QCOMPARE(box->text(), QStringLiteral("beta"));
        QCOMPARE(box->lineEdit()->selectedText(), QStringLiteral("eta"));
        QCOMPARE(box->lineEdit()->selectionStart(), 1);
        // Typing over the selection goes on completing from the list.
        QTest::keyClicks(focused(), "r");
        QCOMPARE(box->text(), QStringLiteral("bravo"));
        QCOMPARE(box->lineEdit()->selectedText(), QStringLiteral("avo"));
    }

    void eraseKeysSwitchCompletionOffForOneChange_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Backspace") << int(Qt::Key_Backspace);
        QTest::newRow("Delete") << int(Qt::Key_Delete);
    }
    void eraseKeysSwitchCompletionOffForOneChange()
    {
        QFETCH(int, key);
        fill({"server-one", "sensor-two"});
        QTest::keyClicks(focused(), "se");
        QCOMPARE(box->text(), QStringLiteral("server-one"));
        QTest::keyClick(focused(), Qt::Key(key)); // removes the selected completion
        QCOMPARE(box->text(), QStringLiteral("se"));
        QVERIFY(!ComboCompletionEnabled());
        QTest::keyClicks(focused(), "n");
        QCOMPARE(box->text(), QStringLiteral("sensor-two"));
        QCOMPARE(box->lineEdit()->selectedText(), QStringLiteral("sor-two"));
    }

    void noCompletionWithoutMatchOrForSingleCharacterEntries()
    {
        fill({"x", "host"});
        QTest::keyClicks(focused(), "x");
        QCOMPARE(box->text(), QStringLiteral("x"));
        QTest::keyClicks(focused(), "yz");
        QCOMPARE(box->text(), QStringLiteral("xyz"));
        QVERIFY(box->lineEdit()->selectedText().isEmpty());
    }

    void completionRespectsMaximumLength()
    {
        fill({"abcdefghij"});
        QCOMPARE(Combo_SetComboAttribute(box, ComboAttrMaxLength, 6), 0);
        QTest::keyClicks(focused(), "a");
        QCOMPARE(box->text(), QStringLiteral("abcdef"));
    }

    void plainFieldBeforeCreation()
    {
        auto *plain = new ComboBox(window);
        QCOMPARE(Combo_InsertComboItem(plain, -1, "a"), ComboErrNotComboBox);
        int index = 7;
        QCOMPARE(Combo_GetIndexFromValue(plain, &index, "a"), ComboErrNotComboBox);
        QCOMPARE(Combo_DeleteComboItem(plain, 0, -1), ComboErrNotComboBox);
        QCOMPARE(Combo_SetComboAttribute(plain, ComboAttrColour, 0), ComboErrNotComboBox);
        QCOMPARE(plain->count(), 0);
    }

    void secondCreationFailsAndFirstKeepsWorking()
    {
        fill({"alpha"});
        QCOMPARE(Combo_NewComboBox(box), ComboErrNotComboBox);
        QTest::keyClicks(focused(), "a");
        QCOMPARE(box->text(), QStringLiteral("alpha"));
        QCOMPARE(box->count(), 1);
    }

    void unknownAttributeRefused()
    {
        QCOMPARE(Combo_SetComboAttribute(box, 99, 1), ComboErrAttribute);
        QCOMPARE(Combo_SetComboAttribute(box, ComboAttrColour, 0xE0E0E0), 0);
        QCOMPARE(box->lineEdit()->palette().color(QPalette::Base), QColor(0xE0, 0xE0, 0xE0));
    }

    void insertAndDeleteIndices()
    {
        fill({"b", "c"});
        QCOMPARE(Combo_InsertComboItem(box, 0, "a"), 0);
        QCOMPARE(Combo_InsertComboItem(box, -1, "d"), 3);
        QCOMPARE(Combo_InsertComboItem(box, 99, "e"), 4);
        QStringList all;
        for (int i = 0; i < box->count(); ++i)
            all << box->itemText(i);
        QCOMPARE(all, QStringList({"a", "b", "c", "d", "e"}));
        QCOMPARE(Combo_DeleteComboItem(box, 1, 2), 0);
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->itemText(1), QStringLiteral("d"));
    }

    void deleteToTheEnd()
    {
        for (int i = 0; i < 11; ++i)
            QCOMPARE(Combo_InsertComboItem(box, -1, QStringLiteral("host%1").arg(i)), i);
        QCOMPARE(Combo_DeleteComboItem(box, 10, -1), 0);
        QCOMPARE(box->count(), 10);
        QCOMPARE(box->itemText(9), QStringLiteral("host9"));
    }

    void listChangesLeaveTheFieldAlone()
    {
        box->setText(QStringLiteral("typed"));
        fill({"one"});
        QCOMPARE(Combo_InsertComboItem(box, 0, "zero"), 0);
        QCOMPARE(Combo_DeleteComboItem(box, 0, -1), 0);
        QCOMPARE(box->text(), QStringLiteral("typed"));
    }

    void exactValueSearch()
    {
        fill({"Beta", "beta", "bet"});
        int index = -2;
        QCOMPARE(Combo_GetIndexFromValue(box, &index, "beta"), 0);
        QCOMPARE(index, 1);
        QCOMPARE(Combo_GetIndexFromValue(box, &index, "BETA"), 0);
        QCOMPARE(index, -1);
        QCOMPARE(Combo_GetIndexFromValue(box, &index, "be"), 0);
        QCOMPARE(index, -1);
    }

    void enterCommitsTypedText()
    {
        QSignalSpy spy(box, &ComboBox::committed);
        QTest::keyClicks(focused(), "10.0.0.7");
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("10.0.0.7"));
        QCOMPARE(box->count(), 0); // the owner decides what enters the list
    }

    void enterOnAnExistingEntryCommitsOnce()
    {
        fill({"alpha"});
        QSignalSpy spy(box, &ComboBox::committed);
        QTest::keyClicks(focused(), "alpha");
        QTest::keyClick(focused(), Qt::Key_Return);
        QCOMPARE(spy.count(), 1);
    }

    void leavingTheFieldCommitsOnlyAfterAChange()
    {
        QSignalSpy spy(box, &ComboBox::committed);
        other->setFocus();
        QCOMPARE(spy.count(), 0);
        box->setFocus();
        QTest::keyClicks(focused(), "host");
        other->setFocus();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("host"));
    }

    void pickingFromTheListCommits()
    {
        fill({"first", "second"});
        QSignalSpy spy(box, &ComboBox::committed);
        QTest::keyClick(focused(), Qt::Key_Down); // opens the list
        QTRY_VERIFY(box->view()->isVisible());
        QAbstractItemView *view = box->view();
        for (int i = 0; i < 3 && view->currentIndex().row() != 1; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(view->currentIndex().row(), 1);
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("second"));
        QCOMPARE(box->text(), QStringLiteral("second"));
    }
};

QTEST_MAIN(TestComboBox)
#include "tst_combobox.moc"
