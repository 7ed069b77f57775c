// The parameter file: format, round trip, refused files, failed writes.
#include "common/filelimit.h"
#include "common/popupscript.h"
#include "core/paramfile/paramfile.h"
#include "link/itemlists.h"
#include "core/params/panelvalues.h"
#include "core/params/unsent.h"
#include "sim/simthread.h"
#include "ui/paramfixture.h"
#include "ui/uitestutil.h"
#include "core/panels/parapanel1.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"

#include <QCheckBox>
#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

using namespace tintra;
using namespace tintra::test;

namespace {

// An image whose words all differ and whose codes every ring holds.
std::vector<uint16_t> sampleImage()
{
    std::vector<uint16_t> w(anzpara);
    const uint16_t scalars[16] = {640, 0, 32, 1, 90, 410, 12, 1, 3, 0, 0, 1200, 3400, 1, 1, 4};
    std::copy(scalars, scalars + 16, w.begin());
    for (int k = 16; k < anzpara; ++k)
        w[k] = uint16_t(3 * k + 7);
    for (int r = 0; r < anzVec; ++r)
        w[16 + 7 * r + 5] = uint16_t(r % 31); // group numbers
    return w;
}

QByteArray imageText(const std::vector<uint16_t> &w, const char *eol = "\r\n")
{
    QByteArray out;
    for (uint16_t v : w)
        out += QByteArray::number(v).rightJustified(10, ' ') + eol;
    return out;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

// Every parameter variable and control value as one list, to see that nothing changed.
QList<int> snapshot()
{
    QList<int> s;
    for (uint16_t *p : paraScalars)
        s << *p;
    for (uint16_t v : paraTeachTable)
        s << v;
    for (int r = 0; r < anzVec; ++r)
        s << paraGroupBuf[r] << paraHoldBuf[r];
    s << parapanel1->SlidePower->value() << RingValue(parapanel1->EditTrigger)
      << RingValue(parapanel1->EditExteach) << parapanel1->EditTrigger->count();
    for (int r = 1; r <= 31; ++r)
        for (int c = 1; c <= 5; ++c)
            s << GetCellU16(ttpanel->GridCtt, c, r);
    for (int r = 1; r <= 32; ++r)
        s << GetCellU16(parapanel2->EditGridHold, 1, r);
    return s;
}

} // namespace

class TstParamFile : public QObject {
    Q_OBJECT

private slots:
    void saveWritesImageInFormat();
    void roundTripRestoresEverything();
    void tintractlFilesAndTheWindowsAreOne();
    void loadAcceptsLfAndBlanks();
    void maxColFromFileCut();
    void exteachOffTrigger3LoadsAsExt2();
    void badFilesRefused_data();
    void badFilesRefused();
    void cancelChangesNothing();
    void failedWriteKeepsPreviousFile();
    void unwritablePathReported();
};

void TstParamFile::saveWritesImageInFormat()
{
    ParamPanels panels;
    PopupScript popups;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Parameter.ini"));
    const std::vector<uint16_t> w = sampleImage();
    std::copy(w.begin(), w.end(), pp);
    CopyFileParatoVars();
    SetPanelValues();
    pp[0] = 170; // a stale answer word in the image must not reach the file
    popups.answerFile(NewFileSelected, path);

    SendParaToFile();

    QCOMPARE(popups.shown.size(), 1);
    const ShownPopup &dlg = popups.shown[0];
    QCOMPARE(dlg.kind, QStringLiteral("file"));
    QCOMPARE(dlg.title, QStringLiteral("Parameter"));
    QCOMPARE(dlg.request.defaultName, QStringLiteral("Parameter.ini"));
    QCOMPARE(dlg.request.filter, QStringLiteral("*.ini"));
    QVERIFY(dlg.request.forSaving);

    // The whole file is compared byte for byte by the settings files' golden rows (tst_connfiles);
    // here: line 0 holds the panel's value, not the stale word.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.read(22), QByteArray("       640\n         0\n"));
}

void TstParamFile::roundTripRestoresEverything()
{
    ParamPanels panels;
    PopupScript popups;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set.ini"));
    const std::vector<uint16_t> w = sampleImage();
    std::copy(w.begin(), w.end(), pp);
    CopyFileParatoVars();
    SetPanelValues();
    InitPanelCtrlAttr();
    const QList<int> saved = snapshot();
    const bool intlimOn = parapanel1->findChild<QWidget *>("EditIntlim")->isEnabled();
    popups.answerFile(NewFileSelected, path);
    SendParaToFile();

    // Scramble panels and variables, then load.
    for (uint16_t *p : paraScalars)
        *p = 0;
    std::fill(std::begin(paraTeachTable), std::end(paraTeachTable), 9);
    SetPanelValues();
    SetRingValue(parapanel1->EditExteach, ExteachOn);
    InitExteach();
    QVERIFY(snapshot() != saved);

    popups.answerFile(ExistingFileSelected, path);
    ReadParaFromFile();
    QCOMPARE(snapshot(), saved);
    QCOMPARE(parapanel1->findChild<QWidget *>("EditIntlim")->isEnabled(), intlimOn);
    QVERIFY(popups.messages().isEmpty());
    QVERIFY(!popups.shown.last().request.forSaving);
}

// A set read by tintractl get loads through FILE + GET; a file written by FILE + SEND goes to the
// sensor through tintractl send: both are the same parameter file, word for word.
void TstParamFile::tintractlFilesAndTheWindowsAreOne()
{
    ParamPanels panels;
    PopupScript popups;
    QTemporaryDir dir;
    sim::SimThread sensor;
    QVERIFY(sensor.start());
    const std::vector<uint16_t> w = sampleImage();
    sim::Image image{};
    std::copy(w.begin(), w.end(), image.begin());
    sensor.setRamImage(image);
    const auto tintractl = [&](const QStringList &args) {
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tintractl"),
                QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(sensor.port())} + args);
        return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    const QString got = dir.filePath(QStringLiteral("got.ini")), saved = dir.filePath(QStringLiteral("saved.ini"));
    QCOMPARE(tintractl({"get", "ram", "-o", got}), 0);
    popups.answerFile(ExistingFileSelected, got);
    ReadParaFromFile();
    const ParaImage loaded = PanelImage();
    QVERIFY(std::equal(loaded.begin(), loaded.end(), w.begin()));

