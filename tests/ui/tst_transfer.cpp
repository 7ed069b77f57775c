// SEND and GET against the simulated sensor over TCP and a pseudo-terminal: the frames on the
// wire, the echo checks, the EEPROM paths and the CALCMODE change.
#include "app/callbacks.h"
#include "app/cb_params.h"
#include "common/popupscript.h"
#include "link/itemlists.h"
#include "core/params/panelvalues.h"
#include "core/transfer/transfer.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"
#include "ui/paramfixture.h"
#include "ui/uitestutil.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/ttpanel.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

using namespace tintra;
using namespace tintra::test;
using sim::Fault;
using sim::SimThread;

namespace {

uint16_t word(const QByteArray &frame, int w)
{
    return GetWord(reinterpret_cast<const unsigned char *>(frame.constData()), w);
}

// A parameter set whose values all differ and which every ring can show.
void fillVariables()
{
    const uint16_t scalars[16] = {640, 0, 32, 1, 90, 410, 12, 1, 1, 0, 0, 1200, 3400, 1, 1, 4};
    for (int i = 0; i < 16; ++i)
        *paraScalars[i] = scalars[i];
    for (int r = 0; r < anzVec; ++r) {
        for (int c = 0; c < 5; ++c)
            paraTeachTable[5 * r + c] = uint16_t(100 * r + 10 * c + 1);
        paraGroupBuf[r] = uint16_t(r);
        paraHoldBuf[r] = uint16_t(700 + r);
    }
}

std::vector<uint16_t> variablesAsImage()
{
    CopyVarsToPP();
    return std::vector<uint16_t>(pp, pp + anzpara);
}

std::vector<uint16_t> toVector(const sim::Image &img) { return {img.begin(), img.end()}; }

sim::Image fromVector(const std::vector<uint16_t> &v)
{
    sim::Image img{};
    std::copy(v.begin(), v.end(), img.begin());
    return img;
}

} // namespace

class TstTransfer : public QObject {
    Q_OBJECT

    std::unique_ptr<SimThread> sensor;
    std::unique_ptr<ParamPanels> panels;
    std::unique_ptr<PopupScript> popups;
    QStringList statusTexts;
    QTemporaryDir dir;

    void useTcp()
    {
        sensor = std::make_unique<SimThread>();
        QVERIFY2(sensor->start(), qPrintable(sensor->errorString()));
        comprotocol = 1;
        std::strcpy(ipBuf, "127.0.0.1");
        portNum = sensor->port();
        std::snprintf(portNumStr, sizeof portNumStr, "%d", portNum);
        QVERIFY(InitTCP_IP() >= 0);
        QCOMPARE(int(tcpcon), 1);
    }

    void showVariables()
    {
        fillVariables();
        SetPanelValues();
        InitPanelCtrlAttr();
        GetPanelValues();
    }

    QList<QByteArray> frames() const { return sensor->frames(); }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }
    void init()
    {
        mainpanel = new MainPanel;
        popups = std::make_unique<PopupScript>();
        panels = std::make_unique<ParamPanels>();
        statusTexts.clear();
        LinkUi ui;
        ui.showStatus = [this](const QString &s) { statusTexts << s; };
        ui.getPara = [] { GetPara(); };
        SetLinkUi(ui);
        ConnectParamsCallbacks();
        SelectRamTarget();
        useTcp();
        sensor->clearFrames();
    }
    void cleanup()
    {
        DisconnectTCP();
        sensor.reset();
        panels.reset();
        popups.reset();
        delete mainpanel;
        mainpanel = nullptr;
        SetLinkUi({});
    }

    void sendRamWritesPanelsInOrder();
    void sendEepromStoresAfterRowsAndPauses();
    void sendStopsOnBadEcho_data();
    void sendStopsOnBadEcho();
    void holdWordDifferenceAccepted();
    void getRamReadsAndShows();
    void getEepromLoadsFirst();
    void getEepromBadEchoSendsNothingMore();
    void answerWithoutHeaderChangesNothing();
    void maxColFromSensorCut();
    void readAndSendBackUnchanged();
    void unknownCodeAndPowerShownAsRead();
    void dynPmodeForcesIntlimOnWayBack();
    void calcModeChangeSendsToRam();
    void selectorsActAsOneGroup();
    void getParaAfterLineCheck();
    void functionKeysSendAndGet();
    void serialSendAndGet();
    void stoppedPartWay_data();
    void stoppedPartWay();
    void badStoreEchoStillPauses();
    void fileTargetThroughButtons();
};

