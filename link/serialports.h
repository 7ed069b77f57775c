// The serial ports this machine has, the COM numbers that "ComPorts.cfg" gives them, and what an
// operator can do when a port cannot be opened.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace tintra {

struct SerialPortEntry {
    QString device;       // e.g. /dev/ttyUSB0
    QString description;  // what the system calls it ("USB-Serial Controller"), may be empty
    QString manufacturer; // may be empty
    QString serialNumber; // may be empty
    int comNumber = 0;    // the COM number "ComPorts.cfg" gives it, 0 when none
};

// The lines of "ComPorts.cfg" as (number, device), in file order; a refused file gives none.
QList<QPair<int, QString>> ComPortMappings();
// The COM number one line of "ComPorts.cfg" maps, with its device; 0 for a comment, an empty line
// or a line that maps nothing.
int ComPortLineNumber(const QString &line, QString *device = nullptr);

// Every serial port the system reports, and besides them every device named in "ComPorts.cfg"
// that exists and is a terminal (pseudo-terminals, which the system does not list). Sorted by
// device name.
QList<SerialPortEntry> ListSerialPorts();

// One line for the port list: "/dev/ttyUSB0 - FT232R USB UART, FTDI, S/N A10K3B2"; with the COM
// number in front when the file gives it one.
QString SerialPortLabel(const SerialPortEntry &e);

// Makes COM port n mean `device` in "ComPorts.cfg": the first line for n becomes "<n> <device>"
// in its place (a new line at the end when there is none), further lines for n are dropped, and
// every other line (comments too) stays byte for byte, with its own line end. False when n is outside 1 ... 256, the device name
// holds blanks, the present file is refused or the file cannot be written (then it is unchanged).
bool MapComPort(int n, const QString &device);

// What the system tells about a port that could not be opened, for the operator's message.
struct SerialOpenFacts {
    enum Kind { None = 0, Missing, NotSerial, Busy, Permission, Other };
    Kind kind = None;
    QString device;
    QStringList holders; // Busy: processes that have it open, "4711 (name)"; may be empty
    QString group;       // Permission: the group that owns the device
    QString user;        // Permission: who runs the program
    QString systemText;  // Other: the system's own words
};

// Looks at `device` after an opening failed with `code` (-6, -7, other negatives): whether it
// exists, is a terminal, who holds it, whether this user may read and write it.
SerialOpenFacts ExplainSerialOpen(const QString &device, int code, const QString &systemText);

// What the last failed serial opening (InitRS232) found; kind None after a good opening.
SerialOpenFacts LastSerialOpenFacts();
void SetLastSerialOpenFacts(const SerialOpenFacts &facts);

// The processes that have `device` open, as "4711 (name)", from /proc and the port's lock file;
// empty when none are found or the system does not tell.
QStringList DeviceHolders(const QString &device);

} // namespace tintra
