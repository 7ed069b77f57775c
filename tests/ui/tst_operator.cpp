// Operator aids against the simulated sensor: marks on unsent values (edit, SEND, GET, file
// load), asking before quitting with them, COMPARE with a file / RAM / EEPROM (reads only), and
// the serial-port list on the connection page.
#include "uitestutil.h"
#include "sensorset.h"

#include "common/popupscript.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/ttpanel.h"
#include "core/panels/tapanel.h"
#include "core/panels/interfacepanel.h"
#include "core/panels/calibpanel.h"
#include "core/panels/comparepanel.h"
#include "core/panels/cells.h"
#include "core/panels/rowcolours.h"
#include "core/params/unsent.h"
#include "core/settings/portlist.h"
#include "core/teach/taffile.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/serialports.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QTableWidget>
#include <QtTest>

using namespace tintra;
using namespace tintra::test;

namespace {

QList<uint16_t> Orders(const QList<QByteArray> &frames)
{
    QList<uint16_t> out;
    for (const QByteArray &f : frames)
        out << GetWord(reinterpret_cast<const unsigned char *>(f.constData()), 1);
    return out;
}

void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

// Types `value` into cell (row, col) of a table through its editor, from 0.
void EditCell(QTableWidget *t, int row, int col, int value)
{
    t->setFocus();
    t->setCurrentCell(row, col);
    QTest::keyClick(t, Qt::Key_F2);
    auto *editor = t->viewport()->findChild<QSpinBox *>();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QString::number(value));
    QTest::keyClick(editor, Qt::Key_Return);
}

const QString title = QStringLiteral("TINTRA-Revov V3.0");

int VisibleFrames() // unsent-mark frames the operator sees on the first parameter page
{
    int n = 0;
    for (QWidget *f : parapanel1->findChildren<QWidget *>(QStringLiteral("UnsentMark")))
        n += f->isVisible();
    return n;
}

} // namespace

class TstOperator : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramUnderTest> program;
    std::unique_ptr<sim::SimThread> sensor;
    std::unique_ptr<PopupScript> popups;

