// Makes the manual's pictures: the real program, connected to a simulated sensor on 127.0.0.1,
// operated by clicks and keys, one picture per page and window.
// Usage: screenshots <output folder> <sensor port>
#include "app/startup.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/parapanel1.h"
#include "core/panels/ttpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/recpanel.h"
#include "core/panels/graphpanel.h"
#include "core/panels/teachpanel.h"
#include "core/panels/colbigpanel.h"
#include "core/panels/p3sidesview.h"
#include "core/shell.h"
#include "link/platform.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace tintra;

namespace {

struct Step {
    int waitMs; // before the step
    std::function<void()> action;
    std::function<bool()> ready; // when set, the step waits (up to 10 s more) until it holds
};

QString outDir;
std::vector<Step> steps;
size_t nextStep = 0;
int failures = 0;

void RunNext();

void Fire(const Step &s, int retries)
{
    if (s.ready && !s.ready() && retries > 0) {
        QTimer::singleShot(100, [&s, retries] { Fire(s, retries - 1); });
        return;
    }
    if (qEnvironmentVariableIsSet("SCREENSHOTS_TRACE"))
        std::fprintf(stderr, "step %d, GO %s\n", int(&s - steps.data()),
                     mainpanel->ButtonGo->isEnabled() ? "stopped" : "running");
    // The next step is scheduled first: an action may run a nested loop (GO) for long.
    RunNext();
    s.action();
}

void RunNext()
{
    if (nextStep >= steps.size())
        return;
    const Step &s = steps[nextStep++];
    QTimer::singleShot(s.waitMs, [&s] { Fire(s, 100); });
}

void Shot(QWidget *w, const char *name)
{
    const QString path = QDir(outDir).filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (!w->grab().save(path, "PNG")) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
    std::fflush(stdout);
}

void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

// A check box or radio button reacts to clicks on its indicator and text, at its left end.
void ClickIndicator(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2)); }

// Chooses item `index` of a ring with the arrow keys.
void Choose(QComboBox *c, int index)
{
    if (!c->isEnabled()) {
        std::fprintf(stderr, "screenshots: %s is dimmed\n", qPrintable(c->objectName()));
        ++failures;
        return;
    }
    c->setFocus();
    for (int i = 0; i < 50 && c->currentIndex() > index; ++i)
        QTest::keyClick(c, Qt::Key_Up);
    for (int i = 0; i < 50 && c->currentIndex() < index; ++i)
        QTest::keyClick(c, Qt::Key_Down);
}

void Add(int waitMs, std::function<void()> action, std::function<bool()> ready = {})
{
    steps.push_back({waitMs, std::move(action), std::move(ready)});
}

// The number a display shows (-1 when none).
int Shown(const QLineEdit *display)
{
    bool ok = false;
    const int v = display->text().trimmed().toInt(&ok);
    return ok ? v : -1;
}

