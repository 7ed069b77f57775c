#include "paramfile.h"

#include "core/params/panelvalues.h"
#include "core/params/unsent.h"
#include "link/codec.h"
#include "link/paraimage.h"
#include "link/platform.h"

#include <algorithm>

namespace tintra {

namespace {

const QString fileTitle = QStringLiteral("Parameter");
const QString defaultName = QStringLiteral("Parameter.ini");
const QString filter = QStringLiteral("*.ini");
const QString attention = QStringLiteral("ATTENTION!");

QString startDir() { return GetProjectDir(); }

} // namespace

bool SendParaToFile()
{
    QString path;
    if (FileSelectPopup(startDir(), defaultName, filter, fileTitle, true, &path) == NoFileSelected)
        return false;
    GetPanelValues();
    CopyVarsToPP();
    if (!ArrayToFile(path, pp, anzpara)) {
        MessagePopup(attention, QStringLiteral(" The parameter file could not be written: \n %1 \n"
                                               " The previous file is unchanged. ")
                                    .arg(path));
        return false;
    }
    MarkPanelsSynced();
    return true;
}

bool ChooseParaFile(uint16_t *image, QString *chosen)
{
    QString path;
    if (FileSelectPopup(startDir(), defaultName, filter, fileTitle, false, &path) == NoFileSelected)
        return false;
    if (!FileToArray(path, image, anzpara)) {
        MessagePopup(attention,
                     QStringLiteral(" The parameter file cannot be used: \n %1 \n"
                                    " It must hold 233 lines, each a whole number 0 ... 65535. \n"
                                    " Nothing has been changed. ")
                         .arg(path));
        return false;
    }
    if (chosen)
        *chosen = path;
    return true;
}

bool ReadParaFromFile()
{
    uint16_t image[anzpara];
    if (!ChooseParaFile(image))
        return false;
    std::copy(image, image + anzpara, pp);
    CopyFileParatoVars();
    ShowLoadedParameters();
    MarkPanelsSynced();
    return true;
}

} // namespace tintra
