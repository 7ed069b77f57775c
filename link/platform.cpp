#include "platform.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>
#include <QThread>
#include <QTime>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#ifdef __linux__
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace tintra {

namespace {

QElapsedTimer &clock()
{
    static QElapsedTimer t = [] {
        QElapsedTimer e;
        e.start();
        return e;
    }();
    return t;
}

PopupHandler &handler()
{
    static PopupHandler h;
    return h;
}

} // namespace

double Timer() { return double(clock().nsecsElapsed()) * 1e-9; }

void ProcessSystemEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

namespace {

// Wakes the waiting event loop at a given moment. Qt's own timers count in whole milliseconds,
// and the event dispatcher rounds each wait up to the next one: a 10 ms pause interrupted by a
// repaint after 3.2 ms would then sleep on for 7 ms instead of 6.8. Where the system offers a
// timer descriptor, the wake comes from there, to the microsecond, through an ordinary socket
// notification; a wait that ends at the same moment as the one before it keeps the armed timer.
class Wake {
public:
    Wake()
    {
#ifdef __linux__
        fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        if (fd >= 0) {
            notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
            QObject::connect(notifier, &QSocketNotifier::activated, [this] {
                quint64 expirations = 0; // one read takes them all
                [[maybe_unused]] const ssize_t n = ::read(fd, &expirations, sizeof expirations);
                armedNs = 0;
            });
            return;
        }
#endif
        useQtTimer();
    }

    void arm(double seconds)
    {
#ifdef __linux__
        // A long wait (a time-out) does not need the microsecond; Qt's timer costs no system call.
        if (fd >= 0 && seconds < 0.05) {
            // The moment is rounded up to 10 us, so the waits of one loop towards the same end
            // name the same moment, and re-arming (a system call) is needed only for a new one.
            constexpr qint64 grid = 10000;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            const qint64 due = (qint64(now.tv_sec) * 1000000000 + now.tv_nsec +
                                std::max<qint64>(1, qint64(seconds * 1e9)) + grid - 1) /
                               grid * grid;
            if (due == armedNs)
                return;
            itimerspec spec{};
            spec.it_value.tv_sec = due / 1000000000;
            spec.it_value.tv_nsec = due % 1000000000;
            if (timerfd_settime(fd, TFD_TIMER_ABSTIME, &spec, nullptr) == 0) {
                armedNs = due;
                return;
            }
            armedNs = 0;
            // An unusable descriptor: from now on Qt's timer does the waking.
            delete notifier;
            notifier = nullptr;
            ::close(fd);
            fd = -1;
            useQtTimer();
        }
#endif
        useQtTimer();
        timer->start(std::max(1, int(std::ceil(seconds * 1000.0))));
    }

private:
    void useQtTimer()
    {
        if (timer)
            return;
        timer = new QTimer();
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, [] {});
    }

    int fd = -1;
    qint64 armedNs = 0; // the moment the descriptor is armed for, 0 when not armed
    QSocketNotifier *notifier = nullptr;
    QTimer *timer = nullptr;
};

} // namespace

