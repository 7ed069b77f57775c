#include "tolerance.h"

#include "core/panels/cells.h"
#include "panelvalues.h"
#include "core/panels.h"
#include "core/panels/ttpanel.h"
#include "link/paraimage.h"

namespace tintra {

void SortTableTolerance()
{
    const uint16_t old = paraCalcmode;
    GetPanelValues();
    const bool wasSpace = old >= 2;
    const bool isSpace = paraCalcmode >= 2;
    if (wasSpace == isSpace)
        return;
    for (int n = 0; n < anzVec; ++n) {
        uint16_t *w = &paraTeachTable[5 * n];
        const uint16_t w2 = w[2], w3 = w[3];
        w[2] = w3;
        w[3] = w2;
        w[4] = isSpace ? 1 : w3;
        for (int c = 0; c < 5; ++c)
            SetCellU16(ttpanel->GridCtt, c + 1, n + 1, w[c]);
    }
}

} // namespace tintra
