// Table attributes with the whole user interface offscreen: start-up colours with and without
// "StartupFile.cfg", SAVE / LOAD round trips, damaged files refused, failed saves that keep the
// previous file, SET AS STARTUP, the colour mode and SET ROW COLOR, and the right-click texts of
// every teaching control.
#include "core/info.h"
#include "core/panels.h"
#include "core/params/cells.h"
#include "core/params/rowcolours.h"
#include "core/settings/paths.h"
#include "link/platform.h"
#include "link/transport.h"
#include "tests/common/popupscript.h"
#include "ui/uitestutil.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace tintra;
using namespace tintra::test;

namespace {

// The built-in palette: 15 colours, repeated.
const int builtIn[15] = {0xFF0000, 0x80FF00, 0x0000FF, 0x000000, 0xFF80C0,
                         0xFFFF00, 0x808000, 0x800080, 0x80FFFF, 0xFF0080,
                         0x400080, 0xFF00FF, 0x008000, 0x408080, 0x800000};

QList<int> RowColours(int r)
{
    return {CellColour(ttpanel->GridCtt, 6, r + 1), CellColour(tapanel->GridTa, 2, r + 1),
            CellColour(parapanel2->EditGridGroups, 2, r + 1),
            CellColour(parapanel2->EditGridHold, 2, r + 2)};
}

QString Text(int r) { return tapanel->GridTa->item(r, 0)->text(); }

void SetText(int r, const QString &t) { tapanel->GridTa->item(r, 0)->setText(t); }

// A table-attributes file: colours c(i), texts t(r), each line ended by `eol`.
QByteArray File(int (*c)(int), QString (*t)(int), const QByteArray &eol = "\r\n")
{
    QByteArray out;
    for (int i = 0; i < 45; ++i)
        out += QByteArray::number(c(i)).rightJustified(10, ' ') + eol;
    for (int r = 0; r < 31; ++r)
        out += t(r).toUtf8() + eol;
    return out;
}

int FileColour(int i) { return 0x010203 * (i + 1); }
QString FileText(int r) { return QStringLiteral("row %1 ÄÖÜ").arg(r); }

void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }

} // namespace

class TestTableAttr : public QObject {
    Q_OBJECT

    std::unique_ptr<PopupScript> popups;
    std::unique_ptr<ProgramUnderTest> program;
    int palette[sicolarrSize];

    QList<ShownPopup> infoMessages() const
    {
        QList<ShownPopup> out;
        for (const ShownPopup &p : popups->messages())
            if (p.title == QLatin1String("Info"))
                out << p;
        return out;
    }

    // InitAll with a COM port that fails at once (no sensor).
    void Start()
    {
        WriteBytes(program->path("ComPorts.cfg"),
                   "1 " + program->path("no-such-tty").toUtf8() + "\n");
        SetComPortsCfgDir(program->dir.path());
        InitAll();
        SetComPortsCfgDir(QString());
    }

    // Everything LOAD may change, to compare before and after.
    QStringList State() const
    {
        QStringList s;
        for (int i = 0; i < sicolarrSize; ++i)
            s << QString::number(sicolarr[i]);
        for (int r = 0; r < 31; ++r)
            s << Text(r) << QString::number(CellColour(ttpanel->GridCtt, 6, r + 1));
        return s;
    }

private slots:
    void initTestCase() { std::copy(sicolarr, sicolarr + sicolarrSize, palette); }

    void init()
    {
        std::copy(palette, palette + sicolarrSize, sicolarr);
        popups = std::make_unique<PopupScript>();
        program = std::make_unique<ProgramUnderTest>();
        QVERIFY(program->ok);
    }

    void cleanup()
    {
        program.reset();
        popups.reset();
    }

