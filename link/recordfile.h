// The record file and the record time, without any window: header and data lines, appending a
// piece to the file, and the record time split into days, hours, minutes and seconds.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tintra {

constexpr int recordValues = 8; // R, G, B, X, Y, INT, colour number, temperature

// "DATE\tTIME\tRED\t...TEMP\t\r\n": ten labels, each followed by a TAB, then CR LF.
QByteArray RecordHeader();

// One data line: date (MM-DD-YYYY), TAB, time (HH:MM:SS), TAB, the eight values as unsigned
// decimals separated by TABs, CR LF.
QByteArray RecordLine(const QString &date, const QString &time, const uint16_t values[recordValues]);

// Opens `path` for appending, writes `bytes`, closes it again. False, with the system's reason in
// *error, when the file cannot be opened or not all bytes reach it; a piece written only in part
// is cut off again, so the file keeps its previous end.
bool AppendToRecordFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);

struct RecordTime {
    uint32_t days, hours, minutes, seconds;
};
// interval x values seconds (32-bit) as days, hours, minutes and seconds.
RecordTime SplitRecordTime(uint16_t interval, uint16_t values);

} // namespace tintra