void WaitForEvents(double seconds)
{
    if (!QCoreApplication::instance()) {
        if (seconds > 0)
            QThread::usleep(static_cast<unsigned long>(seconds * 1e6));
        return;
    }
    if (seconds <= 0) {
        ProcessSystemEvents();
        return;
    }
    // One per thread, re-armed for each wait: it only has to wake the event dispatcher. A nested
    // wait may re-arm it; the outer loop re-arms it again when control returns there.
    thread_local Wake *wake = nullptr;
    if (!wake)
        wake = new Wake();
    wake->arm(seconds);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void WaitUntil(double start, double seconds, bool processEvents)
{
    for (;;) {
        const double left = seconds - (Timer() - start);
        if (left <= 0)
            return;
        if (processEvents)
            WaitForEvents(left);
        else
            QThread::usleep(static_cast<unsigned long>(left * 1e6) + 1);
    }
}

void Sleep(int ms) { WaitUntil(Timer(), ms / 1000.0, true); }

PopupHandler SetPopupHandler(PopupHandler h)
{
    PopupHandler old = handler();
    handler() = std::move(h);
    return old;
}

void MessagePopup(const QString &title, const QString &text)
{
    if (handler().message)
        handler().message(title, text);
    else
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
}

int ConfirmPopup(const QString &title, const QString &text)
{
    return handler().confirm ? handler().confirm(title, text) : 0;
}

int FileSelectPopup(const QString &startDir, const QString &defaultName, const QString &filter,
                    const QString &title, bool forSaving, QString *path)
{
    if (!handler().fileSelect)
        return NoFileSelected;
    FileSelectRequest req{startDir, defaultName, filter, title, forSaving};
    QString chosen;
    const int r = handler().fileSelect(req, &chosen);
    if (r != NoFileSelected && path)
        *path = chosen;
    return r;
}

int MenuPopup(const QStringList &entries)
{
    if (!handler().menu)
        return -1;
    const int r = handler().menu(entries);
    return r >= 0 && r < entries.size() ? r : -1;
}

int ColorSelectPopup(const QString &title, int initialRgb, int *rgb)
{
    int chosen = initialRgb;
    if (!handler().colorSelect || !handler().colorSelect(title, initialRgb, &chosen))
        return 0;
    if (rgb)
        *rgb = chosen & 0xFFFFFF;
    return 1;
}

QString GetProjectDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

QString GetSettingsDir()
{
    const QString dir = GetProjectDir();
    QFileInfo fi(dir);
    if (fi.isDir() && fi.isWritable())
        return dir;
    QString alt = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (alt.isEmpty())
        return dir;
    QDir().mkpath(alt);
    return alt;
}

QString JoinPath(const QString &dir, const QString &name)
{
    if (dir.isEmpty())
        return name;
    QString d = QDir::toNativeSeparators(dir);
    if (d.endsWith(QDir::separator()))
        return d + name;
    return d + QDir::separator() + name;
}

int GetFileInfo(const QString &path, qint64 *size)
{
    QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile())
        return 0;
    if (size)
        *size = fi.size();
    return 1;
}

bool WriteFileAtomically(const QString &path, const QByteArray &content)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    // The save file buffers what it is given, and its commit does not look at whether the
    // buffer reached the disk (a full disk would give a short file reported as saved): the
    // buffer is flushed here and checked first.
    if (f.write(content) != content.size() || !f.flush() || f.error() != QFileDevice::NoError) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

QByteArray ArrayText(const uint16_t *values, int n)
{
    QByteArray text;
    text.reserve(n * 11);
    for (int i = 0; i < n; ++i) {
        text += QByteArray::number(values[i]).rightJustified(10, ' ');
        text += '\n';
    }
    return text;
}

bool ArrayToFile(const QString &path, const uint16_t *values, int n, bool append)
{
    const QByteArray text = ArrayText(values, n);
    if (!append)
        return WriteFileAtomically(path, text);
    // Unbuffered, so that a write that fails leaves nothing queued and the file can be cut back.
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const qint64 before = f.size();
    if (f.write(text) == text.size())
        return true;
    f.resize(before); // no half-written numbers at the end
    return false;
}

bool FileToArray(const QString &path, uint16_t *values, int n)
{
    // The files are small; a file far larger than n lines can need is not one of ours.
    QByteArray all;
    if (ReadSmallFile(path, &all, qint64(std::max(n, 0)) * 64 + 1024) != FileRead::Ok)
        return false;
    const QList<QByteArray> lines = SplitLines(all);
    std::vector<uint16_t> tmp(std::size_t(std::max(n, 0)));
    int got = 0;
    for (const QByteArray &raw : lines) {
        if (got == n)
            break;
        const QByteArray line = raw.trimmed(); // blanks and tabs
        if (line.isEmpty())
            return false;
        bool ok = false;
        const uint v = line.toUInt(&ok, 10);
        if (!ok || v > 65535 || line.startsWith('+'))
            return false;
        tmp[std::size_t(got++)] = uint16_t(v);
    }
    if (got < n)
        return false;
    std::copy(tmp.begin(), tmp.end(), values);
    return true;
}

bool ReadTextLines(const QString &path, QStringList *lines, int maxLen)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    lines->clear();
    while (!f.atEnd()) {
        QByteArray l = f.readLine();
        while (l.endsWith('\n') || l.endsWith('\r'))
            l.chop(1);
        lines->append(QString::fromLocal8Bit(l.left(maxLen)));
    }
    return true;
}

