// Graph export from the graphs' context menu: PNG at the plot's size times the screen's pixel
// ratio, PDF, and the signal graph's course as CSV; file names through the file dialog; a file
// that cannot be written is reported and an older one kept.
#include "uitestutil.h"

#include "common/popupscript.h"
#include "core/graphs/graphs.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/graphpanel.h"
#include "core/panels/p3sidesview.h"
#include "core/recorder/signalgraph.h"
#include "link/state.h"

#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>

using namespace tintra;
using namespace tintra::test;

namespace {

const QStringList plainMenu{"Info", "Save as PNG ...", "Save as PDF ..."};

QWidget *Plot(const QString &name)
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (QWidget *w = top->findChild<QWidget *>(name))
            return w;
    return nullptr;
}

} // namespace

class TestGraphExport : public QObject {
    Q_OBJECT

    ProgramUnderTest *program = nullptr;

private slots:
    void initTestCase()
    {
        program = new ProgramUnderTest();
        QVERIFY(program->ok);
        QVERIFY(QTest::qWaitForWindowExposed(mainpanel));
        p3sidesview->show();
        QVERIFY(QTest::qWaitForWindowExposed(p3sidesview));
    }
    void cleanupTestCase() { delete program; }

    void pngAndPdfOfEveryKindOfGraph_data()
    {
        QTest::addColumn<QString>("plot");
        QTest::addColumn<bool>("signalGraph");
        QTest::newRow("data panel strip chart") << "GraphRGB" << false;
        QTest::newRow("three-sides view plane") << "Graph3SidesXY" << false;
        QTest::newRow("signal graph") << "PanelGraphR" << true;
    }
    void pngAndPdfOfEveryKindOfGraph()
    {
        QFETCH(QString, plot);
        QFETCH(bool, signalGraph);
        if (signalGraph != graphpanel->isVisible())
            QTest::mouseClick(signalGraph ? mainpanel->ButtonShowGraph : graphpanel->ButtonGpClose,
                              Qt::LeftButton);
        QWidget *w = Plot(plot);
        QVERIFY(w);
        QTRY_VERIFY(w->isVisible());

        PopupScript script;
        const QString png = program->path("graph.png"), pdf = program->path("graph.pdf");
        script.answerMenu(1);
        script.answerFile(NewFileSelected, png);
        script.answerMenu(2);
        script.answerFile(NewFileSelected, pdf);
        RightClick(w);
        RightClick(w);
        QStringList expectedMenu = plainMenu;
        if (signalGraph)
            expectedMenu << "Save course as CSV ...";
        QCOMPARE(script.menus, (QList<QStringList>{expectedMenu, expectedMenu}));
        QCOMPARE(script.shown.size(), 2);
        QCOMPARE(script.shown[0].kind, QStringLiteral("file"));
        QVERIFY(script.shown[0].request.forSaving);
        QCOMPARE(script.shown[0].request.filter, QStringLiteral("*.png"));
        QCOMPARE(script.shown[1].request.filter, QStringLiteral("*.pdf"));

        const QImage image(png, "PNG");
        QVERIFY(!image.isNull());
        const double ratio = std::max(1.0, w->devicePixelRatioF());
        QCOMPARE(image.size(), (w->size() * ratio));

        const QByteArray doc = ReadBytes(pdf);
        QVERIFY(doc.startsWith("%PDF-"));
        QVERIFY(doc.trimmed().endsWith("%%EOF"));
        // One page, as large as the plot on screen (in points, to within rounding).
        QCOMPARE(doc.count("/Type /Page\n") + doc.count("/Type /Page "), 1);
        const QRegularExpressionMatch box =
            QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
                .match(QString::fromLatin1(doc));
        QVERIFY(box.hasMatch());
        QVERIFY(box.captured(1).toDouble() > 0.5 * w->width());
        QVERIFY(box.captured(2).toDouble() > 0.5 * w->height());
        QVERIFY(!QFileInfo::exists(png + ".part") && !QFileInfo::exists(pdf + ".part"));
    }

    void courseAsCsvAndFailures()
    {
        if (!graphpanel->isVisible())
            QTest::mouseClick(mainpanel->ButtonShowGraph, Qt::LeftButton);
        InitPanelGraph();
        for (uint16_t v : {700, 4095, 0, 12}) {
            dataR = v + 1, dataG = v + 2, dataB = v + 3, dataX = v, dataY = v + 5, dataINT = v + 6;
            dataTemp = 30;
            SetPanelGraphData();
        }
        ChooseItem(graphpanel->EditSignal, 3);
        QWidget *plotX = Plot(QStringLiteral("PanelGraphX"));
        QTRY_VERIFY(plotX && plotX->isVisible());

        PopupScript script;
        QTest::mouseClick(mainpanel->ButtonRecorder, Qt::LeftButton);
        script.answerFile(NewFileSelected, program->path("shift 7.dat"));
        QTest::mouseClick(test::Control<QPushButton>("ButtonSelRecFile"), Qt::LeftButton);
        // Every course of the recording in one file, offered under the record file's name.
        const QString csv = program->path("course.csv");
        script.answerMenu(3);
        script.answerFile(NewFileSelected, csv);
        RightClick(plotX);
        QCOMPARE(script.shown.last().request.defaultName, QStringLiteral("shift 7.csv"));
        QCOMPARE(ReadBytes(csv), QByteArray("frame,R,G,B,X,Y,INT,TEMP\n"
                                            "0,701,702,703,700,705,706,30\n"
                                            "1,4096,4097,4098,4095,4100,4101,30\n"
                                            "2,1,2,3,0,5,6,30\n"
                                            "3,13,14,15,12,17,18,30\n"));
        // A file that exists is replaced only when the operator says so.
        for (int yes : {0, 1}) {
            QFile old(csv);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
            old.close();
            script.answerMenu(3);
            script.answerFile(ExistingFileSelected, csv);
            script.answerConfirm(yes);
            RightClick(plotX);
            QCOMPARE(script.shown.last().kind + script.shown.last().title + script.shown.last().text,
                     QStringLiteral("confirmATTENTION! The file \n %1 \n already exists. \n Replace it? ").arg(csv));
            QCOMPARE(ReadBytes(csv).startsWith("frame,R,G,B"), yes == 1);
        }

        // A directory where the file should go: reported, the directory stays.
        const QString blocked = program->path("blocked.png");
        QVERIFY(QDir().mkpath(blocked));
        script.answerMenu(1);
        script.answerFile(NewFileSelected, blocked);
        // Dismissing the file dialog or the menu writes nothing and says nothing.
        script.answerMenu(2);
        script.answerFile(NoFileSelected, QString());
        script.answerMenu(-1);
        script.clear();
        for (int i = 0; i < 3; ++i)
            RightClick(plotX);
        QVERIFY(QFileInfo(blocked).isDir());
        QCOMPARE(script.messages().size(), 1);
        QCOMPARE(script.messages()[0].title, QStringLiteral("ATTENTION!"));
        QCOMPARE(script.messages()[0].text,
                 QStringLiteral(" The file \n %1 \n could not be saved. \n A previous file of this "
                                "name is kept unchanged. ")
                     .arg(blocked));
        QCOMPARE(script.shown.size(), 3); // two file dialogs and the message
    }
};

QTEST_MAIN(TestGraphExport)
#include "tst_graphexport.moc"
