// Hostile files and a full disk. Every file reader refuses a pipe in a file's place without waiting
// on it (it would block the window); a settings file the program rewrites on a full disk stays as
// it was, with no half-written copy beside it, and the failure is said; and no label anywhere
// interprets text from the sensor or from files as markup.
#include "uitestutil.h"

#include "common/filelimit.h"
#include "common/popupscript.h"
#include "core/panels.h"
#include "core/panels/datapanel.h"
#include "core/panels/interfacepanel.h"
#include "core/settings/connection.h"
#include "core/settings/paths.h"
#include "core/teach/taffile.h"
#include "link/platform.h"
#include "sim/simthread.h"
#include "widgets/combobox.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace tintra;
using namespace tintra::test;

namespace {

QByteArray Record(const char *text) { return QByteArray(text).leftJustified(100, '\0') + "\n"; }

} // namespace

class TestHostileInput : public QObject {
    Q_OBJECT

private slots:
    void readersRefuseAPipe_data()
    {
        QTest::addColumn<int>("reader");
        QTest::newRow("ComSettings.cfg") << 0;
        QTest::newRow("IPComboBox.cfg") << 1;
        QTest::newRow("ComPorts.cfg (text lines)") << 2;
        QTest::newRow("parameter file") << 3;
        QTest::newRow("TableAttributes.cfg / StartupFile.cfg") << 4;
        QTest::newRow("IPComboBox.cfg kept as .bak before a rewrite") << 5;
    }
    void readersRefuseAPipe()
    {
        QFETCH(int, reader);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        // The test holds the pipe open for writing (read and write, so that this open does not
        // block): a reader that opens it waits for bytes until the test lets go.
        const int writer = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK);
        QVERIFY(writer >= 0);
        auto refused = std::async(std::launch::async, [&]() -> bool {
            ConnectionSettings s;
            QStringList lines{QStringLiteral("kept")};
            uint16_t values[4] = {1, 2, 3, 4};
            int colours[taColours] = {};
            FileRead why = FileRead::Ok;
            switch (reader) {
            case 0:
                return !ReadComSettings(path, &s, &why) && why == FileRead::NotAFile;
            case 1:
                return ReadServerFile(path, &why).isEmpty() && why == FileRead::NotAFile;
            case 2:
                return ReadTextHead(path, &lines, 10, 100) == FileRead::NotAFile &&
                       lines == QStringList{QStringLiteral("kept")};
            case 3:
                return !FileToArray(path, values, 4) && values[3] == 4;
            case 4:
                return !ReadTableAttributesFile(path, colours, &lines) &&
                       lines == QStringList{QStringLiteral("kept")};
            default: // not copied, and then not rewritten either
                return !KeepServerFileCopy(path) && !QFileInfo::exists(path + ".bak");
            }
        });
        const bool returned = refused.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
        ::close(writer); // a reader still waiting sees the end of the pipe now
        QVERIFY2(returned, "the reader waited on the pipe");
        QVERIFY(refused.get());
    }

    // On a full disk the file the program rewrites keeps its previous bytes, nothing half-written
    // is left beside it, and an "ATTENTION!" message says the save failed.
    void fullDiskKeepsSettingsFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("previous");
        QTest::newRow("ComSettings.cfg, ACCEPT") << "ComSettings.cfg"
                                                 << QByteArray("0\n3\nold-host\n300\n");
        QTest::newRow("IPComboBox.cfg, a new server")
            << "IPComboBox.cfg" << Record("alpha") + Record("beta");
    }
    void fullDiskKeepsSettingsFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, previous);
        ProgramUnderTest program;
        QVERIFY(program.ok);
        const QString path = program.dir.filePath(name);
        WriteBytes(path, previous);
        BuildSettingsPaths(program.dir.path(), QString());
        QCOMPARE(Combo_NewComboBox(interfacepanel->StringIpAdress), 0);
        FillServerList();
        GetConnectionSettingsFromFile();
        ShowChildPanel(1);
        PopupScript popups;
        const bool accept = name == QLatin1String("ComSettings.cfg");
        QWidget *keys = FocusOn(accept ? static_cast<QWidget *>(interfacepanel->EditSelectComPort)
                                       : static_cast<QWidget *>(interfacepanel->StringIpAdress));
        QVERIFY(keys);
        {
            FileSizeLimit full(8); // fewer bytes than either new file needs
            QVERIFY(full.ok);
            if (accept) {
                QTest::keyClick(keys, Qt::Key_Up); // another COM port, then ACCEPT
                interfacepanel->ButtonAccept->setEnabled(true); // as after TRY TO CONNECT
                QTest::mouseClick(interfacepanel->ButtonAccept, Qt::LeftButton);
            } else {
                QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(keys, QStringLiteral("gamma-host"));
                QTest::keyClick(keys, Qt::Key_Return);
            }
        }
        QCOMPARE(ReadBytes(path), previous);
        QCOMPARE(QDir(program.dir.path()).entryList({name + "*"}, QDir::Files | QDir::Hidden),
                 QStringList{name});
        QCOMPARE(popups.messages().size(), 1);
        QCOMPARE(popups.messages()[0].title, QStringLiteral("ATTENTION!"));
        if (accept)
            QVERIFY(interfacepanel->isVisible()); // not reported as done
    }

    // The sensor's identification and the start-up file's row texts carry markup: wherever they
    // are shown in a label, the label shows them as they are.
    void markupShownAsText()
    {
        sim::SimThread sensor;
        QVERIFY(sensor.start());
        const QByteArray id = "<b>BOLD</b> <a href='x'>link</a>";
        sensor.setIdText(id);
        QTemporaryDir dir;
        QByteArray startup;
        for (int i = 0; i < 45; ++i)
            startup += "255\r\n";
        for (int i = 0; i < 31; ++i)
            startup += "<i>row " + QByteArray::number(i) + "</i>\r\n";
        WriteBytes(dir.filePath(QStringLiteral("StartupFile.cfg")), startup);
        WriteBytes(dir.filePath(QStringLiteral("ComSettings.cfg")),
                   "1\n1\n127.0.0.1\n" + QByteArray::number(sensor.port()) + "\n");
        SetProgramDir(dir.path());
        QCOMPARE(StartUserInterface(), 0);
        InitAll();
        QCOMPARE(datapanel->DispStatus->text(), QString::fromLatin1(id));
        QWidget *keys = FocusOn(interfacepanel->EditID); // the operator's own text as well
        QVERIFY(keys);
        QTest::keyClicks(keys, QStringLiteral("<u>line 4</u>"));
        QTest::keyClick(keys, Qt::Key_Return);
        int shown = 0;
        QStringList rich;
        for (QWidget *top : QApplication::topLevelWidgets())
            for (QLabel *l : top->findChildren<QLabel *>()) {
                if (!l->text().contains(QLatin1Char('<')))
                    continue;
                ++shown;
                if (l->textFormat() != Qt::PlainText)
                    rich << l->objectName() + QStringLiteral(": ") + l->text();
            }
        EndUserInterface();
        SetProgramDir(QString());
        QVERIFY2(rich.isEmpty(), qPrintable(rich.join(QLatin1Char('\n'))));
        QVERIFY(shown >= 3); // the identification in the big displays and the recorder
    }
};

QTEST_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
