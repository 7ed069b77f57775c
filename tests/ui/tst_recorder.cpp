// The data recorder and the signal graph on the real panels (offscreen): the four modes against
// the simulated sensor or a scripted peer (TCP and a serial pseudo-terminal), the file choice, the
// record file read back as TSV, write errors, the signal graph's course and captions, info texts.
#include "core/acquire/acquire.h"
#include "core/graphs/dispnames.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/datapanel.h"
#include "core/panels/recpanel.h"
#include "core/panels/graphpanel.h"
#include "core/panels/controls.h"
#include "core/panels/cells.h"
#include "core/recorder/signalgraph.h"
#include "core/settings/paths.h"
#include "link/codec.h"
#include "link/platform.h"
#include "link/state.h"
#include "link/transport.h"
#include "sim/simthread.h"
#include "tests/common/popupscript.h"
#include "tests/common/filelimit.h"
#include "tests/common/scriptedpeer.h"
#include "tests/common/transcript.h"
#include "ui/recordtsv.h"
#include "ui/uitestutil.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <optional>
#include <cstring>

using namespace tintra;
using tintra::test::ChooseItem;
using tintra::test::TypeInto;
using tintra::sim::Fault;

namespace {

const QString attention = QStringLiteral("ATTENTION!");
const QString notOpened = QStringLiteral(" Make sure, that the file is not opened by any other program.");
const QString notSaved = QStringLiteral("\n Otherwise it can not be saved.");

// One data frame as the sensor sends it: word 0 the answer word, words 2 ... 17 the values.
QByteArray DataFrame(uint16_t word0, uint16_t r, uint16_t temp)
{
    unsigned char b[36] = {};
    PutWord(b, 0, word0);
    PutWord(b, 1, OrderData);
    const uint16_t values[16] = {r, 200, 300, 400, 500, 600, 7, 1, 2, 3, temp, 7, 0, 0, 0, 0};
    for (int i = 0; i < 16; ++i)
        PutWord(b, 2 + i, values[i]);
    return QByteArray(reinterpret_cast<const char *>(b), 36);
}

// Runs `steps` one after another from the event loop, each `ms` after the previous, while the
// test's thread sits inside a recording loop. A step returning false is retried (waiting for
// something). A safety stop ends any loop after 15 s so a failing test cannot hang.
class Script : public QObject {
public:
    Script(int ms, QList<std::function<bool()>> steps) : steps(std::move(steps))
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            if (!this->steps.isEmpty() && this->steps.first()())
                this->steps.removeFirst();
        });
        timer.start(ms);
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, [] { poll = 0; });
        safety.start(15000);
    }
    bool done() const { return steps.isEmpty(); }

private:
    QList<std::function<bool()>> steps;
    QTimer timer, safety;
};

void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

// Words 2 ... 17 of the k-th scripted frame: word w carries k * 100 + w - 1, so every column and
// course shows the word it came from (R k01 ... INT k06, colour number k07, raw k08 ... k10, TEMP k11).
std::array<uint16_t, 16> Words(int k)
{
    std::array<uint16_t, 16> w{};
    for (int i = 0; i < 16; ++i)
        w[std::size_t(i)] = uint16_t(k * 100 + i + 1);
    return w;
}
constexpr int courseWord[7] = {1, 2, 3, 4, 5, 6, 11}; // R, G, B, X, Y, INT, TEMP

const QString sure = QStringLiteral("ATTENTION!: Are you sure, that you have selected the right file name?");
const QString warnTimed = QStringLiteral("ATTENTION!: ") + notOpened + QString(34, u' ') + notSaved;
const QString warnTrig = QStringLiteral("ATTENTION!: ") + notOpened + QString(42, u' ') + notSaved;
const QString saved = QStringLiteral("INFO!: File has been saved!");
const QString tally = QStringLiteral("\n%1 lines written, %2 bytes dropped"); // triggered end
const QString noFile = QStringLiteral("ATTENTION!: No filename was choosen! \nRecording will not be done! ");
const QByteArray header = "DATE\tTIME\tRED\tGREEN\tBLUE\tX s\tY i\tINT M\tCOLOR\tTEMP\t\r\n";

// The line for frame k, date and time masked: R, G, B, X, Y, INT, colour number, TEMP.
QByteArray Line(int k)
{
    const QString line = QStringLiteral("D\tT\tk01\tk02\tk03\tk04\tk05\tk06\tk07\tk11\r\n");
    return QString(line).replace(u'k', QString::number(k)).toLatin1();
}

// The record file with each well-formed date and time (known only to the clock) masked.
QByteArray Masked(const QByteArray &bytes)
{
    static const QRegularExpression stamp(
        QStringLiteral("^(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01])-[0-9]{4}\t"
                       "([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\t"),
        QRegularExpression::MultilineOption);
    return QString::fromLatin1(bytes).replace(stamp, QStringLiteral("D\tT\t")).toLatin1();
}

// One step of a recording session and all it must leave behind.
struct Step {
    const char *what;
    int mode;          // RECORD MODE, chosen with the keys
    int values;        // typed into VALUES when not 0 (INTERVAL stays at its 1 s)
    QList<int> frames; // the sensor's next data frames carry Words(k) in turn
    // "select" (SELECT FILE), "start" (START RECORD), "until n" (START RECORD, STOP RECORD after
    // n lines), "trig" (START TRIG REC), "trigger n" (START TRIG REC, n frames sent one at a time,
    // STOP TRIG REC), "manual n" (MANUAL RECORD n times).
    QString action;
    QStringList heard;    // the whole exchange with the sensor
    QList<int> lines;     // frames whose lines the record file gains
    QStringList counters; // RECORDED, REMAINING, frame counter
    QList<int> course;    // frames in every course of the signal graph afterwards
    QStringList popups;   // "title: text" of every message and question
};

} // namespace

