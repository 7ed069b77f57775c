// Platform services: array files, line reading, waits that sleep, popups through the script,
// array helpers.
#include "common/filelimit.h"
#include "common/threadcpu.h"
#include "common/popupscript.h"
#include "link/platform.h"
#include "link/state.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace tintra;

class TestPlatform : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void arrayFileFormat()
    {
        const uint16_t v[3] = {0, 65535, 42};
        QVERIFY(ArrayToFile(file("a.txt"), v, 3));
        QFile f(file("a.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("         0\n     65535\n        42\n"));
        uint16_t back[3] = {};
        QVERIFY(FileToArray(file("a.txt"), back, 3));
        QCOMPARE(back[1], uint16_t(65535));
        QCOMPARE(back[2], uint16_t(42));
    }

    void arrayReaderAcceptsBlanksAndCrLf()
    {
        write(file("b.txt"), "12        \r\n  7\r\n\t300 \r\n");
        uint16_t v[3] = {};
        QVERIFY(FileToArray(file("b.txt"), v, 3));
        QCOMPARE(v[0], uint16_t(12));
        QCOMPARE(v[1], uint16_t(7));
        QCOMPARE(v[2], uint16_t(300));
    }

    void arrayReaderRefusesBadFilesAndChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addRow("short") << QByteArray("1\n2\n");
        QTest::addRow("letters") << QByteArray("1\nabc\n3\n");
        QTest::addRow("too large") << QByteArray("1\n65536\n3\n");
        QTest::addRow("negative") << QByteArray("1\n-2\n3\n");
        QTest::addRow("fraction") << QByteArray("1\n2.5\n3\n");
        QTest::addRow("empty line") << QByteArray("1\n\n3\n");
        QTest::addRow("empty") << QByteArray();
        QTest::addRow("three good lines in a far larger file")
            << QByteArray("1\n2\n3\n") + QByteArray(3 * 64 + 1024, '\n');
    }
    void arrayReaderRefusesBadFilesAndChangesNothing()
    {
        QFETCH(QByteArray, content);
        write(file("c.txt"), content);
        uint16_t v[3] = {9, 9, 9};
        QVERIFY(!FileToArray(file("c.txt"), v, 3));
        QCOMPARE(v[0], uint16_t(9));
        QCOMPARE(v[2], uint16_t(9));
        QVERIFY(!FileToArray(file("missing.txt"), v, 3));
    }

    void failedWriteKeepsTheOldFile()
    {
        const uint16_t v[2] = {1, 2};
        QVERIFY(ArrayToFile(file("d.txt"), v, 2));
        QVERIFY(!ArrayToFile(dir.filePath("no/such/dir/d.txt"), v, 2));
        const uint16_t w[2] = {3, 4};
        {
            test::FileSizeLimit full(12); // the new text (22 bytes) does not fit
            QVERIFY(full.ok);
            QVERIFY(!ArrayToFile(file("d.txt"), w, 2));
        }
        uint16_t back[2] = {};
        QVERIFY(FileToArray(file("d.txt"), back, 2));
        QCOMPARE(back[0], uint16_t(1));
        QCOMPARE(back[1], uint16_t(2));
    }

    // Files from outside: refused unread when far too large or not a regular file (never opened,
    // so a pipe cannot block), binary text refused; reading stops at the lines needed.
    void guardedReaders_data()
    {
        QTest::addColumn<QByteArray>("content"); // "@dir", "@zero", "@fifo", "@none": no text
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<int>("head"); // ReadTextHead, 4 lines of up to 4 bytes
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("whole"); // ReadSmallFile
        using R = FileRead;
        QTest::addRow("stops after four lines") << QByteArray("1\r\n3\nplant-7\n300\n\n\0\0", 20)
            << 20 << int(R::Ok) << QStringList{"1", "3", "plan", "300"} << int(R::Ok);
        QTest::addRow("lone CRs and mixed") << QByteArray("1\r3\r\nplant-7\n300\r\0", 18) << 20
            << int(R::Ok) << QStringList{"1", "3", "plan", "300"} << int(R::Ok);
        QTest::addRow("one byte over") << QByteArray(21, '1') << 20 << int(R::TooLarge)
                                       << QStringList{"x"} << int(R::TooLarge);
        QTest::addRow("zero byte") << QByteArray("1\n3\0\n", 5) << 20 << int(R::Binary)
                                   << QStringList{"x"} << int(R::Ok);
        for (const char *special : {"@dir", "@zero", "@fifo"})
            QTest::addRow("%s", special + 1) << QByteArray(special) << 20 << int(R::NotAFile)
                                             << QStringList{"x"} << int(R::NotAFile);
        QTest::addRow("missing") << QByteArray("@none") << 20 << int(R::Missing) << QStringList{"x"}
                                 << int(R::Missing);
    }
    void guardedReaders()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, maxBytes);
        const QString path = file(QTest::currentDataTag());
        if (content == "@dir")
            QVERIFY(QDir().mkpath(path));
        else if (content == "@zero")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (content == "@fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (content != "@none")
            write(path, content);
        QStringList lines{"x"};
        QTEST(int(ReadTextHead(path, &lines, 4, 4, maxBytes)), "head");
        QTEST(lines, "lines");
        QByteArray bytes = "x";
        QTEST(int(ReadSmallFile(path, &bytes, maxBytes)), "whole");
        QVERIFY(bytes == "x" || bytes == content);
    }

    // A disk that fills up during a write: the previous file survives whole and the write says
    // it failed; an append that fails is cut back to the previous end.
    void fullDiskKeepsThePreviousFile_data()
    {
        QTest::addColumn<int>("how");
        QTest::addRow("whole file") << 0;
        QTest::addRow("numbers") << 1;
        QTest::addRow("numbers appended") << 2;
    }
    void fullDiskKeepsThePreviousFile()
    {
        QFETCH(int, how);
        const QString path = file("full.txt");
        const QByteArray old = "        17\n";
        write(path, old);
        std::vector<uint16_t> many(1000, 65535);
        test::FileSizeLimit full(4096);
        QVERIFY(full.ok);
        QVERIFY(how == 0 ? !WriteFileAtomically(path, QByteArray(10000, 'n'))
                         : !ArrayToFile(path, many.data(), int(many.size()), how == 2));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
        QCOMPARE(QDir(dir.path()).entryList({"full.txt*"}, QDir::Files), QStringList{"full.txt"});
    }

    void fileInfoAndLines()
    {
        write(file("e.txt"), "one\r\ntwo is longer\nthree");
        qint64 size = 0;
        QCOMPARE(GetFileInfo(file("e.txt"), &size), 1);
        QCOMPARE(size, qint64(24));
        QCOMPARE(GetFileInfo(file("none.txt"), &size), 0);
        QStringList lines;
        QVERIFY(ReadTextLines(file("e.txt"), &lines, 6));
        QCOMPARE(lines, QStringList({"one", "two is", "three"}));
    }

    void pathsUseThePlatformSeparator()
    {
        const QString p = JoinPath(QStringLiteral("/opt/x"), QStringLiteral("ComSettings.cfg"));
        QCOMPARE(p, QDir::toNativeSeparators(QStringLiteral("/opt/x/ComSettings.cfg")));
        QVERIFY(!p.contains(QLatin1Char('\\')) || QDir::separator() == QLatin1Char('\\'));
    }

    void dateAndTimeText()
    {
        // Two-digit month, two-digit day, four-digit year (read again if midnight passed).
        QDate day;
        QString text;
        do {
            day = QDate::currentDate();
            text = DateStr();
        } while (day != QDate::currentDate());
        QCOMPARE(text, QStringLiteral("%1-%2-%3")
                           .arg(day.month(), 2, 10, QLatin1Char('0'))
                           .arg(day.day(), 2, 10, QLatin1Char('0'))
                           .arg(day.year(), 4, 10, QLatin1Char('0')));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(TimeStr()).hasMatch());
    }

    // A long wait and a short one (woken to the microsecond, see WaitForEvents), each
    // interrupted by an event on the way: neither ends early, neither spins.
    void waitsSleepInsteadOfSpinning()
    {
        for (const double seconds : {0.3, 0.02}) {
            int interruptions = 0;
            QTimer::singleShot(5, this, [&] { ++interruptions; });
            const double cpu0 = test::ThreadCpuSeconds();
            const double t0 = Timer();
            WaitUntil(t0, seconds);
            const double wall = Timer() - t0;
            const double cpu = (test::ThreadCpuSeconds() - cpu0);
            QCOMPARE(interruptions, 1);
            QVERIFY2(wall >= seconds, qPrintable(QString::number(wall)));
            QVERIFY2(cpu < seconds / 3, qPrintable(QString::number(cpu)));
        }
    }

    void waitsRunPendingCallbacks()
    {
        bool ran = false;
        QTimer::singleShot(20, this, [&] { ran = true; });
        const double t0 = Timer();
        while (!ran && Timer() - t0 < 2.0)
            WaitForEvents(2.0 - (Timer() - t0));
        QVERIFY(ran);
        QVERIFY(Timer() - t0 < 1.0); // woken by the event, not by the limit
    }

    void popupsGoThroughTheScript()
    {
        test::PopupScript script;
        script.answerConfirm(1);
        script.answerFile(ExistingFileSelected, QStringLiteral("/tmp/x.ini"));
        MessagePopup(QStringLiteral("INFO!"), QStringLiteral(" text "));
        QCOMPARE(ConfirmPopup(QStringLiteral("CONFIRM CALCULATION!"), QStringLiteral("?")), 1);
        QCOMPARE(ConfirmPopup(QStringLiteral("again"), QStringLiteral("?")), 0);
        QString path;
        QCOMPARE(FileSelectPopup(QStringLiteral("/tmp"), QStringLiteral("Parameter.ini"),
                                 QStringLiteral("*.ini"), QStringLiteral("Parameter"), true, &path),
                 1);
        QCOMPARE(path, QStringLiteral("/tmp/x.ini"));
        QCOMPARE(script.shown.size(), 4);
        QCOMPARE(script.shown[0].title, QStringLiteral("INFO!"));
        QCOMPARE(script.shown[0].text, QStringLiteral(" text "));
        QCOMPARE(script.shown[3].request.filter, QStringLiteral("*.ini"));
        QCOMPARE(FileSelectPopup({}, {}, {}, {}, false, &path), 0);
    }

    void shiftAndCopy()
    {
        double a[5] = {1, 2, 3, 4, 5};
        double out[5];
        QCOMPARE(Shift(a, 5, -3, out), 0);
        QCOMPARE(out[0], 4.0);
        QCOMPARE(out[1], 5.0);
        QCOMPARE(out[2], 0.0);
        QCOMPARE(out[4], 0.0);
        QCOMPARE(Shift(a, 5, 2, a), 0); // in place
        QCOMPARE(a[0], 0.0);
        QCOMPARE(a[2], 1.0);
        QCOMPARE(a[4], 3.0);
        QCOMPARE(Shift(a, 5, 5, out), -20102);
        QCOMPARE(Shift(a, 5, -5, out), -20102);
        QCOMPARE(Shift(a, 0, 1, out), -20003);
        QCOMPARE(Shift(a, 5, 0, out), 0);
        QCOMPARE(out[2], 1.0);
        QCOMPARE(Copy1D(a, 0, out), -20003);
        QCOMPARE(Copy1D(a, 5, out), 0);
        QCOMPARE(out[4], 3.0);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
