// The sensor's parameter set as typed variables, and its flat 233-word image.
//
// Image layout: words 0 ... 15 the sixteen scalar parameters (order below); then for each colour
// row r = 0 ... 30 seven words from 16 + 7r: five teach values, the row's group, its hold time.
// The same order is used on the wire and in parameter files.
#pragma once

#include "codec.h"

namespace tintra {

extern uint16_t paraPower, paraPmode, paraAverage, paraEvalmode, paraHold255, paraIntlim,
    paraMaxVecNo, paraOutmode, paraTrigger, paraExteach, paraCalcmode, paraDynWinLo,
    paraDynWinHi, paraColorGroup, paraLedmode, paraGain;

extern uint16_t paraTeachTable[anzVec * 5]; // row r, column c at 5r + c
extern uint16_t paraGroupBuf[anzVec];
extern uint16_t paraHoldBuf[anzVec];

// The sixteen scalar parameters in image order.
extern uint16_t *const paraScalars[16];

// Codes shared across the program.
enum CalcMode : uint16_t { CalcXYInt = 0, CalcSiM = 1, CalcXYIntSpace = 2, CalcSiMSpace = 3 };
constexpr uint16_t EvalCol5 = 3;
constexpr uint16_t OutBinary = 1;
constexpr uint16_t PmodeStat = 0, PmodeDyn = 1;
constexpr uint16_t noColour = 255;
inline bool IsSpaceMode(uint16_t calc) { return calc == CalcXYIntSpace || calc == CalcSiMSpace; }
inline bool IsSiMode(uint16_t calc) { return calc == CalcSiM || calc == CalcSiMSpace; }

// Fills words 0 ... 232 of pp from the variables.
void CopyVarsToPP();
// Unpacks the answer frame in words 0 ... 17 of pp (order 3: parameters, order 4: one row).
// Answers without the 170 header, and row answers for rows 31 and up, change nothing.
void CopyPPtoVars();
// Unpacks a whole image (from a parameter file) in words 0 ... 232 of pp.
void CopyFileParatoVars();

} // namespace tintra
