#include "compare.h"

#include "transfer.h"
#include "core/paramfile/paramfile.h"
#include "link/paraimage.h"
#include "link/state.h"

#include <algorithm>

namespace tintra {

bool ReadCompareSet(CompareSource source, ParaImage *other, QString *what)
{
    if (source == CompareFile) {
        uint16_t image[anzpara];
        QString path;
        if (!ChooseParaFile(image, &path))
            return false;
        std::copy(image, image + anzpara, other->begin());
        if (what)
            *what = path;
        return true;
    }
    if (what)
        *what = source == CompareEeprom ? QStringLiteral("EEPROM") : QStringLiteral("RAM");
    const KeptParaState keep; // the sensor's answers land in the variables and pp
    const uint16_t place = target;
    target = source == CompareEeprom ? EEPROM : RAM;
    const bool ok = ReadParaFromSensor();
    target = place;
    if (!ok)
        return false;
    CopyVarsToPP();
    std::copy(pp, pp + anzpara, other->begin());
    return true;
}

} // namespace tintra