    ttpanel->show();
    QVERIFY(QTest::qWaitForWindowExposed(ttpanel));
    QVERIFY(TypeIntoCell(ttpanel->GridCtt, 30, 1, QStringLiteral("4321"))); // row 30, Y
    popups.answerFile(NewFileSelected, saved);
    SendParaToFile();
    QCOMPARE(tintractl({"send", "ram", saved}), 0);
    QCOMPARE(sensor.ramImage()[16 + 7 * 30 + 1], uint16_t(4321));
    const ParaImage sent = PanelImage();
    QVERIFY(std::equal(sent.begin(), sent.end(), sensor.ramImage().begin()));
    QVERIFY(popups.messages().isEmpty());
}

void TstParamFile::loadAcceptsLfAndBlanks()
{
    ParamPanels panels;
    PopupScript popups;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lf.ini"));
    std::vector<uint16_t> w = sampleImage();
    QByteArray text;
    for (uint16_t v : w)
        text += QByteArray::number(v) + "   \n"; // left-aligned, LF only
    writeFile(path, text);
    popups.answerFile(ExistingFileSelected, path);
    ReadParaFromFile();
    QVERIFY(popups.messages().isEmpty());
    QCOMPARE(int(paraPower), 640);
    QCOMPARE(int(paraHoldBuf[30]), 3 * 232 + 7);
}

void TstParamFile::maxColFromFileCut()
{
    ParamPanels panels;
    PopupScript popups;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("max.ini"));
    std::vector<uint16_t> w = sampleImage();
    w[6] = 99;
    writeFile(path, imageText(w));
    popups.answerFile(ExistingFileSelected, path);
    ReadParaFromFile();
    QCOMPARE(int(paraMaxVecNo), 31);
    QCOMPARE(parapanel1->findChild<QSpinBox *>("EditMaxcolNo")->value(), 31);
}

void TstParamFile::exteachOffTrigger3LoadsAsExt2()
{
    ParamPanels panels;
    PopupScript popups;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ext.ini"));
    std::vector<uint16_t> w = sampleImage();
    w[8] = 3; // TRIGGER EXT2
    w[9] = 0; // EXTEACH OFF
    writeFile(path, imageText(w));
    SetRingValue(parapanel1->EditExteach, ExteachOn);
    InitExteach();
    QCOMPARE(parapanel1->EditTrigger->count(), 2);
    popups.answerFile(ExistingFileSelected, path);
    ReadParaFromFile();
    QCOMPARE(parapanel1->EditTrigger->currentText(), QStringLiteral("EXT2"));
    GetPanelValues();
    QCOMPARE(int(paraTrigger), 3);
}

