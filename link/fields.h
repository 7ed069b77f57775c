// The parameter image by field, without any window: each word's name as the panels caption it,
// a value as the operator reads it, the colour teach table's column captions in each calculation
// mode, and the fields in which two images differ. The COMPARE window and tintractl list
// differences with these; the teach table takes its column captions from here.
#pragma once

#include "link/codec.h"

#include <QList>
#include <QString>
#include <array>
#include <cstdint>

namespace tintra {

using ParaImage = std::array<uint16_t, anzpara>;

constexpr int teachColumns = 5; // image words per colour teach table row before group and hold
constexpr int calcModes = 4;

// Caption of column k (0 ... 4) of the colour teach table in calculation mode `calcmode`
// ("X", "Y", "CTO", "INT", "ITO" in mode 0); a mode above 3 has the captions of mode 0. Modes 2
// and 3 use four columns: the fifth caption is empty.
const char *TeachColumnCaption(unsigned calcmode, int k);

// Word 0 ... 232 by name, the teach table's columns as captioned in `calcmode`: "POWER",
// "COLOR TEACH TABLE 3: X", "GROUP TABLE 3: GROUP", "HOLD TABLE 255: HOLD" (word 4: the hold
// time of colour number 255) ...; an empty string for a word outside the image.
QString FieldName(int word, unsigned calcmode);

// The value as the operator reads it: numbers as they are, ring codes with the item's text
// ("2 = X/Y/INT"); a code the ring lacks as the bare number.
QString FieldValueText(int word, uint16_t value);

struct FieldDiff {
    int word = 0;       // place in the parameter image
    QString name;       // as FieldName
    QString panelValue; // as FieldValueText, of the first image
    QString otherValue; // of the second
};

// Only the fields that differ, in image order, named in the first image's terms (`calcmode`:
// the calculation mode its teach table is captioned for).
QList<FieldDiff> DiffImages(const ParaImage &first, const ParaImage &other, unsigned calcmode);

} // namespace tintra
