// Small screens: the main window opens inside the screen's available area, and at the size a
// 1024 x 768 screen leaves for it every page, the data panel (with each SOURCE) and the signal
// graph panel lie whole inside their viewports, without any scrolling; the graphs shrink with the
// window instead of being cut. CTest runs this on a 1024 x 768 screen at scale factors 1, 1.5
// and 2.
#include "uitestutil.h"

#include "app/windowfit.h"
#include "common/popupscript.h"
#include "core/graphs/graphs.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/datapanel.h"
#include "core/panels/graphpanel.h"
#include "core/panels/comparepanel.h"
#include "core/panels/controls.h"
#include "core/params/unsent.h"
#include "link/platform.h"
#include "widgets/colourbar.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>

using namespace tintra;
using namespace tintra::test;

namespace {

// Every control the operator uses or reads.
bool IsControl(QWidget *w)
{
    return qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w) ||
           qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSpinBox *>(w) ||
           qobject_cast<QTableWidget *>(w) || qobject_cast<ColourBar *>(w) ||
           qobject_cast<QCustomPlot *>(w);
}

QString Where(const QWidget *c, const QRect &r)
{
    return QStringLiteral("%1@%2,%3 %4x%5").arg(c->objectName()).arg(r.x()).arg(r.y())
        .arg(r.width()).arg(r.height());
}

// Names of the visible controls of `panel` that do not lie inside the window.
QStringList Outside(QWidget *window, QWidget *panel)
{
    QStringList out;
    const QRect inner = window->rect();
    for (QWidget *c : panel->findChildren<QWidget *>()) {
        if (!IsControl(c) || !c->isVisibleTo(window) || qobject_cast<QLineEdit *>(c->parentWidget()))
            continue;
        if (qobject_cast<QAbstractSpinBox *>(c->parentWidget()) ||
            qobject_cast<QComboBox *>(c->parentWidget()))
            continue; // inner parts of composite controls
        QWidget *area = c;
        QScrollArea *scroll = nullptr;
        while ((area = area->parentWidget()) && area != window)
            if ((scroll = qobject_cast<QScrollArea *>(area)) && scroll->widget())
                break;
        const bool scrolled = scroll && area != window;
        QWidget *frame = scrolled ? scroll->widget() : window;
        const QRect r(c->mapTo(frame, QPoint(0, 0)), c->size());
        const QRect scrollBox = scrolled ? QRect(scroll->mapTo(window, QPoint(0, 0)), scroll->size())
                                         : inner;
        if (!frame->rect().contains(r) || !inner.contains(scrollBox) || c->width() < 8 ||
            c->height() < 8)
            out << Where(c, r);
    }
    return out;
}

// Names of the visible controls in `scroll`'s area that do not lie inside its viewport as it
// stands; a scroll bar on show or a scrolled view counts as well.
QStringList OutsideViewport(QScrollArea *scroll)
{
    QStringList out;
    for (QScrollBar *bar : {scroll->verticalScrollBar(), scroll->horizontalScrollBar()})
        if (bar->isVisible() || bar->value() != 0)
            out << scroll->objectName() + QLatin1String(": scroll bar ") +
                       QString::number(bar->maximum());
    QWidget *view = scroll->viewport();
    for (QWidget *c : scroll->widget()->findChildren<QWidget *>()) {
        if (!IsControl(c) || !c->isVisibleTo(scroll) || qobject_cast<QLineEdit *>(c->parentWidget()) ||
            qobject_cast<QAbstractSpinBox *>(c->parentWidget()) ||
            qobject_cast<QComboBox *>(c->parentWidget()))
            continue;
        const QRect r(c->mapTo(view, QPoint(0, 0)), c->size());
        if (!view->rect().contains(r))
            out << Where(c, r) + QStringLiteral(" outside ") + Where(view, view->rect());
    }
    return out;
}

// Shows `page` and the data panel or the signal graph panel at the small window size and waits
// until the layouts have settled.
void ShowAtSmallSize(QSize size, int page, bool graph)
{
    mainpanel->resize(size);
    QTest::mouseClick(mainpanel->PageButton(page), Qt::LeftButton);
    ShowGraphPanel(graph);
    QTRY_COMPARE(mainpanel->size(), size);
    QTRY_VERIFY_WITH_TIMEOUT(!mainpanel->DataScroll->verticalScrollBar()->isVisible(), 1000);
    QApplication::processEvents();
}

// The window's inner size on a 1024 x 768 screen: a task bar and a title bar take their share.
const QSize smallWindow(1016, 700);

} // namespace

class TestSmallScreen : public QObject {
    Q_OBJECT