void TstTransfer::sendRamWritesPanelsInOrder()
{
    showVariables();
    const std::vector<uint16_t> image = variablesAsImage();
    pp[0] = 170; // stale answer word: the send must rebuild the image from the panels
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);

    const QList<QByteArray> f = frames();
    QCOMPARE(f.size(), 32);
    QCOMPARE(word(f[0], 0), tintra::sync);
    QCOMPARE(word(f[0], 1), uint16_t(1));
    for (int i = 0; i < 16; ++i)
        QCOMPARE(word(f[0], 2 + i), image[size_t(i)]);
    for (int r = 0; r < anzVec; ++r) {
        const QByteArray &row = f[r + 1];
        QCOMPARE(word(row, 1), uint16_t(2));
        QCOMPARE(word(row, 2), uint16_t(r));
        for (int k = 0; k < 7; ++k)
            QCOMPARE(word(row, 3 + k), image[size_t(16 + 7 * r + k)]);
    }
    QCOMPARE(int(comecho), 1);
    QCOMPARE(toVector(sensor->ramImage()), image);
    QVERIFY(statusTexts.isEmpty());
    QVERIFY(mainpanel->ButtonSend->isEnabled());
}

void TstTransfer::sendEepromStoresAfterRowsAndPauses()
{
    showVariables();
    const std::vector<uint16_t> image = variablesAsImage();
    QTest::mouseClick(mainpanel->SelectEEPROM, Qt::LeftButton);
    QCOMPARE(int(target), EEPROM);
    const double start = Timer();
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
    const double took = Timer() - start;

    const QList<QByteArray> f = frames();
    QCOMPARE(f.size(), 33);
    QCOMPARE(word(f.last(), 1), uint16_t(6));
    QVERIFY2(took >= 0.5 && took < 2.0, qPrintable(QString::number(took)));
    QCOMPARE(toVector(sensor->eepromImage()), image);

    // With RAM no order 6 is sent and there is no pause.
    sensor->clearFrames();
    QTest::mouseClick(mainpanel->SelectRAM, Qt::LeftButton);
    const double start2 = Timer();
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
    QCOMPARE(frames().size(), 32);
    for (const QByteArray &fr : frames())
        QVERIFY(word(fr, 1) != 6);
    QVERIFY(Timer() - start2 < 0.5);
}

void TstTransfer::sendStopsOnBadEcho_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<int>("fromFrame");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("frameCount");
    QTest::newRow("header AB on order 1") << 1 << 1 << -1 << 1;
    QTest::newRow("header AB on row 4") << 2 << 6 << -1 << 6;
    QTest::newRow("row index differs") << 2 << 3 << 5 << 3;
    QTest::newRow("teach word differs") << 2 << 10 << 9 << 10;
    QTest::newRow("group word differs") << 2 << 2 << 17 << 2;
    QTest::newRow("parameter word differs") << 1 << 1 << 35 << 1;
}

void TstTransfer::sendStopsOnBadEcho()
{
    QFETCH(int, order);
    QFETCH(int, fromFrame);
    QFETCH(int, byte);
    QFETCH(int, frameCount);
    showVariables();
    QTest::mouseClick(mainpanel->SelectEEPROM, Qt::LeftButton);
    sensor->addFault(Fault{Fault::WrongEcho, order, fromFrame, byte, true});
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
    QCOMPARE(frames().size(), frameCount);
    QCOMPARE(int(comecho), 0);
    QVERIFY(statusTexts.contains(QStringLiteral("TIMEOUT")));
    for (const QByteArray &fr : frames())
        QVERIFY(word(fr, 1) != 6);
}

void TstTransfer::holdWordDifferenceAccepted()
{
    showVariables();
    sensor->addFault(Fault{Fault::WrongEcho, 2, 4, 19, true}); // word 9, low byte
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
    QCOMPARE(frames().size(), 32);
    QCOMPARE(int(comecho), 1);
    QVERIFY(statusTexts.isEmpty());
}