void TstParamFile::badFilesRefused_data()
{
    QTest::addColumn<QByteArray>("content"); // empty name: no file at all
    QTest::addColumn<bool>("exists");
    const std::vector<uint16_t> w = sampleImage();
    const QByteArray good = imageText(w);
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("232 lines") << imageText(std::vector<uint16_t>(w.begin(), w.end() - 1)) << true;
    QByteArray word = good;
    word.replace(good.indexOf("\r\n", 40) + 2, 10, "      abc ");
    QTest::newRow("text in a line") << word << true;
    QByteArray big = good;
    big.replace(0, 10, "     65536");
    QTest::newRow("65536") << big << true;
    QByteArray neg = good;
    neg.replace(0, 10, "        -1");
    QTest::newRow("negative") << neg << true;
    QByteArray frac = good;
    frac.replace(0, 10, "      12.5");
    QTest::newRow("decimal point") << frac << true;
    QByteArray gap = good;
    gap.insert(good.indexOf("\r\n") + 2, "\r\n");
    QTest::newRow("empty line inside") << gap << true;
    QTest::newRow("far larger than 233 lines") << good + QByteArray(20000, '\n') << true;
    QTest::newRow("a directory") << QByteArray("@dir") << true;
    QTest::newRow("/dev/zero") << QByteArray("@zero") << true;
}

void TstParamFile::badFilesRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    ParamPanels panels;
    PopupScript popups;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.ini"));
    if (content == "@dir")
        QVERIFY(QDir().mkpath(path));
    else if (content == "@zero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    else if (exists)
        writeFile(path, content);
    SetRingValue(parapanel1->EditExteach, ExteachOn);
    InitExteach();
    GetPanelValues();
    pp[0] = 4321;
    const QList<int> before = snapshot();

    popups.answerFile(ExistingFileSelected, path);
    ReadParaFromFile();

    QCOMPARE(snapshot(), before);
    QCOMPARE(int(pp[0]), 4321);
    const QList<ShownPopup> msgs = popups.messages();
    QCOMPARE(msgs.size(), 1);
    QCOMPARE(msgs[0].title, QStringLiteral("ATTENTION!"));
    QVERIFY(msgs[0].text.contains(path));
}

void TstParamFile::cancelChangesNothing()
{
    ParamPanels panels;
    PopupScript popups;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Parameter.ini"));
    GetPanelValues();
    const QList<int> before = snapshot();
    ReadParaFromFile(); // no answer queued: the dialog is cancelled
    SendParaToFile();
    QCOMPARE(snapshot(), before);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(popups.shown.size(), 2);
    QVERIFY(popups.messages().isEmpty());
}

void TstParamFile::failedWriteKeepsPreviousFile()
{
    ParamPanels panels;
    PopupScript popups;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.ini"));
    const QByteArray old = imageText(sampleImage());
    writeFile(path, old);
    // A full disk: the new contents (233 lines of 11 bytes) cannot be written completely.
    popups.answerFile(ExistingFileSelected, path);
    {
        FileSizeLimit full(1000);
        QVERIFY(full.ok);
        SendParaToFile();
    }

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), old);
    const QList<ShownPopup> msgs = popups.messages();
    QCOMPARE(msgs.size(), 1);
    QCOMPARE(msgs[0].title, QStringLiteral("ATTENTION!"));
    QVERIFY(msgs[0].text.contains(path));
}

void TstParamFile::unwritablePathReported()
{
    ParamPanels panels;
    PopupScript popups;
    QTemporaryDir dir;
    // The chosen name lies under a plain file, so no file can be created there.
    const QString blocker = dir.filePath(QStringLiteral("plain"));
    writeFile(blocker, "x");
    const QString path = blocker + QStringLiteral("/Parameter.ini");
    popups.answerFile(NewFileSelected, path);
    SendParaToFile();
    const QList<ShownPopup> msgs = popups.messages();
    QCOMPARE(msgs.size(), 1);
    QCOMPARE(msgs[0].title, QStringLiteral("ATTENTION!"));
    QVERIFY(msgs[0].text.contains(path));
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("x"));
}

QTEST_MAIN(TstParamFile)
#include "tst_paramfile.moc"
