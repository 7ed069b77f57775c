#include "tableattr.h"

#include "taffile.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/panels/datapanel.h"
#include "core/panels/tapanel.h"
#include "core/panels/cells.h"
#include "core/panels/rowcolours.h"
#include "core/params/unsent.h"
#include "core/settings/paths.h"
#include "link/codec.h"
#include "link/platform.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QSpinBox>
#include <QAbstractItemModel>
#include <QTableWidget>
#include <algorithm>

namespace tintra {

namespace {

const QString fileTitle = QStringLiteral("TableAttributes");
const QString fileDefault = QStringLiteral("TableAttributes.cfg");
const QString fileFilter = QStringLiteral("*.cfg");

QStringList RowTexts()
{
    QStringList texts;
    for (int r = 0; r < anzVec; ++r) {
        const QTableWidgetItem *it = tapanel ? tapanel->GridTa->item(r, 0) : nullptr;
        texts << (it ? it->text() : QString());
    }
    return texts;
}

void SetRowTexts(const QStringList &texts)
{
    if (!tapanel)
        return;
    for (int r = 0; r < anzVec && r < texts.size(); ++r) {
        QTableWidgetItem *it = tapanel->GridTa->item(r, 0);
        if (!it)
            tapanel->GridTa->setItem(r, 0, it = new QTableWidgetItem);
        it->setText(texts[r]);
    }
}

// The texts and colours as last saved or loaded: rows that differ are marked as unsent.
struct Attributes {
    int colours[taColours] = {};
    QStringList texts;
};
Attributes &Kept()
{
    static Attributes kept;
    return kept;
}

void KeepAsSaved()
{
    std::copy(sicolarr, sicolarr + taColours, Kept().colours);
    Kept().texts = RowTexts();
    ScheduleUnsentMarks();
}

// Marks the text and colour cells of rows that differ from the kept state; true when any does.
bool MarkUnsavedRows()
{
    if (!tapanel)
        return false;
    const QStringList texts = RowTexts();
    bool any = false;
    for (int r = 0; r < anzVec; ++r) {
        const bool text = texts[r] != Kept().texts.value(r);
        const bool colour = sicolarr[r] != Kept().colours[r];
        SetCellMarked(tapanel->GridTa, 1, r + 1, text);
        SetCellMarked(tapanel->GridTa, 2, r + 1, colour);
        any = any || text || colour;
    }
    // Colours beyond the rows come only from a file, which is then the kept state as well.
    return any || !std::equal(sicolarr + anzVec, sicolarr + taColours, Kept().colours + anzVec);
}

void Report(const char *name, const QString &path)
{
    MessagePopup(QString::fromUtf8(InfoTitleAttr),
                 QString::fromUtf8(InfoText(name)).arg(QDir::toNativeSeparators(path)));
}

bool Save(const QString &path)
{
    if (WriteTableAttributesFile(path, sicolarr, RowTexts()))
        return true;
    Report("TableAttrNotSaved", path);
    return false;
}

// Colours and texts from `path`, all or nothing.
bool Load(const QString &path)
{
    int colours[taColours];
    QStringList texts;
    if (!ReadTableAttributesFile(path, colours, &texts)) {
        Report("TableAttrNotRead", path);
        return false;
    }
    std::copy(colours, colours + taColours, sicolarr);
    SetRowTexts(texts);
    return true;
}

} // namespace

bool ColourModeAutomatic() { return tapanel && RingValue(tapanel->EditSetColor) == 1; }

void InitSrcPanel()
{
    if (!tapanel)
        return;
    const bool automatic = ColourModeAutomatic();
    for (QWidget *w : {static_cast<QWidget *>(tapanel->EditRow),
                       static_cast<QWidget *>(tapanel->EditColorNumericRow),
                       static_cast<QWidget *>(tapanel->ButtonSetRowColor)})
        w->setEnabled(!automatic);
    if (datapanel)
        datapanel->ColorPatch->setVisible(automatic);
}

void SetRowColor()
{
    if (!tapanel)
        return;
    const int r = tapanel->EditRow->value();
    const int c = tapanel->EditColorNumericRow->value();
    if (r < 0 || r >= anzVec)
        return;
    PaintRow(r, c);
    sicolarr[r] = c;
}

void SaveTableSettings()
{
    QString path;
    if (FileSelectPopup(proj_dir, fileDefault, fileFilter, fileTitle, true, &path) ==
        NoFileSelected)
        return;
    file_name = path;
    if (Save(path))
        KeepAsSaved();
}

void GetTableSettings()
{
    QString path;
    if (FileSelectPopup(proj_dir, fileDefault, fileFilter, fileTitle, false, &path) ==
        NoFileSelected)
        return;
    file_name = path;
    if (Load(path)) {
        PaintAllRows();
        KeepAsSaved();
    }
}

void SetStartupArray()
{
    if (!Save(colorArrayStartupFileName))
        return;
    KeepAsSaved();
    MessagePopup(QString::fromUtf8(InfoTitle), QString::fromUtf8(InfoText("StartupFileSaved")));
}

void ReadStartupColours()
{
    if (GetFileInfo(colorArrayStartupFileName))
        Load(colorArrayStartupFileName);
    PaintAllRows();
    KeepAsSaved();
}

void WatchTableAttributeChanges()
{
    if (!tapanel)
        return;
    KeepAsSaved(); // what the page shows now is the reference until the next save or load
    AddUnsentKind([] { return MarkUnsavedRows(); });
    QObject::connect(tapanel->GridTa->model(), &QAbstractItemModel::dataChanged, tapanel,
                     [] { ScheduleUnsentMarks(); });
}

} // namespace tintra
