// The acquisition loop against the simulated sensor on loopback TCP, with the whole user
// interface built offscreen: STOP during a wait, answers without the 170 header, the first
// time-out, dimming during GO, closing the main window during GO.
#include "core/acquire/acquire.h"
#include "core/acquire/paneldata.h"
#include "core/display/paintpace.h"
#include "core/display/ramps.h"
#include "core/graphs/graphs.h"
#include "core/graphs/liveplot.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/ttpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/interfacepanel.h"
#include "link/codec.h"
#include "link/exchange.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"
#include "tests/common/popupscript.h"
#include "widgets/numberdisplay.h"
#include "ui/uitestutil.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstring>

using namespace tintra;
using tintra::sim::Fault;

namespace {

// Counts the frames that reached the displays and runs `onFrame(n)` for frame n (from 1).
// A loop that a fault keeps from ending is stopped after 6 s, so a failing test cannot hang.
struct FrameWatch {
    int frames = 0;
    std::function<void(int)> onFrame;
    QTimer safety;
    FrameWatch()
    {
        SetFrameListener([this] {
            ++frames;
            if (onFrame)
                onFrame(frames);
        });
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [] { poll = 0; });
        safety.start(6000);
    }
    ~FrameWatch() { SetFrameListener({}); }
};

// Runs `seen` whenever `w` gets an event of type `type`.
class EventSpy : public QObject {
public:
    EventSpy(QObject *w, QEvent::Type type, std::function<void()> seen)
        : type(type), seen(std::move(seen))
    {
        w->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == type)
            seen();
        return false;
    }

private:
    QEvent::Type type;
    std::function<void()> seen;
};

int DataOrders(const QList<QByteArray> &frames)
{
    int n = 0;
    for (const QByteArray &f : frames)
        n += f.size() >= 4 && GetWord(reinterpret_cast<const unsigned char *>(f.constData()), 1) ==
                                  OrderData;
    return n;
}

} // namespace

class TestAcquire : public QObject {
    Q_OBJECT

    sim::SimThread sim;
    std::unique_ptr<test::ProgramUnderTest> program;
    std::unique_ptr<test::PopupScript> popups;

    QString status() const { return datapanel->DispStatus->text(); }

private slots:
    void initTestCase() { QVERIFY2(sim.start(), qPrintable(sim.errorString())); }

    void init()
    {
        popups = std::make_unique<test::PopupScript>();
        program = std::make_unique<test::ProgramUnderTest>();
        QVERIFY(program->ok);
        FillRamps();
        sim.reset();
        sim.clearFaults();
        sim.setColour({2400, 1800, 900});
        sim.setNoise(0);
        comprotocol = 1;
        std::strcpy(ipBuf, "127.0.0.1");
        portNum = sim.port();
        QCOMPARE(InitTCP_IP(), 0);
        sim.clearFrames();
        SetStatusText(QStringLiteral("READY"));
    }

    void cleanup()
    {
        poll = 0;
        DisconnectTCP();
        program.reset();
        popups.reset();
    }

    void copyDatatoVarsMovesSpareWordsOnlyToFrei()
    {
        for (int i = 0; i < anzframe; ++i)
            databuf[i] = uint16_t(1000 + i);
        CopyDatatoVars();
        const uint16_t *expect[16] = {&dataR,    &dataG,     &dataB,       &dataX,
                                      &dataY,    &dataINT,   &dataCOL,     &dataRawR,
                                      &dataRawG, &dataRawB,  &dataTemp,    &dataGroup,
                                      &dataTrigger, &dataFrei14, &dataFrei15, &dataFrei16};
        for (int i = 0; i < 16; ++i)
            QCOMPARE(*expect[i], uint16_t(1002 + i));
        // Words 15 ... 17 appear nowhere else.
        for (int i = 0; i < 13; ++i)
            QVERIFY(*expect[i] < 1015);
    }

    void stopDuringWaitUsesAnswerThenEnds()
    {
        // From the second data frame on the sensor answers 400 ms late; STOP comes as soon as
        // the sensor has the second request, so during the wait for its answer.
        sim.addFault(*Fault::parse(QStringLiteral("delay:5:2:400")));
        FrameWatch watch;
        QTimer stopper;
        QObject::connect(&stopper, &QTimer::timeout, [this, &stopper] {
            if (DataOrders(sim.frames()) == 2) {
                stopper.stop();
                QTest::mouseClick(mainpanel->ButtonStop, Qt::LeftButton);
            }
        });
        watch.onFrame = [&stopper](int n) {
            if (n == 1)
                stopper.start(2);
        };
        const double t0 = Timer();
        QTest::mouseClick(mainpanel->ButtonGo, Qt::LeftButton);
        QVERIFY(Timer() - t0 < 2.0);
        QCOMPARE(watch.frames, 2);         // the late answer was still shown
        QCOMPARE(dataFrei14, uint16_t(1)); // and it was the second frame
        QCOMPARE(DataOrders(sim.frames()), 2);
        QCOMPARE(poll, uint16_t(0));
        QCOMPARE(status(), QStringLiteral("READY"));
        QVERIFY(!AcquisitionRunning());
    }