private slots:
    void init()
    {
        popups = std::make_unique<PopupScript>();
        program = std::make_unique<ProgramUnderTest>();
        QVERIFY(program->ok);
        sensor = std::make_unique<sim::SimThread>();
        QVERIFY2(sensor->start(), qPrintable(sensor->errorString()));
        sensor->setRamImage(SensorSet());
        sensor->setEepromImage(SensorSet());
        WriteBytes(program->path("ComSettings.cfg"),
                   "1\n1\n127.0.0.1\n" + QByteArray::number(sensor->port()) + "\n");
        InitAll(); // connects and reads the sensor's RAM: the panels are in step with it
        QCOMPARE(int(tcpcon), 1);
        QVERIFY(mainpanel->isVisible());
        sensor->clearFrames();
    }
    void cleanup()
    {
        program.reset();
        sensor.reset();
        popups.reset();
    }

    // An edit marks exactly its field and puts "*" in the title; SEND and GET (sensor) and a
    // file load clear every mark.
    void marksFollowEditsAndClearOnTransfer()
    {
        QCOMPARE(MarkedWords(), QList<int>());
        QCOMPARE(mainpanel->windowTitle(), title);

        Click(mainpanel->ButtonPara1);
        TypeInto(parapanel1->EditIntlim, 411);
        QTRY_COMPARE(MarkedWords(), QList<int>({5}));
        QCOMPARE(mainpanel->windowTitle(), title + " *");
        auto *frame = parapanel1->findChild<QWidget *>(QStringLiteral("UnsentMark"));
        QVERIFY(frame && frame->isVisible());
        QVERIFY(frame->geometry().contains(parapanel1->EditIntlim->geometry()));

        Click(mainpanel->ButtonTeachTable);
        EditCell(ttpanel->GridCtt, 3, 1, 999); // colour row 3, Y: image word 16 + 21 + 1
        QTRY_COMPARE(MarkedWords(), QList<int>({5, 38}));

        Click(mainpanel->ButtonSend);
        QTRY_COMPARE(MarkedWords(), QList<int>());
        QCOMPARE(mainpanel->windowTitle(), title);
        QCOMPARE(sensor->ramImage()[5], uint16_t(411));
        QCOMPARE(sensor->ramImage()[38], uint16_t(999));

        // Edited back and forth: a value equal to the sensor's again is no longer marked.
        Click(mainpanel->ButtonPara1);
        TypeInto(parapanel1->EditIntlim, 500);
        QTRY_COMPARE(MarkedWords(), QList<int>({5}));
        TypeInto(parapanel1->EditIntlim, 411);
        QTRY_COMPARE(MarkedWords(), QList<int>());

        TypeInto(parapanel1->EditIntlim, 412);
        QTRY_COMPARE(MarkedWords(), QList<int>({5}));
        Click(mainpanel->ButtonGet);
        QTRY_COMPARE(MarkedWords(), QList<int>());
        QCOMPARE(parapanel1->EditIntlim->value(), 411);
        QCOMPARE(mainpanel->windowTitle(), title);

        // File load: the file's values become the reference, also where the sensor differs.
        sim::Image file = SensorSet();
        file[5] = 420;
        const QString path = program->path("other.ini");
        QVERIFY(ArrayToFile(path, file.data(), 233));
        TypeInto(parapanel1->EditIntlim, 430);
        QTRY_COMPARE(MarkedWords(), QList<int>({5}));
        Click(mainpanel->SelectFILE);
        popups->answerFile(ExistingFileSelected, path);
        Click(mainpanel->ButtonGet);
        QTRY_COMPARE(parapanel1->EditIntlim->value(), 420);
        QCOMPARE(MarkedWords(), QList<int>());
        QCOMPARE(mainpanel->windowTitle(), title);
    }

    // Every kind of unsent edit (a parameter, a row text or colour of the table attributes, a
    // colour factor) marks its field, puts "*" in the title and makes closing ask once ("no"
    // keeps the program); the action that sends or saves it clears all three.
    void closeAsksForEveryUnsentEdit_data()
    {
        QTest::addColumn<int>("edit"); // 0 INT LIM, 1 row 4's text, 2 row 4's colour, 3 CF R
        QTest::addColumn<QString>("done");
        QTest::newRow("parameter, SEND") << 0 << "SEND";
        QTest::newRow("row text, SAVE") << 1 << "SAVE";
        QTest::newRow("row colour, LOAD") << 2 << "LOAD";
        QTest::newRow("row text, SET AS STARTUP") << 1 << "SET AS STARTUP";
        QTest::newRow("factor, SEND CF") << 3 << "SEND CF";
        QTest::newRow("factor, GET CF") << 3 << "GET CF";
    }
    void closeAsksForEveryUnsentEdit()
    {
        QFETCH(int, edit);
        QFETCH(QString, done);
        const QString taFile = program->path("attributes.cfg");
        QVERIFY(WriteTableAttributesFile(taFile, sicolarr, QStringList()));
        QVERIFY(mainpanel->close()); // nothing unsent: no question
        QVERIFY(QuitRequested());
        ClearQuitRequest();
        mainpanel->show();

        const auto marked = [edit] {
            switch (edit) {
            case 0: return ControlMarked(parapanel1->EditIntlim);
            case 1: return CellMarked(tapanel->GridTa, 1, 5);
            case 2: return CellMarked(tapanel->GridTa, 2, 5);
            default: return ControlMarked(calibpanel->EditCFR);
            }
        };
        if (edit == 0) {
            Click(mainpanel->ButtonPara1);
            TypeInto(parapanel1->EditIntlim, 1300);
        } else if (edit == 3) {
            Click(mainpanel->ButtonCalibrate);
            TypeInto(calibpanel->EditCFR, 1100);
        } else {
            Click(mainpanel->ButtonTableAttr);
            if (edit == 1) {
                QVERIFY(TypeIntoCell(tapanel->GridTa, 4, 0, QStringLiteral("Rot")));
            } else {
                ChooseItem(tapanel->EditSetColor, 0);
                TypeInto(tapanel->EditRow, 4);
                popups->answerColor(0x123456);
                Click(tapanel->EditColorNumericRow);
                Click(tapanel->ButtonSetRowColor);
            }
        }
        QTRY_VERIFY(marked());
        QCOMPARE(mainpanel->windowTitle(), title + " *");
        const qsizetype before = popups->shown.size(); // the colour picker counts as one
        QVERIFY(!mainpanel->close()); // no answer queued: the script says no
        QVERIFY(!QuitRequested());
        QCOMPARE(popups->shown.size(), before + 1);
        QCOMPARE(popups->shown.last().kind, QStringLiteral("confirm"));
        QCOMPARE(popups->shown.last().title, QStringLiteral("ATTENTION!"));
        QCOMPARE(popups->shown.last().text,
                 QStringLiteral(" Some values on the panels (marked) have not been sent to the "
                                "sensor or saved to a file. \n Quit anyway? "));

        if (done == "SEND") {
            Click(mainpanel->ButtonSend);
        } else if (done == "SAVE") {
            popups->answerFile(NewFileSelected, program->path("saved.cfg"));
            Click(tapanel->ButtonSaveArray);
        } else if (done == "LOAD") {
            popups->answerFile(ExistingFileSelected, taFile);
            Click(tapanel->ButtonGetArray);
        } else if (done == "SET AS STARTUP") {
            Click(tapanel->ButtonSetStartupArray);
        } else if (done == "SEND CF") {
            Click(calibpanel->ButtonSendCF);
            QCOMPARE(sensor->calibrationFactors()[0], uint16_t(1100));
        } else {
            Click(calibpanel->ButtonGetCF);
            QCOMPARE(calibpanel->EditCFR->value(), int(sensor->calibrationFactors()[0]));
        }
        QTRY_VERIFY(!marked());
        QCOMPARE(mainpanel->windowTitle(), title);
        const qsizetype asked = popups->shown.size();
        QVERIFY(mainpanel->close());
        QVERIFY(QuitRequested());
        QCOMPARE(popups->shown.size(), asked);
    }

    // COMPARE lists exactly the differing fields and changes nothing anywhere.
    void compareListsOnlyTheDifferences_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QList<int>>("changed"); // image words given another value
        QTest::addColumn<QStringList>("rows");   // field | panels | other
        QTest::addColumn<QList<uint16_t>>("orders");
        QTest::newRow("file, three values") << "FILE" << QList<int>{5, 38, 92}
            << QStringList{"INTLIM|410|411", "COLOR TEACH TABLE 3: Y|311|312",
                           "HOLD TABLE 10: HOLD|710|711"} << QList<uint16_t>{};
        QTest::newRow("file, identical") << "FILE" << QList<int>{} << QStringList{}
                                         << QList<uint16_t>{};
        QList<uint16_t> get{3};
        for (int r = 0; r < 31; ++r)
            get << 4;
        QTest::newRow("RAM, two values") << "RAM" << QList<int>{1, 21}
            << QStringList{"PMODE|0 = STAT|1 = DYN", "GROUP TABLE 0: GROUP|0|1"} << get;
        QTest::newRow("RAM, first and last field") << "RAM" << QList<int>{0, 232}
            << QStringList{"POWER|640|641", "HOLD TABLE 30: HOLD|730|731"} << get;
        QTest::newRow("EEPROM, one value") << "EEPROM" << QList<int>{12}
            << QStringList{"DYN WIN HI|3400|3401"} << (QList<uint16_t>{8} + get);
    }
    void compareListsOnlyTheDifferences()
    {
        QFETCH(QString, source);
        QFETCH(QList<int>, changed);
        QFETCH(QStringList, rows);
        QFETCH(QList<uint16_t>, orders);

        sim::Image other = SensorSet();
        for (int w : changed)
            other[size_t(w)] = uint16_t(other[size_t(w)] + 1);
        const QString path = program->path("compare.ini");
        QPushButton *button = comparepanel->ButtonCompareFile;
        if (source == "FILE") {
            QVERIFY(ArrayToFile(path, other.data(), 233));
            popups->answerFile(ExistingFileSelected, path);
        } else if (source == "RAM") {
            sensor->setRamImage(other);
            button = comparepanel->ButtonCompareRAM;
        } else {
            sensor->setEepromImage(other);
            button = comparepanel->ButtonCompareEEPROM;
            Click(mainpanel->ButtonCompare);
            Click(button); // refused: nothing is read
            QCOMPARE(sensor->frames().size(), 0);
            QCOMPARE(popups->shown.last().kind, QStringLiteral("confirm"));
            popups->answerConfirm(1);
        }
        const ParaImage before = PanelImage();

        Click(mainpanel->ButtonCompare);
        QTRY_VERIFY(comparepanel->isVisible());
        Click(button);
        QTRY_VERIFY(!comparepanel->DispCompareResult->text().isEmpty());

        QTableWidget *list = comparepanel->CompareList;
        QStringList shown;
        for (int r = 0; r < list->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 3; ++c) {
                cells << list->item(r, c)->text();
                QVERIFY(!(list->item(r, c)->flags() & Qt::ItemIsEditable));
            }
            shown << cells.join('|');
        }
        QCOMPARE(shown, rows);
        QCOMPARE(list->horizontalHeaderItem(2)->text(), source);
        // Read only: the panels and the marks are as they were; the sensor saw the parameter
        // reads only.
        QCOMPARE(PanelImage(), before);
        QCOMPARE(MarkedWords(), QList<int>());
        QCOMPARE(Orders(sensor->frames()), orders);
        // Reading the EEPROM makes the sensor take its values as current ones (confirmed above).
        QCOMPARE(sensor->ramImage(), source == "FILE" ? SensorSet() : other);
    }

    // A reconnect (TRY TO CONNECT or DISCARD) reads the sensor's parameters: with unsent edits
    // it asks first. "No" leaves the link, the edit and its mark alone; "yes" reads the sensor's
    // value back, and frames, title and COMPARE agree that nothing is unsent.
    void reconnectAsksBeforeReplacingEdits_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("TRY TO CONNECT") << "ButtonTryToConnect";
        QTest::newRow("DISCARD") << "ButtonDiscard";
    }
    void reconnectAsksBeforeReplacingEdits()
    {
        QFETCH(QString, button);
        Click(mainpanel->ButtonPara1);
        ChooseItem(parapanel1->Evalmode, 2);
        QTRY_COMPARE(MarkedWords(), QList<int>({3}));
        Click(mainpanel->ButtonConnect);
        auto *b = interfacepanel->findChild<QPushButton *>(button);
        QVERIFY(b);
        Click(b); // no answer queued: the script says no
        QCOMPARE(popups->shown.size(), 1);
        QCOMPARE(popups->shown[0].title, QStringLiteral("ATTENTION!"));
        QCOMPARE(popups->shown[0].text,
                 QStringLiteral(" Some parameters on the panels (marked) have not been sent to the "
                                "sensor or saved to a file. \n Connecting reads the parameters of "
                                "the sensor and replaces them. \n Connect anyway? "));
        QCOMPARE(sensor->frames().size(), 0);
        QCOMPARE(int(tcpcon), 1);
        QCOMPARE(RingValue(parapanel1->Evalmode), uint16_t(2));

        popups->answerConfirm(1);
        Click(b);
        // Automatic sending off, the identification, the parameter set: order 3, then the 31 rows.
        const QList<uint16_t> connect = QList<uint16_t>{50, 7, 3} + QList<uint16_t>(31, 4);
        QTRY_COMPARE(Orders(sensor->frames()), connect);
        Click(mainpanel->ButtonPara1);
        QTRY_COMPARE(MarkedWords(), QList<int>());
        QCOMPARE(RingValue(parapanel1->Evalmode), uint16_t(1));
        QCOMPARE(VisibleFrames(), 0);
        QCOMPARE(mainpanel->windowTitle(), title);
        Click(mainpanel->ButtonCompare);
        Click(comparepanel->ButtonCompareRAM);
        QTRY_COMPARE(comparepanel->DispCompareResult->text(), QStringLiteral("The panels hold the same values as the sensor's RAM."));
        QCOMPARE(comparepanel->CompareList->rowCount(), 0);
        QCOMPARE(popups->shown.size(), 2);
    }

    // The port list shows a pseudo-terminal named in "ComPorts.cfg"; choosing it maps the COM
    // number, and the program connects through it. A held or missing port is explained.
    void portListMapsTheComNumber()
    {
        sim::SimThread serial;
        sim::SimThread::Options o;
        o.tcp = false;
        o.ptyLink = program->path("ttySENSOR");
        QVERIFY2(serial.start(o), qPrintable(serial.errorString()));
        serial.setIdText("PTY SENSOR");
        WriteBytes(program->path("ComPorts.cfg"), "# the bench sensor\n7 " + o.ptyLink.toUtf8() + "\n");
        SetComPortsCfgDir(program->dir.path());
        const auto restore = qScopeGuard([] { SetComPortsCfgDir(QString()); });

        Click(mainpanel->ButtonConnect);
        InterfacePanel *p = interfacepanel;
        ChooseItem(p->EditCommunicationProtocol, 0);
        TypeInto(p->EditSelectComPort, 5);
        Click(p->SelectSerialPort); // the list is made afresh as it opens
        QTRY_VERIFY(p->SelectSerialPort->view()->isVisible());
        const int index = p->SelectSerialPort->findData(o.ptyLink);
        QVERIFY(index >= 0);
        QCOMPARE(p->SelectSerialPort->itemText(index), "COM 7: " + o.ptyLink);
        QTest::keyClick(p->SelectSerialPort->view(), Qt::Key_Escape);
        QTRY_VERIFY(!p->SelectSerialPort->view()->isVisible());

        ChooseItem(p->SelectSerialPort, index);
        QCOMPARE(ReadBytes(program->path("ComPorts.cfg")),
                 "# the bench sensor\n7 " + o.ptyLink.toUtf8() + "\n5 " + o.ptyLink.toUtf8() + "\n");
        QCOMPARE(p->DispComDevice->text(), "COM 5 = " + o.ptyLink);
        QVERIFY(!p->ButtonAccept->isEnabled());

        Click(p->ButtonTryToConnect);
        QTRY_COMPARE(p->DispInterfaceStatus->text(), QStringLiteral("PTY SENSOR"));
        QVERIFY(p->DispSerialProblem->isHidden());

        // A COM number whose device is missing: the status keeps its text, the line below says
        // what to do.
        WriteBytes(program->path("ComPorts.cfg"), "5 " + program->path("ttyGONE").toUtf8() + "\n");
        Click(p->ButtonTryToConnect);
        QTRY_COMPARE(p->DispInterfaceStatus->text(), QStringLiteral("TIMEOUT"));
        QVERIFY(p->DispSerialProblem->isVisible());
        QCOMPARE(p->DispSerialProblem->text(),
                 program->path("ttyGONE") + " does not exist. Plug in the adapter, or choose a port from the list.");
    }

    // What the operator reads for each kind of failed opening.
    void openReasons()
    {
        SerialOpenFacts f;
        f.device = "/dev/ttyUSB0";
        f.kind = SerialOpenFacts::Permission;
        f.user = "op";
        f.group = "dialout";
        QVERIFY(SerialOpenReason(f).contains("sudo usermod -aG dialout op"));
        QVERIFY(SerialOpenReason(f).contains("group dialout"));
        f.kind = SerialOpenFacts::Busy;
        f.holders = QStringList{"4711 (term)"};
        QCOMPARE(SerialOpenReason(f),
                 "/dev/ttyUSB0 is in use by process 4711 (term). Close that program, or choose another port.");
        f.holders.clear();
        QVERIFY(SerialOpenReason(f).contains("the system does not tell which one"));
        f.kind = SerialOpenFacts::None;
        QCOMPARE(SerialOpenReason(f), QString());
    }
};

QTEST_MAIN(TstOperator)
#include "tst_operator.moc"
