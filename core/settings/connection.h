// Connection settings: the file "ComSettings.cfg" (protocol, COM port, server, port number), the
// remembered servers in "IPComboBox.cfg", and the operations of the connection settings page.
#pragma once

#include "link/platform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace tintra {

// Saved copy for DISCARD: the page's values when CONNECT opened it (at start-up: the values the
// settings file put on the page).
extern uint16_t comprotocolold;
extern uint16_t comportold;
extern char ipBufOld[256];
extern char portNumStrOld[32];

constexpr int serverRecordSize = 100; // entry text, then zero bytes up to 100
constexpr int maxServerChars = 99;
constexpr int maxServerEntries = 10;

// ---- file formats (no widgets) -------------------------------------------------------------

struct ConnectionSettings {
    int protocol = 0;   // 0 RS-232, 1 TCP/IP
    int comPort = 1;
    QString server;     // at most 255 characters
    QString portNumber; // at most 31 characters
};

// Reads the four lines; text that is not a number counts as 0, missing lines as 0 or empty.
// Nothing after the fourth line is read. False (and `s` untouched) when the file does not exist
// or is refused: far too large, not a regular file, empty, or holding bytes that are not text in
// its first four lines; `why` tells which.
bool ReadComSettings(const QString &path, ConnectionSettings *s, FileRead *why = nullptr);
// Writes the four lines (replacing the file only when all is written). False when it cannot.
bool WriteComSettings(const QString &path, const ConnectionSettings &s);

// The remembered servers in file order: record count = file size / 101; a record's text ends at
// its first zero byte; empty records are skipped; at most 10 entries. Missing file: empty list.
// A file far larger than ten records can be, or one that is not a regular file, is refused
// unread (empty list; `why` tells why).
QStringList ReadServerFile(const QString &path, FileRead *why = nullptr);
QStringList ParseServerList(const QByteArray &content); // the same from the file's bytes
// True when the file is missing or holds only whole records (100 bytes and a line end each).
bool ServerFileInLayout(const QString &path);
bool ServerListInLayout(const QByteArray &content);
// Before a server list that is not in the record layout is rewritten, it is copied beside itself
// as "<name>.bak" and the operator is told (once: the rewritten file is in the layout). False when
// the copy cannot be made; the list must then not be rewritten.
bool KeepServerFileCopy(const QString &path);
// One 100-byte record and a line end per entry, in list order; the file is rewritten from scratch.
bool WriteServerFile(const QString &path, const QStringList &servers);
QByteArray FormatServerList(const QStringList &servers); // the bytes WriteServerFile writes
QByteArray ServerRecord(const QString &text);
// `text` cut so that it fits a record (at most 99 bytes, whole characters).
QString CutServerText(const QString &text);

// Decimal value of a port number text; 0 if it is not a whole number.
int DecimalValue(const QString &text);

// ---- the page --------------------------------------------------------------------------------

void FillServerList();                // server list from "IPComboBox.cfg"
void GetConnectionSettingsFromFile(); // "ComSettings.cfg" into the globals and onto the page
void InitConnectPanel();              // fields that fit PROTOCOL
void TryToConnect();                  // one connection attempt with the page's values
bool SaveCommunicationSettings();     // page values into the globals and "ComSettings.cfg"
void RememberConnectionSettings();    // saved copy := page values
void RestoreConnectionSettings();     // page values := saved copy
void CommitServer();                  // SERVER committed: list and file updated
void CopySensorId();                  // SENSOR ID to the identification displays
void ShowComPortDevice();             // which device the COM port number means
void DimAccept();

} // namespace tintra
