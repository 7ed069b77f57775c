// "ComSettings.cfg" and "IPComboBox.cfg": reading and writing byte for byte, and the server list
// rules of the connection page (move to top, ten entries, cut to 99 characters).
#include "uitestutil.h"

#include "common/linkrecorder.h"
#include "common/scriptedpeer.h"
#include "common/popupscript.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/interfacepanel.h"
#include "core/panels/recpanel.h"
#include "core/panels/colbigpanel.h"
#include "core/panels/grpbigpanel.h"
#include "core/settings/connection.h"
#include "core/settings/paths.h"
#include "link/state.h"
#include "link/transport.h"
#include "widgets/combobox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tintra;
using namespace tintra::test;

namespace {

QByteArray Record(const QByteArray &text, const char *lineEnd = "\n")
{
    return text + QByteArray(100 - int(text.size()), '\0') + lineEnd;
}

QStringList ListOf(ComboBox *c)
{
    QStringList l;
    for (int i = 0; i < c->count(); ++i)
        l << c->itemText(i);
    return l;
}

// What the connection page shows, to see that nothing changed.
QStringList PageValues()
{
    InterfacePanel *p = interfacepanel;
    return {QString::number(p->EditCommunicationProtocol->currentIndex()),
            QString::number(p->EditSelectComPort->value()), p->StringIpAdress->text(),
            p->StringPortNumber->text(), ListOf(p->StringIpAdress).join(QLatin1Char('|'))};
}

// The program with its settings files in its own directory and the server combo box made.
struct SettingsPage {
    ProgramUnderTest program;
    SettingsPage()
    {
        BuildSettingsPaths(program.dir.path(), QString());
        Combo_NewComboBox(interfacepanel->StringIpAdress);
        SetComPortsCfgDir(program.dir.path());
    }
    ~SettingsPage() { SetComPortsCfgDir(QString()); }
};

// The operator types a server into SERVER on the connection page and confirms it with Enter.
void EnterServer(const QString &text)
{
    ShowChildPanel(1);
    if (interfacepanel->EditCommunicationProtocol->currentIndex() != 1) {
        interfacepanel->EditCommunicationProtocol->setCurrentIndex(1); // TCP/IP: SERVER shows
        InitConnectPanel();
    }
    TypeText(interfacepanel->StringIpAdress, text, true);
}

} // namespace