    void startupColours_data()
    {
        QTest::addColumn<QByteArray>("file"); // empty: no start-up file
        QTest::addColumn<bool>("read");
        QTest::newRow("no start-up file") << QByteArray() << false;
        QTest::newRow("start-up file") << File(FileColour, FileText) << true;
        QTest::newRow("damaged start-up file") << File(FileColour, FileText).left(300) << false;
    }
    void startupColours()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, read);
        if (!file.isEmpty())
            WriteBytes(program->path("StartupFile.cfg"), file);
        Start();
        for (int r = 0; r < 31; ++r) {
            const int want = read ? FileColour(r) : builtIn[r % 15];
            QCOMPARE(sicolarr[r], want);
            QCOMPARE(RowColours(r), QList<int>({want, want, want, want}));
            QCOMPARE(Text(r), read ? FileText(r) : QString());
        }
        QCOMPARE(sicolarr[44], read ? FileColour(44) : 0x800000);
        if (!read) { // rows 0, 15 and 30 are red, the palette repeats
            QCOMPARE(RowColours(15)[3], 0xFF0000);
            QCOMPARE(RowColours(30)[3], 0xFF0000);
        }
        QCOMPARE(infoMessages().size(), file.isEmpty() || read ? 0 : 1);
        if (!infoMessages().isEmpty())
            QVERIFY(infoMessages()[0].text.contains(program->path("StartupFile.cfg")));
    }

    void saveLoadRoundTrip()
    {
        for (int i = 0; i < sicolarrSize; ++i)
            sicolarr[i] = (0x030507 * (i + 1)) & 0xFFFFFF;
        sicolarr[0] = 0xFF0000;
        PaintAllRows();
        for (int r = 0; r < 31; ++r)
            SetText(r, r % 3 ? QStringLiteral("Farbe %1 – grün").arg(r) : QString());
        const QString path = program->path("attr.cfg");
        popups->answerFile(NewFileSelected, path);
        Click(tapanel->ButtonSaveArray);

        QCOMPARE(popups->shown.size(), 1);
        const FileSelectRequest req = popups->shown[0].request;
        QCOMPARE(req.title, QStringLiteral("TableAttributes"));
        QCOMPARE(req.defaultName, QStringLiteral("TableAttributes.cfg"));
        QCOMPARE(req.filter, QStringLiteral("*.cfg"));
        QCOMPARE(req.startDir, proj_dir);
        QVERIFY(req.forSaving);
        const QByteArray saved = ReadBytes(path);
        QVERIFY(saved.startsWith("  16711680\r\n"));
        QCOMPARE(saved.count("\r\n"), 76);
        QCOMPARE(saved.count('\n'), 76);
        QVERIFY(saved.contains("\r\n\r\nFarbe 1 – grün\r\n"));
        QVERIFY(saved.endsWith("Farbe 29 – grün\r\n\r\n")); // row 30's empty text
        const QStringList before = State();

        for (int i = 0; i < sicolarrSize; ++i)
            sicolarr[i] = 0;
        for (int r = 0; r < 31; ++r)
            SetText(r, QStringLiteral("x"));
        PaintAllRows();
        popups->answerFile(ExistingFileSelected, path);
        Click(tapanel->ButtonGetArray);
        QCOMPARE(State(), before); // all 45 colours, the 31 texts, the painted rows
        QCOMPARE(RowColours(30), QList<int>(4, sicolarr[30]));
        QCOMPARE(popups->messages().size(), 0);
        QCOMPARE(file_name, path);

        popups->answerFile(NewFileSelected, program->path("again.cfg"));
        Click(tapanel->ButtonSaveArray);
        QCOMPARE(ReadBytes(program->path("again.cfg")), saved); // byte for byte

        // A cancelled dialog changes nothing and says nothing.
        Click(tapanel->ButtonGetArray);
        Click(tapanel->ButtonSaveArray);
        QCOMPARE(State(), before);
        QCOMPARE(popups->messages().size(), 0);
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text0"); // row 0's text after a good load
        const QByteArray good = File(FileColour, FileText);
        const QString t0 = FileText(0);
        QTest::newRow("LF line ends") << File(FileColour, FileText, "\n") << true << t0;
        QTest::newRow("no final line end") << good.chopped(2) << true << t0;
        QTest::newRow("lines after the 76th ignored") << good + "more\r\n" << true << t0;
        QByteArray leftAligned;
        for (int i = 0; i < 45; ++i)
            leftAligned += QByteArray::number(FileColour(i)) + "\t \r\n";
        QTest::newRow("numbers left-aligned, tabs")
            << leftAligned + good.mid(good.indexOf("row 0")) << true << t0;
        QTest::newRow("120-character text cut to 99")
            << QByteArray(good).replace("row 0 ÄÖÜ", QByteArray(110, 'a') + "bbbbbbbbbb") << true
            << QString(99, QLatin1Char('a'));
        QTest::newRow("Latin-1 text") << good.left(good.indexOf("row 0")) + "Gr\xfcn\r\n" +
                                             good.mid(good.indexOf("row 1"))
                                      << true << QStringLiteral("Grün");
        QTest::newRow("empty") << QByteArray() << false << QString();
        QTest::newRow("44 colours") << good.left(44 * 12) << false << QString();
        QTest::newRow("75 lines") << good.left(good.lastIndexOf("row 30")) << false << QString();
        QTest::newRow("letters in a colour") << "       red\r\n" + good.mid(12) << false
                                            << QString();
        QTest::newRow("colour above 0xFFFFFF") << "  16777216\r\n" + good.mid(12) << false
                                               << QString();
        QTest::newRow("negative colour") << "        -1\r\n" + good.mid(12) << false << QString();
        QTest::newRow("huge") << good + QByteArray(1100000, 'x') << false << QString();
    }
    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, ok);
        QFETCH(QString, text0);
        const QString path = program->path("in.cfg");
        WriteBytes(path, content);
        SetText(3, QStringLiteral("kept"));
        const QStringList before = State();
        popups->answerFile(ExistingFileSelected, path);
        Click(tapanel->ButtonGetArray);
        if (ok) {
            QCOMPARE(popups->messages().size(), 0);
            QCOMPARE(Text(0), text0);
            QCOMPARE(Text(3), FileText(3));
            QCOMPARE(sicolarr[44], FileColour(44));
            QCOMPARE(RowColours(5), QList<int>(4, sicolarr[5]));
        } else {
            QCOMPARE(State(), before);
            QCOMPARE(infoMessages().size(), 1);
            QVERIFY(infoMessages()[0].text.contains(path));
        }
    }

    void unreadableAndUnwritablePaths()
    {
        QVERIFY(QDir(program->dir.path()).mkdir(QStringLiteral("StartupFile.cfg")));
        Start();
        popups->clear();
        QVERIFY(QDir(program->dir.path()).mkdir(QStringLiteral("adir")));
        const QString dir = program->path("adir");
        const QStringList before = State();
        popups->answerFile(ExistingFileSelected, program->path("missing.cfg"));
        Click(tapanel->ButtonGetArray);
        popups->answerFile(ExistingFileSelected, dir);
        Click(tapanel->ButtonGetArray);
        popups->answerFile(NewFileSelected, dir);
        Click(tapanel->ButtonSaveArray);
        QCOMPARE(State(), before);
        QCOMPARE(infoMessages().size(), 3);
        // SET AS STARTUP that cannot write says so, and not that the file was saved.
        popups->clear();
        Click(tapanel->ButtonSetStartupArray);
        QCOMPARE(popups->messages().size(), 1);
        QCOMPARE(popups->messages()[0].title, QStringLiteral("Info"));
        QVERIFY(popups->messages()[0].text.contains(QStringLiteral("could not be saved")));
    }

    void saveFailingPartWayKeepsPreviousFile()
    {
        const QString path = program->path("attr.cfg");
        WriteBytes(path, "previous");
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 200; // the file needs about 600 bytes
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        popups->answerFile(ExistingFileSelected, path);
        Click(tapanel->ButtonSaveArray);
        setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(ReadBytes(path), QByteArray("previous"));
        QCOMPARE(infoMessages().size(), 1);
        QCOMPARE(QDir(program->dir.path()).entryList(QDir::Files).size(), 1); // no leftovers
    }

    void setAsStartup()
    {
        Start();
        popups->clear();
        sicolarr[7] = 0x2468AC;
        SetText(7, QStringLiteral("seven"));
        Click(tapanel->ButtonSetStartupArray);
        QCOMPARE(popups->shown.size(), 1); // no file dialog
        QCOMPARE(popups->shown[0].title, QStringLiteral("INFO!"));
        QCOMPARE(popups->shown[0].text,
                 QStringLiteral("File has been saved as \nstartup configuration file."));
        const QByteArray startup = ReadBytes(QDir(program->dir.path()).filePath("StartupFile.cfg"));
        popups->answerFile(NewFileSelected, program->path("same.cfg"));
        Click(tapanel->ButtonSaveArray);
        QCOMPARE(startup, ReadBytes(program->path("same.cfg")));
        QVERIFY(startup.contains("   2386092\r\n"));
        QVERIFY(startup.contains("\r\nseven\r\n"));
    }

    void colourModeAndSetRowColor()
    {
        Start();
        TaPanel *a = tapanel;
        QWidget *const manualOnly[] = {a->EditRow, a->EditColorNumericRow, a->ButtonSetRowColor};
        // Automatically (as the program starts): the three are dimmed, the live patch shows.
        QCOMPARE(a->EditSetColor->currentText(), QStringLiteral("Automatically"));
        for (QWidget *w : manualOnly)
            QVERIFY(!w->isEnabled());
        QVERIFY(datapanel->ColorPatch->isVisibleTo(datapanel));
        const QList<int> before = RowColours(30);
        const int hold255 = CellColour(parapanel2->EditGridHold, 2, 1);
        Click(a->ButtonSetRowColor);
        QCOMPARE(RowColours(30), before);

        a->EditSetColor->setFocus();
        QTest::keyClick(a->EditSetColor, Qt::Key_Up);
        QCOMPARE(a->EditSetColor->currentText(), QStringLiteral("Manually"));
        for (QWidget *w : manualOnly)
            QVERIFY(w->isEnabled());
        QVERIFY(!datapanel->ColorPatch->isVisibleTo(datapanel));

        // COLOR opens the picker; a cancelled picker keeps the colour.
        const int start = a->EditColorNumericRow->value();
        Click(a->EditColorNumericRow);
        QCOMPARE(a->EditColorNumericRow->value(), start);
        popups->answerColor(0x123456);
        Click(a->EditColorNumericRow);
        QCOMPARE(popups->shown.last().kind, QStringLiteral("color"));
        QCOMPARE(a->EditColorNumericRow->value(), 0x123456);

        a->EditRow->setFocus();
        QTest::keyClick(a->EditRow, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(a->EditRow, QStringLiteral("30"));
        QTest::keyClick(a->EditRow, Qt::Key_Return);
        Click(a->ButtonSetRowColor);
        QCOMPARE(sicolarr[30], 0x123456);
        QCOMPARE(RowColours(30), QList<int>(4, 0x123456)); // hold table row 32
        QCOMPARE(CellColour(parapanel2->EditGridHold, 2, 1), hold255); // colour 255's row
        QCOMPARE(RowColours(29), QList<int>(4, 0x800000));
    }

    void rightClickShowsInfoText_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("info");
        const char *const teach[][2] = {
            {"ButtonTeachDataTo", "InfoButtonTeachDataTo"},
            {"ButtonApplyFromAll", "InfoButtonApplyFromAll"},
            {"ButtonResetTable", "InfoButtonResetTable"},
            {"ButtonTeachMeanVal", "InfoButtonTeachMeanVal"},
            {"EditNo", "InfoEditNo"},
            {"RadioInc", "InfoRadioInc"},
            {"ButtonTpCapture", "InfoButtonTpCapture"},
            {"ButtonTpUndo", "InfoButtonTpUndo"},
            {"ButtonTpResetTable", "InfoButtonTpResetTable"},
            {"ButtonTpTeachToTable", "InfoButtonTpTeachToTable"},
            {"ButtonTpClose", "InfoButtonClosePanel"},
            {"GridTpValues", "InfoGridTpValues"},
            {"GridTpMean", "InfoGridTpMean"},
            {"DispTpCounter", "InfoDispTpCounter"},
            {"DispTpMaxDeltaXY", "InfoDispMaxDeltaXY"},
            {"DispTpMaxDeltaInt", "InfoDispTpMaxDeltaInt"},
            {"EditTpTeachCtoWith", "InfoEditTpTeachCtoWith"},
            {"EditTpTeachItoWith", "InfoEditTpTeachItoWith"},
            {"EditTpValueCto", "InfoEditTpValueCto"},
            {"EditTpValueIto", "InfoEditTpValueIto"},
            {"EditTpRowNo", "InfoEditTpRowNo"},
        };
        for (const auto &c : teach)
            QTest::newRow(c[0]) << c[0] << "INFO!" << c[1];
        const char *const attr[][2] = {
            {"EditSetColor", "InfoEditSetColor"},
            {"EditRow", "InfoEditRow"},
            {"EditColorNumericRow", "InfoEditColorNumRow"},
            {"ButtonSetRowColor", "InfoButtonSetRowColor"},
            {"ButtonSaveArray", "InfoButtonSaveArray"},
            {"ButtonGetArray", "InfoButtonGetArray"},
            {"ButtonSetStartupArray", "InfoButtonSetStartupArray"},
        };
        for (const auto &c : attr)
            QTest::newRow(c[0]) << c[0] << "Info" << c[1];
    }
    void rightClickShowsInfoText()
    {
        QFETCH(QString, control);
        QFETCH(QString, title);
        QFETCH(QString, info);
        QWidget *w = FindControl(qPrintable(control));
        if (!w && teachpanel)
            w = teachpanel->findChild<QWidget *>(control);
        QVERIFY2(w, qPrintable(control));
        w->setEnabled(true);
        auto *area = qobject_cast<QAbstractScrollArea *>(w);
        RightClick(area ? area->viewport() : w); // a table takes the click in its viewport
        QCOMPARE(popups->messages().size(), 1);
        QCOMPARE(popups->messages()[0].title, title);
        QCOMPARE(popups->messages()[0].text, QString::fromUtf8(InfoText(qPrintable(info))));
        if (control == QLatin1String("ButtonSetRowColor"))
            QCOMPARE(popups->messages()[0].text, QStringLiteral("Assign selected color to row."));
        QCOMPARE(popups->shown.size(), 1); // the right click ran nothing else
    }
};

QTEST_MAIN(TestTableAttr)
#include "tst_tableattr.moc"