    void answerWithoutHeaderIsShown()
    {
        sim.addFault(*Fault::parse(QStringLiteral("wrongecho:5")));
        FrameWatch watch;
        watch.onFrame = [](int) { QTest::mouseClick(mainpanel->ButtonStop, Qt::LeftButton); };
        QTest::mouseClick(mainpanel->ButtonGo, Qt::LeftButton);
        QCOMPARE(watch.frames, 1);
        QCOMPARE(databuf[0], uint16_t(0x00AB));
        QCOMPARE(dataR, uint16_t(2400));
        QCOMPARE(datapanel->DispRED->text(), QStringLiteral("2400"));
        QCOMPARE(datapanel->DispGREEN->text(), QStringLiteral("1800"));
        QCOMPARE(status(), QStringLiteral("READY"));
    }

    void firstTimeoutEndsGoAndKeepsValues()
    {
        sim.addFault(*Fault::parse(QStringLiteral("noanswer:5:3")));
        FrameWatch watch;
        watch.onFrame = [this](int n) {
            if (n == 2) // the third frame's answer never comes
                sim.setColour({1000, 2000, 3000});
        };
        QTest::mouseClick(mainpanel->ButtonGo, Qt::LeftButton);
        QCOMPARE(watch.frames, 2);
        QCOMPARE(status(), QStringLiteral("TIMEOUT"));
        QCOMPARE(poll, uint16_t(0));
        QCOMPARE(dataFrei14, uint16_t(1));
        QCOMPARE(dataR, uint16_t(2400));
        QCOMPARE(datapanel->DispRED->text(), QStringLiteral("2400"));
        QCOMPARE(DataOrders(sim.frames()), 3);
        QVERIFY(mainpanel->ButtonGo->isEnabled()); // undimmed after the loop
        // The connection page is shown with the status, and ACCEPT dimmed.
        QVERIFY(interfacepanel->isVisible());
        QCOMPARE(interfacepanel->DispInterfaceStatus->text(), QStringLiteral("TIMEOUT"));
        QVERIFY(!interfacepanel->ButtonAccept->isEnabled());
    }