class TestConnectionFiles : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void readComSettings_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("protocol");
        QTest::addColumn<int>("comPort");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("port");
        QTest::newRow("TCP, COM 3 kept") << QByteArray("1\n3\nsensor-hall-2\n300\n") << 1 << 3
                                         << "sensor-hall-2" << "300";
        QTest::newRow("two-byte line ends") << QByteArray("0\r\n7\r\n10.1.2.3\r\n10001\r\n") << 0
                                            << 7 << "10.1.2.3" << "10001";
        QTest::newRow("lone CRs") << QByteArray("1\r3\rsensor-hall-2\r300\r") << 1 << 3
                                  << "sensor-hall-2" << "300";
        QTest::newRow("mixed line ends") << QByteArray("0\r\n7\rplant-7\n10001") << 0 << 7
                                         << "plant-7" << "10001";
        QTest::newRow("letters count as 0") << QByteArray("x\nCOM\nhost\nabc\n") << 0 << 0 << "host"
                                            << "abc";
        QTest::newRow("missing lines") << QByteArray("1\n") << 1 << 0 << "" << "";
        QTest::newRow("port text cut to 31")
            << QByteArray("1\n1\nh\n") + QByteArray(40, '7') + "\n" << 1 << 1 << "h"
            << QString(31, QLatin1Char('7'));
        QTest::newRow("server cut to 255")
            << QByteArray("1\n1\n") + QByteArray(300, 's') + "\n5\n" << 1 << 1
            << QString(255, QLatin1Char('s')) << "5";
    }
    void readComSettings()
    {
        QFETCH(QByteArray, content);
        const QString path = dir.filePath("ComSettings.cfg");
        WriteBytes(path, content);
        ConnectionSettings s;
        QVERIFY(ReadComSettings(path, &s));
        QTEST(s.protocol, "protocol");
        QTEST(s.comPort, "comPort");
        QTEST(s.server, "server");
        QTEST(s.portNumber, "port");
    }

    void missingComSettingsIsNotRead()
    {
        ConnectionSettings s;
        s.comPort = 42;
        QVERIFY(!ReadComSettings(dir.filePath("nothing.cfg"), &s));
        QCOMPARE(s.comPort, 42);
    }

    void decimalValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("number") << "10001" << 10001;
        QTest::newRow("blanks") << " 300 " << 300;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("number then letters") << "12ab" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("hex is no decimal") << "0x10" << 0;
    }
    void decimalValue()
    {
        QFETCH(QString, text);
        QTEST(DecimalValue(text), "value");
    }

    void readServerFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("servers");
        QTest::newRow("two records") << Record("alpha") + Record("10.0.0.2")
                                     << QStringList{"alpha", "10.0.0.2"};
        QTest::newRow("zero record skipped") << Record("alpha") + Record("") + Record("gamma")
                                             << QStringList{"alpha", "gamma"};
        QTest::newRow("two-byte line ends") << Record("a1", "\r\n") + Record("b2", "\r\n")
                                            << QStringList{"a1", "b2"};
        QTest::newRow("lone CRs and mixed") << Record("a1", "\r") + Record("b2", "\r\n") +
                                                   Record("c3", "\r") + Record("d4")
                                            << QStringList{"a1", "b2", "c3", "d4"};
        QTest::newRow("text ends at first zero")
            << QByteArray("host") + '\0' + QByteArray("junk") + QByteArray(92, '\0') + "\n"
            << QStringList{"host"};
        QByteArray eleven;
        QStringList ten;
        for (int i = 0; i < 11; ++i) {
            eleven += Record(QByteArray("h") + QByteArray::number(i));
            if (i < 10)
                ten << QStringLiteral("h%1").arg(i);
        }
        QTest::newRow("never more than ten") << eleven << ten;
        QTest::newRow("count is size / 101") << QByteArray("short\n") << QStringList{};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }
    void readServerFile()
    {
        QFETCH(QByteArray, content);
        const QString path = dir.filePath("IPComboBox.cfg");
        WriteBytes(path, content);
        QTEST(ReadServerFile(path), "servers");
    }

    void writeServerFileExactly()
    {
        const QString path = dir.filePath("IPComboBox.cfg");
        QVERIFY(WriteServerFile(path, {"one", "192.168.0.10"}));
        QCOMPARE(ReadBytes(path), Record("one") + Record("192.168.0.10"));
        QCOMPARE(ReadServerFile(dir.filePath("missing.cfg")), QStringList());
    }

    void serverTextCutTo99()
    {
        QCOMPARE(CutServerText(QString(150, QLatin1Char('a'))).size(), 99);
        QCOMPARE(ServerRecord(QString(150, QLatin1Char('a'))).size(), 100);
        QCOMPARE(ServerRecord(QString(150, QLatin1Char('a'))).at(99), '\0');
        // Whole characters only: a two-byte character that would cross byte 99 is left out.
        const QString t = QString(98, QLatin1Char('a')) + QChar(0x00E9);
        QCOMPARE(CutServerText(t), QString(98, QLatin1Char('a')));
    }

    // ---- the page ----------------------------------------------------------------------------

    void serverCommitsUpdateListAndFile()
    {
        ProgramUnderTest program;
        QVERIFY(program.ok);
        BuildSettingsPaths(program.dir.path(), QString());
        WriteBytes(ipComboBoxFileName, Record("first") + Record("second") + Record("third"));
        ComboBox *c = interfacepanel->StringIpAdress;
        QCOMPARE(Combo_NewComboBox(c), 0);
        FillServerList();
        QCOMPARE(ListOf(c), QStringList({"first", "second", "third"}));

        // A known server (third in the list) moves to the top; the list keeps its length.
        interfacepanel->ButtonAccept->setEnabled(true);
        EnterServer(QStringLiteral("third"));
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled());
        QCOMPARE(QString::fromUtf8(ipBuf), QStringLiteral("third"));
        QCOMPARE(ListOf(c), QStringList({"third", "first", "second"}));
        QCOMPARE(ReadBytes(ipComboBoxFileName), Record("third") + Record("first") + Record("second"));

        // New servers go on top; the eleventh drops the oldest: exactly ten records.
        for (int i = 0; i < 7; ++i) {
            EnterServer(QStringLiteral("new%1").arg(i));
        }
        QCOMPARE(c->count(), 10);
        QCOMPARE(ListOf(c).first(), QStringLiteral("new6"));
        QCOMPARE(ListOf(c).last(), QStringLiteral("second"));
        EnterServer(QStringLiteral("new7"));
        QCOMPARE(c->count(), 10);
        QCOMPARE(ReadBytes(ipComboBoxFileName).size(), 10 * 101);
        QCOMPARE(ListOf(c).first(), QStringLiteral("new7"));
        QVERIFY(!ListOf(c).contains(QStringLiteral("second")));
        QCOMPARE(ReadServerFile(ipComboBoxFileName), ListOf(c));

        // Longer than 99 characters: the list and the file hold the first 99.
        const QString longName = QString(120, QLatin1Char('n'));
        EnterServer(longName);
        QCOMPARE(QString::fromUtf8(ipBuf), longName);
        QCOMPARE(c->itemText(0), QString(99, QLatin1Char('n')));
        QCOMPARE(ReadServerFile(ipComboBoxFileName).first(), QString(99, QLatin1Char('n')));

        // An empty text is not remembered.
        EnterServer(QString());
        QCOMPARE(c->count(), 10);
        QCOMPARE(c->itemText(0), QString(99, QLatin1Char('n')));
    }

    void typingAServerAndEnterCommits()
    {
        ProgramUnderTest program;
        BuildSettingsPaths(program.dir.path(), QString());
        ComboBox *c = interfacepanel->StringIpAdress;
        QCOMPARE(Combo_NewComboBox(c), 0);
        Combo_InsertComboItem(c, -1, QStringLiteral("192.168.0.10"));
        ShowChildPanel(1);
        interfacepanel->EditCommunicationProtocol->setCurrentIndex(1);
        InitConnectPanel();
        QVERIFY(QTest::qWaitForWindowExposed(mainpanel));
        QApplication::setActiveWindow(mainpanel);
        c->setFocus();
        // Keys go to the widget that has the focus, as the keyboard's do.
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c));
        QWidget *keys = QApplication::focusWidget();
        interfacepanel->ButtonAccept->setEnabled(true);
        QTest::keyClicks(keys, "192.168.0.1");
        QCOMPARE(c->text(), QStringLiteral("192.168.0.10")); // completed, "0" selected
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled()); // editing dims at once
        QTest::keyClick(keys, Qt::Key_Backspace);             // removes the completion
        QCOMPARE(c->text(), QStringLiteral("192.168.0.1"));
        QTest::keyClick(keys, Qt::Key_Return);
        QCOMPARE(QString::fromUtf8(ipBuf), QStringLiteral("192.168.0.1"));
        QCOMPARE(ListOf(c), QStringList({"192.168.0.1", "192.168.0.10"}));
        QCOMPARE(ReadBytes(ipComboBoxFileName), Record("192.168.0.1") + Record("192.168.0.10"));
        QCOMPARE(c->text(), QStringLiteral("192.168.0.1"));

        QTest::keyClick(keys, Qt::Key_Up); // opens the list
        QTRY_VERIFY(c->view()->isVisible());
        c->hidePopup();
    }

    void comPortFromFileOutsideTheRangeIsInvalid_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("shown");
        QTest::newRow("0") << QByteArray("0") << 0;
        QTest::newRow("not a number") << QByteArray("abc") << 0;
        QTest::newRow("above the range") << QByteArray("300") << 300;
    }
    void comPortFromFileOutsideTheRangeIsInvalid()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, shown);
        ProgramUnderTest program;
        BuildSettingsPaths(program.dir.path(), QString());
        WriteBytes(conSettingsFileName, "0\n" + line + "\nhost\n1\n");
        GetConnectionSettingsFromFile();
        QCOMPARE(interfacepanel->EditSelectComPort->value(), shown); // as the file says
        LinkRecorder rec;
        TryToConnect();
        QCOMPARE(int(comport), shown);
        QCOMPARE(int(ret), -2);
        QCOMPARE(rec.statuses, QStringList({"Invalid port number", "TIMEOUT"}));
    }

    void protocolShowsItsFields_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::newRow("RS-232") << 0;
        QTest::newRow("TCP/IP") << 1;
    }
    void protocolShowsItsFields()
    {
        QFETCH(int, protocol);
        ProgramUnderTest program;
        ShowChildPanel(1);
        InterfacePanel *p = interfacepanel;
        p->ButtonAccept->setEnabled(true);
        // The operator's choice by the keyboard: the other protocol first, then this one.
        QWidget *keys = FocusOn(p->EditCommunicationProtocol);
        QVERIFY(keys);
        QTest::keyClick(keys, protocol == 0 ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(keys, protocol == 0 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(p->EditCommunicationProtocol->currentIndex(), protocol);
        QCOMPARE(comprotocol, uint16_t(protocol));
        QVERIFY(!p->ButtonAccept->isEnabled());
        QCOMPARE(p->EditSelectComPort->isVisible(), protocol == 0);
        QCOMPARE(p->DispComDevice->isVisible(), protocol == 0);
        QCOMPARE(p->StringIpAdress->isVisible(), protocol == 1);
        QCOMPARE(p->StringPortNumber->isVisible(), protocol == 1);
        // Captions go with their fields.
        QCOMPARE(p->findChild<QLabel *>("CaptionPortNumber")->isVisible(), protocol == 1);
        QCOMPARE(p->findChild<QLabel *>("CaptionComPortEdit")->isVisible(), protocol == 0);
    }

    void comPortShowsItsDeviceAndDimsAccept()
    {
        ProgramUnderTest program;
        ShowChildPanel(1);
        interfacepanel->ButtonAccept->setEnabled(true);
        QVERIFY(FocusOn(interfacepanel->EditSelectComPort));
        TypeInto(interfacepanel->EditSelectComPort, 3);
        QCOMPARE(interfacepanel->EditSelectComPort->value(), 3);
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled());
        QCOMPARE(interfacepanel->DispComDevice->text(),
                 QStringLiteral("COM 3 = ") + ComPortDevice(3));
    }

    void portNumberEditDimsAccept()
    {
        ProgramUnderTest program;
        ShowChildPanel(1);
        QApplication::setActiveWindow(mainpanel);
        interfacepanel->ButtonAccept->setEnabled(true);
        QTest::keyClicks(interfacepanel->StringPortNumber, "1");
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled());
    }

    void sensorIdGoesToTheThreeDisplays()
    {
        ProgramUnderTest program;
        const QString id = QStringLiteral("LINE 4 <b>west</b> ") + QString(120, QLatin1Char('x'));
        QWidget *keys = FocusOn(interfacepanel->EditID);
        QVERIFY(keys);
        QTest::keyClicks(keys, id);
        QCOMPARE(interfacepanel->EditID->text().size(), 99);
        QTest::keyClick(keys, Qt::Key_Return);
        for (QLabel *l : {colbigpanel->DispIdColBig, grpbigpanel->DispIdGrpBig, recpanel->DispIdRec}) {
            QCOMPARE(l->text(), id.left(99));
            QCOMPARE(l->textFormat(), Qt::PlainText);
        }
    }

    // Settings files that are far too large, binary, empty or not files at all are refused with
    // a message, unread; the page and the file stay as they were.
    void hostileSettingsFilesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // "@dir": a directory of that name
        const QByteArray four = "1\n3\nplant-7\n300\n";
        const QString settings = QStringLiteral("ComSettings.cfg");
        QTest::addRow("50 MB of empty lines") << settings << four + QByteArray(50 << 20, '\n');
        QTest::addRow("a million short lines") << settings << four + QByteArray("1\n").repeated(1 << 20);
        QTest::addRow("binary") << settings << QByteArray("1\n\x00\x07\n5\n", 7);
        QTest::addRow("empty") << settings << QByteArray();
        QTest::addRow("directory") << settings << QByteArray("@dir");
        QTest::addRow("server list too large") << QStringLiteral("IPComboBox.cfg")
                                                << Record("big").repeated(1000);
    }
    void hostileSettingsFilesAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        SettingsPage page;
        const QString path = page.program.dir.filePath(name);
        content == "@dir" ? void(QDir().mkpath(path)) : WriteBytes(path, content);
        const QDateTime stamp = QFileInfo(path).lastModified();
        const QStringList before = PageValues();
        PopupScript script;
        FillServerList();
        GetConnectionSettingsFromFile();
        QCOMPARE(PageValues(), before);
        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages()[0].title, QStringLiteral("ATTENTION!"));
        QVERIFY(script.messages()[0].text.contains(path));
        QCOMPARE(QFileInfo(path).lastModified(), stamp);
    }

    // A server list not in the record layout (edited by hand) is kept as ".bak" before the first
    // rewrite and the operator is told once; a list in the layout is rewritten without a word.
    void serverListNotInLayoutIsKept_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("shown"); // the list after reading
        QTest::addColumn<bool>("kept");
        QTest::addRow("plain lines") << QByteArray("alpha\nbeta\n") << QStringList{} << true;
        QTest::addRow("a record and a line") << Record("rec") + "by-hand\n" << QStringList{"rec"}
                                             << true;
        QTest::addRow("records, CR LF") << Record("a1", "\r\n") + Record("b2", "\r\n")
                                        << QStringList{"a1", "b2"} << false;
        QTest::addRow("records, lone CRs") << Record("a1", "\r") + Record("b2", "\r")
                                           << QStringList{"a1", "b2"} << false;
    }
    void serverListNotInLayoutIsKept()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, kept);
        SettingsPage page;
        WriteBytes(ipComboBoxFileName, content);
        FillServerList();
        ComboBox *c = interfacepanel->StringIpAdress;
        QTEST(ListOf(c), "shown");
        PopupScript script;
        for (const char *server : {"new-host", "second-host"}) {
            EnterServer(QString::fromLatin1(server));
        }
        QCOMPARE(ReadBytes(ipComboBoxFileName + ".bak"), kept ? content : QByteArray());
        QCOMPARE(script.messages().size(), kept ? 1 : 0);
        if (kept)
            QCOMPARE(script.messages()[0].title, QStringLiteral("INFO!"));
        QCOMPARE(ReadServerFile(ipComboBoxFileName), ListOf(c));
        QCOMPARE(ListOf(c).mid(0, 2), QStringList({"second-host", "new-host"}));
    }

    // A COM port mapped to something that is no serial port is named so on the page and not
    // opened; a refused "ComPorts.cfg" is reported once and not used; the name is plain text.
    void comPortsNotSerialOrRefused_data()
    {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("messages");
        QTest::addRow("/dev/zero") << QByteArray("99 /dev/zero\n")
                                   << "COM 99 = /dev/zero: not a serial port" << 0;
        QTest::addRow("a directory") << QByteArray("99 @DIR@\n")
                                     << "COM 99 = @DIR@: not a serial port" << 0;
        QTest::addRow("markup in the name") << QByteArray("99 /dev/<b>x</b>\n")
                                            << "COM 99 = /dev/<b>x</b>" << 0;
        QTest::addRow("port list too large") << QByteArray("99 /dev/zero\n").repeated(8000)
                                             << "COM 99 = /dev/ttyS98" << 1;
    }
    void comPortsNotSerialOrRefused()
    {
        QFETCH(QByteArray, cfg);
        QFETCH(QString, shown);
        SettingsPage page;
        const QString dir = page.program.dir.path();
        WriteBytes(page.program.path("ComSettings.cfg"), "0\n99\n\n\n");
        WriteBytes(page.program.path("ComPorts.cfg"), cfg.replace("@DIR@", dir.toUtf8()));
        PopupScript script;
        ShowChildPanel(1);
        GetConnectionSettingsFromFile();
        QCOMPARE(interfacepanel->DispComDevice->text(), shown.replace("@DIR@", dir));
        QCOMPARE(interfacepanel->DispComDevice->textFormat(), Qt::PlainText); // never markup
        ShowComPortDevice(); // again, as on every change of COM PORT
        ShowComPortDevice();
        QTEST(int(script.messages().size()), "messages");
        TryToConnect();
        QCOMPARE(interfacepanel->DispInterfaceStatus->text(), QStringLiteral("TIMEOUT"));
    }

    void acceptReportsASettingsFileThatCannotBeWritten()
    {
        ProgramUnderTest program;
        BuildSettingsPaths(program.dir.path(), QString());
        QVERIFY(QDir(program.dir.path()).mkdir(QStringLiteral("ComSettings.cfg")));
        PopupScript script;
        ShowChildPanel(1);
        interfacepanel->ButtonAccept->setEnabled(true);
        QTest::mouseClick(interfacepanel->ButtonAccept, Qt::LeftButton);
        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages()[0].title, QStringLiteral("ATTENTION!"));
        QVERIFY(interfacepanel->isVisible()); // not reported as done
    }

    void acceptSavesThePageAndShowsParameters()
    {
        ProgramUnderTest program;
        BuildSettingsPaths(program.dir.path(), QString());
        ShowChildPanel(1);
        InterfacePanel *p = interfacepanel;
        TypeInto(p->EditSelectComPort, 14); // two digits, kept whole in the file and read back
        ChooseItem(p->EditCommunicationProtocol, 1);
        QWidget *keys = FocusOn(p->StringIpAdress);
        QVERIFY(keys);
        QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(keys, QStringLiteral("cell-9"));
        QTest::keyClick(keys, Qt::Key_Return);
        keys = FocusOn(p->StringPortNumber);
        QVERIFY(keys);
        QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(keys, QStringLiteral("5020"));
        QTest::keyClick(keys, Qt::Key_Return);
        p->ButtonAccept->setEnabled(true); // as after a successful TRY TO CONNECT
        QTest::mouseClick(p->ButtonAccept, Qt::LeftButton);
        QCOMPARE(ReadBytes(conSettingsFileName), QByteArray("1\n14\ncell-9\n5020\n"));
        QVERIFY(parapanel1->isVisible());
        QVERIFY(!interfacepanel->isVisible());
        TypeInto(p->EditSelectComPort, 2);
        GetConnectionSettingsFromFile();
        QCOMPARE(p->EditSelectComPort->value(), 14);
        QCOMPARE(p->StringIpAdress->text(), QStringLiteral("cell-9"));
    }

    // Every operation that writes a settings file, done as the operator does it, then the WHOLE
    // file byte for byte as its format says: four lines (ACCEPT); 100-byte records padded with
    // zero bytes, most recent first (a server entered); the one "<number> <device>" line put in
    // place of the first for that number and every other line kept with its own line end,
    // comments, long lines and bytes that are not UTF-8 too (a port chosen from the list); 233
    // numbers right-aligned in ten columns (SEND to FILE, after GET from a file with lone CRs).
    // The files before are read with their own line ends: what the operator sees comes from them.
    void settingsFilesByteForByte_data()
    {
        QTest::addColumn<int>("op"); // 0 ACCEPT, 1 server, 2 port (COM number), 3 SEND to FILE
        QTest::addColumn<int>("comPort");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("before"); // @PTY@: a pseudo-terminal's path
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ACCEPT") << 0 << 14 << "ComSettings.cfg" << QByteArray("0\r2\rold-host\r300\r")
                                << QByteArray("0\n14\nold-host\n300\n") << "0|14|old-host|300";
        QTest::newRow("server") << 1 << 0 << "IPComboBox.cfg"
                                << Record("alpha", "\r") + Record("beta", "\r") + Record("gamma", "\r")
                                << Record("gamma") + Record("alpha") + Record("beta")
                                << "gamma|alpha|beta";
        const QByteArray comment = "# bench \xff\xfe " + QByteArray(5000, 'x');
        QTest::newRow("port, lone CRs") << 2 << 5 << "ComPorts.cfg"
            << comment + "\r5 /dev/ttyOLD\r7 @PTY@\r\r5\t/dev/ttyOLDER\r# end"
            << comment + "\r5 @PTY@\r7 @PTY@\r\r# end" << "COM 5 = @PTY@";
        QTest::newRow("port, new number") << 2 << 9 << "ComPorts.cfg" << QByteArray("7 @PTY@\r\n# end")
            << QByteArray("7 @PTY@\r\n# end\r\n9 @PTY@\r\n") << "COM 9 = @PTY@";
        QByteArray in, out = "       640\n         0\n        32\n         1\n        90\n       410\n"
                             "        12\n         1\n         3\n         0\n         0\n      1200\n"
                             "      3400\n         1\n         1\n         4\n";
        for (const QByteArray &line : out.split('\n'))
            in += line.trimmed() + (line.isEmpty() ? "" : "\r");
        for (int r = 0; r < 31; ++r) // five teach words 3k + 7 (k: the line), group r, hold 3k + 7
            for (int k = 16 + 7 * r; k < 23 + 7 * r; ++k) {
                const int v = k == 21 + 7 * r ? r : 3 * k + 7;
                in += QByteArray::number(v) + " \r";
                out += QStringLiteral("%1\n").arg(v, 10).toLatin1();
            }
        QTest::newRow("SEND to FILE") << 3 << 0 << "Parameter.ini" << in << out << "";
    }
    void settingsFilesByteForByte()
    {
        QFETCH(int, op);
        QFETCH(int, comPort);
        QFETCH(QString, name);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, shown);
        SettingsPage page;
        ScriptedPeer pty(ScriptedPeer::Pty, page.program.path("ttyBENCH"));
        QVERIFY(pty.start());
        const QString path = page.program.dir.filePath(name), in = page.program.path("in.ini");
        WriteBytes(op == 3 ? in : path, before.replace("@PTY@", QFile::encodeName(pty.linkPath())));
        PopupScript script;
        FillServerList();
        GetConnectionSettingsFromFile();
        InterfacePanel *p = interfacepanel;
        ShowChildPanel(1);
        if (op == 2)
            ChooseItem(p->EditCommunicationProtocol, 0); // RS-232: COM PORT and the list show
        if (op == 0 || op == 2)
            TypeInto(p->EditSelectComPort, comPort);
        if (op == 0) {
            p->ButtonAccept->setEnabled(true); // as after a successful TRY TO CONNECT
            QTest::mouseClick(p->ButtonAccept, Qt::LeftButton);
        } else if (op == 1) {
            EnterServer(QStringLiteral("gamma"));
        } else if (op == 2) {
            ChooseItem(p->SelectSerialPort, p->SelectSerialPort->findData(pty.linkPath()));
        } else {
            script.answerFile(ExistingFileSelected, in);
            script.answerFile(NewFileSelected, path);
            for (QPushButton *b : {mainpanel->SelectFILE, mainpanel->ButtonGet, mainpanel->ButtonSend})
                QTest::mouseClick(b, Qt::LeftButton);
        }
        QCOMPARE(ReadBytes(path), after.replace("@PTY@", QFile::encodeName(pty.linkPath())));
        const QStringList values = PageValues();
        const QString seen = op == 0 ? values.mid(0, 4).join(QLatin1Char('|')) : op == 1 ? values[4]
                           : op == 2 ? p->DispComDevice->text() : QString();
        QCOMPARE(seen, shown.replace("@PTY@", pty.linkPath()));
        QCOMPARE(script.messages().size(), 0);
    }

    // A program folder that cannot be written: the settings go to the fallback folder, with the
    // shipped file copied there; a pipe or a huge file shipped in a settings file's place is not
    // copied, and start-up does not wait on the pipe (a child that waits is ended by its alarm).
    // Root may write anywhere, so the paths are built in a child process that has given up
    // root's rights.
    void settingsFilesFallBackWhenProgramDirIsReadOnly()
    {
        QTemporaryDir prog, fallback;
        WriteBytes(prog.filePath("ComSettings.cfg"), "1\n2\nshipped\n9\n");
        QCOMPARE(mkfifo(QFile::encodeName(prog.filePath("IPComboBox.cfg")).constData(), 0644), 0);
        WriteBytes(prog.filePath("StartupFile.cfg"), QByteArray(8 << 20, '\n'));
        const auto rx = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                        QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
        QVERIFY(QFile::setPermissions(prog.path(), rx));
        QVERIFY(QFile::setPermissions(fallback.path(), rx | QFileDevice::WriteOwner |
                                                           QFileDevice::WriteGroup |
                                                           QFileDevice::WriteOther));
        const QString fb = fallback.filePath(QStringLiteral("settings"));
        const pid_t pid = fork();
        if (pid == 0) {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(10);
            alarm(60);
            BuildSettingsPaths(prog.path(), fb);
            int fails = 0;
            fails += QDir(fb).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                        QDir::NoDotAndDotDot) != QStringList{"ComSettings.cfg"};
            fails += proj_dir != prog.path();
            fails += settings_dir != fb;
            fails += conSettingsFileName != JoinPath(fb, "ComSettings.cfg");
            fails += ReadBytes(conSettingsFileName) != QByteArray("1\n2\nshipped\n9\n");
            _exit(fails);
        }
        QVERIFY(pid > 0);
        int status = -1;
        QCOMPARE(waitpid(pid, &status, 0), pid);
        QFile::setPermissions(prog.path(), rx | QFileDevice::WriteOwner);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);

        // A writable program folder keeps the settings beside the program.
        BuildSettingsPaths(prog.path(), fb);
        QCOMPARE(settings_dir, prog.path());
        QCOMPARE(conSettingsFileName, JoinPath(prog.path(), "ComSettings.cfg"));
    }
};

QTEST_MAIN(TestConnectionFiles)
#include "tst_connfiles.moc"
