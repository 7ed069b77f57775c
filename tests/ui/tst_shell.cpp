// The main window: panel placement, page switching, dimming, info texts on right click, F-key
// shortcuts, the big number windows, the graph panel switch and closing the program.
#include "uitestutil.h"

#include "app/startup.h"
#include "common/popupscript.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/datapanel.h"
#include "core/panels/interfacepanel.h"
#include "core/panels/graphpanel.h"
#include "core/panels/teachpanel.h"
#include "core/panels/colbigpanel.h"
#include "core/panels/grpbigpanel.h"
#include "core/panels/p3sidesview.h"
#include <QLabel>
#include "core/panels/controls.h"
#include "link/platform.h"
#include "link/state.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace tintra;
using namespace tintra::test;

class TestShell : public QObject {
    Q_OBJECT

    ProgramUnderTest *program = nullptr;
    QObject script_guard;

private slots:
    void initTestCase()
    {
        program = new ProgramUnderTest();
        QVERIFY(program->ok);
        QVERIFY(QTest::qWaitForWindowExposed(mainpanel));
        QApplication::setActiveWindow(mainpanel);
        QVERIFY(QTest::qWaitForWindowActive(mainpanel));
    }
    void cleanupTestCase() { delete program; }

    void panelsArePlacedAsAfterStart()
    {
        QCOMPARE(mainpanel->windowTitle(), QStringLiteral("TINTRA-Revov V3.0"));
        for (int i = 1; i <= 7; ++i)
            QCOMPARE(ChildPanel(i)->parentWidget(), mainpanel->PageArea);
        QCOMPARE(datapanel->parentWidget(), mainpanel->DataArea);
        QCOMPARE(graphpanel->parentWidget(), mainpanel->DataArea);
        for (QWidget *w : {static_cast<QWidget *>(teachpanel), static_cast<QWidget *>(colbigpanel),
                           static_cast<QWidget *>(grpbigpanel), static_cast<QWidget *>(p3sidesview)}) {
            QVERIFY(w->isWindow());
            QVERIFY(!w->isVisible());
        }
        // Page 2 (parameters page 1) and the data panel are shown after start.
        QVERIFY(parapanel1->isVisible());
        QVERIFY(datapanel->isVisible());
        QVERIFY(!graphpanel->isVisible());
        QVERIFY(mainpanel->SelectRAM->isChecked());
        QVERIFY(!mainpanel->SelectEEPROM->isChecked());
    }

    void showChildPanel_data()
    {
        QTest::addColumn<int>("index");
        for (int i = -1; i <= 8; ++i)
            QTest::newRow(qPrintable(QString::number(i))) << i;
    }
    void showChildPanel()
    {
        QFETCH(int, index);
        interfacepanel->ButtonAccept->setEnabled(true);
        ShowChildPanel(index);
        for (int i = 1; i <= 7; ++i) {
            QCOMPARE(ChildPanel(i)->isVisible(), i == index);
            QCOMPARE(ButtonColour(mainpanel->PageButton(i)),
                     i == index ? 0xC0C0C0u : 0xE0E0E0u);
        }
        QCOMPARE(interfacepanel->ButtonAccept->isEnabled(), index != 1);
        QVERIFY(datapanel->isVisible());
    }

