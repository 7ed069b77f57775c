// The table-attributes file ("TableAttributes.cfg", "StartupFile.cfg"), without any window.
//
// Text, every line ended by CR LF: lines 1 ... 45 the 45 indicator colours (0xRRGGBB as a decimal
// number, right-aligned in a field ten characters wide), lines 46 ... 76 the row texts of colour
// rows 0 ... 30 (UTF-8; an empty text is an empty line).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tintra {

constexpr int taColours = 45;
constexpr int taTexts = 31;
constexpr int taTextMax = 99;            // longer texts are cut when read
constexpr qint64 taFileMax = 1024 * 1024; // larger files are not table-attributes files

// The file's content. Line breaks inside a text become blanks, so every text stays one line.
QByteArray FormatTableAttributes(const int colours[taColours], const QStringList &texts);

// Reads colours and texts from a file's content. Numbers may be surrounded by blanks; lines may
// end in LF or CR LF (in a file without any LF: a lone CR); lines after the 76th are ignored.
// Texts are cut to 99 characters; text that is not UTF-8 is read as Latin-1; the texts of lines
// the content lacks are empty. Returns false, leaving both outputs untouched, when the content has
// fewer than 45 lines or a colour line is not a whole number 0 ... 0xFFFFFF.
bool ParseTableAttributes(const QByteArray &content, int colours[taColours], QStringList *texts);

// The same on files. Writing replaces the file only when the whole content is written; reading
// refuses a file larger than taFileMax. Both return false on failure and change nothing then.
bool WriteTableAttributesFile(const QString &path, const int colours[taColours],
                              const QStringList &texts);
bool ReadTableAttributesFile(const QString &path, int colours[taColours], QStringList *texts);

} // namespace tintra