    ProgramUnderTest *program = nullptr;

private slots:
    void fitsTheAvailableArea_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("large screen: laid-out size, centred")
            << QRect(0, 0, 1920, 1050) << QRect(325, 108, 1270, 860);
        QTest::newRow("1366 x 768 laptop: as tall as the area allows")
            << QRect(0, 0, 1366, 740) << QRect(48, 30, 1270, 706);
        QTest::newRow("1024 x 768 with a panel on the left")
            << QRect(60, 0, 964, 768) << QRect(64, 30, 1000, 734);
        QTest::newRow("too small for the minimum: top left corner kept on screen")
            << QRect(0, 0, 800, 600) << QRect(4, 30, 1000, 600);
        QTest::newRow("second screen to the right")
            << QRect(1920, 0, 1280, 1024) << QRect(1925, 95, 1270, 860);
    }
    void fitsTheAvailableArea()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, expected);
        QCOMPARE(FitWindow(QSize(1270, 860), QSize(1000, 600), available, QMargins(4, 30, 4, 4)),
                 expected);
    }

    // The compare window opens centred on the main window, kept inside the available area.
    void centresOverTheMainWindow_data()
    {
        QTest::addColumn<QRect>("anchor");    // the main window's frame
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");  // the window's inner rectangle
        QTest::newRow("centred") << QRect(325, 80, 1278, 898) << QRect(0, 0, 1920, 1050)
                                 << QRect(644, 302, 640, 480);
        QTest::newRow("main window partly off the right edge: pulled in")
            << QRect(1600, 80, 1278, 898) << QRect(0, 0, 1920, 1050)
            << QRect(1276, 302, 640, 480);
        QTest::newRow("screen lower than the window: title bar stays on it")
            << QRect(0, 0, 1024, 600) << QRect(0, 0, 1024, 400) << QRect(192, 30, 640, 366);
    }
    void centresOverTheMainWindow()
    {
        QFETCH(QRect, anchor);
        QFETCH(QRect, available);
        QFETCH(QRect, expected);
        QCOMPARE(CentreOver(QSize(640, 480), QSize(300, 200), anchor, available,
                            QMargins(4, 30, 4, 4)),
                 expected);
    }

    void initTestCase()
    {
        program = new ProgramUnderTest();
        QVERIFY(program->ok);
        QVERIFY(QTest::qWaitForWindowExposed(mainpanel));
        // SOURCE decides which graphs are shown, as after the program's start: RGB.
        ChooseItem(datapanel->SelectSource, 3);
        ChooseItem(datapanel->SelectSource, 0);
        QVERIFY(!datagraphs->GraphData2->isVisible());
        if (qEnvironmentVariable("TINTRA_TEST_SCREEN") == QLatin1String("1024x768"))
            QCOMPARE(mainpanel->screen()->geometry(), QRect(0, 0, 1024, 768));
        // The fonts the run asked for are the ones in use (the interface's and the displays').
        const QStringList fonts = qEnvironmentVariable("TINTRA_TEST_FONT").split(u'|');
        if (fonts.size() == 2)
            QCOMPARE((QStringList{QFontInfo(QApplication::font()).family(),
                                  QFontInfo(NumericFont()).family()}),
                     fonts);
        if (!qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
            QCOMPARE(mainpanel->devicePixelRatioF(),
                     qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        // The window opened inside the screen's available area.
        const QRect avail = mainpanel->screen()->availableGeometry();
        // A side longer than the area only where the window cannot be narrower or lower.
        const QRect g = mainpanel->geometry();
        const QSize least = mainpanel->minimumSizeHint();
        QVERIFY(g.left() >= avail.left() && g.top() >= avail.top());
        QVERIFY2(g.right() <= avail.right() || g.width() == least.width(),
                 qPrintable(QStringLiteral("%1 wide in %2").arg(g.width()).arg(avail.width())));
        QVERIFY2(g.bottom() <= avail.bottom() || g.height() == least.height(),
                 qPrintable(QStringLiteral("%1 high in %2").arg(g.height()).arg(avail.height())));
    }
    void cleanupTestCase() { delete program; }

    void everyPageWholeAt1024x768_data()
    {
        QTest::addColumn<int>("page");
        for (int i = 1; i <= 7; ++i)
            QTest::addRow("page %d", i) << i;
    }
    void everyPageWholeAt1024x768()
    {
        QFETCH(int, page);
        QVERIFY(mainpanel->minimumSizeHint().width() <= smallWindow.width());
        QVERIFY(mainpanel->minimumSizeHint().height() <= smallWindow.height());
        for (bool graph : {false, true}) {
            ShowAtSmallSize(smallWindow, page, graph);
            QStringList outside = Outside(mainpanel, mainpanel);
            outside << OutsideViewport(mainpanel->PageScroll) << OutsideViewport(mainpanel->DataScroll);
            QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QLatin1String("; "))));
        }
        ShowGraphPanel(false);
    }

    // The data panel with each SOURCE view, and the signal graph panel, whole without scrolling.
    void dataPanelsWholeAt1024x768_data()
    {
        QTest::addColumn<int>("source"); // -1: the signal graph panel
        QTest::newRow("RGB") << 0;
        QTest::newRow("X/Y") << 1;
        QTest::newRow("INT") << 2;
        QTest::newRow("X/Y INT") << 3;
        QTest::newRow("signal graph") << -1;
    }
    void dataPanelsWholeAt1024x768()
    {
        QFETCH(int, source);
        ChooseItem(datapanel->SelectSource, std::max(source, 0));
        for (int page : {1, 3, 6}) {
            ShowAtSmallSize(smallWindow, page, source < 0);
            const QStringList outside = OutsideViewport(mainpanel->DataScroll);
            QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QLatin1String("; "))));
            // The graphs take the height that is left, down to a readable size.
            QWidget *area = source < 0 ? static_cast<QWidget *>(graphpanel->PanelGraphArea)
                                       : static_cast<QWidget *>(datapanel->GraphArea);
            QVERIFY2(area->height() >= 120, qPrintable(QString::number(area->height())));
        }
        ShowGraphPanel(false);
        ChooseItem(datapanel->SelectSource, 0);
    }
    // COMPARE opens its window over the main window, inside the screen, with every column as
    // wide as its entries at the opening size.
    void compareWindowShowsWholeColumns()
    {
        mainpanel->resize(smallWindow);
        PopupScript popups;
        ParaImage file = PanelImage();
        for (int word : {1, 3, 16}) // PMODE, EVALMODE, teach row 0's X
            file[size_t(word)] = uint16_t(file[size_t(word)] + 1);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("other.ini"));
        QVERIFY(ArrayToFile(path, file.data(), int(file.size())));
        popups.answerFile(ExistingFileSelected, path);

        QTest::mouseClick(mainpanel->ButtonCompare, Qt::LeftButton);
        QTRY_VERIFY(comparepanel->isVisible());
        const QRect avail = mainpanel->screen()->availableGeometry();
        QVERIFY2(avail.contains(comparepanel->frameGeometry()),
                 qPrintable(Where(comparepanel, comparepanel->frameGeometry())));
        const QPoint offCentre = comparepanel->frameGeometry().center() -
                                 mainpanel->frameGeometry().center();
        // Near the main window's centre (the frame a window manager adds is only estimated).
        QVERIFY2(std::abs(offCentre.x()) <= mainpanel->width() / 6 &&
                     std::abs(offCentre.y()) <= mainpanel->height() / 6,
                 qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));

        QTest::mouseClick(comparepanel->ButtonCompareFile, Qt::LeftButton);
        QTableWidget *list = comparepanel->CompareList;
        QTRY_COMPARE(list->rowCount(), 3);
        QApplication::processEvents();
        // Each entry's text fits its column whole.
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                QVERIFY2(list->columnWidth(c) >
                             list->fontMetrics().horizontalAdvance(list->item(r, c)->text()),
                         qPrintable(list->item(r, c)->text()));
        QVERIFY(!list->horizontalScrollBar()->isVisible());
        QTest::mouseClick(comparepanel->ButtonCompareClose, Qt::LeftButton);
        QVERIFY(comparepanel->isHidden());
    }

    void graphsShrinkWithTheWindow_data()
    {
        QTest::addColumn<int>("source");
        QTest::newRow("RGB") << 0;
        QTest::newRow("X/Y INT") << 3;
    }
    void graphsShrinkWithTheWindow()
    {
        QFETCH(int, source);
        ChooseItem(datapanel->SelectSource, source);
        QWidget *plot = source == 0 ? static_cast<QWidget *>(datagraphs->GraphRGB)
                                    : static_cast<QWidget *>(datagraphs->GraphData2);
        mainpanel->resize(1270, 860);
        QTRY_COMPARE(mainpanel->size(), QSize(1270, 860));
        QTRY_VERIFY(plot->isVisible());
        const QSize large = plot->size();
        mainpanel->resize(smallWindow);
        QTRY_COMPARE(mainpanel->size(), smallWindow);
        QApplication::processEvents();
        QVERIFY2(plot->height() < large.height() && plot->height() >= 80,
                 qPrintable(QStringLiteral("%1 -> %2").arg(large.height()).arg(plot->height())));
        const QStringList outside = Outside(mainpanel, datapanel);
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QLatin1String("; "))));
    }
};

QTEST_MAIN(TestSmallScreen)
#include "tst_smallscreen.moc"