namespace {

// A regular file (symbolic links followed) of at most maxBytes bytes, opened for reading.
FileRead OpenSmallFile(QFile &f, qint64 maxBytes, QIODevice::OpenMode mode = QIODevice::ReadOnly)
{
    const QFileInfo fi(f.fileName());
    if (!fi.exists())
        return FileRead::Missing;
    if (!fi.isFile())
        return FileRead::NotAFile; // a directory, device or pipe: never opened
    if (fi.size() > maxBytes)
        return FileRead::TooLarge;
    if (!f.open(mode))
        return FileRead::Unreadable;
    return FileRead::Ok;
}

bool IsTextByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

FileRead ReadSmallFile(const QString &path, QByteArray *content, qint64 maxBytes)
{
    QFile f(path);
    // Unbuffered: read in one piece, without a read-ahead buffer allocated for every file.
    const FileRead r = OpenSmallFile(f, maxBytes, QIODevice::ReadOnly | QIODevice::Unbuffered);
    if (r != FileRead::Ok)
        return r;
    // Read what the file holds, plus a byte to notice that it grew since it was looked at, and
    // never past the limit. (Asking for the limit at once would allocate that much every time.)
    const qint64 first = std::min(maxBytes, f.size()) + 1;
    QByteArray all = f.read(first);
    if (all.size() == first) { // it grew since it was looked at: read on to the limit
        while (all.size() <= maxBytes) {
            const QByteArray more = f.read(std::min<qint64>(maxBytes + 1 - all.size(), 4096));
            if (more.isEmpty())
                break;
            all += more;
        }
    }
    if (all.size() > maxBytes)
        return FileRead::TooLarge;
    if (f.error() != QFileDevice::NoError)
        return FileRead::Unreadable;
    *content = std::move(all);
    return FileRead::Ok;
}

QList<QByteArray> SplitLines(const QByteArray &content, bool keepLineEnds)
{
    QList<QByteArray> lines;
    const qsizetype n = content.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = content[i];
        if (c != '\n' && c != '\r')
            continue;
        const qsizetype textEnd = i;
        if (c == '\r' && i + 1 < n && content[i + 1] == '\n')
            ++i; // CR LF is one line end
        lines << content.mid(start, (keepLineEnds ? i + 1 : textEnd) - start);
        start = i + 1;
    }
    if (start < n)
        lines << content.mid(start); // a last line without a line end
    return lines;
}

FileRead ReadTextHead(const QString &path, QStringList *lines, int maxLines, int maxLen,
                      qint64 maxBytes)
{
    QByteArray content;
    const FileRead r = ReadSmallFile(path, &content, maxBytes);
    if (r != FileRead::Ok)
        return r;
    QStringList out;
    for (QByteArray &line : SplitLines(content)) {
        if (out.size() >= maxLines)
            break;
        line.truncate(maxLen);
        if (!std::all_of(line.cbegin(), line.cend(), IsTextByte))
            return FileRead::Binary;
        out << QString::fromLocal8Bit(line);
    }
    *lines = std::move(out);
    return FileRead::Ok;
}

FileRead ReadTextFile(const QString &path, QList<QByteArray> *lines, qint64 maxBytes)
{
    QByteArray content;
    const FileRead r = ReadSmallFile(path, &content, maxBytes);
    if (r != FileRead::Ok)
        return r;
    if (!std::all_of(content.cbegin(), content.cend(), IsTextByte))
        return FileRead::Binary;
    *lines = SplitLines(content, true);
    return FileRead::Ok;
}

FileRead CopySmallFile(const QString &from, const QString &to, qint64 maxBytes)
{
    QByteArray content;
    const FileRead r = ReadSmallFile(from, &content, maxBytes);
    if (r != FileRead::Ok)
        return r;
    return WriteFileAtomically(to, content) ? FileRead::Ok : FileRead::Unreadable;
}

QString RefusedFileText(const QString &path, FileRead why)
{
    const char *reason = "it cannot be read";
    switch (why) {
    case FileRead::Missing:
        reason = "it does not exist";
        break;
    case FileRead::NotAFile:
        reason = "it is not a file";
        break;
    case FileRead::TooLarge:
        reason = "it is far larger than such a file can be";
        break;
    case FileRead::Binary:
        reason = "it holds bytes that are not text";
        break;
    case FileRead::Truncated:
        reason = "it is cut short";
        break;
    case FileRead::Ok:
    case FileRead::Unreadable:
        break;
    }
    return QStringLiteral(" The file \n %1 \n cannot be used: %2. \n It has been left as it is. ")
        .arg(QDir::toNativeSeparators(path), QLatin1String(reason));
}

QString DateStr() { return QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")); }

QString TimeStr() { return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")); }

} // namespace tintra