void TstTransfer::getRamReadsAndShows()
{
    fillVariables();
    const std::vector<uint16_t> image = variablesAsImage();
    sensor->setRamImage(fromVector(image));
    for (uint16_t *p : paraScalars)
        *p = 0;
    SetPanelValues();
    poll = 1;
    QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);

    QCOMPARE(int(poll), 0);
    const QList<QByteArray> f = frames();
    QCOMPARE(f.size(), 32);
    QCOMPARE(word(f[0], 1), uint16_t(3));
    for (int r = 0; r < anzVec; ++r) {
        QCOMPARE(word(f[r + 1], 1), uint16_t(4));
        QCOMPARE(word(f[r + 1], 2), uint16_t(r));
    }
    QCOMPARE(int(comecho), 1);
    GetPanelValues();
    QCOMPARE(variablesAsImage(), image);
}

void TstTransfer::getEepromLoadsFirst()
{
    fillVariables();
    const std::vector<uint16_t> image = variablesAsImage();
    sensor->setEepromImage(fromVector(image));
    QTest::mouseClick(mainpanel->SelectEEPROM, Qt::LeftButton);
    QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);
    const QList<QByteArray> f = frames();
    QCOMPARE(f.size(), 33);
    QCOMPARE(word(f[0], 1), uint16_t(8));
    QCOMPARE(word(f[1], 1), uint16_t(3));
    GetPanelValues();
    QCOMPARE(variablesAsImage(), image);
}

void TstTransfer::getEepromBadEchoSendsNothingMore()
{
    showVariables();
    const std::vector<uint16_t> before = variablesAsImage();
    QTest::mouseClick(mainpanel->SelectEEPROM, Qt::LeftButton);
    sensor->addFault(Fault{Fault::WrongEcho, 8, 1, -1, true});
    QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);
    QCOMPARE(frames().size(), 1);
    QCOMPARE(int(comecho), 0);
    QVERIFY(statusTexts.contains(QStringLiteral("TIMEOUT")));
    GetPanelValues();
    QCOMPARE(variablesAsImage(), before);
}

void TstTransfer::answerWithoutHeaderChangesNothing()
{
    showVariables(); // variables = panels = the filled set
    const std::vector<uint16_t> before = variablesAsImage();
    std::vector<uint16_t> other = before;
    for (int i = 0; i < 16; ++i)
        other[size_t(i)] = uint16_t(before[size_t(i)] == 0 ? 1 : 0);
    for (int r = 0; r < anzVec; ++r)
        other[size_t(16 + 7 * r + 6)] = uint16_t(900 + r);
    sensor->setRamImage(fromVector(other));
    // The parameter answer comes with 0x00 0xAB: complete, but not an answer.
    sensor->addFault(Fault{Fault::WrongEcho, 3, 1, -1, true});
    QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);
    QCOMPARE(frames().size(), 32); // the rows were still read
    QCOMPARE(int(comecho), 1);
    QVERIFY(statusTexts.isEmpty());
    for (int i = 0; i < 16; ++i)
        QCOMPARE(*paraScalars[i], before[size_t(i)]);
    QCOMPARE(int(paraHoldBuf[30]), 930);
    // The panels show what was read.
    GetPanelValues();
    QCOMPARE(int(paraHoldBuf[0]), 900);
    QCOMPARE(int(paraPower), int(before[0]));
}

void TstTransfer::maxColFromSensorCut()
{
    fillVariables();
    paraMaxVecNo = 40;
    CopyVarsToPP();
    sensor->setRamImage(fromVector(std::vector<uint16_t>(pp, pp + anzpara)));
    paraMaxVecNo = 3;
    QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);
    QCOMPARE(int(paraMaxVecNo), 31);
    QCOMPARE(parapanel1->EditMaxcolNo->value(), 31);
}

void TstTransfer::readAndSendBackUnchanged()
{
    const std::vector<uint16_t> start = toVector(sensor->ramImage());
    QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);
    QCOMPARE(int(comecho), 1);
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
    QCOMPARE(int(comecho), 1);
    QCOMPARE(toVector(sensor->ramImage()), start);
}

