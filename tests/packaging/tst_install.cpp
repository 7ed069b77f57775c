// Installation: `cmake --install` into a staging folder (DESTDIR) puts the program, the simulated
// sensor, the desktop entry, both icons and the AppStream metainfo in their standard places, and
// the desktop entry and metainfo pass the freedesktop validators when those are installed. The
// Debian package built by CPack holds the same tree.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int code = -1;
    QString output;
};

Run RunTool(const QString &program, const QStringList &args, const QString &destDir = QString())
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!destDir.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), destDir);
        p.setProcessEnvironment(env);
    }
    p.start(program, args);
    if (!p.waitForFinished(200000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAll())};
}

const QString buildDir = QStringLiteral(TINTRA_BUILD_DIR);

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir stage;
    QString prefix; // stage + /usr

private slots:
    void initTestCase()
    {
        QVERIFY(stage.isValid());
        const Run r = RunTool(QStringLiteral("cmake"),
                              {QStringLiteral("--install"), buildDir, QStringLiteral("--prefix"),
                               QStringLiteral("/usr")},
                              stage.path());
        QVERIFY2(r.code == 0, qPrintable(r.output));
        prefix = stage.filePath(QStringLiteral("usr"));
    }

    void treeHoldsProgramEntryIconsAndMetainfo_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("executable");
        QTest::newRow("program") << "bin/TintraV30" << true;
        QTest::newRow("simulator") << "bin/sensorsim" << true;
        QTest::newRow("command-line companion") << "bin/tintractl" << true;
        QTest::newRow("desktop entry") << "share/applications/TintraV30.desktop" << false;
        QTest::newRow("metainfo") << "share/metainfo/TintraV30.metainfo.xml" << false;
        QTest::newRow("svg icon") << "share/icons/hicolor/scalable/apps/TintraV30.svg" << false;
        QTest::newRow("png icon") << "share/icons/hicolor/48x48/apps/TintraV30.png" << false;
        QTest::newRow("tintractl manual page") << "share/man/man1/tintractl.1" << false;
        QTest::newRow("tintractl completion") << "share/bash-completion/completions/tintractl" << false;
    }
    void treeHoldsProgramEntryIconsAndMetainfo()
    {
        QFETCH(QString, path);
        QFETCH(bool, executable);
        const QFileInfo fi(QDir(prefix).filePath(path));
        QVERIFY2(fi.isFile(), qPrintable(fi.filePath()));
        QVERIFY(fi.size() > 100);
        QCOMPARE(fi.isExecutable(), executable);
    }

    void iconsAreTheLogoMarkAtTheirSizes()
    {
        const QImage png(prefix + QStringLiteral("/share/icons/hicolor/48x48/apps/TintraV30.png"));
        QCOMPARE(png.size(), QSize(48, 48));
        QCOMPARE(qAlpha(png.pixel(0, 0)), 0);    // transparent corner
        QVERIFY(qAlpha(png.pixel(24, 24)) > 200); // the discs cover the middle
        // Red disc on the left, blue on the right, as in the logo.
        const QRgb left = png.pixel(8, 24), right = png.pixel(40, 24);
        QVERIFY(qRed(left) > 2 * qBlue(left));
        QVERIFY(qBlue(right) > 2 * qRed(right));

        QFile svg(prefix + QStringLiteral("/share/icons/hicolor/scalable/apps/TintraV30.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray text = svg.readAll();
        QVERIFY(text.startsWith("<?xml"));
        QVERIFY(text.contains("viewBox=\"0 0 48 48\""));
        QCOMPARE(text.count("<circle "), 3);
        QVERIFY(text.trimmed().endsWith("</svg>"));
    }

    void desktopEntryStartsTheInstalledProgram()
    {
        QFile f(prefix + QStringLiteral("/share/applications/TintraV30.desktop"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QVERIFY(lines.contains("Exec=TintraV30"));
        QVERIFY(lines.contains("Icon=TintraV30"));
        QVERIFY(lines.contains("Name=TINTRA-Revov V3.0"));
    }

    void validatorsAcceptEntryAndMetainfo_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("desktop-file-validate")
            << "desktop-file-validate"
            << QStringList{prefix + QStringLiteral("/share/applications/TintraV30.desktop")};
        QTest::newRow("appstreamcli")
            << "appstreamcli"
            << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                           prefix + QStringLiteral("/share/metainfo/TintraV30.metainfo.xml")};
    }
    void validatorsAcceptEntryAndMetainfo()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        const QString exe = QStandardPaths::findExecutable(tool);
        if (exe.isEmpty())
            QSKIP("validator not installed");
        const Run r = RunTool(exe, args);
        QVERIFY2(r.code == 0, qPrintable(r.output));
    }

    void installedToolsRun()
    {
        const Run sim = RunTool(prefix + QStringLiteral("/bin/sensorsim"), {QStringLiteral("--help")});
        QCOMPARE(sim.code, 0);
        QVERIFY(sim.output.contains(QStringLiteral("--listen")));
        const Run ctl = RunTool(prefix + QStringLiteral("/bin/tintractl"), {QStringLiteral("--help")});
        QCOMPARE(ctl.code, 0);
        QVERIFY(ctl.output.contains(QStringLiteral("--tcp HOST:PORT")));
        // Every command the tool knows has its entry in the manual page and the completion.
        QFile page(prefix + QStringLiteral("/share/man/man1/tintractl.1")),
            completion(prefix + QStringLiteral("/share/bash-completion/completions/tintractl"));
        QVERIFY(page.open(QIODevice::ReadOnly) && completion.open(QIODevice::ReadOnly));
        const QString man = QString::fromUtf8(page.readAll()), bash = QString::fromUtf8(completion.readAll());
        const QStringList lines = ctl.output.split(u'\n');
        QStringList commands;
        for (const QString &l : lines.mid(1))
            if (l.startsWith(QLatin1String("  ")))
                commands << l.trimmed().section(u' ', 0, 0);
        QVERIFY(commands.size() >= 4);
        const QString known = bash.section(QStringLiteral("commands=\""), 1).section(u'"', 0, 0);
        QCOMPARE(known.split(u' '), commands);
        for (const QString &c : commands)
            QVERIFY2(man.contains(QRegularExpression(QStringLiteral("^\\.BR? %1\\b").arg(c),
                                                     QRegularExpression::MultilineOption)),
                     qPrintable(c));
    }

    // The installed completion, in a plain bash: what a TAB offers after each line.
    void completionOffersCommandsWordsAndOptions_data()
    {
        QTest::addColumn<QString>("line"); // the words typed, the last one being completed
        QTest::addColumn<QString>("offered");
        QTest::newRow("command") << "tintractl --tcp h:1 c" << "compare calibrate";
        QTest::newRow("first word") << "tintractl " << "--tcp --serial --help identify get send compare watch record calibrate";
        QTest::newRow("place") << "tintractl get " << "ram eeprom";
        QTest::newRow("get options") << "tintractl --serial COM2 get ram -" << "-o --json --help";
        QTest::newRow("record mode") << "tintractl record u" << "until-stop";
        QTest::newRow("record options") << "tintractl record values --" << "--interval --values --help";
        QTest::newRow("watch options") << "tintractl watch --" << "--count --tsv --json --help";
        QTest::newRow("calibrate options") << "tintractl calibrate --yes --" << "--set-value --max-delta --yes --help";
        QTest::newRow("a number: nothing") << "tintractl watch --count " << "";
        QTest::newRow("send file") << "tintractl send eeprom DIR/s" << "DIR/set.ini";
    }
    void completionOffersCommandsWordsAndOptions()
    {
        QFETCH(QString, line);
        QTemporaryDir dir;
        QFile set(dir.filePath(QStringLiteral("set.ini")));
        QVERIFY(set.open(QIODevice::WriteOnly));
        line.replace(QLatin1String("DIR"), dir.path());
        const QStringList words = line.split(u' ');
        const QString script = QStringLiteral("source '%1/share/bash-completion/completions/tintractl'; "
                                              "COMP_WORDS=(%2); COMP_CWORD=%3; _tintractl; echo \"${COMPREPLY[*]}\"")
                                   .arg(prefix, "'" + words.join(QLatin1String("' '")) + "'")
                                   .arg(words.size() - 1);
        const Run r = RunTool(QStringLiteral("bash"), {QStringLiteral("-c"), script});
        QCOMPARE(r.code, 0);
        QFETCH(QString, offered);
        QCOMPARE(r.output.trimmed(), offered.replace(QLatin1String("DIR"), dir.path()));
    }

    void debianPackageHoldsTheTree()
    {
        const QString dpkgDeb = QStandardPaths::findExecutable(QStringLiteral("dpkg-deb"));
        if (dpkgDeb.isEmpty())
            QSKIP("dpkg-deb not installed");
        QTemporaryDir out;
        const Run pack = RunTool(QStringLiteral("cpack"),
                                 {QStringLiteral("--config"), buildDir + QStringLiteral("/CPackConfig.cmake"),
                                  QStringLiteral("-B"), out.path(),
                                  // The contents are what is checked: pack fast.
                                  QStringLiteral("-D"), QStringLiteral("CPACK_STRIP_FILES=OFF"),
                                  QStringLiteral("-D"),
                                  QStringLiteral("CPACK_DEBIAN_COMPRESSION_TYPE=none")});
        QVERIFY2(pack.code == 0, qPrintable(pack.output));
        const QStringList debs = QDir(out.path()).entryList({QStringLiteral("*.deb")});
        QCOMPARE(debs.size(), 1);
        const QString deb = out.filePath(debs.first());
        const Run contents = RunTool(dpkgDeb, {QStringLiteral("--contents"), deb});
        QCOMPARE(contents.code, 0);
        for (const char *p : {"./usr/bin/TintraV30", "./usr/bin/sensorsim", "./usr/bin/tintractl",
                              "./usr/share/applications/TintraV30.desktop",
                              "./usr/share/metainfo/TintraV30.metainfo.xml",
                              "./usr/share/icons/hicolor/scalable/apps/TintraV30.svg",
                              "./usr/share/icons/hicolor/48x48/apps/TintraV30.png",
                              "./usr/share/man/man1/tintractl.1",
                              "./usr/share/bash-completion/completions/tintractl"})
            QVERIFY2(contents.output.contains(QLatin1String(p)), p);
        const Run info = RunTool(dpkgDeb, {QStringLiteral("--field"), deb,
                                           QStringLiteral("Package"), QStringLiteral("Depends")});
        QVERIFY(info.output.contains(QStringLiteral("tintra-revov")));
        QVERIFY(info.output.contains(QStringLiteral("libqcustomplot2.1-qt6")));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