    void longOperationsDimTheirControls_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("file");
        QTest::newRow("GO (F11)") << int(Qt::Key_F11) << false;
        QTest::newRow("SEND (F9)") << int(Qt::Key_F9) << false;
        QTest::newRow("GET (F10)") << int(Qt::Key_F10) << false;
        QTest::newRow("SEND to FILE") << int(Qt::Key_F9) << true;
        QTest::newRow("GET from FILE") << int(Qt::Key_F10) << true;
    }

    // While GO, SEND or GET runs, the long-operation controls are dimmed and STOP is not; all come
    // back afterwards. Looked at as soon as the operation lets events run (for a file, while its
    // dialog is up, which is answered with nothing chosen).
    void longOperationsDimTheirControls()
    {
        QFETCH(int, key);
        QFETCH(bool, file);
        static const char *const dimmed[] = {
            "ButtonSend",    "ButtonGet",         "ButtonGo",           "SelectRAM",
            "SelectEEPROM",  "SelectFILE",        "Calcmode",           "ButtonTryToConnect",
            "ButtonDiscard", "ButtonCalcCF",      "ButtonSendCF",       "ButtonGetCF",
            "EditSelectDataRec", "ButtonStartRecord", "ButtonStartTrigRec", "ButtonSelRecFile"};
        QStringList enabledDuring;
        bool looked = false, stopEnabled = false;
        auto look = [&] {
            if (looked)
                return;
            looked = true;
            for (const char *n : dimmed)
                if (!FindControl(n) || FindControl(n)->isEnabled())
                    enabledDuring << QString::fromLatin1(n);
            stopEnabled = mainpanel->ButtonStop->isEnabled();
        };
        FrameWatch watch;
        watch.onFrame = [](int) { QTest::mouseClick(mainpanel->ButtonStop, Qt::LeftButton); };
        popups->whileShown = [&](const test::ShownPopup &) { look(); };
        if (file)
            QTest::mouseClick(mainpanel->SelectFILE, Qt::LeftButton);
        else
            QTimer::singleShot(0, mainpanel, look);
        mainpanel->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainpanel));
        QTest::keyClick(mainpanel, Qt::Key(key));
        QTRY_VERIFY(looked && !AcquisitionRunning());
        QCOMPARE(enabledDuring, QStringList());
        QVERIFY(stopEnabled);
        for (const char *n : dimmed)
            QVERIFY2(FindControl(n)->isEnabled(), n);
        QCOMPARE(popups->shown.size(), file ? 1 : 0);
        QCOMPARE(sim.frames().isEmpty(), file);
    }

    void goWhileRunningStartsNoSecondLoop()
    {
        FrameWatch watch;
        int depthSeen = 0;
        watch.onFrame = [&](int n) {
            if (n == 1) {
                // A second GO (e.g. a shortcut that reaches the callback) must not nest a loop.
                CBF_ButtonGo();
                depthSeen = watch.frames;
            }
            if (n == 3)
                QTest::mouseClick(mainpanel->ButtonStop, Qt::LeftButton);
        };
        QTest::mouseClick(mainpanel->ButtonGo, Qt::LeftButton);
        QCOMPARE(depthSeen, 1);
        QCOMPARE(watch.frames, 3);
    }

    void editingTeachCellEndsLoop()
    {
        FrameWatch watch;
        watch.onFrame = [](int n) {
            if (n == 2) // the operator types into a cell of the teach table
                QVERIFY(test::TypeIntoCell(ttpanel->GridCtt, 3, 1, QStringLiteral("777")));
        };
        QTest::mouseClick(mainpanel->ButtonGo, Qt::LeftButton);
        QCOMPARE(watch.frames, 2);
        QCOMPARE(poll, uint16_t(0));
        QCOMPARE(status(), QStringLiteral("READY"));
    }

    // The pause between frames lasts 10 ms on average, the system's lateness in waking included,
    // and never much less; a changed display is repainted at the start of a pause (at most once
    // per screen refresh), never in the middle of one, where the repaint would wake the loop.
    // During GO a display that draws its digits itself does not give each new number to its line
    // edit, and a plot whose window is not due for a repaint waits for it; when GO ends, the
    // line edits hold the numbers of the last frame, and the plots still waiting get drawn.
    void displaysAndPlotsShowTheLastFrameAfterGo()
    {
        auto *red = dynamic_cast<NumberDisplay *>(datapanel->DispRED);
        QVERIFY(red && QTest::qWaitForWindowExposed(red->window()));
        LivePlot *plot = datagraphs->GraphRGB;
        QVERIFY(plot->isVisible());
        const int drawn = plot->cursorReplots();
        FrameWatch watch;
        int waited = 0;
        watch.onFrame = [&](int n) {
            waited += red->numberWaiting();
            sim.setColour({uint16_t(2400 + n), 1800, uint16_t(900 + 2 * n)});
            // Stopped just after a repaint: this frame's plots wait at the start of the pause.
            if (n >= 30 && MsUntilRepaint(red->window()) > 4)
                QTest::mouseClick(mainpanel->ButtonStop, Qt::LeftButton);
        };
        QTest::mouseClick(mainpanel->ButtonGo, Qt::LeftButton);
        QVERIFY(watch.frames >= 30);
        QVERIFY2(waited > 10, qPrintable(QString::number(waited)));
        QCOMPARE(red->text(), QString::number(dataR));
        QCOMPARE(datapanel->DispBLUE->text(), QString::number(dataB));
        QVERIFY(!red->numberWaiting());
        // Drawn about once per repaint, not per frame, and the last frame's drawing comes.
        QVERIFY2(plot->cursorReplots() - drawn < watch.frames * 3 / 4,
                 qPrintable(QString::number(plot->cursorReplots() - drawn)));
        QTRY_COMPARE(LivePlot::pendingDraws(), 0);
    }

    void pauseLastsTenMillisecondsAndPaintsAtItsStart()
    {
        QLineEdit *display = datapanel->DispRED;
        QVERIFY(QTest::qWaitForWindowExposed(display->window()));
        QList<double> paints;
        EventSpy spy(display, QEvent::Paint, [&] { paints.append(Timer()); });
        constexpr int n = 40;
        QList<double> starts;
        double shortest = 1, total = 0;
        for (int i = 0; i < n; ++i) {
            display->setText(QString::number(1000 + i));
            starts.append(Timer());
            PauseBetweenFrames();
            const double d = Timer() - starts.last();
            shortest = std::min(shortest, d);
            total += d;
        }
        QVERIFY2(total / n >= 0.0099, qPrintable(QString::number(total / n)));
        QVERIFY2(shortest >= 0.0094, qPrintable(QString::number(shortest)));
        QVERIFY(PauseLateness() >= 0 && PauseLateness() <= 0.0005);
        QVERIFY2(paints.size() >= n / 3 && paints.size() <= n / 2 + 2,
                 qPrintable(QString::number(paints.size())));
        for (const double t : paints) {
            const auto k = std::upper_bound(starts.begin(), starts.end(), t) - starts.begin() - 1;
            QVERIFY(k >= 0);
            // A loaded machine may wake the loop late; what lies past the pause's ten
            // milliseconds is no longer its middle.
            QVERIFY2(t - starts[k] < 0.005 || t - starts[k] >= 0.0099,
                     qPrintable(QString::number(t - starts[k])));
        }
    }

    void closingMainWindowDuringGoEndsLoopAndProgram()
    {
        FrameWatch watch;
        int framesAtClose = 0;
        watch.onFrame = [&](int n) {
            if (n == 3) {
                framesAtClose = n;
                mainpanel->close();
            }
        };
        QTimer::singleShot(0, mainpanel->ButtonGo, &QPushButton::click);
        const int rc = RunUserInterface();
        QCOMPARE(rc, 0);
        QCOMPARE(framesAtClose, 3);
        QVERIFY(watch.frames <= 4); // at most the pass in progress
        QVERIFY(!AcquisitionRunning());
        QCOMPARE(poll, uint16_t(0));
    }
};

QTEST_MAIN(TestAcquire)
#include "tst_acquire.moc"