void TstTransfer::unknownCodeAndPowerShownAsRead()
{
    std::vector<uint16_t> img = toVector(sensor->ramImage());
    img[0] = 3;     // POWER
    img[8] = 65535; // TRIGGER: no mode of the list
    img[9] = 0;     // EXTEACH OFF
    img[14] = 0;    // LED MODE DC
    sensor->setRamImage(fromVector(img));
    QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);
    QCOMPARE(int(comecho), 1);
    auto *power = parapanel1->findChild<QLabel *>("DispPower");
    QVERIFY(power);
    QCOMPARE(power->text(), QStringLiteral("3"));
    QCOMPARE(parapanel1->EditTrigger->currentText(), QStringLiteral("? 65535"));
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
    QCOMPARE(int(comecho), 1);
    QCOMPARE(toVector(sensor->ramImage()), img); // what was read goes back unchanged

    // LED MODE OFF (the last item, End on the focused ring) forces POWER to 0: the number follows.
    QComboBox *led = parapanel1->EditLedMode;
    parapanel1->show();
    QVERIFY(QTest::qWaitForWindowExposed(parapanel1));
    QApplication::setActiveWindow(parapanel1);
    led->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(led));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QCOMPARE(int(RingValue(led)), int(LedmodeOff));
    QCOMPARE(parapanel1->SlidePower->value(), 0);
    QCOMPARE(power->text(), QStringLiteral("0"));
}

void TstTransfer::dynPmodeForcesIntlimOnWayBack()
{
    std::vector<uint16_t> img = toVector(sensor->ramImage());
    img[1] = PmodeDyn;
    img[5] = 150; // INTLIM
    sensor->setRamImage(fromVector(img));
    QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
    std::vector<uint16_t> want = img;
    want[5] = 0;
    QCOMPARE(toVector(sensor->ramImage()), want);
}

void TstTransfer::calcModeChangeSendsToRam()
{
    showVariables(); // CALCMODE 0
    const std::vector<uint16_t> before = variablesAsImage();
    QTest::mouseClick(mainpanel->SelectFILE, Qt::LeftButton);
    QCOMPARE(int(target), DATFILE);
    QWidget *keys = FocusOn(parapanel1->Calcmode);
    QVERIFY(keys);
    QTest::keyClick(keys, Qt::Key_Down); // mode 1: same arrangement, sent as well
    sensor->clearFrames();
    QTest::keyClick(keys, Qt::Key_Down); // mode 2
    QCOMPARE(int(RingValue(parapanel1->Calcmode)), 2);

    QCOMPARE(int(target), RAM);
    QVERIFY(mainpanel->SelectRAM->isChecked());
    QVERIFY(!mainpanel->SelectFILE->isChecked());
    const QList<QByteArray> f = frames();
    QCOMPARE(f.size(), 32);
    const std::vector<uint16_t> ram = toVector(sensor->ramImage());
    QCOMPARE(int(ram[10]), 2);
    for (int r = 0; r < anzVec; ++r) {
        const size_t k = size_t(16 + 7 * r);
        QCOMPARE(ram[k + 2], before[k + 3]);
        QCOMPARE(ram[k + 3], before[k + 2]);
        QCOMPARE(int(ram[k + 4]), 1);
    }
    QCOMPARE(ColumnCaption(ttpanel->GridCtt, 4), QStringLiteral("TOL"));
    QVERIFY(popups->messages().isEmpty());
}

void TstTransfer::selectorsActAsOneGroup()
{
    MainPanel *m = mainpanel;
    QTest::mouseClick(m->SelectEEPROM, Qt::LeftButton);
    QCOMPARE(int(target), EEPROM);
    QVERIFY(!m->SelectRAM->isChecked() && m->SelectEEPROM->isChecked());
    QTest::mouseClick(m->SelectFILE, Qt::LeftButton);
    QCOMPARE(int(target), DATFILE);
    QVERIFY(!m->SelectEEPROM->isChecked() && m->SelectFILE->isChecked());
    QTest::mouseClick(m->SelectFILE, Qt::LeftButton); // switched off: RAM again
    QCOMPARE(int(target), RAM);
    QVERIFY(m->SelectRAM->isChecked() && !m->SelectFILE->isChecked());
    QTest::mouseClick(m->SelectRAM, Qt::LeftButton); // RAM cannot be switched off
    QCOMPARE(int(target), RAM);
    QVERIFY(m->SelectRAM->isChecked());
    QTest::mouseClick(m->SelectEEPROM, Qt::LeftButton);
    QTest::mouseClick(m->SelectEEPROM, Qt::LeftButton);
    QCOMPARE(int(target), RAM);
    QVERIFY(m->SelectRAM->isChecked() && !m->SelectEEPROM->isChecked());
    QVERIFY(frames().isEmpty());
}