class TestRecorder : public QObject {
    Q_OBJECT

    sim::SimThread sim;
    std::unique_ptr<test::ProgramUnderTest> program;
    std::unique_ptr<test::PopupScript> popups;
    QString file;

    QList<QStringList> dataRows() const
    {
        const test::RecordFileContents c = test::ReadRecordFile(file);
        QList<QStringList> rows;
        for (const QStringList &r : c.rows)
            if (test::IsDataRow(r))
                rows << r;
        return rows;
    }
    QByteArray fileSoFar; // what the record file must hold, date and time masked

    // Runs a step as an operator would, with `during` run from the event loop first, and compares
    // its whole outcome with the step's expectation.
    void run(const Step &s, QList<std::function<bool()>> during = {})
    {
        popups->clear();
        ChooseItem(recpanel->EditSelectDataRec, s.mode);
        if (s.values)
            TypeInto(recpanel->EditRecVal, s.values);
        sim.sim().withModel([&](sim::SensorModel &m) {
            m.scriptedData.clear();
            for (int k : s.frames)
                m.scriptedData.push_back(Words(k));
        });
        sim.clearFrames();
        if (s.popups.contains(sure))
            popups->answerConfirm(1);
        popups->answerFile(NewFileSelected, file);
        const QString verb = s.action.section(u' ', 0, 0);
        const int n = s.action.section(u' ', 1).toInt();
        auto counted = [this](int i) {
            return [this, i] { return recpanel->DispFrameCounter->text().toInt() == i; };
        };
        auto click = [](QPushButton *b) { return [b] { Click(b); return true; }; };
        if (verb == QLatin1String("until"))
            during << counted(n) << click(recpanel->ButtonStopRecord);
        if (verb == QLatin1String("trigger")) {
            during << [this] { return sim.autoSending(); };
            for (int i = 1; i <= n; ++i) // one at a time, each counted before the next
                during << [this] { sim.fireTrigger(); return true; } << counted(i);
            during << click(recpanel->ButtonStopTrigRec);
        }
        QPushButton *button = QMap<QString, QPushButton *>{
            {"select", recpanel->ButtonSelRecFile}, {"start", recpanel->ButtonStartRecord},
            {"until", recpanel->ButtonStartRecord}, {"trig", recpanel->ButtonStartTrigRec},
            {"trigger", recpanel->ButtonStartTrigRec}, {"manual", recpanel->ButtonManualRecord}}[verb];
        Script script(20, during);
        for (int i = 0; i < (verb == QLatin1String("manual") ? n : 1); ++i)
            Click(button);
        QVERIFY2(script.done(), s.what);
        fileSoFar = verb == QLatin1String("select") ? header : fileSoFar;
        for (int k : s.lines)
            fileSoFar += Line(k);
        // The last order (automatic sending off) may still be on its way.
        const qsizetype orders = test::Unfold(s.heard).size() - s.heard.filter("pause").size();
        (void)QTest::qWaitFor([&] { return sim.frames().size() >= orders; }, 3000); // compared below

        QStringList got{test::Heard(sim, s.heard).join(", "),
                        QString::fromLatin1(Masked(test::ReadBytes(file))),
                        QStringList{recpanel->DispRecordedValues->text(), recpanel->DispRemaining->text(),
                                    recpanel->DispFrameCounter->text()}.join(u' ')};
        QStringList want{test::Fold(s.heard).join(", "), QString::fromLatin1(fileSoFar),
                         s.counters.join(u' ')};
        for (int sig = 0; sig < 7; ++sig) {
            ChooseItem(graphpanel->EditSignal, sig);
            SyncSignalGraph();
            QStringList g, w;
            for (const EnvelopePoint &p : SignalGraph(sig)->plotted())
                g << QStringLiteral("%1:%2").arg(p.x).arg(p.y);
            for (int i = 0; i < s.course.size(); ++i)
                w << QStringLiteral("%1:%2").arg(i).arg(s.course[i] * 100 + courseWord[sig]);
            const bool shown = graphpanel->PanelGraphArea->currentWidget() == SignalGraph(sig);
            const QString disp = graphpanel->GpDisp[sig]->text();
            got << QStringLiteral("signal %1%2: %3 now %4, count %5")
                       .arg(sig).arg(shown ? "" : " hidden", g.join(u' '), disp).arg(graphcnt);
            const QString last = s.course.isEmpty()
                                     ? disp
                                     : QString::number(s.course.last() * 100 + courseWord[sig]);
            want << QStringLiteral("signal %1: %2 now %3, count %4")
                        .arg(sig).arg(w.join(u' '), last).arg(s.course.size());
        }
        QStringList shown;
        for (const test::ShownPopup &p : popups->shown)
            if (p.kind != QLatin1String("file"))
                shown << p.title + QStringLiteral(": ") + p.text;
        got << shown.join(" || ");
        want << s.popups.join(" || ");
        for (QStringList *l : {&got, &want})
            l->replaceInStrings(QRegularExpression("^"), QString::fromLatin1(s.what) + " | ");
        QCOMPARE(got, want);
    }

    void startSession()
    {
        sim.setAutoSendMode(sim::AutoSendMode::Trigger); // the sensor sends only when triggered
        Click(mainpanel->ButtonShowGraph);
        Click(mainpanel->ButtonRecorder);
        ChooseItem(recpanel->EditSelectDataRec, 1); // a new mode: the graph starts afresh
        ChooseItem(recpanel->EditSelectDataRec, 0);
    }

