#include "paraimage.h"

namespace tintra {

uint16_t paraPower, paraPmode, paraAverage, paraEvalmode, paraHold255, paraIntlim, paraMaxVecNo,
    paraOutmode, paraTrigger, paraExteach, paraCalcmode, paraDynWinLo, paraDynWinHi,
    paraColorGroup, paraLedmode, paraGain;

uint16_t paraTeachTable[anzVec * 5];
uint16_t paraGroupBuf[anzVec];
uint16_t paraHoldBuf[anzVec];

uint16_t *const paraScalars[16] = {
    &paraPower,    &paraPmode,   &paraAverage,  &paraEvalmode,   &paraHold255, &paraIntlim,
    &paraMaxVecNo, &paraOutmode, &paraTrigger,  &paraExteach,    &paraCalcmode, &paraDynWinLo,
    &paraDynWinHi, &paraColorGroup, &paraLedmode, &paraGain,
};

namespace {

void clampMaxVecNo()
{
    if (paraMaxVecNo > anzVec)
        paraMaxVecNo = anzVec;
}

void rowsFromImage()
{
    int k = 16;
    for (int r = 0; r < anzVec; ++r, k += 7) {
        for (int c = 0; c < 5; ++c)
            paraTeachTable[5 * r + c] = pp[k + c];
        paraGroupBuf[r] = pp[k + 5];
        paraHoldBuf[r] = pp[k + 6];
    }
}

} // namespace

void CopyVarsToPP()
{
    for (int i = 0; i < 16; ++i)
        pp[i] = *paraScalars[i];
    int k = 16;
    for (int r = 0; r < anzVec; ++r, k += 7) {
        for (int c = 0; c < 5; ++c)
            pp[k + c] = paraTeachTable[5 * r + c];
        pp[k + 5] = paraGroupBuf[r];
        pp[k + 6] = paraHoldBuf[r];
    }
}

void CopyPPtoVars()
{
    if (pp[0] != answerHeader)
        return;
    if (pp[1] == OrderGetPara) {
        for (int i = 0; i < 16; ++i)
            *paraScalars[i] = pp[2 + i];
        clampMaxVecNo();
    } else if (pp[1] == OrderGetRow) {
        const uint16_t r = pp[2];
        if (r >= anzVec)
            return;
        for (int c = 0; c < 5; ++c)
            paraTeachTable[5 * r + c] = pp[3 + c];
        paraGroupBuf[r] = pp[8];
        paraHoldBuf[r] = pp[9];
    }
}

void CopyFileParatoVars()
{
    for (int i = 0; i < 16; ++i)
        *paraScalars[i] = pp[i];
    rowsFromImage();
    clampMaxVecNo();
}

} // namespace tintra