void TstTransfer::getParaAfterLineCheck()
{
    bool undimmed = false;
    LinkUi ui;
    ui.showStatus = [this](const QString &s) { statusTexts << s; };
    ui.getPara = [] { GetPara(); };
    ui.undimAccept = [&undimmed] { undimmed = true; };
    SetLinkUi(ui);
    QTest::mouseClick(mainpanel->SelectFILE, Qt::LeftButton); // the line check reads RAM even so
    CheckComLine();
    QVERIFY(undimmed);
    const QList<QByteArray> f = frames();
    QVERIFY(f.size() >= 32);
    QCOMPARE(word(f[f.size() - 32], 1), uint16_t(3));

    undimmed = false;
    sensor->clearFrames();
    sensor->addFault(Fault{Fault::Close, 4, 1, -1, true}); // link lost mid-read
    CheckComLine();
    QVERIFY(!undimmed);
    QCOMPARE(int(comecho), 0);
}

void TstTransfer::functionKeysSendAndGet()
{
    showVariables();
    const std::vector<uint16_t> image = variablesAsImage();
    mainpanel->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainpanel));
    QTest::keyClick(mainpanel, Qt::Key_F9);
    QCOMPARE(frames().size(), 32);
    QCOMPARE(word(frames()[0], 1), uint16_t(1));
    QCOMPARE(toVector(sensor->ramImage()), image);

    for (uint16_t *p : paraScalars)
        *p = 0;
    SetPanelValues();
    sensor->clearFrames();
    QTest::keyClick(mainpanel, Qt::Key_F10);
    QCOMPARE(frames().size(), 32);
    QCOMPARE(word(frames()[0], 1), uint16_t(3));
    GetPanelValues();
    QCOMPARE(variablesAsImage(), image);
}

void TstTransfer::serialSendAndGet()
{
    DisconnectTCP();
    sensor.reset();
    sensor = std::make_unique<SimThread>();
    SimThread::Options o;
    o.tcp = false;
    o.ptyLink = dir.filePath(QStringLiteral("ttySIM"));
    QVERIFY2(sensor->start(o), qPrintable(sensor->errorString()));
    QFile cfg(dir.filePath(QStringLiteral("ComPorts.cfg")));
    QVERIFY(cfg.open(QIODevice::WriteOnly));
    cfg.write("9 " + QFile::encodeName(o.ptyLink) + "\n");
    cfg.close();
    SetComPortsCfgDir(dir.path());
    comprotocol = 0;
    comport = 9;
    QCOMPARE(InitRS232(), 0);

    showVariables();
    const std::vector<uint16_t> image = variablesAsImage();
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
    QCOMPARE(int(comecho), 1);
    QCOMPARE(frames().size(), 32);
    QCOMPARE(toVector(sensor->ramImage()), image);

    for (uint16_t *p : paraScalars)
        *p = 0;
    SetPanelValues();
    sensor->clearFrames();
    QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);
    QCOMPARE(int(comecho), 1);
    QCOMPARE(frames().size(), 32);
    GetPanelValues();
    QCOMPARE(variablesAsImage(), image);
    CloseCom();
}

void TstTransfer::stoppedPartWay_data()
{
    QTest::addColumn<bool>("send");
    QTest::addColumn<int>("row"); // the teach-table row whose exchange fails
    QTest::newRow("SEND, row 0") << true << 0;
    QTest::newRow("SEND, row 17") << true << 17;
    QTest::newRow("SEND, row 30") << true << 30;
    QTest::newRow("GET, row 0") << false << 0;
    QTest::newRow("GET, row 12") << false << 12;
}