    QList<QString> messageTexts() const
    {
        QList<QString> t;
        for (const test::ShownPopup &p : popups->shown)
            t << p.text;
        return t;
    }

    void connectSim()
    {
        comprotocol = 1;
        std::strcpy(ipBuf, "127.0.0.1");
        portNum = sim.port();
        QCOMPARE(InitTCP_IP(), 0);
    }

    // Opens the recorder in `mode`, with a fresh record file chosen through SELECT FILE.
    void prepare(int mode, int interval = 1, int values = 3)
    {
        Click(mainpanel->ButtonRecorder);
        QVERIFY(recpanel->isVisible());
        ChooseItem(recpanel->EditSelectDataRec, mode);
        QCOMPARE(recpanel->EditSelectDataRec->currentIndex(), mode);
        if (mode <= 1)
            TypeInto(recpanel->EditInterval, interval);
        if (mode == 0)
            TypeInto(recpanel->EditRecVal, values);
        popups->answerFile(NewFileSelected, file);
        Click(recpanel->ButtonSelRecFile);
        popups->clear();
    }

private slots:
    void initTestCase() { QVERIFY2(sim.start(), qPrintable(sim.errorString())); }

    void init()
    {
        popups = std::make_unique<test::PopupScript>();
        program = std::make_unique<test::ProgramUnderTest>();
        QVERIFY(program->ok);
        file = program->path("rec.dat");
        proj_dir = program->dir.path(); // as InitAll sets it
        sim.reset();
        sim.setColour({2400, 1800, 900});
        sim.setNoise(0);
        connectSim();
        sim.clearFrames();
    }

    void cleanup()
    {
        poll = 0;
        DisconnectTCP();
        CloseCom();
        comprotocol = 1;
        program.reset();
        popups.reset();
    }

    // Every mode against the simulated sensor, step after step as an operator goes: the whole
    // exchange, record file, counters, every course of the signal graph and every popup after each
    // step, so also when the graph and the counters start afresh.
    void recordingSessionGolden()
    {
        startSession();
        const QString noFrames = QStringLiteral("INFO!:  No frame has been recorded: \n 0 lines were written to the record file. ");
        const QStringList timed{sure, warnTimed, saved}, pause{"pause 0.95"};
        auto trig = [](int lines) { return QStringList{sure, warnTrig, saved + tally.arg(lines).arg(0)}; };
        const Step steps[] = {
            {"no file: START RECORD", 0, 3, {}, "start", {}, {}, {"0", "3", "0"}, {}, {noFile}},
            {"no file: MANUAL RECORD", 2, 0, {}, "manual 1", {}, {}, {"0", "3", "0"}, {}, {noFile}},
            {"no file: START TRIG REC", 3, 0, {}, "trig", {}, {}, {"0", "3", "0"}, {}, {noFile}},
            {"SELECT FILE", 0, 0, {}, "select", {}, {}, {"0", "3", "0"}, {}, {}},
            {"3 values", 0, 0, {1, 2, 3}, "start", {"5", "pause 0.95", "5", "pause 0.95", "5"}, {1, 2, 3}, {"3", "0", "0"}, {1, 2, 3}, timed},
            {"2 values: afresh", 0, 2, {4, 5}, "start", {"5", "pause 0.95", "5"}, {4, 5}, {"2", "0", "0"}, {4, 5}, timed},
            {"until STOP", 1, 0, {6, 7}, "until 2", {"5", "pause 0.95", "5"}, {6, 7}, {"0", "2", "2"}, {6, 7}, timed},
            {"manual: last frame's values", 2, 0, {}, "manual 2", {}, {7, 7}, {"2", "2", "2"}, {7, 7}, {}},
            {"triggered", 3, 0, {8, 9}, "trigger 2", {"50 1", "50"}, {8, 9}, {"2", "2", "2"}, {8, 9}, trig(2)},
            {"triggered again: graph goes on", 3, 0, {10}, "trigger 1", {"50 1", "50"}, {10}, {"2", "2", "1"}, {8, 9, 10}, trig(1)},
            {"triggered, nothing sent", 3, 0, {}, "trigger 0", {"50 1", "50"}, {}, {"2", "2", "0"}, {8, 9, 10}, {sure, warnTrig, noFrames}},
            {"manual again: afresh", 2, 0, {}, "manual 1", {}, {10}, {"1", "2", "0"}, {10}, {}},
        };
        for (const Step &s : steps) {
            run(s);
            if (QTest::currentTestFailed())
                return;
        }
    }

