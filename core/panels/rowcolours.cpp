#include "rowcolours.h"

#include "cells.h"
#include "core/panels.h"
#include "core/panels/parapanel2.h"
#include "core/panels/ttpanel.h"
#include "core/panels/tapanel.h"
#include "link/codec.h"

#include <QTableWidget>

namespace tintra {

#define TINTRA_PALETTE                                                                            \
    0xFF0000, 0x80FF00, 0x0000FF, 0x000000, 0xFF80C0, 0xFFFF00, 0x808000, 0x800080, 0x80FFFF,     \
        0xFF0080, 0x400080, 0xFF00FF, 0x008000, 0x408080, 0x800000

int sicolarr[sicolarrSize] = {TINTRA_PALETTE, TINTRA_PALETTE, TINTRA_PALETTE};

#undef TINTRA_PALETTE

void PaintRow(int r, int rgb)
{
    if (r < 0 || r >= anzVec)
        return;
    if (ttpanel)
        SetCellColour(ttpanel->GridCtt, 6, r + 1, rgb);
    if (tapanel)
        SetCellColour(tapanel->GridTa, 2, r + 1, rgb);
    if (parapanel2) {
        SetCellColour(parapanel2->EditGridGroups, 2, r + 1, rgb);
        SetCellColour(parapanel2->EditGridHold, 2, r + 2, rgb);
    }
}

void PaintAllRows()
{
    for (int r = 0; r < anzVec; ++r)
        PaintRow(r, sicolarr[r]);
}

} // namespace tintra