// A transfer whose exchange for row k fails stops there. After SEND the sensor holds the new rows
// 0 ... k (row k arrived, its echo was wrong) and its old rows after k; after GET the panels
// still show what they showed before.
void TstTransfer::stoppedPartWay()
{
    QFETCH(bool, send);
    QFETCH(int, row);
    const std::vector<uint16_t> old = toVector(sensor->ramImage());
    showVariables();
    const std::vector<uint16_t> shown = variablesAsImage();
    if (send) {
        sensor->addFault(Fault{Fault::WrongEcho, 2, row + 2, -1, true});
        QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
        const std::vector<uint16_t> ram = toVector(sensor->ramImage());
        for (int r = 0; r < anzVec; ++r)
            for (int k = 0; k < 7; ++k) {
                const size_t i = size_t(16 + 7 * r + k);
                QCOMPARE(ram[i], r <= row ? shown[i] : old[i]);
            }
        QVERIFY(old[16 + 7 * 30 + 6] != shown[16 + 7 * 30 + 6]);
    } else {
        std::vector<uint16_t> other = shown;
        for (size_t i = 16; i < other.size(); ++i)
            other[i] = uint16_t(other[i] + 5);
        sensor->setRamImage(fromVector(other));
        sensor->addFault(Fault{Fault::Close, 4, row + 2, -1, true});
        QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);
        GetPanelValues();
        QCOMPARE(variablesAsImage(), shown);
    }
    QCOMPARE(frames().size(), row + 2);
    QCOMPARE(int(comecho), 0);
    QVERIFY(statusTexts.contains(QStringLiteral("TIMEOUT")));
    QVERIFY(mainpanel->ButtonSend->isEnabled() && mainpanel->ButtonGet->isEnabled());
}

// The EEPROM store's wrong echo is reported, and the 0.5 s pause for the store still follows.
void TstTransfer::badStoreEchoStillPauses()
{
    showVariables();
    QTest::mouseClick(mainpanel->SelectEEPROM, Qt::LeftButton);
    sensor->addFault(Fault{Fault::WrongEcho, 6, 33, -1, true});
    const double start = Timer();
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
    const double took = Timer() - start;
    QCOMPARE(frames().size(), 33);
    QCOMPARE(word(frames().last(), 1), uint16_t(6));
    QCOMPARE(int(comecho), 0);
    QVERIFY2(took >= 0.5 && took < 2.0, qPrintable(QString::number(took)));
}

// With FILE selected SEND saves what the panels show (233 lines, width 10) and GET puts a file
// on the panels; neither sends anything to the sensor.
void TstTransfer::fileTargetThroughButtons()
{
    showVariables();
    const QString path = dir.filePath(QStringLiteral("Parameter.ini"));
    QTest::mouseClick(mainpanel->SelectFILE, Qt::LeftButton);
    QVERIFY(TypeIntoCell(ttpanel->GridCtt, 4, 0, QStringLiteral("1234"))); // not yet sent
    popups->answerFile(NewFileSelected, path);
    QTest::mouseClick(mainpanel->ButtonSend, Qt::LeftButton);
    QCOMPARE(popups->shown.size(), 1);
    QCOMPARE(popups->shown[0].title, QStringLiteral("Parameter"));
    QCOMPARE(popups->shown[0].text, QStringLiteral("Parameter.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    f.close();
    QCOMPARE(lines.size(), 234); // 233 lines and the end after the last
    QCOMPARE(lines[0].trimmed(), QByteArray("640"));
    QCOMPARE(lines[16 + 7 * 4].trimmed(), QByteArray("1234"));
    QCOMPARE(lines[16 + 7 * 4].left(10), QByteArray("      1234"));

    // The file read back after the panels changed: they show the file again.
    QVERIFY(TypeIntoCell(ttpanel->GridCtt, 4, 0, QStringLiteral("99")));
    popups->answerFile(ExistingFileSelected, path);
    QTest::mouseClick(mainpanel->ButtonGet, Qt::LeftButton);
    QCOMPARE(int(GetCellU16(ttpanel->GridCtt, 1, 5)), 1234);
    QCOMPARE(int(target), 3);
    QVERIFY(frames().isEmpty());
}

QTEST_MAIN(TstTransfer)
#include "tst_transfer.moc"