    // A late cycle (a popup held open 1.5 s) starts the schedule afresh; a full disk cuts the line
    // that did not fit off whole and names the reason; MANUAL RECORD into a file that cannot be
    // written says so once for the series.
    void lateCycleFullDiskUnwritableFile()
    {
        startSession();
        run({"SELECT FILE", 0, 3, {}, "select", {}, {}, {"0", "3", "0"}, {}, {}});
        const QStringList heard{"5", "pause 1.5", "5", "pause 0.95", "5"};
        popups->whileShown = [](const test::ShownPopup &p) {
            if (p.text.contains(QLatin1String("path")))
                QThread::msleep(1500);
        };
        run({"popup held after line 1", 0, 0, {1, 2, 3}, "start", heard, {1, 2, 3}, {"3", "0", "0"}, {1, 2, 3},
             {sure, warnTimed, "INFO!:  Shows the path of the record file. ", saved}},
            {[this] { return recpanel->DispRecordedValues->text() == QLatin1String("1"); },
             [this] { test::RightClick(recpanel->DispRecFile); return true; }});
        popups->whileShown = nullptr;
        // Line 2 fits in part: header, three lines and line 1 (each 16 bytes longer than masked).
        std::optional<test::FileSizeLimit> full(std::in_place,
                                                rlim_t(fileSoFar.size() + 4 * 16 + Line(1).size() + 9));
        const QString failed =
            QStringLiteral("ATTENTION!:  The record file could not be written: \n %1 \n Reason: %2 ")
                .arg(file);
        run({"disk full at line 2", 0, 0, {1, 2, 3}, "start", {"5", "pause 0.95", "5", "pause 0.95", "5"}, {1, 3},
             {"3", "0", "0"}, {1, 2, 3},
             {sure, warnTimed, failed.arg("File too large") + "\n 1 of 3 lines are missing from it. "}},
            {[this, &full] { return recpanel->DispRecordedValues->text() == QLatin1String("2") && (full.reset(), true); }});
        QVERIFY(QFile::remove(file) && QDir().mkpath(file)); // a folder where the file was
        fileSoFar.clear();
        run({"3 presses into a folder", 2, 0, {}, "manual 3", {}, {}, {"3", "0", "0"}, {3, 3, 3},
             {failed.arg("Is a directory")}});
        QVERIFY(QDir(file).removeRecursively());
        run({"room again", 2, 0, {}, "manual 1", {}, {3}, {"4", "0", "0"}, {3, 3, 3, 3}, {}});
    }

