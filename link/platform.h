// Platform services: clock, waits, event processing, popups, file dialogs, the program's
// directory and small file helpers.
//
// Everything the program needs from the desktop goes through this one layer, so that tests can
// answer popups and dialogs from a script and read what they said, and so that waits sleep in
// the event loop instead of spinning a processor core.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace tintra {

// ---- clock and events -------------------------------------------------------------------

// Seconds since an arbitrary start (monotonic), fine to well below a millisecond.
double Timer();

// Runs every pending event once (user-interface, socket and serial notifications), calling their
// handlers nested inside the caller, then returns without waiting.
void ProcessSystemEvents();

// Sleeps in the event loop until at least one event has been handled or `seconds` have passed,
// whichever comes first. This is the building block of every wait: a loop around it reacts at once
// to arriving bytes or a button press but uses no processor time while nothing happens.
void WaitForEvents(double seconds);

// Waits `ms` milliseconds while keeping the event loop running.
void Sleep(int ms);

// Waits until `seconds` have passed since `start` (a value of Timer()), handling events meanwhile.
// With `processEvents` false the thread simply sleeps (events stay queued).
void WaitUntil(double start, double seconds, bool processEvents = true);

// ---- popups and dialogs -------------------------------------------------------------------

enum FileSelectResult { NoFileSelected = 0, ExistingFileSelected = 1, NewFileSelected = 2 };

struct FileSelectRequest {
    QString startDir;
    QString defaultName;
    QString filter; // e.g. "*.ini"
    QString title;
    bool forSaving = false;
    // Whether the dialog itself asks "already exists ... replace?" before it returns an existing
    // file. Never: the dialog reports that choice (ExistingFileSelected) and the caller asks its
    // own question where it has one, so the operator is asked once.
    bool dialogAsksToReplace = false;
};

// What a popup or dialog does. The program installs real windows; tests install a script.
struct PopupHandler {
    std::function<void(const QString &title, const QString &text)> message;
    std::function<int(const QString &title, const QString &text)> confirm; // 1 yes, 0 no
    std::function<int(const FileSelectRequest &req, QString *path)> fileSelect;
    // Colour picker: starts at `initial` (0xRRGGBB); true with the chosen colour in *rgb.
    std::function<bool(const QString &title, int initial, int *rgb)> colorSelect;
    // Context menu at the mouse pointer: the index of the chosen entry, or -1 when dismissed.
    std::function<int(const QStringList &entries)> menu;
};

// Installs a handler; returns the previous one. An empty member falls back to a non-interactive
// default (message: logged to stderr; confirm: 0; file dialog, colour picker and menu: nothing chosen).
PopupHandler SetPopupHandler(PopupHandler handler);

void MessagePopup(const QString &title, const QString &text);
int ConfirmPopup(const QString &title, const QString &text);
int FileSelectPopup(const QString &startDir, const QString &defaultName, const QString &filter,
                    const QString &title, bool forSaving, QString *path);
// 1 and the chosen colour (0xRRGGBB) in *rgb, or 0 when the picker was cancelled (*rgb unchanged).
int ColorSelectPopup(const QString &title, int initialRgb, int *rgb);

// Shows a context menu of `entries` at the mouse pointer; the chosen index, or -1 (also without a
// handler).
int MenuPopup(const QStringList &entries);

// ---- files ---------------------------------------------------------------------------------

// The directory that holds the executable.
QString GetProjectDir();

// Where the program writes its settings files: the program's directory when it is writable,
// otherwise the user's application-data directory (created on demand).
QString GetSettingsDir();

// Joins a directory and a file name with the platform's separator.
QString JoinPath(const QString &dir, const QString &name);

// 1 if the file exists (size stored in *size when given), else 0.
int GetFileInfo(const QString &path, qint64 *size = nullptr);

