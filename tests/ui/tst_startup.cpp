// Start-up with and without settings files, the first connection attempt (against the simulated
// sensor, or none), and TRY TO CONNECT / ACCEPT / DISCARD on a real link.
#include "uitestutil.h"

#include "common/popupscript.h"
#include "core/display/ramps.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/datapanel.h"
#include "core/panels/interfacepanel.h"
#include "core/settings/connection.h"
#include "core/settings/paths.h"
#include "link/codec.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"
#include "widgets/combobox.h"
#include "widgets/logo.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QTimer>
#include <QScopeGuard>

#include <optional>
#include <vector>

using namespace tintra;
using namespace tintra::test;

namespace {

QByteArray Record(const QByteArray &text)
{
    return text + QByteArray(100 - int(text.size()), '\0') + "\n";
}

// A local port nobody listens on: connecting is refused at once.
quint16 ClosedPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const quint16 p = s.serverPort();
    s.close();
    return p;
}

QString Status() { return datapanel->DispStatus->text(); }
QString PageStatus() { return interfacepanel->DispInterfaceStatus->text(); }

uint16_t OrderOf(const QByteArray &frame)
{
    return GetWord(reinterpret_cast<const unsigned char *>(frame.constData()), 1);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

    sim::SimThread sensor;
    QByteArray tcpSettings() const
    {
        return "1\n1\n127.0.0.1\n" + QByteArray::number(sensor.port()) + "\n";
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(sensor.start(), qPrintable(sensor.errorString()));
        sensor.setIdText("SIMULATED LINE 3");
    }
    void init()
    {
        sensor.clearFaults();
        sensor.clearFrames();
    }
    void cleanup()
    {
        SetComPortsCfgDir(QString());
    }

    void withoutSettingsFilesAndWithoutSensor()
    {
        ProgramUnderTest program;
        QVERIFY(program.ok);
        // COM 1 names a device that does not exist, so the attempt fails at once.
        WriteBytes(program.path("ComPorts.cfg"), "1 " + program.path("no-such-tty").toUtf8() + "\n");
        SetComPortsCfgDir(program.dir.path());
        poll = 1;
        target = EEPROM;

        InitAll();

        QCOMPARE(poll, uint16_t(0));
        QCOMPARE(target, uint16_t(RAM));
        QCOMPARE(order, uint16_t(1));
        QCOMPARE(comprotocol, uint16_t(0));
        QCOMPARE(comport, uint16_t(1));
        QCOMPARE(Status(), QStringLiteral("TIMEOUT"));
        QCOMPARE(PageStatus(), QStringLiteral("TIMEOUT"));
        QVERIFY(interfacepanel->isVisible());
        QVERIFY(!parapanel1->isVisible());
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled());
        QVERIFY(datapanel->DispComPort->isVisible());
        QVERIFY(!datapanel->DispServer->isVisible());
        QCOMPARE(datapanel->DispComPort->text(), QStringLiteral("1"));
        // The program stays usable: the long-operation buttons are operable again.
        QVERIFY(mainpanel->ButtonSend->isEnabled());
        QVERIFY(interfacepanel->ButtonTryToConnect->isEnabled());

        QCOMPARE(proj_dir, program.dir.path());
        QCOMPARE(conSettingsFileName, JoinPath(program.dir.path(), "ComSettings.cfg"));
        QCOMPARE(ipComboBoxFileName, JoinPath(program.dir.path(), "IPComboBox.cfg"));
        QCOMPARE(colorArrayStartupFileName, JoinPath(program.dir.path(), "StartupFile.cfg"));
        QCOMPARE(interfacepanel->StringIpAdress->count(), 0);
        // The server field is a combo box now (a second creation is refused), light grey.
        QCOMPARE(Combo_NewComboBox(interfacepanel->StringIpAdress), ComboErrNotComboBox);
        QCOMPARE(interfacepanel->StringIpAdress->lineEdit()->palette().color(QPalette::Base),
                 QColor(0xE0, 0xE0, 0xE0));
        // Branding variant 5.
        QCOMPARE(mainpanel->LogoArea->areaColour(), 0x0080FFu);
        // Nothing was written at start-up.
        QVERIFY(!QFile::exists(conSettingsFileName));
        QVERIFY(!QFile::exists(ipComboBoxFileName));
    }

    void rampsAfterStart()
    {
        FillRamps();
        QCOMPARE(xramp[0], int16_t(0));
        QCOMPARE(yramp[0], int16_t(4095));
        QCOMPARE(xramp[4095], int16_t(4095));
        QCOMPARE(yramp[4095], int16_t(0));
        for (int i = 0; i < rampSize; ++i)
            QVERIFY(xramp[i] == i && yramp[i] == 4095 - i);
    }

    void withTcpSettingsConnectsToTheSensor()
    {
        ProgramUnderTest program;
        WriteBytes(program.path("ComSettings.cfg"), tcpSettings());
        WriteBytes(program.path("IPComboBox.cfg"), Record("127.0.0.1") + Record("") + Record("spare"));

        InitAll();

        QCOMPARE(Status(), QStringLiteral("SIMULATED LINE 3"));
        QCOMPARE(PageStatus(), Status());
        QVERIFY(parapanel1->isVisible()); // the connection page is not forced
        QVERIFY(interfacepanel->ButtonAccept->isEnabled());
        QCOMPARE(tcpcon, uint16_t(1));
        QCOMPARE(portNum, int(sensor.port()));
        QVERIFY(!datapanel->DispComPort->isVisible());
        QVERIFY(datapanel->DispServer->isVisible());
        QCOMPARE(datapanel->DispServer->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(interfacepanel->EditCommunicationProtocol->currentIndex(), 1);
        QVERIFY(interfacepanel->StringIpAdress->isVisibleTo(interfacepanel));
        QVERIFY(!interfacepanel->EditSelectComPort->isVisibleTo(interfacepanel));
        QCOMPARE(interfacepanel->StringIpAdress->count(), 2);
        QCOMPARE(interfacepanel->StringIpAdress->itemText(1), QStringLiteral("spare"));

        // First frames on the wire: stop automatic sending (order 50, word 2 = 0), then order 7.
        const QList<QByteArray> frames = sensor.frames();
        QVERIFY(frames.size() >= 2);
        const auto *f0 = reinterpret_cast<const unsigned char *>(frames[0].constData());
        QCOMPARE(GetWord(f0, 0), uint16_t(85));
        QCOMPARE(OrderOf(frames[0]), uint16_t(50));
        QCOMPARE(GetWord(f0, 2), uint16_t(0));
        QCOMPARE(OrderOf(frames[1]), uint16_t(7));
    }

    void withSerialSettingsConnectsOverTheMappedPort()
    {
        ProgramUnderTest program;
        sim::SimThread serialSensor;
        sim::SimThread::Options o;
        o.tcp = false;
        o.ptyLink = program.path("ttySENSOR");
        QVERIFY2(serialSensor.start(o), qPrintable(serialSensor.errorString()));
        serialSensor.setIdText("SERIAL SENSOR");
        WriteBytes(program.path("ComPorts.cfg"), "4 " + o.ptyLink.toUtf8() + "\n");
        SetComPortsCfgDir(program.dir.path());
        WriteBytes(program.path("ComSettings.cfg"), "0\n4\n127.0.0.1\n1\n");

        InitAll();

        QCOMPARE(comprotocol, uint16_t(0));
        QCOMPARE(comport, uint16_t(4));
        QCOMPARE(Status(), QStringLiteral("SERIAL SENSOR"));
        QCOMPARE(PageStatus(), Status());
        QVERIFY(interfacepanel->ButtonAccept->isEnabled());
        QVERIFY(datapanel->DispComPort->isVisible());
        QCOMPARE(datapanel->DispComPort->text(), QStringLiteral("4"));

        // The same first frames as over TCP: order 50 with word 2 = 0, then order 7, then the
        // parameter read (order 3 and order 4 for rows 0 ... 30).
        const QList<QByteArray> frames = serialSensor.frames();
        QCOMPARE(frames.size(), 2 + 1 + 31);
        const auto *f0 = reinterpret_cast<const unsigned char *>(frames[0].constData());
        QCOMPARE(OrderOf(frames[0]), uint16_t(50));
        QCOMPARE(GetWord(f0, 2), uint16_t(0));
        QCOMPARE(OrderOf(frames[1]), uint16_t(7));
        QCOMPARE(OrderOf(frames[2]), uint16_t(3));
        for (int r = 0; r < 31; ++r) {
            const auto *f = reinterpret_cast<const unsigned char *>(frames[3 + r].constData());
            QCOMPARE(GetWord(f, 1), uint16_t(4));
            QCOMPARE(GetWord(f, 2), uint16_t(r));
        }
        CloseCom();
    }

    void letterPortNumberTimesOut()
    {
        ProgramUnderTest program;
        WriteBytes(program.path("ComSettings.cfg"), "1\n1\n127.0.0.1\nabc\n");
        InitAll();
        QCOMPARE(portNum, 0);
        QCOMPARE(Status(), QStringLiteral("TIMEOUT"));
        QCOMPARE(PageStatus(), QStringLiteral("TIMEOUT"));
        QVERIFY(interfacepanel->isVisible());
        QCOMPARE(tcpcon, uint16_t(0));
        QVERIFY(sensor.frames().isEmpty());
    }

    void acceptOnlyAfterASuccessfulAttempt()
    {
        ProgramUnderTest program;
        WriteBytes(program.path("ComSettings.cfg"),
                   "1\n1\n127.0.0.1\n" + QByteArray::number(ClosedPort()) + "\n");
        InitAll();
        QCOMPARE(Status(), QStringLiteral("TIMEOUT"));
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled());

        // TRY TO CONNECT with the same failing values: ACCEPT stays dimmed.
        QTest::mouseClick(interfacepanel->ButtonTryToConnect, Qt::LeftButton);
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled());
        QCOMPARE(Status(), QStringLiteral("TIMEOUT"));

        // With the sensor's port it succeeds; ACCEPT becomes available and saves these values.
        TypeText(interfacepanel->StringPortNumber, QString::number(sensor.port()));
        QTest::mouseClick(interfacepanel->ButtonTryToConnect, Qt::LeftButton);
        QCOMPARE(Status(), QStringLiteral("SIMULATED LINE 3"));
        QVERIFY(interfacepanel->ButtonAccept->isEnabled());
        QVERIFY(interfacepanel->ButtonTryToConnect->isEnabled()); // undimmed after the attempt
        QTest::mouseClick(interfacepanel->ButtonAccept, Qt::LeftButton);
        QCOMPARE(ReadBytes(conSettingsFileName), tcpSettings());
        QVERIFY(parapanel1->isVisible());
    }

    void sensorSilentAfterConnectTimesOut()
    {
        ProgramUnderTest program;
        WriteBytes(program.path("ComSettings.cfg"), tcpSettings());
        sensor.addFault(sim::Fault{sim::Fault::NoAnswer, 7});
        const double start = Timer();
        InitAll();
        // The TCP line check waits 5.0 s for the identification.
        QVERIFY2(Timer() - start >= 5.0 && Timer() - start < 6.5,
                 qPrintable(QString::number(Timer() - start)));
        QCOMPARE(Status(), QStringLiteral("TIMEOUT"));
        QCOMPARE(PageStatus(), QStringLiteral("TIMEOUT"));
        QVERIFY(interfacepanel->isVisible());
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled());
    }

    void discardRestoresAndReconnects()
    {
        ProgramUnderTest program;
        WriteBytes(program.path("ComSettings.cfg"), tcpSettings());
        InitAll();
        QCOMPARE(Status(), QStringLiteral("SIMULATED LINE 3"));

        // CONNECT remembers the page; the operator changes it and tries a dead port.
        QTest::mouseClick(mainpanel->ButtonConnect, Qt::LeftButton);
        QVERIFY(interfacepanel->isVisible());
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled());
        QWidget *keys = FocusOn(interfacepanel->StringPortNumber);
        QVERIFY(keys);
        QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(keys, QString::number(ClosedPort()));
        TypeInto(interfacepanel->EditSelectComPort, 6);
        QTest::mouseClick(interfacepanel->ButtonTryToConnect, Qt::LeftButton);
        QCOMPARE(Status(), QStringLiteral("TIMEOUT"));

        // DISCARD puts the remembered values back and connects with them; the page stays.
        sensor.clearFrames();
        QTest::mouseClick(interfacepanel->ButtonDiscard, Qt::LeftButton);
        QCOMPARE(interfacepanel->StringPortNumber->text(), QString::number(sensor.port()));
        QCOMPARE(interfacepanel->EditSelectComPort->value(), 1);
        QCOMPARE(Status(), QStringLiteral("SIMULATED LINE 3"));
        QVERIFY(interfacepanel->ButtonAccept->isEnabled());
        QVERIFY(interfacepanel->isVisible());
        QVERIFY(interfacepanel->ButtonDiscard->isEnabled());
        QVERIFY(!sensor.frames().isEmpty());
        QCOMPARE(ReadBytes(conSettingsFileName), tcpSettings()); // DISCARD writes nothing
    }

    void discardBeforeConnectReturnsToTheSettingsRead()
    {
        ProgramUnderTest program;
        WriteBytes(program.path("ComSettings.cfg"), tcpSettings());
        InitAll();
        ShowChildPanel(1); // e.g. after a time-out, without CONNECT
        TypeText(interfacepanel->StringPortNumber, QStringLiteral("1"));
        QTest::mouseClick(interfacepanel->ButtonDiscard, Qt::LeftButton);
        QCOMPARE(interfacepanel->StringPortNumber->text(), QString::number(sensor.port()));
        QCOMPARE(interfacepanel->EditCommunicationProtocol->currentIndex(), 1);
        QCOMPARE(Status(), QStringLiteral("SIMULATED LINE 3"));
    }

    void closingWhileGoRunsEndsTheProgramWithZero()
    {
        ProgramUnderTest program;
        WriteBytes(program.path("ComSettings.cfg"), tcpSettings());
        InitAll();
        QCOMPARE(Status(), QStringLiteral("SIMULATED LINE 3"));
        sensor.clearFrames();
        bool goReturned = false;
        QTimer::singleShot(0, mainpanel, [&] {
            QTimer::singleShot(300, mainpanel, [] { mainpanel->close(); });
            QTest::mouseClick(mainpanel->ButtonGo, Qt::LeftButton); // runs the acquisition loop until poll is cleared
            goReturned = true;
        });
        QTimer failsafe;
        failsafe.setSingleShot(true);
        connect(&failsafe, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        failsafe.start(10000);
        QCOMPARE(RunUserInterface(), 0);
        QVERIFY(goReturned);
        QCOMPARE(poll, uint16_t(0));
        int dataFrames = 0;
        for (const QByteArray &f : sensor.frames())
            dataFrames += OrderOf(f) == OrderData;
        QVERIFY(dataFrames > 0); // GO really ran
    }

    void openConnectionClosedAtTheEnd()
    {
        {
            ProgramUnderTest program;
            WriteBytes(program.path("ComSettings.cfg"), tcpSettings());
            InitAll();
            QCOMPARE(tcpcon, uint16_t(1));
        } // EndUserInterface
        QCOMPARE(tcpcon, uint16_t(0));
    }

    // Before the application starts, the program picks Qt's own event loop and repaints without
    // a round trip to the X server, unless the environment already chose.
    void platformPreferencesLeaveTheEnvironmentsChoice_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QByteArray>("before"); // "-" for not set
        QTest::addColumn<QByteArray>("after");
        for (const char *v : {"QT_NO_GLIB", "QT_XCB_NO_MITSHM"}) {
            QTest::addRow("%s unset", v) << QByteArray(v) << QByteArray("-") << QByteArray("1");
            QTest::addRow("%s=1", v) << QByteArray(v) << QByteArray("1") << QByteArray("1");
            QTest::addRow("%s empty", v) << QByteArray(v) << QByteArray("") << QByteArray("");
        }
        QTest::addRow("QT_NO_GLIB=0") << QByteArray("QT_NO_GLIB") << QByteArray("0")
                                      << QByteArray("0");
        // Any value turns shared memory off in Qt; "0" asks for it to stay on.
        QTest::addRow("QT_XCB_NO_MITSHM=0")
            << QByteArray("QT_XCB_NO_MITSHM") << QByteArray("0") << QByteArray("-");
    }
    void platformPreferencesLeaveTheEnvironmentsChoice()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const char *const names[] = {"QT_NO_GLIB", "QT_XCB_NO_MITSHM", "QT_QPA_PLATFORMTHEME"};
        std::vector<std::optional<QByteArray>> saved;
        for (const char *n : names)
            saved.push_back(qEnvironmentVariableIsSet(n) ? std::optional(qgetenv(n)) : std::nullopt);
        const auto restore = qScopeGuard([&] {
            for (size_t i = 0; i < saved.size(); ++i)
                saved[i] ? qputenv(names[i], *saved[i]) : qunsetenv(names[i]);
        });
        for (const char *n : names)
            qunsetenv(n);
        if (before != "-")
            qputenv(variable.constData(), before);
        PreferLeanEventLoop();
        PreferRepaintsWithoutRoundTrip();
        const QByteArray got =
            qEnvironmentVariableIsSet(variable.constData()) ? qgetenv(variable.constData()) : "-";
        QCOMPARE(got, after);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