void Page(int index, const char *name)
{
    Add(300, [index] { Click(mainpanel->PageButton(index)); });
    Add(1500, [name] { Shot(mainpanel, name); });
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TintraV30"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshots <output folder> <sensor port>\n");
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    QTemporaryDir programDir;
    {
        QFile f(QDir(programDir.path()).filePath(QStringLiteral("ComSettings.cfg")));
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write("1\n1\n127.0.0.1\n" + QByteArray(argv[2]) + "\n");
    }
    const QString recordFile = QDir(programDir.path()).filePath(QStringLiteral("record.dat"));
    PopupHandler popups;
    popups.message = [](const QString &title, const QString &text) {
        std::fprintf(stderr, "popup %s: %s\n", qPrintable(title), qPrintable(text));
    };
    popups.confirm = [](const QString &, const QString &) { return 1; };
    popups.fileSelect = [recordFile](const FileSelectRequest &, QString *path) {
        *path = recordFile;
        return int(NewFileSelected);
    };
    SetPopupHandler(popups);

    SetProgramDir(programDir.path());
    if (StartUserInterface() < 0)
        return 1;
    InitAll();

    // Live data on every page. CONNECT ends GO (it clears poll), so GO starts on the connection
    // page; the other page buttons leave it running, and teaching needs the running values.
    Add(500, [] { Click(mainpanel->ButtonConnect); });
    Add(300, [] { Click(mainpanel->ButtonGo); });
    Add(1500, [] { Shot(mainpanel, "01-connect"); });
    Page(2, "02-parameters1");
    // Teach four of the simulated sensor's changing colours, then draw them all.
    Add(300, [] { Click(mainpanel->ButtonTeachTable); });
    Add(300, [] {
        if (!ttpanel->RadioInc->isChecked())
            ClickIndicator(ttpanel->RadioInc);
        Choose(datapanel->SelectSource, 1);
    });
    // Each teach waits for a colour the sensor recognises (bright enough) that differs from the
    // one taught before, so the four rows hold four colours.
    static int lastX = -1;
    for (int i = 0; i < 4; ++i)
        Add(
            600,
            [] {
                lastX = Shown(datapanel->DispX);
                Click(ttpanel->ButtonTeachDataTo);
            },
            [] {
                return Shown(datapanel->DispINT) >= 500 &&
                       std::abs(Shown(datapanel->DispX) - lastX) > 100;
            });
    Add(300, [] { Click(ttpanel->ButtonApplyFromAll); }); // ends GO
    Add(300, [] { Click(mainpanel->ButtonStop); });
    Add(1000, [] { Click(mainpanel->ButtonGo); });
    Add(1500, [] { Shot(mainpanel, "03-teachtable"); });
    Add(300, [] { Choose(datapanel->SelectSource, 0); });
    Page(4, "04-parameters2");
    // Recorder: MANUAL mode and a file (chosen while GO stands), then manual records while GO
    // runs; then the signal graph.
    Add(300, [] { Click(mainpanel->ButtonStop); });
    Add(1000, [] { Click(mainpanel->ButtonRecorder); });
    Add(300, [] { Choose(recpanel->EditSelectDataRec, 2); });
    Add(300, [] { Click(recpanel->ButtonSelRecFile); });
    Add(300, [] { Click(mainpanel->ButtonGo); });
    for (int i = 0; i < 12; ++i)
        Add(400, [] { Click(recpanel->ButtonManualRecord); });
    Add(1000, [] { Shot(mainpanel, "05-recorder"); });
    Add(300, [] { Click(mainpanel->ButtonShowGraph); });
    Add(1500, [] { Shot(mainpanel, "08-signalgraph"); });
    Add(300, [] { Click(graphpanel->ButtonGpClose); });
    Page(6, "06-calibration");
    Page(7, "07-tableattributes");
    // The views of SOURCE, on the teach table page.
    Add(300, [] { Click(mainpanel->ButtonTeachTable); });
    Add(300, [] { Choose(datapanel->SelectSource, 2); });
    Add(2500, [] { Shot(mainpanel, "09-source-int"); });
    Add(300, [] { Choose(datapanel->SelectSource, 3); });
    Add(2000, [] {
        Shot(mainpanel, "10-source-xyint");
        Shot(mainpanel, "screenshot");
    });
    // The big number windows (double click on C-No:) and the mean-value teaching window.
    Add(300, [] { QTest::mouseDClick(datapanel->DispCOL, Qt::LeftButton); });
    Add(1000, [] {
        Shot(colbigpanel, "11-bignumber");
        colbigpanel->hide();
    });
    Add(300, [] { Click(ttpanel->ButtonTeachMeanVal); });
    Add(1500, [] { Click(teachpanel->ButtonTpCapture); });
    Add(2500, [] { Shot(teachpanel, "12-teachmean"); });
    Add(300, [] { Click(teachpanel->ButtonTpClose); });
    // A space calculation mode: STOP, CALCMODE, SEND to RAM, GO; the three-sides view opens.
    Add(500, [] { Click(mainpanel->ButtonStop); });
    Add(500, [] {
        Click(mainpanel->ButtonPara1);
        Choose(parapanel1->Calcmode, 2);
    });
    Add(500, [] { Click(mainpanel->ButtonSend); });
    Add(1500, [] { Click(mainpanel->ButtonGo); });
    Add(3000, [] {
        Shot(p3sidesview, "13-threesides");
        Shot(mainpanel, "14-spacemode");
    });
    Add(300, [] { Click(mainpanel->ButtonStop); });
    Add(500, [] { QuitUserInterface(); });
    RunNext();
    RunUserInterface();
    EndUserInterface();
    return failures == 0 ? 0 : 1;
}
