// COMPARE on the main window and the compare window: the panels' parameter set against a file,
// the sensor's RAM or its EEPROM, shown as the list of differing fields.
#include "app/callbacks.h"
#include "app/windowfit.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/mainpanel.h"
#include "core/panels/comparepanel.h"
#include "core/params/moderules.h"
#include "core/shell.h"
#include "core/transfer/compare.h"
#include "link/platform.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace tintra {

namespace {

QString Text(const char *name) { return QString::fromUtf8(InfoText(name)); }

void ShowDiffs(const QString &source, const QString &header, const QList<FieldDiff> &diffs)
{
    ComparePanel *c = comparepanel;
    c->DispCompareResult->setText(
        diffs.isEmpty() ? Text("CompareSame").arg(source)
                        : Text("CompareDiffer").arg(diffs.size()).arg(source));
    c->CompareList->setHorizontalHeaderItem(2, new QTableWidgetItem(header));
    c->CompareList->setRowCount(int(diffs.size()));
    for (int i = 0; i < diffs.size(); ++i) {
        const FieldDiff &d = diffs[i];
        const QString cells[3] = {d.name, d.panelValue, d.otherValue};
        for (int col = 0; col < 3; ++col) {
            auto *it = new QTableWidgetItem(cells[col]);
            it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            c->CompareList->setItem(i, col, it);
        }
    }
}

void Compare(CompareSource source)
{
    if (source == CompareEeprom &&
        ConfirmPopup(QStringLiteral("ATTENTION!"), Text("CompareEepromConfirm")) != 1)
        return;
    SetButtonsDimmed(1);
    const ParaImage panels = PanelImage();
    ParaImage other{};
    QString what;
    const bool ok = ReadCompareSet(source, &other, &what);
    SetButtonsDimmed(0);
    if (!comparepanel)
        return; // the program was closed meanwhile
    const QString named = source == CompareFile ? Text("CompareSourceFile").arg(what)
                                                : Text("CompareSourceSensor").arg(what);
    if (!ok) {
        if (source == CompareFile)
            return; // no file chosen, or the file's own message said why
        comparepanel->DispCompareResult->setText(Text("CompareFailed").arg(named));
        comparepanel->CompareList->setRowCount(0);
        return;
    }
    ShowDiffs(named, source == CompareFile ? QStringLiteral("FILE") : what, DiffImages(panels, other, CalcModeShown()));
}

void CBF_ButtonCompare()
{
    // Opens over the main window (not wherever the system puts a new window), at a size that
    // shows a field's name and both values without scrolling sideways.
    if (comparepanel->isHidden())
        PlaceOver(comparepanel, mainpanel, QSize(640, 480));
    comparepanel->show();
    comparepanel->raise();
    comparepanel->activateWindow();
}
void CBF_ButtonCompareFile() { Compare(CompareFile); }
void CBF_ButtonCompareRAM() { Compare(CompareRam); }
void CBF_ButtonCompareEEPROM() { Compare(CompareEeprom); }
void CBF_ButtonCompareClose() { comparepanel->hide(); }

} // namespace

void ConnectCompareCallbacks()
{
    ComparePanel *c = comparepanel;
    QObject::connect(mainpanel->ButtonCompare, &QPushButton::clicked, c,
                     [] { CBF_ButtonCompare(); });
    QObject::connect(c->ButtonCompareFile, &QPushButton::clicked, c,
                     [] { CBF_ButtonCompareFile(); });
    QObject::connect(c->ButtonCompareRAM, &QPushButton::clicked, c, [] { CBF_ButtonCompareRAM(); });
    QObject::connect(c->ButtonCompareEEPROM, &QPushButton::clicked, c,
                     [] { CBF_ButtonCompareEEPROM(); });
    QObject::connect(c->ButtonCompareClose, &QPushButton::clicked, c,
                     [] { CBF_ButtonCompareClose(); });
}

} // namespace tintra
