// The sensorsim program: started as a separate process, found through the port it prints.
#include "simclient.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace tintra;
using tintra::test::Frame;
using tintra::test::TcpPeer;
using tintra::test::Word;

namespace {

QString program()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/sensorsim");
}

// Starts sensorsim and waits for its first output line; returns that line.
QString startSim(QProcess &p, const QStringList &args)
{
    p.start(program(), args);
    if (!p.waitForStarted(3000))
        return {};
    QElapsedTimer t;
    t.start();
    while (!p.canReadLine() && t.elapsed() < 3000 && p.state() == QProcess::Running)
        p.waitForReadyRead(100);
    return QString::fromUtf8(p.readLine()).trimmed();
}

quint16 portFrom(const QString &line)
{
    const auto m = QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$"))
                       .match(line);
    return m.hasMatch() ? quint16(m.captured(1).toUInt()) : 0;
}

// Ends the process with SIGTERM and returns its exit code (-1 if it did not end cleanly).
int terminate(QProcess &p)
{
    ::kill(pid_t(p.processId()), SIGTERM);
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(1000);
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

class TestSimExe : public QObject {
    Q_OBJECT

private slots:
    void talksOverTcp()
    {
        QProcess p;
        const QString line = startSim(p, {QStringLiteral("--listen"),
                                           QStringLiteral("127.0.0.1:0"), QStringLiteral("--id"),
                                           QStringLiteral("TEST UNIT 7"), QStringLiteral("--colour"),
                                           QStringLiteral("3000,600,500"), QStringLiteral("--noise"),
                                           QStringLiteral("0")});
        const quint16 port = portFrom(line);
        QVERIFY2(port != 0, qPrintable(line));

        TcpPeer peer;
        QVERIFY(peer.connectTo(port));
        QCOMPARE(peer.exchange(Frame(OrderIdent)), QByteArray("TEST UNIT 7") + QByteArray(25, '\0'));
        const QByteArray data = peer.exchange(Frame(OrderData));
        QCOMPARE(Word(data, 9), 3000); // the fixed colour, raw
        QCOMPARE(Word(data, 8), 0);    // the start-up table's red row
        QCOMPARE(terminate(p), 0);
    }

    void faultOption()
    {
        QProcess p;
        const quint16 port = portFrom(startSim(
            p, {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                QStringLiteral("--fault"), QStringLiteral("short:5"), QStringLiteral("--fault"),
                QStringLiteral("wrongecho:1")}));
        QVERIFY(port != 0);
        TcpPeer peer;
        QVERIFY(peer.connectTo(port));
        QCOMPARE(peer.exchange(Frame(OrderData), 300).size(), 35);
        peer.readFor(50);
        QCOMPARE(peer.exchange(Frame(OrderSendPara)).left(2), QByteArray::fromHex("00AB"));
        QCOMPARE(terminate(p), 0);
    }

    // The white scene, and factors written with order 30 applied to the calibrated values.
    void whiteSceneCalibrates()
    {
        QProcess p;
        const quint16 port = portFrom(startSim(p, {QStringLiteral("--listen"),
                                                   QStringLiteral("127.0.0.1:0"),
                                                   QStringLiteral("--scene"), QStringLiteral("white"),
                                                   QStringLiteral("--noise"), QStringLiteral("0")}));
        QVERIFY(port != 0);
        TcpPeer peer;
        QVERIFY(peer.connectTo(port));
        QByteArray d = peer.exchange(Frame(OrderData));
        QCOMPARE((QList<int>{Word(d, 9), Word(d, 10), Word(d, 11), Word(d, 2), Word(d, 4)}),
                 (QList<int>{2150, 2000, 1850, 2150, 1850}));
        QCOMPARE(peer.exchange(Frame(OrderSendCF, {975, 1048, 1133})).mid(2),
                 Frame(OrderSendCF, {975, 1048, 1133}).mid(2));
        d = peer.exchange(Frame(OrderData));
        // 2150 * 975 / 1024, 2000 * 1048 / 1024, 1850 * 1133 / 1024, truncated.
        QCOMPARE((QList<int>{Word(d, 2), Word(d, 3), Word(d, 4)}), (QList<int>{2047, 2046, 2046}));
        QCOMPARE(terminate(p), 0);
    }

    void ptyOptionAndCleanUp()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("ttyS9"));
        QProcess p;
        const QString line = startSim(p, {QStringLiteral("--pty"), link});
        QVERIFY2(line.startsWith(QStringLiteral("serial link ")), qPrintable(line));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(terminate(p), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
    }

    void portInUse()
    {
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost));
        QProcess p;
        p.start(program(), {QStringLiteral("--listen"),
                            QStringLiteral("127.0.0.1:%1").arg(taken.serverPort())});
        QVERIFY(p.waitForFinished(3000));
        QVERIFY(p.exitCode() != 0);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("cannot listen on 127.0.0.1:%1")
                                  .arg(taken.serverPort())),
                 qPrintable(err));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("no link") << QStringList{} << "--listen";
        QTest::newRow("bad listen") << QStringList{"--listen", "127.0.0.1"} << "bad --listen";
        QTest::newRow("bad port") << QStringList{"--listen", "127.0.0.1:70000"} << "bad --listen";
        QTest::newRow("bad scene") << QStringList{"--listen", "127.0.0.1:0", "--scene", "rain"}
                                   << "unknown scene";
        QTest::newRow("bad colour") << QStringList{"--listen", "127.0.0.1:0", "--colour", "1,2"}
                                    << "bad colour";
        QTest::newRow("colour too big")
            << QStringList{"--listen", "127.0.0.1:0", "--colour", "1,2,4096"} << "bad colour";
        QTest::newRow("bad fault") << QStringList{"--listen", "127.0.0.1:0", "--fault", "boom"}
                                   << "unknown fault kind";
        QTest::newRow("send period 0")
            << QStringList{"--listen", "127.0.0.1:0", "--send-period", "0"} << "bad --send-period";
    }
    void badArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QProcess p;
        p.start(program(), args);
        QVERIFY(p.waitForFinished(3000));
        QVERIFY(p.exitCode() != 0);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(message), qPrintable(err));
    }

    void help()
    {
        QProcess p;
        p.start(program(), {QStringLiteral("--help")});
        QVERIFY(p.waitForFinished(3000));
        QCOMPARE(p.exitCode(), 0);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        for (const char *opt : {"--listen", "--pty", "--id", "--scene", "--colour", "--fault"})
            QVERIFY2(out.contains(QLatin1String(opt)), opt);
    }
};

QTEST_GUILESS_MAIN(TestSimExe)
#include "tst_simexe.moc"