    void modesShowTheirControls_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("0") << 0 << QStringList{"EditInterval", "EditRecVal", "DispRecordTime",
                                               "DispRecordedValues", "DispRemaining",
                                               "ButtonStartRecord", "ButtonStopRecord"};
        QTest::newRow("1") << 1 << QStringList{"EditInterval", "ButtonStartRecord",
                                               "ButtonStopRecord", "DispFrameCounter"};
        QTest::newRow("2") << 2 << QStringList{"DispRecordedValues", "ButtonManualRecord"};
        QTest::newRow("3") << 3 << QStringList{"ButtonStartTrigRec", "ButtonStopTrigRec",
                                               "DispFrameCounter"};
    }
    void modesShowTheirControls()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, shown);
        Click(mainpanel->ButtonRecorder);
        ChooseItem(recpanel->EditSelectDataRec, 3 - mode); // a real change either way
        ChooseItem(recpanel->EditSelectDataRec, mode);
        const char *all[] = {"EditInterval", "EditRecVal", "DispRecordTime", "DispRecordedValues",
                             "DispRemaining", "DispFrameCounter", "ButtonStartRecord",
                             "ButtonStopRecord", "ButtonStartTrigRec", "ButtonStopTrigRec",
                             "ButtonManualRecord"};
        for (const char *n : all)
            QCOMPARE(test::Control<QWidget>(n)->isVisible(), shown.contains(QLatin1String(n)));
        for (const char *n : {"ButtonSelRecFile", "DispRecFile"})
            QVERIFY(test::Control<QWidget>(n)->isVisible());
        // RECORD MODE: a drop-down list captioned on its left, on the same line, modes in order.
        QComboBox *c = recpanel->EditSelectDataRec;
        QCOMPARE(c->count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(c->itemData(i).toInt(), i);
        QLabel *caption = LabelOf(c);
        QVERIFY(caption && caption->text() == QStringLiteral("RECORD MODE"));
        QVERIFY(caption->geometry().right() < c->geometry().left());
        QVERIFY(qAbs(caption->geometry().center().y() - c->geometry().center().y()) < 6);
    }

    void recordTimeFollowsIntervalAndValues()
    {
        Click(mainpanel->ButtonRecorder);
        TypeInto(recpanel->EditInterval, 10);
        TypeInto(recpanel->EditRecVal, 9000);
        const QList<QLineEdit *> dhms{recpanel->DispRecDays, recpanel->DispRecHours,
                                      recpanel->DispRecMinutes, recpanel->DispRecSeconds};
        auto shown = [&] {
            QStringList t;
            for (QLineEdit *e : dhms)
                t << e->text();
            return t;
        };
        QCOMPARE(shown(), (QStringList{"1", "1", "0", "0"}));
        QCOMPARE(recpanel->DispRemaining->text(), QStringLiteral("9000"));
        // INTERVAL cannot go below 1 s: 9000 s = 2 h 30 min.
        recpanel->EditInterval->setFocus();
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(recpanel->EditInterval, Qt::Key_Down);
        QCOMPARE(shown(), (QStringList{"0", "2", "30", "0"}));
    }

    void selectFileOutcomes_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("confirm");
        QTest::addColumn<bool>("existed");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("headerOnly");
        const QString none = QStringLiteral("No filename was choosen! \nRecording will not be done! ");
        const QString warn = notOpened + QString(36, QLatin1Char(' ')) + notSaved;
        QTest::newRow("cancel") << 0 << 0 << true << QStringList{none} << false;
        QTest::newRow("new") << 2 << 0 << false << QStringList{} << true;
        QTest::newRow("existing, confirmed") << 1 << 1 << true << QStringList{warn} << true;
        QTest::newRow("existing, declined") << 1 << 0 << true << QStringList{} << false;
    }
    void selectFileOutcomes()
    {
        QFETCH(int, result);
        QFETCH(int, confirm);
        QFETCH(bool, existed);
        QFETCH(QStringList, messages);
        QFETCH(bool, headerOnly);
        const QByteArray old = "old\r\ncontent\r\n";
        if (existed)
            test::WriteBytes(file, old);
        recpanel->DispRecFile->setText(QStringLiteral("/previous/record.dat"));
        Click(mainpanel->ButtonRecorder);
        popups->answerFile(result, file);
        popups->answerConfirm(confirm);
        Click(recpanel->ButtonSelRecFile);
        const test::ShownPopup &dialog = popups->shown.at(0);
        QCOMPARE(dialog.kind, QStringLiteral("file"));
        QCOMPARE(dialog.request.title, QStringLiteral("FILENAME!"));
        QCOMPARE(dialog.request.defaultName, QStringLiteral("record.dat"));
        QCOMPARE(dialog.request.filter, QStringLiteral("*.dat"));
        QCOMPARE(QDir(dialog.request.startDir), QDir(program->dir.path()));
        if (result == 1) {
            QCOMPARE(popups->shown.at(1).text,
                     QStringLiteral("File already exist! \nDo you want to select existing file?"));
        }
        QStringList shownMessages;
        for (const test::ShownPopup &p : popups->messages()) {
            QCOMPARE(p.title, attention);
            shownMessages << p.text;
        }
        QCOMPARE(shownMessages, messages);
        if (headerOnly) {
            QCOMPARE(recpanel->DispRecFile->text(), file);
            const test::RecordFileContents c = test::ReadRecordFile(file);
            QVERIFY(c.crlf);
            QCOMPARE(c.rows.size(), 1);
            QCOMPARE(c.rows[0].first(), QStringLiteral("DATE"));
        } else {
            QCOMPARE(recpanel->DispRecFile->text(), QStringLiteral("/previous/record.dat"));
            QCOMPARE(test::ReadBytes(file), existed ? old : QByteArray());
        }
    }

    void timedValuesWritesExactlyThreeOneSecondApart()
    {
        prepare(0, 1, 3);
        popups->answerConfirm(1);
        bool lockedAndRed = false;
        Script watch(20, {[&] {
            if (poll != 1)
                return false; // not yet recording
            lockedAndRed = !recpanel->EditInterval->isEnabled() &&
                           !recpanel->EditRecVal->isEnabled() &&
                           ButtonColour(recpanel->ButtonStartRecord) == 0xFF0000 &&
                           recpanel->ButtonStopRecord->isEnabled() &&
                           !recpanel->EditSelectDataRec->isEnabled();
            return true;
        }});
        const double t0 = Timer();
        Click(recpanel->ButtonStartRecord);
        const double took = Timer() - t0;
        QVERIFY(lockedAndRed);
        QVERIFY2(took > 1.9 && took < 2.8, qPrintable(QString::number(took)));
        const QList<QStringList> rows = dataRows();
        QCOMPARE(rows.size(), 3);
        for (const QStringList &r : rows)
            QCOMPARE(r.mid(2, 3), (QStringList{"2400", "1800", "900"}));
        QCOMPARE(recpanel->DispRecordedValues->text(), QStringLiteral("3"));
        QCOMPARE(recpanel->DispRemaining->text(), QStringLiteral("0"));
        QCOMPARE(messageTexts(),
                 (QList<QString>{QStringLiteral("Are you sure, that you have selected the right file name?"),
                                 notOpened + QString(34, QLatin1Char(' ')) + notSaved,
                                 QStringLiteral("File has been saved!")}));
        QCOMPARE(popups->shown.last().title, QStringLiteral("INFO!"));
        QVERIFY(recpanel->EditInterval->isEnabled() && recpanel->ButtonStartRecord->isEnabled());
        QCOMPARE(ButtonColour(recpanel->ButtonStartRecord), 0xE0E0E0u);
        QCOMPARE(graphcnt, uint64_t(3));
    }

    void declinedConfirmationRecordsNothing()
    {
        prepare(1, 1);
        popups->answerConfirm(0);
        Click(recpanel->ButtonStartRecord);
        QCOMPARE(dataRows().size(), 0);
        QCOMPARE(popups->shown.size(), 1);
        QVERIFY(recpanel->ButtonStartRecord->isEnabled() && mainpanel->ButtonGo->isEnabled());
    }

    void stopDuringWaitEndsAtOnce()
    {
        prepare(1, 5);
        popups->answerConfirm(1);
        double stoppedAt = 0;
        Script script(20, {[&] { return dataRows().size() == 1; },
                           [&] {
                               stoppedAt = Timer();
                               Click(recpanel->ButtonStopRecord);
                               return true;
                           }});
        Click(recpanel->ButtonStartRecord);
        const double after = Timer() - stoppedAt;
        QVERIFY(script.done());
        QVERIFY2(after < 0.3, qPrintable(QString::number(after)));
        QCOMPARE(dataRows().size(), 1);
        QCOMPARE(recpanel->DispFrameCounter->text(), QStringLiteral("1"));
        QCOMPARE(popups->shown.last().text, QStringLiteral("File has been saved!"));
    }

    void timeoutInCycleNLeavesNLines_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("first cycle") << 1;
        QTest::newRow("second cycle") << 2;
    }
    void timeoutInCycleNLeavesNLines()
    {
        QFETCH(int, n);
        prepare(0, 1, 5);
        dataR = 11, dataG = 22, dataB = 33, dataX = 44, dataY = 55, dataINT = 66, dataCOL = 77;
        dataTemp = 88;
        sim.addFault(*Fault::parse(QStringLiteral("noanswer:5:%1").arg(n)));
        popups->answerConfirm(1);
        Click(recpanel->ButtonStartRecord);
        const QList<QStringList> rows = dataRows();
        QCOMPARE(rows.size(), n);
        const QStringList before{"11", "22", "33", "44", "55", "66", "77", "88"};
        QCOMPARE(rows.last().mid(2), n == 1 ? before : rows[n - 2].mid(2));
        QCOMPARE(datapanel->DispStatus->text(), QStringLiteral("TIMEOUT"));
        QCOMPARE(popups->shown.last().text, QStringLiteral("File has been saved!"));
    }

    void unwritableFileReportedOncePerRecordingAndRetried()
    {
        prepare(0, 1, 3);
        // A directory where the file should be: the header and the lines cannot be written.
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir().mkpath(file));
        for (int run = 0; run < 2; ++run) {
            popups->clear();
            popups->answerConfirm(1);
            // In the second run the path becomes writable after the first line.
            Script script(20, {[&] {
                if (run == 1 && recpanel->DispRecordedValues->text() == QStringLiteral("1"))
                    return QDir(file).removeRecursively();
                return run == 0;
            }});
            Click(recpanel->ButtonStartRecord);
            const QList<test::ShownPopup> m = popups->messages();
            QCOMPARE(m.size(), 2); // the warning before, the write error after; no "saved"
            QCOMPARE(m[1].title, attention);
            QVERIFY2(m[1].text.contains(file), qPrintable(m[1].text));
            QVERIFY(m[1].text.contains(run == 0 ? QStringLiteral("3 of 3") : QStringLiteral("1 of 3")));
        }
        QCOMPARE(dataRows().size(), 2); // lines 2 and 3 of the second run
    }

    void manualRecordWhileGoRunsAndNegativeTemperature()
    {
        prepare(2);
        dataR = 1, dataTemp = 65535; // the sensor's -1
        Click(recpanel->ButtonManualRecord);
        bool usable = false;
        Script script(30, {[&] { return dataR == 2400; },
                           [&] {
                               usable = recpanel->ButtonManualRecord->isEnabled();
                               Click(recpanel->ButtonManualRecord);
                               Click(mainpanel->ButtonStop);
                               return true;
                           }});
        Click(mainpanel->ButtonGo);
        QVERIFY(usable && script.done());
        const QList<QStringList> rows = dataRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0][2], QStringLiteral("1"));
        QCOMPARE(rows[0][9], QStringLiteral("65535"));
        QCOMPARE(rows[1].mid(2, 3), (QStringList{"2400", "1800", "900"}));
        QCOMPARE(recpanel->DispRecordedValues->text(), QStringLiteral("2"));
        QVERIFY(popups->messages().isEmpty());
    }

    void triggeredTakesEveryWholeFrame_data()
    {
        QTest::addColumn<bool>("serial");
        QTest::newRow("tcp") << false;
        QTest::newRow("serial") << true;
    }
    // Frames merged in one write, split across writes, with noise between them, a frame whose
    // first word is not 170 and one still on its way at STOP, each write 150 ms after the
    // previous: every whole frame is recorded, in order, and the noise is counted.
    void triggeredTakesEveryWholeFrame()
    {
        QFETCH(bool, serial);
        DisconnectTCP();
        const QString link = program->path("ttyPEER");
        test::ScriptedPeer peer(serial ? test::ScriptedPeer::Pty : test::ScriptedPeer::Tcp, link);
        QVERIFY(peer.start());
        if (serial) {
            test::WriteBytes(program->path("ComPorts.cfg"), "3 " + link.toUtf8() + "\n");
            SetComPortsCfgDir(program->dir.path());
            comprotocol = 0;
            comport = 3;
            QCOMPARE(InitRS232(), 0);
            SetComPortsCfgDir(QString());
        } else {
            portNum = peer.port();
            QCOMPARE(InitTCP_IP(), 0);
        }
        prepare(3);
        popups->answerConfirm(1);
        const QByteArray f4 = DataFrame(170, 1004, 36), f5 = DataFrame(170, 1005, 37),
                         f6 = DataFrame(170, 1006, 38);
        const QByteArray writes[] = {
            DataFrame(170, 1000, 65535),
            DataFrame(170, 1001, 30) + DataFrame(170, 1002, 31), // merged
            DataFrame(0x00AB, 1003, 30),                         // no answer word: 36 dropped
            f4.left(1),                                          // split 1/35
            f4.mid(1) + "\xee\xee\x11" + f5.left(18),            // noise, split 18/18
            f5.mid(18),
        };
        QList<std::function<bool()>> steps{[&] { return peer.frames().size() == 1; }};
        for (const QByteArray &w : writes)
            steps << [&peer, w] { peer.send(w); return true; };
        // A frame on its way as STOP is pressed is recorded too.
        steps << [&] { peer.send(f6); Click(recpanel->ButtonStopTrigRec); return true; };
        Script script(150, steps);
        Click(recpanel->ButtonStartTrigRec);
        QVERIFY(script.done());
        QStringList got;
        for (const QStringList &r : dataRows())
            got << r.mid(2).join(u' ');
        QCOMPARE(got, (QStringList{"1000 200 300 400 500 600 7 65535", "1001 200 300 400 500 600 7 30",
                                   "1002 200 300 400 500 600 7 31", "1004 200 300 400 500 600 7 36",
                                   "1005 200 300 400 500 600 7 37", "1006 200 300 400 500 600 7 38"}));
        QCOMPARE(recpanel->DispFrameCounter->text(), QStringLiteral("6"));
        QCOMPARE(graphcnt, uint64_t(6));
        QCOMPARE(datapanel->DispRED->text(), QStringLiteral("1006")); // the display shows the last
        // Order 50 with 1, then with 0.
        QVERIFY(peer.waitFrames(2));
        const QList<QByteArray> f = peer.frames();
        const auto *a = reinterpret_cast<const unsigned char *>(f[0].constData());
        const auto *b = reinterpret_cast<const unsigned char *>(f[1].constData());
        QCOMPARE((QList<int>{GetWord(a, 0), GetWord(a, 1), GetWord(a, 2)}), (QList<int>{85, 50, 1}));
        QCOMPARE((QList<int>{GetWord(b, 0), GetWord(b, 1), GetWord(b, 2)}), (QList<int>{85, 50, 0}));
        QCOMPARE(messageTexts().mid(1),
                 (QList<QString>{notOpened + QString(42, QLatin1Char(' ')) + notSaved,
                                 QStringLiteral("File has been saved!\n6 lines written, 39 bytes dropped")}));
        DisconnectTCP();
        CloseCom();
    }

    // The simulated sensor sends fast, many frames to a read, with and without noise between
    // them, and into a disk that fills up; STOP is pressed as soon as it has sent the last one, so
    // some are still on their way. The whole record file holds one line per frame sent, in order
    // (as many whole lines as fit), and the end message counts them and the noise.
    void triggeredRecordsEveryFrameTheSensorSent()
    {
        struct Row {
            const char *what;
            int frames, periodUs;
            QByteArray noise; // after every 7th frame
            int dropped;
            int room = 0;     // lines the disk has room for (0: no limit)
        };
        const Row rows[] = {
            {"one at a time", 12, 20000, {}, 0},
            {"every 0.2 ms, many to a read", 600, 200, {}, 0},
            {"every 0.5 ms with noise", 400, 500, QByteArray("\xee\x00\x11\xaa\x00", 5), 57 * 5},
            {"disk full after 150 lines", 400, 200, {}, 0, 150},
        };
        for (const Row &r : rows) {
            QFile::remove(file); // a new file each time: SELECT FILE appends its header
            prepare(3);
            popups->answerConfirm(1);
            sim.clearFrames();
            sim.setAutoSendMode(sim::AutoSendMode::Interval);
            sim.setAutoSendPeriodUs(r.periodUs);
            sim.setAutoSendLimit(r.frames);
            sim.setAutoSendNoise(r.noise, 7);
            sim.sim().withModel([&](sim::SensorModel &m) {
                m.scriptedData.clear();
                for (int k = 1; k <= r.frames; ++k)
                    m.scriptedData.push_back(Words(k));
            });
            QByteArray want = header;
            for (int k = 1; k <= (r.room ? r.room : r.frames); ++k)
                want += Line(k);
            // Room for the lines, each 16 bytes longer than masked, and half a line more.
            std::optional<test::FileSizeLimit> full;
            if (r.room)
                full.emplace(rlim_t(want.size() + 16 * r.room + 20));
            Script script(20, {[&] { return sim.autoFramesSent() == r.frames; },
                               [&] { Click(recpanel->ButtonStopTrigRec); return true; }});
            Click(recpanel->ButtonStartTrigRec);
            full.reset();
            QVERIFY2(script.done(), r.what);
            const QString end =
                (r.room ? QStringLiteral(" The record file could not be written: \n %1 \n Reason: File too "
                                         "large \n %2 of %3 lines are missing from it. ")
                              .arg(file).arg(r.frames - r.room).arg(r.frames)
                        : QStringLiteral("File has been saved!")) +
                tally.arg(r.room ? r.room : r.frames).arg(r.dropped);
            // Line by line, so a difference names the first line that differs.
            QStringList got = QString::fromLatin1(Masked(test::ReadBytes(file))).split(u'\n');
            QStringList exp = QString::fromLatin1(want).split(u'\n');
            got << recpanel->DispFrameCounter->text() << popups->shown.last().text
                << test::Heard(sim, {"50 1", "50"}).join(", ");
            exp << QString::number(r.frames) << end << test::Fold({"50 1", "50"}).join(", ");
            for (QStringList *l : {&got, &exp})
                l->replaceInStrings(QRegularExpression("^"), QString::fromLatin1(r.what) + " | ");
            QCOMPARE(got, exp);
        }
    }

    void triggeredWithoutLinkEndsWithTimeout()
    {
        prepare(3);
        DisconnectTCP();
        popups->answerConfirm(1);
        Click(recpanel->ButtonStartTrigRec);
        QCOMPARE(datapanel->DispStatus->text(), QStringLiteral("TIMEOUT"));
        QCOMPARE(dataRows().size(), 0);
        QVERIFY(recpanel->ButtonStartTrigRec->isEnabled());
    }

    void triggeredAgainstSensorAndClosingStopsSending()
    {
        sim.setAutoSendPeriod(20);
        prepare(3);
        popups->answerConfirm(1);
        int counted = 0;
        Script script(30, {[&] { return sim.autoSending() && graphcnt >= 5; },
                           [&] { sim.sendBurst(2); return true; },
                           [&] { return graphcnt >= 15; },
                           [&] {
                               counted = recpanel->DispFrameCounter->text().toInt();
                               mainpanel->close(); // closing the program closes the recorder
                               return true;
                           }});
        Click(recpanel->ButtonStartTrigRec);
        QVERIFY(script.done());
        QTRY_VERIFY(!sim.autoSending());
        const QList<QStringList> rows = dataRows();
        QVERIFY(counted >= 15);
        QCOMPARE(rows.size(), recpanel->DispFrameCounter->text().toInt());
        QCOMPARE(uint64_t(rows.size()), graphcnt);
        for (const QStringList &r : rows)
            QCOMPARE(r.mid(2, 3), (QStringList{"2400", "1800", "900"}));
        ClearQuitRequest();
    }

    void signalGraphCourseColoursAndCaptions()
    {
        Click(mainpanel->ButtonShowGraph);
        QVERIFY(graphpanel->isVisible() && !datapanel->isVisible());
        dataR = 500;
        InitPanelGraph();
        for (uint16_t r : {510, 520, 530}) {
            dataR = r;
            dataTemp = uint16_t(r / 10);
            SetPanelGraphData();
        }
        QCOMPARE(graphcnt, uint64_t(3));
        ChooseItem(graphpanel->EditSignal, 0);
        SyncSignalGraph();
        QCOMPARE(graphpanel->PanelGraphArea->currentWidget(), SignalGraph(0));
        const std::vector<EnvelopePoint> r = SignalGraph(0)->plotted();
        QCOMPARE(int(r.size()), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY(r[i].x == i && r[i].y == 510 + 10 * i);
        // Switching shows the whole course of the other signal at once.
        ChooseItem(graphpanel->EditSignal, 6);
        QCOMPARE(graphpanel->PanelGraphArea->currentWidget(), SignalGraph(6));
        QTRY_COMPARE(int(SignalGraph(6)->plotted().size()), 3);
        QCOMPARE(SignalGraph(6)->plotted()[0].y, 51.0);
        QCOMPARE(graphpanel->GpDisp[0]->text(), QStringLiteral("530"));
        QCOMPARE(graphpanel->GpDisp[6]->text(), QStringLiteral("53"));
        const unsigned colours[7] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000,
                                     0x00FF00, 0x008080, 0x008080};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(SignalGraph(i)->graph(0)->pen().color().rgb() & 0xFFFFFFu, colours[i]);
        // Captions follow the calculation mode.
        for (int mode : {1, 0}) {
            SetRingValue(parapanel1->Calcmode, mode);
            SetDispNames();
            const QStringList want = mode ? QStringList{"s", "i", "M"} : QStringList{"X", "Y", "INT"};
            for (int k = 0; k < 3; ++k) {
                QCOMPARE(graphpanel->EditSignal->itemText(3 + k), want[k]);
                QCOMPARE(Caption(graphpanel->GpDisp[3 + k]), want[k]);
            }
        }
        Click(graphpanel->ButtonGpClose);
        QVERIFY(!graphpanel->isVisible() && datapanel->isVisible());
    }

    void longRecordingKeepsWholeCourseInBoundedPlot()
    {
        Click(mainpanel->ButtonShowGraph);
        InitPanelGraph();
        const int n = 70000; // past the 16-bit count
        for (int i = 0; i < n; ++i) {
            dataINT = uint16_t(i == 50000 ? 4000 : 100 + i % 7);
            SetPanelGraphData();
        }
        QCOMPARE(graphcnt, uint64_t(n));
        ChooseItem(graphpanel->EditSignal, 5);
        SyncSignalGraph();
        const std::vector<EnvelopePoint> p = SignalGraph(5)->plotted();
        QVERIFY(p.size() <= 4096 && p.size() >= 1024);
        QVERIFY(p.back().x >= n - 64);
        QVERIFY(std::any_of(p.begin(), p.end(), [](const EnvelopePoint &q) { return q.y == 4000; }));
        QVERIFY(SignalGraph(5)->xAxis->range().upper >= n);
        QVERIFY(SignalGraph(5)->yAxis->range().upper >= 4000);
    }

    void everyControlShowsItsInfoText()
    {
        const QList<QPair<const char *, QString>> table = {
            {"EditSelectDataRec", " Select how to record data frame. "},
            {"EditInterval", " Choose a interval in secondes for recording. \n Minimum interval is 1 second. "},
            {"EditRecVal", " Choose how many Data should be recorded. "},
            {"DispRecordTime", " Displays the time for recording \n when all VALUES will be recorded."},
            {"DispRecDays", " Displays the time for recording \n when all VALUES will be recorded."},
            {"DispRecordedValues", " Displays how many values are already recorded."},
            {"DispRemaining", " Displays how many values remain to be recorded."},
            {"ButtonSelRecFile", " Select a record file for data save. "},
            {"DispRecFile", " Shows the path of the record file. "},
            {"ButtonStartRecord", " Start record. \n Record R,G,B,X,Y,INT, TEMP \n respectively R,G,B,s,i,M,TEMP."},
            {"ButtonStartTrigRec", " Start record. \n Record R,G,B,X,Y,INT, TEMP \n respectively R,G,B,s,i,M,TEMP."},
            {"ButtonStopRecord", " Stop data record."},
            {"ButtonStopTrigRec", " Stop data record."},
            {"ButtonManualRecord", " Record one frame manually \n and append to existing file. "},
            {"ButtonRecorder", " Switch to data recorder."},
            {"ButtonShowGraph", " Switch to a graphical display for each signal."},
            {"EditSignal", " Select Signal to be displayed in the graph. "},
            {"PanelGraphR", " Displays the signals selected with SIGNAL. "},
            {"PanelGraphTemp", " Displays the signals selected with SIGNAL. "},
            {"DispGpTemp", " Displays actual temperature in the sensor."},
            {"ButtonGpClose", " Close PANEL and return to MAIN PANEL. "},
            // The frame counter, the graph panel's value displays and the parts of RECORD TIME
            // share the texts of their topics.
            {"DispFrameCounter", " Displays how many values are already recorded."},
            {"DispGpR", " Displays the current color intensity of RED,GREEN and BLUE. "},
            {"DispGpX", " Displays the red content of the color currently arriving at the receiver."},
            {"DispRecSeconds", " Displays the time for recording \n when all VALUES will be recorded."},
        };
        for (const auto &row : table) {
            popups->clear();
            QWidget *w = FindControl(row.first);
            QVERIFY2(w, row.first);
            test::RightClick(w);
            QCOMPARE(popups->messages().size(), 1);
            QCOMPARE(popups->messages()[0].title, QStringLiteral("INFO!"));
            QCOMPARE(popups->messages()[0].text, row.second);
        }
    }
};

QTEST_MAIN(TestRecorder)
#include "tst_recorder.moc"