// The text of a parameter file: each value right-aligned in ten characters, one a line.
QByteArray ArrayText(const uint16_t *values, int n);
// Writes n numbers, one a line, each right-aligned in a field ten characters wide.
// The file is replaced as a whole: the text goes to a temporary file first, which replaces the old
// one only when complete, so a failed write never destroys the previous contents.
// With `append` the numbers are appended instead; an append that fails is cut off again, so the
// file keeps its previous end. Returns false when the file cannot be written.
bool ArrayToFile(const QString &path, const uint16_t *values, int n, bool append = false);

// Reads n numbers written as above. Blanks around a number and any line end are accepted.
// Returns false, leaving `values` untouched, when the file is missing, is not a regular file, is
// far larger than n such lines (more than 64 bytes a line and 1 KB besides) or has fewer than n
// lines holding whole numbers 0 ... 65535.
bool FileToArray(const QString &path, uint16_t *values, int n);

// Reads a text file as lines (without line ends, CR LF or LF); each line cut to maxLen characters.
// Returns false when the file cannot be opened.
bool ReadTextLines(const QString &path, QStringList *lines, int maxLen = 1 << 20);

// ---- files that come from outside --------------------------------------------------------------
//
// Settings and parameter files are small. A file far larger than its kind can be, one that is not
// a regular file (a directory, a device, a pipe) or one holding bytes that no text holds is not
// one of ours: it is refused before it is read whole, so that a hostile file can neither freeze
// the window nor fill the memory.

// Far above any settings file the program writes (a few hundred bytes) or an operator edits.
constexpr qint64 maxSettingsFileBytes = 64 * 1024;

enum class FileRead { Ok = 0, Missing, NotAFile, TooLarge, Binary, Truncated, Unreadable };

// The lines of a text: a line ends at CR LF, LF or a lone CR (an old editor's line end) alike; a
// final line end does not start another line. With `keepLineEnds` each line keeps its own end, so
// that the pieces put together give `content` back byte for byte.
QList<QByteArray> SplitLines(const QByteArray &content, bool keepLineEnds = false);

// Reads the start of a text file: at most `maxLines` lines (without their line ends, see SplitLines),
// each cut to `maxLen` bytes (the rest of a longer line is skipped). Reading stops after
// `maxLines` lines. A file larger than `maxBytes` is refused unread (TooLarge); a zero byte or a
// control character other than tab, CR and LF in what was read gives Binary. `lines` is changed
// only when the result is Ok.
FileRead ReadTextHead(const QString &path, QStringList *lines, int maxLines, int maxLen,
                      qint64 maxBytes = maxSettingsFileBytes);

// Reads a whole regular file of at most `maxBytes` bytes. `content` is changed only on Ok.
FileRead ReadSmallFile(const QString &path, QByteArray *content,
                       qint64 maxBytes = maxSettingsFileBytes);

// A whole text file as lines that keep their line ends (SplitLines), for a file that is rewritten
// with some lines changed and the others kept byte for byte. Refused as ReadTextHead refuses.
FileRead ReadTextFile(const QString &path, QList<QByteArray> *lines,
                      qint64 maxBytes = maxSettingsFileBytes);

// Copies a file through ReadSmallFile, so that a pipe or a device in its place is never opened
// and a file far larger than a settings file is not copied; the copy is written whole or not at
// all (WriteFileAtomically). Ok when copied; otherwise why not (Unreadable: not written).
FileRead CopySmallFile(const QString &from, const QString &to,
                       qint64 maxBytes = maxSettingsFileBytes);

// What the operator is told about a refused file: " The file \n <path> \n cannot be used: <why>.
// \n It has been left as it is. "
QString RefusedFileText(const QString &path, FileRead why);

// Writes bytes to a file, replacing it only when the whole content is written.
bool WriteFileAtomically(const QString &path, const QByteArray &content);

// Date as MM-DD-YYYY (10 characters) and time as HH:MM:SS (8 characters), from the PC's clock.
QString DateStr();
QString TimeStr();

} // namespace tintra
