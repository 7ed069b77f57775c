#include "tableattr.h"

#include "taffile.h"
#include "core/info.h"
#include "core/panels.h"
#include "core/params/cells.h"
#include "core/params/rowcolours.h"
#include "core/settings/paths.h"
#include "link/codec.h"
#include "link/platform.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QSpinBox>
#include <QTableWidget>

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
    Save(path);
}

void GetTableSettings()
{
    QString path;
    if (FileSelectPopup(proj_dir, fileDefault, fileFilter, fileTitle, false, &path) ==
        NoFileSelected)
        return;
    file_name = path;
    if (Load(path))
        PaintAllRows();
}

void SetStartupArray()
{
    if (Save(colorArrayStartupFileName))
        MessagePopup(QString::fromUtf8(InfoTitle), QString::fromUtf8(InfoText("StartupFileSaved")));
}

void ReadStartupColours()
{
    if (GetFileInfo(colorArrayStartupFileName))
        Load(colorArrayStartupFileName);
    PaintAllRows();
}

} // namespace tintra