    void pageButtonsShowTheirPages_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("index");
        QTest::newRow("PARA1") << "ButtonPara1" << 2;
        QTest::newRow("TEACH TABLE") << "ButtonTeachTable" << 3;
        QTest::newRow("PARA2") << "ButtonPara2" << 4;
        QTest::newRow("RECORDER") << "ButtonRecorder" << 5;
        QTest::newRow("CALIBRATION") << "ButtonCalibrate" << 6;
        QTest::newRow("TABLE ATTR") << "ButtonTableAttr" << 7;
        QTest::newRow("CONNECT") << "ButtonConnect" << 1;
    }
    void pageButtonsShowTheirPages()
    {
        QFETCH(QString, button);
        QFETCH(int, index);
        ShowChildPanel(2);
        QTest::mouseClick(Control<QPushButton>(qPrintable(button)), Qt::LeftButton);
        QVERIFY(ChildPanel(index)->isVisible());
        for (int i = 1; i <= 7; ++i)
            if (i != index)
                QVERIFY(!ChildPanel(i)->isVisible());
    }

    void connectEndsALoopAndRemembersThePage()
    {
        poll = 1;
        QTest::mouseClick(mainpanel->ButtonConnect, Qt::LeftButton);
        QCOMPARE(poll, uint16_t(0));
        QVERIFY(interfacepanel->isVisible());
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled());
    }

    void setButtonsDimmed()
    {
        const char *const dimmed[] = {"ButtonSend",   "ButtonGet",  "ButtonGo",
                                      "SelectRAM",    "SelectEEPROM", "SelectFILE",
                                      "ButtonTryToConnect", "ButtonDiscard"};
        const char *const kept[] = {"ButtonStop", "ButtonConnect", "ButtonPara1", "ButtonShowGraph",
                                    "StringIpAdress"};
        SetButtonsDimmed(1);
        for (const char *n : dimmed) {
            QVERIFY2(FindControl(n), n);
            QVERIFY2(!FindControl(n)->isEnabled(), n);
        }
        for (const char *n : kept)
            QVERIFY2(FindControl(n)->isEnabled(), n);
        SetButtonsDimmed(0);
        for (const char *n : dimmed)
            QVERIFY2(FindControl(n)->isEnabled(), n);
    }

    void findControlSearchesAllPanels()
    {
        QCOMPARE(FindControl("ButtonSend"), static_cast<QWidget *>(mainpanel->ButtonSend));
        QCOMPARE(FindControl("DispStatus"), static_cast<QWidget *>(datapanel->DispStatus));
        QCOMPARE(FindControl("DispBigCOL"), qobject_cast<QWidget *>(colbigpanel->DispBigCOL));
        QCOMPARE(FindControl("grpbigpanel"), static_cast<QWidget *>(grpbigpanel));
        QCOMPARE(FindControl("NoSuchControl"), nullptr);
    }

    // Every file dialog the program opens, opened as the operator does, and how it is opened: a
    // dialog never asks "already exists ... replace?" itself, so choosing an existing file brings
    // only the program's own question where it has one ("File already exist!").
    void fileDialogsNeverAskToReplace_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("clicks"); // "menu N": the entry chosen in the next menu
        QTest::addColumn<QString>("dialog");
        QTest::newRow("SEND to FILE") << 2 << QStringList{"SelectFILE", "ButtonSend"}
                                      << "Parameter|Parameter.ini|*.ini|save";
        QTest::newRow("GET from FILE") << 2 << QStringList{"SelectFILE", "ButtonGet"}
                                       << "Parameter|Parameter.ini|*.ini|open";
        QTest::newRow("record file") << 5 << QStringList{"ButtonSelRecFile"}
                                     << "FILENAME!|record.dat|*.dat|save";
        QTest::newRow("table attributes SAVE") << 7 << QStringList{"ButtonSaveArray"}
            << "TableAttributes|TableAttributes.cfg|*.cfg|save";
        QTest::newRow("table attributes LOAD") << 7 << QStringList{"ButtonGetArray"}
            << "TableAttributes|TableAttributes.cfg|*.cfg|open";
        QTest::newRow("graph as PDF") << 2 << QStringList{"menu 2", "GraphRGB"}
                                      << "Save graph as PDF|GraphRGB.pdf|*.pdf|save";
    }
    void fileDialogsNeverAskToReplace()
    {
        QFETCH(int, page);
        QFETCH(QStringList, clicks);
        QFETCH(QString, dialog);
        ShowChildPanel(page);
        PopupScript script;
        for (const QString &name : clicks) {
            if (name.startsWith(QLatin1String("menu ")))
                script.answerMenu(name.mid(5).toInt());
            else if (name.startsWith(QLatin1String("Graph"))) // a graph's menu opens on a right click
                RightClick(FindControl(qPrintable(name)));
            else
                QTest::mouseClick(FindControl(qPrintable(name)), Qt::LeftButton);
        }
        QTest::mouseClick(mainpanel->SelectRAM, Qt::LeftButton); // as the other tests expect
        QStringList dialogs;
        for (const ShownPopup &p : script.shown) {
            const QFileDialog::Options o = FileDialogOptions(p.request, true);
            if (p.kind == QLatin1String("file"))
                dialogs << QStringList{p.title, p.request.defaultName, p.request.filter,
                                       p.request.forSaving ? "save" : "open"}.join('|') +
                               (o.testFlag(QFileDialog::DontConfirmOverwrite) ? "" : "|asks to replace");
        }
        QCOMPARE(dialogs, QStringList{dialog});
        QVERIFY(FileDialogOptions({}, false).testFlag(QFileDialog::DontUseNativeDialog));
    }

    // The help texts themselves are checked word for word by the control-table test; here both
    // ways of asking (the keyboard's menu key, a right mouse click) must show the same text and
    // run nothing.
    void rightClickShowsInfoText_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("title");
        QTest::newRow("SEND") << "ButtonSend" << "INFO!";
        QTest::newRow("GET") << "ButtonGet" << "INFO!";
        QTest::newRow("GO") << "ButtonGo" << "INFO!";
        QTest::newRow("STOP") << "ButtonStop" << "INFO!";
        QTest::newRow("EEPROM") << "SelectEEPROM" << "INFO!";
        QTest::newRow("CONNECT") << "ButtonConnect" << "INFO!";
        QTest::newRow("RECORDER") << "ButtonRecorder" << "INFO!";
        QTest::newRow("CALIBRATION") << "ButtonCalibrate" << "INFO!";
        QTest::newRow("TABLE ATTR") << "ButtonTableAttr" << "Info";
        QTest::newRow("SHOW GRAPH") << "ButtonShowGraph" << "INFO!";
        QTest::newRow("status") << "DispStatus" << "INFO!";
        QTest::newRow("X") << "DispX" << "INFO!";
        QTest::newRow("RED") << "DispRED" << "INFO!";
        QTest::newRow("C-No:") << "DispCOL" << "INFO!";
        QTest::newRow("GRP") << "DispGroup" << "INFO!";
        QTest::newRow("TEMP") << "DispTemp" << "INFO!";
        QTest::newRow("SOURCE") << "SelectSource" << "INFO!";
        QTest::newRow("RED bar") << "BarRED" << "INFO!";
        QTest::newRow("GREEN bar") << "BarGREEN" << "INFO!";
        QTest::newRow("BLUE bar") << "BarBLUE" << "INFO!";
        QTest::newRow("bars") << "DispRGB" << "INFO!";
        QTest::newRow("PROTOCOL") << "EditCommunicationProtocol" << "INFO!";
        QTest::newRow("COM PORT") << "EditSelectComPort" << "INFO!";
        QTest::newRow("SERVER") << "StringIpAdress" << "INFO!";
        QTest::newRow("PORT NUMBER") << "StringPortNumber" << "INFO!";
        QTest::newRow("TRY") << "ButtonTryToConnect" << "INFO!";
        QTest::newRow("ACCEPT") << "ButtonAccept" << "INFO!";
        QTest::newRow("DISCARD") << "ButtonDiscard" << "INFO!";
        QTest::newRow("SENSOR ID") << "EditID" << "INFO!";
        QTest::newRow("graph CLOSE") << "ButtonGpClose" << "INFO!";
    }
    void rightClickShowsInfoText()
    {
        QFETCH(QString, control);
        QFETCH(QString, title);
        PopupScript script;
        QWidget *w = FindControl(qPrintable(control));
        QVERIFY(w);
        w->setEnabled(true); // ACCEPT starts dimmed; dimmed controls take no clicks
        auto *button = qobject_cast<QPushButton *>(w);
        int clicks = 0;
        if (button)
            connect(button, &QPushButton::clicked, &script_guard, [&clicks] { ++clicks; });
        MenuKey(w);
        MouseRightClick(w);
        QCOMPARE(script.messages().size(), 2);
        QCOMPARE(script.messages()[0].title, title);
        QCOMPARE(script.messages()[1].title, title);
        QVERIFY(!script.messages()[0].text.trimmed().isEmpty());
        QCOMPARE(script.messages()[1].text, script.messages()[0].text);
        QCOMPARE(clicks, 0); // a right click runs no operation
        if (button)
            disconnect(button, nullptr, &script_guard, nullptr);
    }

    void barsInfoWordForWord()
    {
        PopupScript script;
        for (const char *bar : {"BarRED", "BarGREEN", "BarBLUE"})
            RightClick(FindControl(bar));
        QCOMPARE(script.messages().size(), 3);
        for (const ShownPopup &p : script.messages())
            QCOMPARE(p.text, QStringLiteral(" Displays the current color intensity of RED,GREEN and BLUE. "));
    }

    void sendInfoWordForWord()
    {
        PopupScript script;
        RightClick(mainpanel->ButtonSend);
        QCOMPARE(script.messages().value(0).text,
                 QStringLiteral(" All the parameters of the PC-User-Interface are transferred to the "
                                "sensor or to a selectable file. \n The target of the parameter "
                                "transfer is determined by the select button (RAM, EEPROM, FILE). "
                                "\n\n Shortcut Key: F9. "));
    }

    void functionKeysPressButtons_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("button");
        QTest::newRow("F9 SEND") << int(Qt::Key_F9) << "ButtonSend";
        QTest::newRow("F10 GET") << int(Qt::Key_F10) << "ButtonGet";
        QTest::newRow("F11 GO") << int(Qt::Key_F11) << "ButtonGo";
        QTest::newRow("F12 STOP") << int(Qt::Key_F12) << "ButtonStop";
    }
    void functionKeysPressButtons()
    {
        QFETCH(int, key);
        QFETCH(QString, button);
        auto *b = Control<QPushButton>(qPrintable(button));
        QSignalSpy spy(b, &QPushButton::clicked);
        QTest::keyClick(mainpanel, Qt::Key(key));
        QCOMPARE(spy.count(), 1);
        // Dimmed buttons do not react to their key; STOP is never dimmed.
        SetButtonsDimmed(1);
        QTest::keyClick(mainpanel, Qt::Key(key));
        SetButtonsDimmed(0);
        QCOMPARE(spy.count(), button == QLatin1String("ButtonStop") ? 2 : 1);
    }

    void sourceGroupsHideWithoutEmptyFrames()
    {
        // SOURCE hides the bars (DispRGB) but never the RED, GREEN, BLUE numbers; the COLOUR frame
        // goes with its three displays.
        FindControl("DispRGB")->hide();
        QVERIFY(!datapanel->BarRED->isVisible());
        QVERIFY(datapanel->DispRED->isVisible());
        for (QWidget *w : {datapanel->DispX, datapanel->DispY, datapanel->DispINT})
            SetControlVisible(w, false);
        QVERIFY(!datapanel->ColourBox->isVisible());
        SetControlVisible(datapanel->DispINT, true);
        QVERIFY(datapanel->ColourBox->isVisible());
        QVERIFY(datapanel->CaptionINT->isVisible());
        QVERIFY(!datapanel->CaptionX->isVisible());
        FindControl("DispRGB")->show();
        for (QWidget *w : {datapanel->DispX, datapanel->DispY})
            SetControlVisible(w, true);
        // The LED TRIG caption goes with its lamp.
        SetControlVisible(datapanel->LedTrig, false);
        QVERIFY(!datapanel->findChild<QLabel *>("CaptionLedTrig")->isVisible());
        SetControlVisible(datapanel->LedTrig, true);
        QVERIFY(datapanel->findChild<QLabel *>("CaptionLedTrig")->isVisible());
    }

    void showGraphAndClose()
    {
        QTest::mouseClick(mainpanel->ButtonShowGraph, Qt::LeftButton);
        QVERIFY(graphpanel->isVisible());
        QVERIFY(!datapanel->isVisible());
        QTest::mouseClick(graphpanel->ButtonGpClose, Qt::LeftButton);
        QVERIFY(!graphpanel->isVisible());
        QVERIFY(datapanel->isVisible());
    }

    void bigWindowsOpenOnDoubleClickAndHideOnRightClick()
    {
        QTest::mouseDClick(datapanel->DispCOL, Qt::LeftButton);
        QVERIFY(colbigpanel->isVisible());
        QVERIFY(!grpbigpanel->isVisible());
        RightClick(colbigpanel);
        QVERIFY(!colbigpanel->isVisible());

        QTest::mouseDClick(datapanel->DispGroup, Qt::LeftButton);
        QVERIFY(grpbigpanel->isVisible());
        grpbigpanel->close();
        QVERIFY(!grpbigpanel->isVisible());
        QVERIFY(!QuitRequested()); // closing a big window does not end the program
        QApplication::setActiveWindow(mainpanel);
    }

    void closingTheMainWindowEndsTheProgram()
    {
        poll = 1;
        QVERIFY(mainpanel->close());
        QCOMPARE(poll, uint16_t(0));
        QVERIFY(QuitRequested());
        // Closed before the event loop runs (e.g. during the first connection attempt): the loop
        // is not entered at all.
        QCOMPARE(RunUserInterface(), 0);
        ClearQuitRequest();
        mainpanel->show();
        QApplication::setActiveWindow(mainpanel);
    }

    void closingDuringANestedLoopEndsWithZero()
    {
        // A loop like GO's runs inside a callback of the event loop; the window is closed while
        // it waits. The loop ends at its next test of poll, then the event loop ends with 0.
        bool loopEnded = false;
        bool quitSeen = false;
        QTimer::singleShot(0, mainpanel, [&] {
            poll = 1;
            QTimer::singleShot(30, mainpanel, [] { mainpanel->close(); });
            const double start = Timer();
            while (poll && Timer() - start < 5.0)
                WaitForEvents(1.0);
            loopEnded = poll == 0;
            quitSeen = QuitRequested();
        });
        QTimer failsafe;
        failsafe.setSingleShot(true);
        connect(&failsafe, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        failsafe.start(8000);
        QCOMPARE(RunUserInterface(), 0);
        QVERIFY(loopEnded);
        QVERIFY(quitSeen);
        ClearQuitRequest();
        mainpanel->show();
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
