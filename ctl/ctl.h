// What the commands of tintractl share: exit statuses, messages on standard error, progress,
// and the table every command is described by.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace tintra::ctl {

// Refused: a calibration refused by its checks (spread, factor range, samples lost).
enum Exit { Done = 0, Different = 1, Usage = 2, NoAnswer = 3, BadEcho = 4, Refused = 5 };

QTextStream &err();
QTextStream &out();

// Prints `why` on standard error and returns `status`.
int Fail(const QString &why, int status = Usage);

// After a failed exchange: "TIMEOUT" (status 3) when no complete answer came, else "wrong
// echo" (status 4).
int ExchangeFailed();

// "ram" -> RAM, "eeprom" -> EEPROM, anything else 0.
int Place(const QString &word);

// "what: done/total" on one line of standard error, rewritten in place, only when standard
// error is a terminal; done == total ends the line.
// With total <= 0 (no end known) "what: done" only; ProgressEnd() ends a line left open.
void Progress(const char *what, int done, int total);
void ProgressEnd();

// From now on SIGINT and SIGTERM end the running loop (EndLoop) instead of the process, so that
// it finishes cleanly; Interrupted() tells whether one came (also before a loop started).
void EndLoopOnSignals();
bool Interrupted();

// One command: its name, its usage line, its help text, and two steps. `parse` checks the
// arguments before the sensor is spoken to (Done, or an exit status after a printed reason);
// `run` does the work on the connected sensor. A command with `connects` false runs without a
// connection.
struct Command {
    const char *name;
    const char *synopsis; // "get ram|eeprom [-o FILE] [--json]"
    const char *help;     // the rest of `tintractl COMMAND --help`
    int (*parse)(const QStringList &args);
    int (*run)();
    bool connects = true;
};

extern const Command identifyCommand, getCommand, sendCommand, compareCommand, watchCommand,
    recordCommand, calibrateCommand;

} // namespace tintra::ctl
