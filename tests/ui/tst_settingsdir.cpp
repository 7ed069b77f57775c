// Where the settings files go: an installed program keeps them in the user's data directory even
// when it could write beside itself (run as root), so purging the package leaves nothing behind;
// a program run from its build folder keeps them beside itself as before.
#include "app/startup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tintra;

class TestSettingsDir : public QObject {
    Q_OBJECT

private slots:
    void settingsDirFor_data()
    {
        QTest::addColumn<QString>("desktopEntry"); // made beside the program's folder, if any
        QTest::addColumn<QString>("userDir");
        QTest::addColumn<QString>("expected"); // "user" or "fallback"
        QTest::newRow("installed under /usr") << "share/applications/TintraV30.desktop"
                                              << "home/.local/share/TintraV30" << "user";
        QTest::newRow("build folder") << "" << "home/.local/share/TintraV30" << "fallback";
        QTest::newRow("another program's entry") << "share/applications/Other.desktop"
                                                 << "home/.local/share/TintraV30" << "fallback";
        QTest::newRow("installed, no user folder known")
            << "share/applications/TintraV30.desktop" << "" << "fallback";
    }
    void settingsDirFor()
    {
        QFETCH(QString, desktopEntry);
        QFETCH(QString, userDir);
        QFETCH(QString, expected);
        QTemporaryDir root;
        const QDir r(root.path());
        QVERIFY(r.mkpath(QStringLiteral("bin")));
        if (!desktopEntry.isEmpty()) {
            QVERIFY(r.mkpath(QFileInfo(r.filePath(desktopEntry)).path()));
            QFile f(r.filePath(desktopEntry));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString program = r.filePath(QStringLiteral("bin"));
        const QString user = userDir.isEmpty() ? QString() : r.filePath(userDir);
        const QString got = SettingsDirFor(program, program, user);
        QCOMPARE(got, expected == QLatin1String("user") ? user : program);
        QVERIFY(QFileInfo(got).isDir()); // the user's folder is made when missing
    }
};

QTEST_MAIN(TestSettingsDir)
#include "tst_settingsdir.moc"
